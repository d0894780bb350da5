// Where the program keeps its data files, and their full paths.
// File names are joined to the folder by plain concatenation, as the files have always been found.
#pragma once

#include <optional>

#include <QString>

namespace store {

// "c:\vantrel" on Windows; the home folder followed by "/vantrel" elsewhere.
QString defaultDataFolder();

QString settingsPath(const QString &folder);
QString bookieListPath(const QString &folder);
QString archivePath(const QString &folder);
// The offer calculators' records and their remembered inputs.
QString offersPath(const QString &folder);
QString offerInputsPath(const QString &folder);
// What the user decided about bets and accounts.
QString ledgerPath(const QString &folder);

// The file of the folder's that path names, the same file by another spelling or through a link
// included; nothing for a path to none of them.
std::optional<QString> keptFileAt(const QString &folder, const QString &path);

inline const QString settingsSection = QStringLiteral("Default");

} // namespace store
