// The archive follower without a window: records appended while it follows, an archive cut short,
// rewritten, replaced or removed under it (read afresh, as a fresh follower reads it), and a read
// failure that clears once the archive can be read again.
#include <QDir>
#include <QSignalSpy>
#include <QTest>

#include "filebytes.h"
#include "store/filelock.h"
#include "store/ledger.h"
#include "tracker/archivefollower.h"
#include "tracker/decisionmatch.h"
#include "tracker/ledgerread.h"
#include "tracker/sidebyside.h"

class TestArchiveFollower : public TemporaryFolderTest
{
    Q_OBJECT

private slots:
    void followsAppends();
    void readsAfreshWhenChanged_data();
    void readsAfreshWhenChanged();
    void failureClearsOnceReadingWorks();
    void unreadableFileIsNotReadAgainAndAgain_data();
    void unreadableFileIsNotReadAgainAndAgain();
    void ledgerDecidesAboutRecords();
    void ledgerLineWithoutItsEnd();
    void thousandsOfDecisionsInSeveralPieces();
    void offersWorkedOutInSeveralPieces();
    void sideBySideHandsOnAFault_data();
    void sideBySideHandsOnAFault();

private:
    QString archive() const { return m_dir->filePath(QStringLiteral("vantrelLog.txt")); }
    static void load(history::ArchiveFollower &follower);
    static QStringList eventsAndBookmakers(const history::ArchiveFollower &follower);
};

namespace {

QByteArray record(const QByteArray &event, const QByteArray &bookmaker)
{
    return "07/12/2026 09:15:30," + event + ',' + bookmaker
        + ",25,0,2,2.05,26.22,24.97,0,4.75,50.00,23.78,23.78,95.13\r\n";
}

const QByteArray threeRecords = record("Arsenal", "Coral") + record("Leeds", "SkyBet") + record("Spurs", "Coral");

void appendBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::Append));
    QCOMPARE(file.write(bytes), bytes.size());
}

} // namespace

void TestArchiveFollower::load(history::ArchiveFollower &follower)
{
    QSignalSpy loaded(&follower, &history::ArchiveFollower::loaded);
    if (!follower.isLoading())
        follower.follow();
    if (follower.isLoading())
        QVERIFY(loaded.wait());
}

QStringList TestArchiveFollower::eventsAndBookmakers(const history::ArchiveFollower &follower)
{
    const history::BetRecords &records = follower.records();
    QStringList texts;
    for (qsizetype i = 0; i < records.size(); ++i)
        texts << records.field(i, store::ArchiveField::Event) + QLatin1Char('@')
                + records.bookmakers().at(records.at(i).bookmaker);
    return texts << records.bookmakers().join(QLatin1Char('|'));
}

void TestArchiveFollower::followsAppends()
{
    writeFileBytes(archive(), threeRecords);
    history::ArchiveFollower follower(m_dir->path());
    follower.start();
    load(follower);
    QCOMPARE(follower.records().size(), 3);

    QSignalSpy added(&follower, &history::ArchiveFollower::added);
    QSignalSpy cleared(&follower, &history::ArchiveFollower::cleared);
    appendBytes(archive(), record("Wolves", "Bet365") + "junk\r\n" + record("Half", "writ").left(30));
    QVERIFY(added.wait()); // the half-second look
    QCOMPARE(added.first().first().value<qsizetype>(), 3);
    QCOMPARE(follower.records().size(), 4);
    QCOMPARE(follower.report().unread.count, 1);
    QCOMPARE(follower.report().unread.samples, QStringList {"line 5: junk"});
    QCOMPARE(cleared.count(), 0);

    // An offers file that appears is read on its own; the archive's records stay.
    writeFileBytes(m_dir->filePath(QStringLiteral("vantrelOffers.csv")),
        "1,2026-12-08T14:05:09,refund,Ascot,Coral,20,11.08,11.08,backStake=20,layStake=16.41\r\n");
    QVERIFY(added.wait());
    QCOMPARE(follower.records().size(), 5);
    QCOMPARE(cleared.count(), 0);
}

