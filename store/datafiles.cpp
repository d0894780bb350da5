#include "datafiles.h"

#include <QFile>

#include "datafolder.h"
#include "fileerror.h"
#include "filesystem.h"

namespace store {

namespace {

const QStringList defaultBookies = {
    QStringLiteral("BET24"),
    QStringLiteral("Bet365"),
    QStringLiteral("BetDaq"),
    QStringLiteral("BetFred"),
    QStringLiteral("BetInternet"),
    QStringLiteral("BetOddOrEven"),
    QStringLiteral("BlueSquare"),
    QStringLiteral("BoyleSports"),
    QStringLiteral("CanBet"),
    QStringLiteral("CentreBet"),
    QStringLiteral("Coral"),
    QStringLiteral("Eastwoods"),
    QStringLiteral("Gamebookers"),
    QStringLiteral("GamingClub"),
    QStringLiteral("Globet"),
    QStringLiteral("Ladbrokes"),
    QStringLiteral("Mansion"),
    QStringLiteral("Omnibet"),
    QStringLiteral("PaddyPower"),
    QStringLiteral("PremierBet"),
    QStringLiteral("SkyBet"),
    QStringLiteral("Sportingbet.com"),
    QStringLiteral("StanJamesUK"),
    QStringLiteral("Totesport"),
    QStringLiteral("UKBetting"),
};

// The numbers are texts with "." as the decimal separator, whatever the user's locale.
const QStringList defaultSettings = {
    QStringLiteral("[Default]"),
    QStringLiteral("Stake=200"),
    QStringLiteral("StakeForfeit=50"),
    QStringLiteral("BackOdds=6.4"),
    QStringLiteral("LayOdds=6.2"),
    QStringLiteral("BackComm=0"),
    QStringLiteral("LayComm=4.75"),
};

void writeIfMissing(const FileSystem &fileSystem, const QString &path, const QString &content)
{
    if (fileSystem.fileExists(path))
        return;
    try {
        fileSystem.appendLine(path, content);
    } catch (const FileError &) {
        // An existing file is never rewritten, so a default file left empty would stay empty for
        // good; without it, the next start tries again.
        QFile::remove(path);
        throw;
    }
}

} // namespace

void ensureDataFiles(const QString &folder)
{
    const FileSystem fileSystem;
    fileSystem.makeSureOfFolder(folder);
    writeIfMissing(fileSystem, bookieListPath(folder), defaultBookies.join(QStringLiteral("\r\n")));
    // The settings text ends in CR LF and the written line adds one more: the file ends in an empty line.
    writeIfMissing(
        fileSystem, settingsPath(folder), defaultSettings.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
}

QStringList readBookieList(const QString &folder)
{
    const FileSystem fileSystem;
    fileSystem.makeSureOfFolder(folder);
    const QString path = bookieListPath(folder);
    if (!fileSystem.fileExists(path))
        return {};
    TextStream stream = fileSystem.openTextFile(path, IOMode::ForReading, true);
    QStringList names;
    while (!stream.atEndOfStream())
        names << stream.readLine();
    stream.close();
    return names;
}

} // namespace store
