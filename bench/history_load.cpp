// Opens the bet history on an archive of a million records (about 140 MB), as a whole process,
// and prints when the first rows showed, when the table, totals and chart were complete, the
// longest time the user-interface thread did not answer, and the peak memory; then the time of the
// calculator's archive append while the history is open, and whether the appended records showed.
// Usage: history_load RECORDS
#include <cstdio>
#include <sys/resource.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>

#include "history/historywindow.h"
#include "store/archive.h"

namespace {

void writeArchive(const QString &path, int records)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        std::exit(2);
    const char *bookmakers[] = {"Bet365", "Coral", "Ladbrokes", "PaddyPower", "SkyBet"};
    QByteArray block;
    for (int i = 0; i < records; ++i) {
        const int day = 1 + i % 28;
        const int month = 1 + (i / 28) % 12;
        block += QByteArray::number(day).rightJustified(2, '0') + '/' + QByteArray::number(month).rightJustified(2, '0')
            + "/2026 " + QByteArray::number(10 + i % 12) + ":15:30,Liverpool v Man U Correct Score 2-1,"
            + bookmakers[i % 5] + ",25,0,2,2.05,26.22,24.97,0,4.75,50.00,23.78,23.78,95.13\r\n";
        if (block.size() > (1 << 20)) {
            file.write(block);
            block.clear();
        }
    }
    file.write(block);
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int records = argc > 1 ? std::atoi(argv[1]) : 1'000'000;
    QTemporaryDir home;
    writeArchive(home.filePath(QStringLiteral("vantrelLog.txt")), records);
    std::printf("archive: %d records, %lld bytes\n", records,
        qint64(QFile(home.filePath(QStringLiteral("vantrelLog.txt"))).size()));

    QElapsedTimer clock;
    clock.start();
    qint64 firstRows = -1;
    qint64 lastTick = 0;
    qint64 longestGap = 0;
    QTimer ticker;
    ticker.setInterval(5);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        longestGap = std::max(longestGap, clock.elapsed() - lastTick);
        lastTick = clock.elapsed();
    });
    ticker.start();

    history::HistoryWindow window(home.path());
    window.show();
    auto *table = window.findChild<QTableView *>(QStringLiteral("records"));
    QObject::connect(table->model(), &QAbstractItemModel::rowsInserted, [&] {
        if (firstRows < 0)
            firstRows = clock.elapsed();
    });
    QObject::connect(&window, &history::HistoryWindow::loaded, [&] {
        QCoreApplication::processEvents(); // the first paint of the full table and chart
        const qint64 loaded = clock.elapsed();
        rusage usage {};
        getrusage(RUSAGE_SELF, &usage);
        std::printf("first rows: %lld ms\nloaded with totals and chart: %lld ms\n"
                    "longest unanswered stretch of the window: %lld ms\npeak memory: %ld MB\nrows: %d\n",
            firstRows, loaded, longestGap, usage.ru_maxrss / 1024, table->model()->rowCount());

        constexpr int appends = 1000;
        QElapsedTimer appending;
        appending.start();
        for (int i = 0; i < appends; ++i)
            store::appendToArchive(home.path(),
                QStringLiteral("07/12/2026 09:15:30,Race,Coral,25,0,2,2.05,26.22,24.97,"
                               "0,4.75,50.00,23.78,23.78,95.13"));
        std::printf("archive append with the history open: %.1f us per record\n",
            double(appending.nsecsElapsed()) / appends / 1000);
        QTimer::singleShot(1000, [&, rowsBefore = table->model()->rowCount()] {
            std::printf("rows a second later: %d more\n", table->model()->rowCount() - rowsBefore);
            QCoreApplication::quit();
        });
    });
    return QApplication::exec();
}