void TestArchiveFollower::readsAfreshWhenChanged_data()
{
    QTest::addColumn<QString>("change");
    QTest::newRow("cut short by hand") << "cut";
    QTest::newRow("rewritten in place, same size") << "same size";
    QTest::newRow("an earlier line edited in place as the file grew") << "edited and grown";
    QTest::newRow("replaced by a longer file renamed over it") << "renamed";
    QTest::newRow("two lines inserted in the middle, in place") << "inserted";
    QTest::newRow("removed") << "removed";
}

void TestArchiveFollower::readsAfreshWhenChanged()
{
    QFETCH(QString, change);
    // Lines of one length that end alike: two inserted among them leave the tail where it was.
    QByteArrayList alike;
    for (const char *event : {"A v Town", "B v Town", "C v Town", "D v Town", "E v Town", "F v Town", "G v Town"})
        alike << record(event, "Coral");
    writeFileBytes(archive(), change == "inserted" ? alike.mid(0, 5).join() : threeRecords);
    ageFile(archive()); // the change below gets a time of its own
    history::ArchiveFollower follower(m_dir->path());
    follower.start();
    load(follower);
    QSignalSpy cleared(&follower, &history::ArchiveFollower::cleared);

    if (change == "cut") {
        writeFileBytes(archive(), record("Leeds", "SkyBet"));
    } else if (change == "same size") {
        QFile file(archive());
        QVERIFY(file.open(QIODevice::ReadWrite));
        // The first record only: the last bytes read stay as they were.
        QCOMPARE(file.write(QByteArray(threeRecords).replace("Arsenal", "Chelsea")), threeRecords.size());
    } else if (change == "edited and grown") {
        QFile file(archive());
        QVERIFY(file.open(QIODevice::ReadWrite));
        QCOMPARE(file.write(record("Chelsea", "Coral")), record("Arsenal", "Coral").size());
        file.close();
        appendBytes(archive(), record("Wolves", "Bet365"));
    } else if (change == "inserted") {
        writeFileBytes(archive(), (alike.mid(0, 2) + alike.mid(5, 2) + alike.mid(2, 3)).join());
    } else if (change == "renamed") {
        const QString draft = archive() + QStringLiteral(".new");
        writeFileBytes(draft, threeRecords + record("Ascot", "Betfred"));
        QVERIFY(QFile::remove(archive()) && QFile::rename(draft, archive()));
    } else {
        QVERIFY(QFile::remove(archive()));
    }
    follower.follow();
    load(follower);
    QCOMPARE(cleared.count(), 1);

    history::ArchiveFollower fresh(m_dir->path());
    fresh.start();
    load(fresh);
    QCOMPARE(eventsAndBookmakers(follower), eventsAndBookmakers(fresh));
    QCOMPARE(follower.report().unread.count, fresh.report().unread.count);
}

void TestArchiveFollower::failureClearsOnceReadingWorks()
{
    QVERIFY(QDir().mkpath(archive())); // a folder where the archive should be
    history::ArchiveFollower follower(m_dir->path());
    follower.start();
    load(follower);
    // The failure names the file and says why.
    const QString failure = follower.report().failure;
    QVERIFY2(
        failure.startsWith(QDir::toNativeSeparators(archive()) + ": ") && failure.contains(QStringLiteral("folder")),
        qPrintable(failure));

    QVERIFY(QDir(archive()).removeRecursively());
    writeFileBytes(archive(), threeRecords);
    // Read afresh, or (where the new file takes the folder's number) read on from its start.
    follower.follow();
    QTRY_COMPARE(follower.report().failure, QString());
    QTRY_COMPARE(follower.records().size(), 3);
}

void TestArchiveFollower::unreadableFileIsNotReadAgainAndAgain_data()
{
    QTest::addColumn<QString>("offersFile");
    QTest::newRow("a folder") << "folder";
    QTest::newRow("a pipe") << "pipe";
    QTest::newRow("a link to a pipe") << "link";
}

