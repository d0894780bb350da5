// The free bets as the ledger records them: received, used, unlinked, given up and expired on a
// fixed day; identical freebet lines told apart; lines that name no free bet, or a free bet another
// bet uses, left out and named; and the reminder's list of those due.
#include <QTemporaryDir>
#include <QTest>

#include "filebytes.h"
#include "store/datafolder.h"
#include "store/ledger.h"
#include "tracker/freebets.h"

class TestFreeBets : public QObject
{
    Q_OBJECT

private slots:
    void statusOnADay_data();
    void statusOnADay();
    void identicalLinesAreTwoFreeBets();
    void linesThatCannotApplyAreNamed();
    void dueWithinTwoDays();
};

namespace {

const QDate today(2026, 12, 9);
const QDateTime moment(QDate(2026, 12, 8), QTime(14, 5));
const QByteArray betLine = "07/12/2026 09:15:30,Arsenal,Coral,20,0,0,5,16.41,66.92,0,2,-3.92,-3.92,-3.92,80.4";
const store::RecordId bet {store::RecordSource::Archive, store::sha256(betLine), 0};
const store::RecordId otherBet {store::RecordSource::Offers, store::sha256("another bet"), 0};

store::LedgerEntry freeBetAt(const QString &bookmaker, double amount, QDate expires)
{
    return {moment, store::LedgerAction::FreeBet, bet, "snr", amount, bookmaker, {}, expires};
}

store::LedgerEntry change(store::LedgerAction action, const store::LedgerEntry &freeBet, int occurrence,
    std::optional<store::RecordId> usedBy = std::nullopt)
{
    const store::FreeBetId id {store::sha256(store::ledgerLine(freeBet)), occurrence};
    return {moment, action, usedBy, QString::fromLatin1(store::freeBetIdText(id)), {}, {}, "why", {}};
}

// The free bets of a ledger of those entries, and the lines left out.
std::pair<history::FreeBetBook, history::UnreadLines> read(const QList<store::LedgerEntry> &entries)
{
    QTemporaryDir dir;
    store::appendToLedger(dir.path(), entries);
    history::UnreadLines leftOut;
    history::FreeBetBook book = history::readFreeBets(dir.path(), leftOut);
    return {std::move(book), leftOut};
}

} // namespace

void TestFreeBets::statusOnADay_data()
{
    using store::LedgerAction;
    QTest::addColumn<QList<store::LedgerEntry>>("entries");
    QTest::addColumn<history::FreeBetStatus>("status");
    QTest::addColumn<qint64>("daysLeft");
    const store::LedgerEntry earned = freeBetAt("Coral", 20, today.addDays(1));
    QTest::newRow("held") << QList {earned} << history::FreeBetStatus::Held << qint64(1);
    QTest::newRow("used") << QList {earned, change(LedgerAction::UseFreeBet, earned, 0, otherBet)}
                          << history::FreeBetStatus::Used << qint64(1);
    QTest::newRow("unlinked") << QList {earned, change(LedgerAction::UseFreeBet, earned, 0, otherBet),
        change(LedgerAction::UseFreeBet, earned, 0)}
                              << history::FreeBetStatus::Held << qint64(1);
    QTest::newRow("given up") << QList {earned, change(LedgerAction::DropFreeBet, earned, 0)}
                              << history::FreeBetStatus::Dropped << qint64(1);
    QTest::newRow("expiring today is still held")
        << QList {freeBetAt("Coral", 20, today)} << history::FreeBetStatus::Held << qint64(0);
    QTest::newRow("expired yesterday") << QList {freeBetAt("Coral", 20, today.addDays(-1))}
                                       << history::FreeBetStatus::Expired << qint64(-1);
    const store::LedgerEntry expired = freeBetAt("Coral", 20, today.addDays(-1));
    QTest::newRow("used before it expired") << QList {expired, change(LedgerAction::UseFreeBet, expired, 0, otherBet)}
                                            << history::FreeBetStatus::Used << qint64(-1);
}

