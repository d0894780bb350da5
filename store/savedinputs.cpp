#include "store/savedinputs.h"

#include <QFileInfo>

#include "store/datafolder.h"
#include "store/iniread.h"
#include "store/iniwrite.h"

namespace store {

namespace {

const std::array<QString, 6> keys = {
    QStringLiteral("Stake"),
    QStringLiteral("StakeForfeit"),
    QStringLiteral("BackOdds"),
    QStringLiteral("LayOdds"),
    QStringLiteral("BackComm"),
    QStringLiteral("LayComm"),
};

} // namespace

std::optional<SavedInputs> readSavedInputs(const QString &folder)
{
    const QString path = settingsPath(folder);
    if (!QFileInfo::exists(path))
        return std::nullopt;
    SavedInputs inputs;
    for (std::size_t i = 0; i < keys.size(); ++i)
        inputs[i] = ReadIniValue(path, settingsSection, keys[i]);
    return inputs;
}

void saveInputs(const QString &folder, const SavedInputs &inputs)
{
    QList<std::pair<QString, QString>> values;
    for (std::size_t i = 0; i < keys.size(); ++i)
        values.append({keys[i], inputs[i]});
    WriteIniValues(settingsPath(folder), settingsSection, values);
}

} // namespace store