void TestArchiveFollower::unreadableFileIsNotReadAgainAndAgain()
{
    QFETCH(QString, offersFile);
    const QString offers = m_dir->filePath(QStringLiteral("vantrelOffers.csv"));
    const QString pipe = offersFile == "link" ? m_dir->filePath(QStringLiteral("pipe")) : offers;
    if (offersFile == "folder")
        QVERIFY(QDir().mkpath(offers));
    else if (!makePipe(pipe))
        QSKIP("no named pipes on this system");
    if (offersFile == "link")
        QVERIFY(QFile::link(pipe, offers));
    writeFileBytes(archive(), threeRecords);
    history::ArchiveFollower follower(m_dir->path());
    follower.start();
    load(follower);
    QVERIFY(follower.report().failure.startsWith(QDir::toNativeSeparators(offers) + ": "));

    // Nothing changes, so nothing is read again: the records stay, the table keeps its place.
    QSignalSpy cleared(&follower, &history::ArchiveFollower::cleared);
    QSignalSpy reported(&follower, &history::ArchiveFollower::reportChanged);
    QTest::qWait(1200);
    QCOMPARE(cleared.count(), 0);
    QCOMPARE(reported.count(), 0);
    QCOMPARE(follower.records().size(), 3);
}

void TestArchiveFollower::ledgerDecidesAboutRecords()
{
    // Two identical lines are two bets: the ledger names the second by its occurrence.
    const QByteArray twice = record("Arsenal", "Coral").chopped(2);
    const QByteArray other = record("Leeds", "SkyBet").chopped(2);
    writeFileBytes(archive(), twice + "\r\n" + twice + "\r\n" + other + "\r\n");
    const QDateTime when(QDate(2026, 12, 8), QTime(14, 5));
    const auto id = [](const QByteArray &line, int occurrence) {
        return store::RecordId {store::RecordSource::Archive, store::sha256(line), occurrence};
    };
    using store::LedgerAction;
    const QList<store::LedgerEntry> entries {
        {when, LedgerAction::Settle, id(twice, 1), "profitIfLayWins", -1.22, "Betfair", {}, {}},
        {when, LedgerAction::Settle, id(twice, 0), "profitIfBackWins", -1.22, "Betfair", {}, {}},
        {when, LedgerAction::Reopen, id(twice, 0), {}, {}, {}, {}, {}},
        {when, LedgerAction::Remove, id(other, 0), {}, {}, {}, {}, {}},
        {when, LedgerAction::Settle, id("a bet no file holds", 0), "void", 0, "Betfair", {}, {}},
        {when, LedgerAction::Deposit, std::nullopt, {}, 100, "Coral", {}, {}},
        {when, LedgerAction::Status, std::nullopt, "limited", {}, "Coral", {}, {}},
    };
    store::appendToLedger(m_dir->path(), entries);
    appendBytes(m_dir->filePath(QStringLiteral("vantrelLedger.csv")),
        "1,yesterday,settle,,,,,\r\n3,2026-12-08T14:05:00,settle,,,,,,,a column more\r\n");
    history::ArchiveFollower follower(m_dir->path());
    follower.start();
    load(follower);
    const history::SettlementTable &table = follower.ledger().settlements();
    QVERIFY(!table.at(0).settled); // reopened
    QVERIFY(table.at(1).settled);
    QCOMPARE(table.captions().value(table.at(1).caption), "Lay won");
    QCOMPARE(table.at(1).actual(), -1.22);
    QCOMPARE(table.at(1).payout.bookmaker, -2500);
    QCOMPARE(table.exchanges().value(table.at(1).exchange), "Betfair");
    QVERIFY(table.at(2).removed);
    QCOMPARE(follower.ledger().settlementsWithoutBet(), 1);
    QCOMPARE(follower.ledger().accounts().at("Coral").deposited, 10000);
    QCOMPARE(follower.ledger().accounts().at("Coral").status, "limited");
    QCOMPARE(follower.report().unread.count, 2); // the unreadable line and the later version's
    QVERIFY(follower.report().unread.samples.last().startsWith("ledger line 10: (a later version)"));

    // The latest line decides: another window voids the second bet, restores the third and mends it.
    QSignalSpy changed(&follower, &history::ArchiveFollower::settlementsChanged);
    store::appendToLedger(m_dir->path(),
        {{when, LedgerAction::Settle, id(twice, 1), "void", 0, "Betfair", {}, {}},
            {when, LedgerAction::Restore, id(other, 0), {}, {}, {}, {}, {}},
            {when, LedgerAction::Amend, id(other, 0), "Leeds v Spurs", {}, "Bet365", "boosted", {}}});
    QVERIFY(changed.wait());
    QCOMPARE(table.captions().value(follower.ledger().settlements().at(1).caption), "Void");
    QCOMPARE(follower.ledger().settlements().at(1).actual(), 0.0);
    const history::Settlement &third = follower.ledger().settlements().at(2);
    QVERIFY(!third.removed);
    const history::Mending &mended = follower.ledger().settlements().mendings().at(third.mended);
    QCOMPARE(QStringList({mended.event, mended.bookmaker, mended.note}),
        QStringList({"Leeds v Spurs", "Bet365", "boosted"}));
}

