// The six inputs of the last calculation as the settings file keeps them: one key each in the
// default section. Keys and section are named here alone.
#pragma once

#include <array>
#include <optional>

#include <QString>

namespace store {

// Stake, stake forfeit, back odds, lay odds, back commission, lay commission: as typed.
using SavedInputs = std::array<QString, 6>;

// The six values (empty where a key is missing), or nothing when there is no settings file: reading
// would leave an empty one behind that every later start would take for the user's settings.
// Throws FileError.
std::optional<SavedInputs> readSavedInputs(const QString &folder);

// Sets the six keys in one rewrite of the file. Throws FileError; the old file is then left whole.
void saveInputs(const QString &folder, const SavedInputs &inputs);

} // namespace store
