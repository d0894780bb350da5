// Opens the bet history on an archive of a million records (about 140 MB), as a whole process,
// and prints when the first rows showed, when the table, totals and chart were complete, the
// longest time the user-interface thread did not answer, and the peak memory; then the time of a
// sort by three columns and of an event search, each with the longest stall of the window; the time
// until settling one row and ten thousand shows in the table; then the calculator's archive append
// while the history is open, and the memory the history holds before and after a thousand records
// arrived in a hundred rounds.
// Usage: history_load [RECORDS] [offers] [distinct] [ledger] [longline] [identical] [freebets]: the
// records in the offers file instead of the archive; a bookmaker of its own on every line; a ledger
// that settles every record; a hand-edited offers line of 160,000 values (1.5 MB) after the first
// record; every record's line the same (a ledger then settles each by how many identical lines come
// before); a free bet earned by every tenth record and used by the fifth record after it.
#include <cstdio>
#include <sys/resource.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>

#include "history/historywindow.h"
#include "stalls.h"
#include "store/archive.h"
#include "store/ledger.h"
#include "tracker/historymodel.h"

namespace {

const QString appended = QStringLiteral("07/12/2027 09:15:30,Race,Coral,25,0,2,2.05,26.22,24.97,0,4.75,50.00,23.78,"
                                        "23.78,95.13");

// What to read: the calculator's archive or the offer calculators' file, with a handful of
// bookmakers or a different one on every line.
struct Load
{
    int records = 1'000'000;
    bool offers = false;
    bool distinctBookmakers = false;
    bool ledger = false; // a ledger that settles every record
    bool longLine = false;
    bool identical = false;
    bool freeBets = false; // a free bet earned by every tenth record, used by the fifth after it
};

QByteArray longOfferLine()
{
    QByteArray inputs;
    for (int i = 0; i < 160'000; ++i)
        inputs += (i > 0 ? ";k" : "k") + QByteArray::number(159'999 - i) + "=1";
    return "1,2021-01-01T09:00:00,refund,Hand edit,Coral,20,0,0," + inputs + ",layStake=1\r\n";
}

QByteArray bookmakerOf(const Load &load, int i)
{
    static const char *bookmakers[] = {"Bet365", "Coral", "Ladbrokes", "PaddyPower", "SkyBet"};
    return load.distinctBookmakers ? "Bookmaker " + QByteArray::number(i) : QByteArray(bookmakers[i % 5]);
}

QByteArray line(const Load &load, int i, const QDateTime &when)
{
    static const char *events[] = {"Liverpool v Man U Correct Score 2-1", "Arsenal v Chelsea", "Cheltenham 2:10",
        "Leeds v Everton", "Ascot 3:35 each way"};
    const QByteArray stake = QByteArray::number(5 + i % 50);
    if (!load.offers)
        return when.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss")).toLatin1() + ',' + events[i % 7 % 5] + ','
            + bookmakerOf(load, i) + ',' + stake + ",0,2,2.05,26.22,24.97,0,4.75,50.00,23.78,23.78,95.13\r\n";
    // A refund offer as the offer calculators archive it (its figures those of a stake of 20).
    return "1," + when.toString(Qt::ISODate).toLatin1() + ",refund," + events[i % 7 % 5] + ',' + bookmakerOf(load, i)
        + ",20,11.08,11.08,backOdds=5;backStake=20;layCommission=2;layOdds=5.2;refund=20;retention=75,"
          "layStake=16.41;liability=68.92;profitIfBackWins=11.08;profitIfLayWins=11.08\r\n";
}

store::RecordId recordId(const Load &load, const QByteArray &record, int occurrence)
{
    return {load.offers ? store::RecordSource::Offers : store::RecordSource::Archive, store::sha256(record.chopped(2)),
        occurrence};
}

// The freebet line of the free bet record i earned, and the usefreebet line of record i + 5.
QByteArray freeBetLines(const Load &load, int i, const QByteArray &earnedBy, const QByteArray &usedBy)
{
    const QDateTime when = QDateTime(QDate(2021, 1, 1), QTime(9, 0)).addSecs(qint64(i) * 170 + 3600);
    const QByteArray freeBet = store::ledgerLine({when, store::LedgerAction::FreeBet, recordId(load, earnedBy, 0),
        "snr", double(5 + (i + 5) % 50), QString::fromLatin1(bookmakerOf(load, i)), {}, QDate(2031, 1, 1)});
    const store::FreeBetId id {store::sha256(freeBet), 0};
    return freeBet + "\r\n"
        + store::ledgerLine({when.addSecs(850), store::LedgerAction::UseFreeBet, recordId(load, usedBy, 0),
            QString::fromLatin1(store::freeBetIdText(id)), {}, {}, {}, {}})
        + "\r\n";
}

void writeBlocks(QFile &file, QByteArray &block, QFile &ledger, QByteArray &settles)
{
    file.write(block);
    if (ledger.isOpen())
        ledger.write(settles);
    block.clear();
    settles.clear();
}

// Writes the records, and the ledger's line that settles each as its back bet won.
void writeRecords(const QString &path, const QString &ledgerPath, const Load &load)
{
    QFile file(path);
    QFile ledger(ledgerPath);
    const bool writesLedger = load.ledger || load.freeBets;
    if (!file.open(QIODevice::WriteOnly) || (writesLedger && !ledger.open(QIODevice::WriteOnly)))
        std::exit(2);
    // Bets archived in time, a few minutes apart, as a punter's archive grows.
    const QDateTime first(QDate(2021, 1, 1), QTime(9, 0));
    QByteArray block = load.offers ? "Version,Date,Kind,Event,Bookmaker,Stake,Lowest profit,Highest profit,Inputs,"
                                     "Figures\r\n"
                                   : "";
    QByteArray settles = store::ledgerHeader() + "\r\n";
    for (int i = 0; i < load.records; ++i) {
        const int shape = load.identical ? 0 : i;
        const QByteArray record = line(load, shape, first.addSecs(qint64(shape) * 170));
        block += record;
        if (load.longLine && i == 0)
            block += longOfferLine();
        if (load.ledger)
            settles += store::ledgerLine({first.addSecs(qint64(i) * 170 + 7200), store::LedgerAction::Settle,
                           recordId(load, record, load.identical ? i : 0), "profitIfBackWins",
                           load.offers ? 11.08 : 23.78 - (5 + shape % 50), "Betfair", {}, {}})
                + "\r\n";
        if (load.freeBets && i % 10 == 0 && !load.identical)
            settles += freeBetLines(load, i, record, line(load, i + 5, first.addSecs(qint64(i + 5) * 170)));
        if (block.size() > (1 << 20))
            writeBlocks(file, block, ledger, settles);
    }
    writeBlocks(file, block, ledger, settles);
}

long residentMegabytes()
{
    long pages = 0;
    if (FILE *statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%*d %ld", &pages) != 1)
            pages = 0;
        std::fclose(statm);
    }
    return pages * sysconf(_SC_PAGESIZE) / (1024 * 1024);
}

// Does the step, then waits for the table's rows and totals to be worked out again.
void timeRebuild(Stalls &stalls, history::HistoryModel &model, const char *what, const std::function<void()> &step)
{
    stalls.takeLongest();
    const qint64 start = stalls.elapsed();
    QEventLoop wait;
    QObject::connect(&model, &history::HistoryModel::rebuilt, &wait, &QEventLoop::quit);
    step();
    wait.exec();
    const qint64 took = stalls.elapsed() - start;
    std::printf("%s: %lld ms, longest unanswered stretch %lld ms\n", what, took, stalls.takeLongest());
}

// Settles the rows as their back bets won, through the table's menu, and waits for them to show.
void timeSettle(Stalls &stalls, history::HistoryWindow &window, int rows)
{
    auto *table = window.findChild<QTableView *>(QStringLiteral("records"));
    table->clearSelection();
    table->selectionModel()->select(QItemSelection(table->model()->index(0, 0), table->model()->index(rows - 1, 0)),
        QItemSelectionModel::Select | QItemSelectionModel::Rows);
    stalls.takeLongest();
    const qint64 start = stalls.elapsed();
    emit table->customContextMenuRequested(QPoint(5, 5));
    auto *menu = window.findChild<QMenu *>(QStringLiteral("betMenu"));
    for (QAction *action : menu->actions().first()->menu()->actions()) {
        if (action->text() == QLatin1String("Back won")) {
            action->trigger();
            break;
        }
    }
    menu->close();
    QCoreApplication::processEvents(); // the table painted with the new status
    const qint64 took = stalls.elapsed() - start;
    std::printf(
        "settle %d rows: shown in %lld ms, longest unanswered stretch %lld ms\n", rows, took, stalls.takeLongest());
}

void afterLoad(const QString &folder, history::HistoryWindow &window, Stalls &stalls)
{
    auto *table = window.findChild<QTableView *>(QStringLiteral("records"));
    auto &model = *qobject_cast<history::HistoryModel *>(table->model());
    using history::Column;
    timeRebuild(stalls, model, "sort by Stake", [&] { table->sortByColumn(int(Column::Stake), Qt::AscendingOrder); });
    timeRebuild(stalls, model, "sort by Event", [&] { table->sortByColumn(int(Column::Event), Qt::AscendingOrder); });
    timeRebuild(stalls, model, "sort by Date, descending",
        [&] { table->sortByColumn(int(Column::Date), Qt::DescendingOrder); });
    timeRebuild(stalls, model, "search \"chelsea\" (after the 250 ms typing pause)",
        [&] { window.findChild<QLineEdit *>(QStringLiteral("eventSearch"))->setText(QStringLiteral("chelsea")); });
    timeRebuild(stalls, model, "search cleared",
        [&] { window.findChild<QLineEdit *>(QStringLiteral("eventSearch"))->clear(); });
    timeSettle(stalls, window, 1);
    timeSettle(stalls, window, 10'000);

    constexpr int appends = 1000;
    QElapsedTimer appending;
    appending.start();
    for (int i = 0; i < appends; ++i)
        store::appendToArchive(folder, appended);
    std::printf("archive append with the history open: %.1f us per record\n",
        double(appending.nsecsElapsed()) / appends / 1000);
    int rows = table->model()->rowCount();
    waitForRows(table->model(), rows += appends);

    // Bets archived one round after another, each seen by the window before the next. The first
    // rounds warm the worker's memory up; what the later ones add is what records cost.
    const long before = residentMegabytes();
    long warm = 0;
    stalls.takeLongest();
    for (int round = 1; round <= 100; ++round) {
        for (int i = 0; i < 10; ++i)
            store::appendToArchive(folder, appended);
        waitForRows(table->model(), rows += 10);
        if (round == 10)
            warm = residentMegabytes();
    }
    std::printf("1000 records appended in 100 rounds: memory %ld MB before, %ld MB after 10 rounds, %ld MB after "
                "100; longest unanswered stretch %lld ms\n",
        before, warm, residentMegabytes(), stalls.takeLongest());
}

// User and system time of every thread so far.
qint64 processorMs(const rusage &usage)
{
    const auto ms = [](const timeval &t) { return qint64(t.tv_sec) * 1000 + t.tv_usec / 1000; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

} // namespace

// Opens a second window on the files, and closes it once its first rows show, while it reads on.
void timeCloseWhileReading(const QString &folder)
{
    auto second = std::make_unique<history::HistoryWindow>(folder);
    second->show();
    waitForRows(second->findChild<QTableView *>(QStringLiteral("records"))->model(), 1);
    QElapsedTimer clock;
    clock.start();
    const bool stillReading = second->isLoading();
    second.reset();
    std::printf("closed %s: %lld ms\n", stillReading ? "while reading" : "after reading", clock.elapsed());
}

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Load load;
    for (const QString &argument : QCoreApplication::arguments().mid(1)) {
        if (argument == QLatin1String("offers"))
            load.offers = true;
        else if (argument == QLatin1String("distinct"))
            load.distinctBookmakers = true;
        else if (argument == QLatin1String("ledger"))
            load.ledger = true;
        else if (argument == QLatin1String("longline"))
            load.longLine = true;
        else if (argument == QLatin1String("identical"))
            load.identical = true;
        else if (argument == QLatin1String("freebets"))
            load.freeBets = true;
        else
            load.records = argument.toInt();
    }
    QTemporaryDir home;
    const QString file
        = home.filePath(load.offers ? QStringLiteral("vantrelOffers.csv") : QStringLiteral("vantrelLog.txt"));
    writeRecords(file, home.filePath(QStringLiteral("vantrelLedger.csv")), load);
    std::printf("%s: %d records, %lld bytes, %s%s%s\n", load.offers ? "offers file" : "archive", load.records,
        qint64(QFile(file).size()), load.distinctBookmakers ? "a bookmaker of its own each" : "five bookmakers",
        load.ledger ? ", a ledger line settling each" : "", load.freeBets ? ", a free bet for every tenth" : "");

    rusage before {};
    getrusage(RUSAGE_SELF, &before);
    Stalls stalls;
    qint64 firstRows = -1;
    history::HistoryWindow window(home.path());
    // Settling lays when no exchange was ever named asks which: the bench names one.
    window.setAsk([](const QString &, const QString &) { return std::optional<QString>(QStringLiteral("Betfair")); });
    window.show();
    auto *table = window.findChild<QTableView *>(QStringLiteral("records"));
    QObject::connect(table->model(), &QAbstractItemModel::rowsInserted, [&] {
        if (firstRows < 0)
            firstRows = stalls.elapsed();
    });
    QObject::connect(&window, &history::HistoryWindow::loaded, [&] {
        QCoreApplication::processEvents(); // the first paint of the full table and chart
        rusage usage {};
        getrusage(RUSAGE_SELF, &usage);
        std::printf("first rows: %lld ms\nloaded with totals and chart: %lld ms (processor time %lld ms)\n"
                    "longest unanswered stretch of the window: %lld ms\npeak memory: %ld MB\nrows: %d, free bets: %d\n",
            firstRows, stalls.elapsed(), processorMs(usage) - processorMs(before), stalls.takeLongest(),
            usage.ru_maxrss / 1024, table->model()->rowCount(),
            window.findChild<QTableView *>(QStringLiteral("Free bets"))->model()->rowCount());
        QTimer::singleShot(0, [&] {
            afterLoad(home.path(), window, stalls);
            rusage end {};
            getrusage(RUSAGE_SELF, &end);
            std::printf("peak memory at the end: %ld MB\n", end.ru_maxrss / 1024);
            timeCloseWhileReading(home.path());
            QCoreApplication::quit();
        });
    });
    return QApplication::exec();
}
