#include "store/datafolder.h"

#include <QDir>
#include <QFileInfo>

#include "store/windowplace.h"

namespace store {

namespace {

QString joined(const QString &folder, const char *fileName)
{
#ifdef Q_OS_WIN
    return folder + QLatin1Char('\\') + QLatin1String(fileName);
#else
    return folder + QLatin1Char('/') + QLatin1String(fileName);
#endif
}

} // namespace

QString defaultDataFolder()
{
#ifdef Q_OS_WIN
    return QStringLiteral("c:\\vantrel");
#else
    return QDir::homePath() + QStringLiteral("/vantrel");
#endif
}

QString settingsPath(const QString &folder)
{
    return joined(folder, "vantrel.ini");
}

QString bookieListPath(const QString &folder)
{
    return joined(folder, "bookieList.txt");
}

QString archivePath(const QString &folder)
{
    return joined(folder, "vantrelLog.txt");
}

QString offersPath(const QString &folder)
{
    return joined(folder, "vantrelOffers.csv");
}

QString offerInputsPath(const QString &folder)
{
    return joined(folder, "vantrelOffers.ini");
}

QString ledgerPath(const QString &folder)
{
    return joined(folder, "vantrelLedger.csv");
}

std::optional<QString> keptFileAt(const QString &folder, const QString &path)
{
    const QFileInfo target(path);
#ifdef Q_OS_WIN
    constexpr Qt::CaseSensitivity names = Qt::CaseInsensitive;
#else
    constexpr Qt::CaseSensitivity names = Qt::CaseSensitive;
#endif
    for (const QString &kept : {settingsPath(folder), bookieListPath(folder), archivePath(folder), offersPath(folder),
             offerInputsPath(folder), ledgerPath(folder), windowPlacePath(folder)}) {
        const QFileInfo file(kept);
        const bool sameFile
            = target.exists() && file.exists() && target.canonicalFilePath() == file.canonicalFilePath();
        if (sameFile
            || QDir::cleanPath(target.absoluteFilePath()).compare(QDir::cleanPath(file.absoluteFilePath()), names) == 0)
            return kept;
    }
    return std::nullopt;
}

} // namespace store
