// Imports a Betfair profit-and-loss statement of 50,000 market lines into the bet history of a
// million records, as a user would with "Import statement...", and prints the time until its lines
// showed reconciled and the longest time the window did not answer. Then the reconciling alone, on
// a quarter, a half and all of the lines against all the records, and all the lines against a
// quarter, a half and all of the records, to show how it grows.
// Usage: statements_import [RECORDS] [LINES]
#include <cstdio>

#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>

#include "history/historywindow.h"
#include "stalls.h"
#include "tracker/archivefollower.h"
#include "tracker/reconcile.h"

namespace {

const QDateTime first(QDate(2021, 1, 1), QTime(9, 0));
constexpr qint64 apart = 170; // seconds between two bets, as a punter's archive grows

// An event of its own for a few thousand bets around it: matching has work to do.
QByteArray eventOf(int i)
{
    return "Team" + QByteArray::number(i % 997) + " v Side" + QByteArray::number(i % 1009);
}

// Records of a lay of 24.97 at 2.05 with 4.75 % commission, which brings 23.78 when it wins.
void writeArchive(const QString &path, int records)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        std::exit(2);
    QByteArray block;
    for (int i = 0; i < records; ++i) {
        block += first.addSecs(i * apart).toString(QStringLiteral("dd/MM/yyyy HH:mm:ss")).toLatin1() + ',' + eventOf(i)
            + ",Coral,25,0,2,2.05,26.22,24.97,0,4.75,50,-1.22,-1.22,100\r\n";
        if (block.size() > (1 << 20))
            file.write(std::exchange(block, {}));
    }
    file.write(block);
}

// A market line for every records/lines-th bet, settled two hours after it was archived, the lay won.
QByteArray statement(int records, int lines)
{
    QByteArray bytes = "Market,Start time,Settled date,Profit/Loss (GBP)\r\n";
    const auto when = [](int i, int hours) {
        return first.addSecs(i * apart + hours * 3600).toString(QStringLiteral("dd-MMM-yy HH:mm")).toLatin1();
    };
    for (int line = 0; line < lines; ++line) {
        const int i = int(qint64(line) * records / lines);
        bytes += "Football / League / " + eventOf(i) + " : Match Odds," + when(i, 1) + ',' + when(i, 2) + ",23.78\r\n";
    }
    return bytes;
}

void load(history::ArchiveFollower &follower)
{
    QEventLoop wait;
    QObject::connect(&follower, &history::ArchiveFollower::loaded, &wait, &QEventLoop::quit);
    follower.start();
    if (follower.isLoading())
        wait.exec();
}

// The reconciling alone, of the statement's first lines against the folder's records.
void timeReconcile(const QString &folder, const QByteArray &bytes, int lines)
{
    history::ArchiveFollower follower(folder);
    load(follower);
    std::optional<store::Statement> read = store::readStatement(bytes);
    read->lines.resize(std::min<std::size_t>(read->lines.size(), std::size_t(lines)));
    const std::vector<store::StatementFile> files {{QStringLiteral("statement.csv"), std::move(*read)}};
    const history::HistoryView view(follower.records().view(), follower.ledger().settlements());
    QElapsedTimer clock;
    clock.start();
    const history::Reconciliation result
        = history::reconcile(files, [](store::StatementFormat) { return QStringLiteral("Betfair"); }, view, {});
    const auto proposed = std::count_if(result.markets.begin(), result.markets.end(),
        [](const history::MarketMatch &match) { return match.state == history::MarketState::Proposed; });
    std::printf("reconcile %d lines against %lld records: %lld ms (%.2f us a line), %lld proposed\n", lines,
        qint64(view.records.size()), clock.elapsed(), double(clock.nsecsElapsed()) / 1000 / lines, qint64(proposed));
}

void timeWindow(const QString &folder, const QString &statementPath, int lines)
{
    Stalls stalls;
    history::HistoryWindow window(folder);
    window.setAsk([](const QString &, const QString &) { return std::optional<QString>(QStringLiteral("Betfair")); });
    window.setChooseStatements([statementPath] { return QStringList {statementPath}; });
    window.show();
    QEventLoop wait;
    QObject::connect(&window, &history::HistoryWindow::loaded, &wait, &QEventLoop::quit);
    if (window.isLoading())
        wait.exec();
    QCoreApplication::processEvents();
    std::printf(
        "history loaded: %lld ms, longest unanswered stretch %lld ms\n", stalls.elapsed(), stalls.takeLongest());
    const qint64 start = stalls.elapsed();
    window.findChild<QPushButton *>(QStringLiteral("importStatementFromAccounts"))->click();
    waitForRows(window.findChild<QTableView *>(QStringLiteral("Statement lines"))->model(), lines);
    QCoreApplication::processEvents();
    std::printf("imported and reconciled %d lines: shown in %lld ms, longest unanswered stretch %lld ms\n", lines,
        stalls.elapsed() - start, stalls.takeLongest());
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const int records = arguments.size() > 1 ? arguments[1].toInt() : 1'000'000;
    const int lines = arguments.size() > 2 ? arguments[2].toInt() : 50'000;
    QTemporaryDir home;
    writeArchive(home.filePath(QStringLiteral("vantrelLog.txt")), records);
    const QByteArray bytes = statement(records, lines);
    const QString statementPath = home.filePath(QStringLiteral("statement.csv"));
    QFile file(statementPath);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return 2;
    file.close();
    std::printf("archive: %d records; statement: %d lines, %lld bytes\n", records, lines, qint64(bytes.size()));
    timeWindow(home.path(), statementPath, lines);
    for (const int part : {4, 2, 1})
        timeReconcile(home.path(), bytes, lines / part);
    for (const int part : {4, 2}) {
        QTemporaryDir fewer;
        writeArchive(fewer.filePath(QStringLiteral("vantrelLog.txt")), records / part);
        timeReconcile(fewer.path(), statement(records / part, lines), lines);
    }
    return 0;
}
