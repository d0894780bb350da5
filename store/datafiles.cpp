#include "store/datafiles.h"

#include <QFile>
#include <QFileInfo>

#include "store/datafolder.h"
#include "store/fileerror.h"
#include "store/files.h"

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

void writeIfMissing(const QString &path, const QString &content)
{
    if (QFileInfo(path).isFile())
        return;
    try {
        files::appendLine(path, files::textForFile(content));
    } catch (const FileError &) {
        // An existing file is never rewritten, so a default file left empty would stay empty for
        // good; without it, the next start tries again.
        QFile::remove(path);
        throw;
    }
}

// Lines end in CR LF or a lone LF; a final line end closes the last line instead of opening another.
QStringList linesOf(const QByteArray &bytes)
{
    QList<QByteArray> lines = bytes.split('\n');
    if (lines.back().isEmpty())
        lines.removeLast();
    QStringList texts;
    for (QByteArray &line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
        texts << files::textFromFile(line);
    }
    return texts;
}

} // namespace

void ensureDataFiles(const QString &folder)
{
    files::makeSureOfFolder(folder);
    writeIfMissing(bookieListPath(folder), defaultBookies.join(QStringLiteral("\r\n")));
    // The settings text ends in CR LF and the written line adds one more: the file ends in an empty line.
    writeIfMissing(settingsPath(folder), defaultSettings.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
}

QStringList readBookieList(const QString &folder)
{
    files::makeSureOfFolder(folder);
    const QString path = bookieListPath(folder);
    if (!QFileInfo(path).isFile())
        return {};
    return linesOf(files::readAll(path));
}

} // namespace store