void TestArchiveFollower::ledgerLineWithoutItsEnd()
{
    // A line added by hand without a line end is read at once, unless a program appending holds the
    // lock; the line end the next append writes first finishes it, and a line made longer is read
    // afresh.
    const QString ledger = m_dir->filePath(QStringLiteral("vantrelLedger.csv"));
    const QDateTime when(QDate(2026, 12, 8), QTime(14, 5));
    store::appendToLedger(
        m_dir->path(), {{when, store::LedgerAction::Deposit, std::nullopt, {}, 100, "Coral", {}, {}}});
    const qint64 appended = QFileInfo(ledger).size();
    appendBytes(ledger, "1,2026-12-09T10:00:00,deposit,,,5,Coral,");
    {
        QFile held(ledger);
        QVERIFY(held.open(QIODevice::ReadOnly));
        const store::files::FileLock lock(held, ledger);
        QCOMPARE(history::readLedgerBatch(ledger, 0, 1, 1 << 20).end, appended);
    }
    QCOMPARE(history::readLedgerBatch(ledger, 0, 1, 1 << 20).end, QFileInfo(ledger).size());

    history::ArchiveFollower follower(m_dir->path());
    follower.start();
    load(follower);
    // Read afresh, the book is empty for a moment.
    const auto deposited = [&follower] {
        const history::AccountBook &accounts = follower.ledger().accounts();
        return accounts.contains("Coral") ? accounts.at("Coral").deposited : -1;
    };
    const auto lastNote = [&follower] {
        const history::AccountLines &lines = follower.ledger().accountLines();
        return lines.empty() ? QString() : lines.back().note;
    };
    QCOMPARE(deposited(), 10500);
    QSignalSpy changed(&follower, &history::ArchiveFollower::settlementsChanged);
    store::appendToLedger(m_dir->path(), {{when, store::LedgerAction::Deposit, std::nullopt, {}, 2, "Coral", {}, {}}});
    QVERIFY(changed.wait());
    QCOMPARE(deposited(), 10700);
    appendBytes(ledger, "1,2026-12-09T10:00:00,deposit,,,5,Coral,bon");
    QVERIFY(changed.wait());
    QCOMPARE(deposited(), 11200);
    appendBytes(ledger, "us\r\n");
    QTRY_COMPARE(lastNote(), "bonus");
    QCOMPARE(deposited(), 11200);
    QCOMPARE(follower.report().unread.count, 0);
}

