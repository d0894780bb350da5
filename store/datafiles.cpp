#include "store/datafiles.h"

#include <optional>

#include <QFileInfo>

#include "store/datafolder.h"
#include "store/fileerror.h"
#include "store/files.h"
#include "store/filetext.h"
#include "text/lines.h"

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

// The numbers are texts with "." as the decimal separator, whatever the user's locale. The last
// line is empty: the file ends in an empty line.
const QStringList defaultSettings = {
    QStringLiteral("[Default]"),
    QStringLiteral("Stake=200"),
    QStringLiteral("StakeForfeit=50"),
    QStringLiteral("BackOdds=6.4"),
    QStringLiteral("LayOdds=6.2"),
    QStringLiteral("BackComm=0"),
    QStringLiteral("LayComm=4.75"),
    QString(),
};

// The list's lines as text, each decoded on its own.
QStringList linesOf(const QByteArray &bytes)
{
    QStringList texts;
    for (QByteArrayView line : text::lineViews(bytes))
        texts << textFromFile(line.toByteArray());
    return texts;
}

} // namespace

void ensureDataFiles(const QString &folder)
{
    files::makeSureOfFolder(folder);
    // Each file on its own: a list that cannot be written does not stop the settings.
    std::optional<FileError> firstFailure;
    for (const auto &[path, lines] :
        {std::pair {bookieListPath(folder), defaultBookies}, std::pair {settingsPath(folder), defaultSettings}}) {
        try {
            files::createIfMissing(path, textForFile(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")));
        } catch (const FileError &error) {
            if (!firstFailure)
                firstFailure = error;
        }
    }
    if (firstFailure)
        throw *firstFailure;
}

QStringList readBookieList(const QString &folder)
{
    files::makeSureOfFolder(folder);
    const QString path = bookieListPath(folder);
    files::requireRegularFileOrNothing(path);
    if (!QFileInfo::exists(path))
        return {};
    return linesOf(files::readAll(path));
}

} // namespace store