void TestFreeBets::statusOnADay()
{
    QFETCH(QList<store::LedgerEntry>, entries);
    QFETCH(history::FreeBetStatus, status);
    QFETCH(qint64, daysLeft);
    const auto [book, leftOut] = read(entries);
    QCOMPARE(leftOut.count, 0);
    QCOMPARE(book.freeBets().size(), std::size_t(1));
    const history::FreeBet &freeBet = book.freeBets().front();
    QCOMPARE(freeBet.statusOn(today), status);
    QCOMPARE(freeBet.daysLeftOn(today), daysLeft);
    QCOMPARE(freeBet.amount, calc::Pennies(2000));
    QCOMPARE(freeBet.bookmaker, QStringLiteral("Coral"));
    QVERIFY(freeBet.earnedBy.has_value());
}

void TestFreeBets::identicalLinesAreTwoFreeBets()
{
    // Two identical lines (one refund recorded twice in one second) are two free bets, the second
    // named by its occurrence: using it leaves the first held.
    const store::LedgerEntry earned = freeBetAt("Coral", 20, {});
    const auto [book, leftOut] = read({earned, earned, change(store::LedgerAction::UseFreeBet, earned, 1, otherBet)});
    QCOMPARE(leftOut.count, 0);
    QCOMPARE(book.freeBets().size(), std::size_t(2));
    QCOMPARE(book.freeBets()[0].statusOn(today), history::FreeBetStatus::Held);
    QCOMPARE(book.freeBets()[0].daysLeftOn(today), std::nullopt);
    QCOMPARE(book.freeBets()[1].statusOn(today), history::FreeBetStatus::Used);
    QCOMPARE(book.freeBets()[1].id.occurrence, 1);
}

void TestFreeBets::linesThatCannotApplyAreNamed()
{
    using store::LedgerAction;
    const store::LedgerEntry earned = freeBetAt("Coral", 20, today);
    const store::LedgerEntry never = freeBetAt("Nowhere", 1, today);
    const store::RecordId thirdBet {store::RecordSource::Archive, store::sha256("a third bet"), 0};
    const auto [book, leftOut] = read({change(LedgerAction::UseFreeBet, earned, 0, otherBet), earned,
        change(LedgerAction::UseFreeBet, earned, 0, otherBet), change(LedgerAction::UseFreeBet, earned, 0, thirdBet),
        change(LedgerAction::DropFreeBet, never, 0), change(LedgerAction::UseFreeBet, earned, 1, otherBet)});
    QCOMPARE(leftOut.count, 4);
    QCOMPARE(leftOut.samples,
        QStringList({"ledger line 2: names a free bet that no line before it holds",
            "ledger line 5: a second bet uses a free bet that another bet uses",
            "ledger line 6: names a free bet that no line before it holds",
            "ledger line 7: names a free bet that no line before it holds"}));
    // The first use stands, and the rest was still read.
    QCOMPARE(book.freeBets().size(), std::size_t(1));
    QCOMPARE(book.freeBets().front().statusOn(today), history::FreeBetStatus::Used);
}

void TestFreeBets::dueWithinTwoDays()
{
    using store::LedgerAction;
    const store::LedgerEntry used = freeBetAt("Bet365", 10, today);
    const auto [book, leftOut] = read({freeBetAt("Sky Bet", 7.5, today.addDays(3)),
        freeBetAt("Coral", 20, today.addDays(2)), freeBetAt("Paddy Power", 5, today), freeBetAt("Betway", 5, {}),
        freeBetAt("William Hill", 1, today.addDays(-1)), used, change(LedgerAction::UseFreeBet, used, 0, otherBet)});
    QCOMPARE(
        history::dueFreeBets(book, today), QStringList({"Paddy Power, 5.00, 2026-12-09", "Coral, 20.00, 2026-12-11"}));
    QVERIFY(history::dueFreeBets(history::FreeBetBook(), today).isEmpty());
}

QTEST_GUILESS_MAIN(TestFreeBets)
#include "tst_freebets.moc"
