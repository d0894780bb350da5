#include "store/datafolder.h"

#include <QDir>

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

} // namespace store