void TestArchiveFollower::thousandsOfDecisionsInSeveralPieces()
{
    // Enough ledger lines to be read in several pieces, and matched in two halves side by side.
    constexpr int count = 12'000;
    QByteArray lines;
    QList<store::LedgerEntry> entries;
    const QDateTime when(QDate(2026, 12, 8), QTime(14, 5));
    const auto id = [](const QByteArray &line) {
        return store::RecordId {store::RecordSource::Archive, store::sha256(line.chopped(2)), 0};
    };
    for (int i = 0; i < count; ++i) {
        lines += record("Match " + QByteArray::number(i), "Coral");
        const bool backWon = i % 2 == 0;
        entries << store::LedgerEntry {when, store::LedgerAction::Settle,
            id(record("Match " + QByteArray::number(i), "Coral")), backWon ? "profitIfBackWins" : "profitIfLayWins",
            -1.22, backWon ? "Betfair" : "Smarkets", {}, {}};
    }
    const QByteArray late = record("Arrives later", "Coral");
    entries << store::LedgerEntry {when, store::LedgerAction::Remove, id(late), {}, {}, {}, {}, {}};
    writeFileBytes(archive(), lines);
    store::appendToLedger(m_dir->path(), entries);
    history::ArchiveFollower follower(m_dir->path());
    follower.start();
    load(follower);
    const auto check = [&follower](int index) {
        const history::SettlementTable &table = follower.ledger().settlements();
        const history::Settlement &settlement = table.at(index);
        const bool backWon = index % 2 == 0;
        QVERIFY(settlement.settled);
        QCOMPARE(table.captions().value(settlement.caption), backWon ? "Back won" : "Lay won");
        QCOMPARE(table.exchanges().value(settlement.exchange), backWon ? "Betfair" : "Smarkets");
        QCOMPARE(settlement.payout.bookmaker, backWon ? 2500 : -2500);
    };
    for (const int index : {0, 1, count / 2 - 1, count / 2, count / 2 + 1, count - 1})
        check(index);
    QCOMPARE(follower.ledger().settlementsWithoutBet(), 0);

    // A decision whose bet was in neither file finds it once it is archived.
    appendBytes(archive(), late);
    QTRY_VERIFY(follower.ledger().settlements().at(count).removed);
    check(count - 1);
}

void TestArchiveFollower::offersWorkedOutInSeveralPieces()
{
    // Enough offers for a small first piece worked out whole and a larger one in two halves; every
    // seventh has its lowest profit edited by hand.
    constexpr int count = 5'000;
    QByteArray lines = "Version,Date,Kind,Event,Bookmaker,Stake,Lowest profit,Highest profit,Inputs,Figures\r\n";
    for (int i = 0; i < count; ++i)
        lines += "1,2026-12-06T10:00:00,refund,Match " + QByteArray::number(i) + ",Coral,20,"
            + (i % 7 == 0 ? "500.00" : "11.08")
            + ",11.08,backOdds=5;backStake=20;layCommission=2;layOdds=5.2;refund=20;retention=75,"
              "layStake=16.41;liability=68.92;profitIfBackWins=11.08;profitIfLayWins=11.08\r\n";
    writeFileBytes(m_dir->filePath(QStringLiteral("vantrelOffers.csv")), lines);
    history::ArchiveFollower follower(m_dir->path());
    follower.start();
    load(follower);
    const history::BetRecords &records = follower.records();
    QCOMPARE(records.size(), count);
    for (int i = 0; i < count; ++i) {
        const history::BetRecord &record = records.at(i);
        QCOMPARE(records.field(i, store::ArchiveField::Event), QStringLiteral("Match %1").arg(i));
        QCOMPARE(record.stale, i % 7 == 0);
        QCOMPARE(record.result, 11.08); // as the inputs give it, whatever the column says
        QCOMPARE(record.openAtExchange, 68.92);
    }
}

// A half that throws neither ends the program nor leaves the other half running.
void TestArchiveFollower::sideBySideHandsOnAFault_data()
{
    QTest::addColumn<int>("throwingPart");
    QTest::newRow("this thread's half") << 0;
    QTest::newRow("the helper's half") << 1;
}

void TestArchiveFollower::sideBySideHandsOnAFault()
{
    QFETCH(int, throwingPart);
    std::atomic<int> finished = 0;
    const auto work = [&](int part, std::size_t, std::size_t) {
        if (part == throwingPart)
            throw std::runtime_error("half failed");
        QThread::msleep(50); // still running when the other half throws
        ++finished;
    };
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, history::sideBySide(10, 2, work));
    QCOMPARE(finished.load(), 1);
}

QTEST_GUILESS_MAIN(TestArchiveFollower)
#include "tst_archivefollower.moc"
