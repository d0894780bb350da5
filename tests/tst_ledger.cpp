// The ledger's file as the history writes and reads it: its lines to the byte, what a line that is
// no entry (or of a later version) reads as, the header written once whatever the appends, and the
// SHA-256 that names a record and a free bet, with and without the processor's SHA extensions.
#include <QCryptographicHash>
#include <QRandomGenerator>
#include <QTest>

#include "filebytes.h"
#include "store/datafolder.h"
#include "store/ledger.h"
#include "store/sha256.h"

Q_DECLARE_METATYPE(store::LedgerLineKind)

class TestLedger : public TemporaryFolderTest
{
    Q_OBJECT

private slots:
    void sha256MatchesTheStandard();
    void linesToTheByte();
    void freeBetLinesToTheByte();
    void readingLines_data();
    void readingLines();
    void appendsWriteTheHeaderOnce();
};

namespace {

store::RecordId recordOf(const QByteArray &line, int occurrence)
{
    return {store::RecordSource::Archive, store::sha256(line), occurrence};
}

const QDateTime moment(QDate(2026, 12, 8), QTime(14, 5));

} // namespace

void TestLedger::sha256MatchesTheStandard()
{
    // FIPS 180-4's examples, then random lengths across the block boundaries against Qt's.
    QCOMPARE(store::hexOf(store::sha256("abc")), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    QCOMPARE(store::hexOf(store::sha256("")), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    QCOMPARE(store::hexOf(store::sha256("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq")),
        "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
    auto *random = QRandomGenerator::global();
    for (int length = 0; length < 300; ++length) {
        QByteArray bytes(length, Qt::Uninitialized);
        for (char &byte : bytes)
            byte = char(random->bounded(256));
        const QByteArray expected = QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
        QCOMPARE(store::hexOf(store::sha256(bytes)), expected);
        QCOMPARE(store::hexOf(store::sha256WithoutExtensions(bytes)), expected);
    }
}

void TestLedger::linesToTheByte()
{
    const QByteArray line = "07/12/2026 09:15:30,Arsenal,Coral,25,0,2,2.05,26.22,24.97,0,4.75,50.00,23.78,23.78,95.13";
    store::LedgerEntry settle {moment, store::LedgerAction::Settle, recordOf(line, 1), "profitIfLayWins", -1.22,
        "Betfair", "lay matched, \"at last\"", {}};
    QCOMPARE(store::ledgerLine(settle),
        "1,2026-12-08T14:05:00,settle,log:" + store::hexOf(store::sha256(line))
            + ":1,profitIfLayWins,-1.22,Betfair,\"lay matched, \"\"at last\"\"\"");
    // A text a spreadsheet would run as a formula is kept as text; line breaks pasted become spaces.
    const store::LedgerEntry deposit {
        moment, store::LedgerAction::Deposit, std::nullopt, {}, 100, "=HYPERLINK(\"x\")", "first\r\nsecond", {}};
    QCOMPARE(
        store::ledgerLine(deposit), "1,2026-12-08T14:05:00,deposit,,,100.00,\"'=HYPERLINK(\"\"x\"\")\",first second");
    const store::ParsedLedgerLine read = store::parseLedgerLine(store::ledgerLine(deposit));
    QCOMPARE(read.kind, store::LedgerLineKind::Entry);
    QCOMPARE(store::nameText(read.account), "=HYPERLINK(\"x\")");
    QCOMPARE(read.amount, 100.0);
    const store::ParsedLedgerLine settled = store::parseLedgerLine(store::ledgerLine(settle));
    QCOMPARE(settled.record, settle.record);
    QCOMPARE(store::nameText(settled.note), settle.note);
    // An amend's event is the user's text too.
    const store::LedgerEntry amend {
        moment, store::LedgerAction::Amend, recordOf(line, 0), "=2+3 v Spurs", {}, "Bet365", {}, {}};
    QCOMPARE(store::ledgerLine(amend),
        "1,2026-12-08T14:05:00,amend,log:" + store::hexOf(store::sha256(line)) + ":0,'=2+3 v Spurs,,Bet365,");
    QCOMPARE(store::nameText(store::parseLedgerLine(store::ledgerLine(amend)).outcome), amend.outcome);
}

void TestLedger::freeBetLinesToTheByte()
{
    // A free bet's line is of version 2, with its expiry after the note; it is named by its digest.
    const QByteArray line = "07/12/2026 09:15:30,Arsenal,Coral,20,0,0,5,16.41,66.92,0,2,-3.92,-3.92,-3.92,80.4";
    const store::LedgerEntry earned {moment, store::LedgerAction::FreeBet, recordOf(line, 0), "snr", 20, "Coral",
        "refund, min odds 2.0", QDate(2026, 12, 15)};
    const QByteArray written = store::ledgerLine(earned);
    QCOMPARE(written,
        "2,2026-12-08T14:05:00,freebet,log:" + store::hexOf(store::sha256(line))
            + ":0,snr,20.00,Coral,\"refund, min odds 2.0\",2026-12-15");
    const store::ParsedLedgerLine read = store::parseLedgerLine(written);
    QCOMPARE(read.kind, store::LedgerLineKind::Entry);
    QCOMPARE(read.expires, QDate(2026, 12, 15));
    QCOMPARE(read.record, earned.record);
    const store::FreeBetId id {store::sha256(written), 1};
    const store::LedgerEntry used {moment, store::LedgerAction::UseFreeBet, recordOf("a bet", 0),
        QString::fromLatin1(store::freeBetIdText(id)), {}, {}, {}, {}};
    QVERIFY(store::ledgerLine(used).endsWith(",free:" + store::hexOf(id.digest) + ":1,,,,"));
    QCOMPARE(store::parseLedgerLine(store::ledgerLine(used)).freeBet, id);
    // Other lines stay of version 1, which a program that knows no free bets reads.
    const store::LedgerEntry deposit {moment, store::LedgerAction::Deposit, std::nullopt, {}, 5, "Coral", {}, {}};
    QCOMPARE(store::ledgerLine(deposit), "1,2026-12-08T14:05:00,deposit,,,5.00,Coral,");
}

void TestLedger::readingLines_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<store::LedgerLineKind>("kind");
    const QByteArray record = "log:" + QByteArray(64, 'a') + ":0";
    QTest::newRow("header") << QByteArray("Version,Date,Action,Record,Outcome,Amount,Account,Note")
                            << store::LedgerLineKind::Header;
    QTest::newRow("header after a byte-order mark")
        << QByteArray("\xEF\xBB\xBFVersion,Date,Action,Record,Outcome,Amount,Account,Note")
        << store::LedgerLineKind::Header;
    QTest::newRow("settle") << QByteArray("1,2026-12-08T14:05:00,settle," + record + ",profitIfBackWins,5.00,Betfair,")
                            << store::LedgerLineKind::Entry;
    QTest::newRow("void needs no amount")
        << QByteArray("1,2026-12-08T14:05:00,settle," + record + ",void,,Betfair,") << store::LedgerLineKind::Entry;
    QTest::newRow("a status") << QByteArray("1,2026-12-08T14:05:00,status,,limited,,Coral,")
                              << store::LedgerLineKind::Entry;
    QTest::newRow("a bet's exchange") << QByteArray("1,2026-12-08T14:05:00,exchange," + record + ",,,Smarkets,")
                                      << store::LedgerLineKind::Entry;
    QTest::newRow("a bet's exchange unnamed")
        << QByteArray("1,2026-12-08T14:05:00,exchange," + record + ",,,,") << store::LedgerLineKind::Unreadable;
    QTest::newRow("an amend") << QByteArray("1,2026-12-08T14:05:00,amend," + record + ",Spurs,,Bet365,")
                              << store::LedgerLineKind::Entry;
    QTest::newRow("an amend naming no bet")
        << QByteArray("1,2026-12-08T14:05:00,amend,,Spurs,,Bet365,") << store::LedgerLineKind::Unreadable;
    QTest::newRow("an account's type") << QByteArray("1,2026-12-08T14:05:00,type,,exchange,,Betfair,")
                                       << store::LedgerLineKind::Entry;
    QTest::newRow("an account's type that is none")
        << QByteArray("1,2026-12-08T14:05:00,type,,casino,,Betfair,") << store::LedgerLineKind::Unreadable;
    QTest::newRow("a later version, with more columns")
        << QByteArray("3,2026-12-08T14:05:00,settle," + record + ",x,1.00,Betfair,,,more")
        << store::LedgerLineKind::LaterVersion;
    QTest::newRow("header of version 2") << QByteArray("Version,Date,Action,Record,Outcome,Amount,Account,Note,Expires")
                                         << store::LedgerLineKind::Header;
    QTest::newRow("a settle of version 2")
        << QByteArray("2,2026-12-08T14:05:00,settle," + record + ",void,,Betfair,,") << store::LedgerLineKind::Entry;
    QTest::newRow("version 1 with the expiry's column")
        << QByteArray("1,2026-12-08T14:05:00,settle," + record + ",void,,Betfair,,")
        << store::LedgerLineKind::Unreadable;
    const QByteArray freeBet = "2,2026-12-08T14:05:00,freebet,";
    const QByteArray freeId = "free:" + QByteArray(64, 'b') + ":0";
    QTest::newRow("a free bet earned") << freeBet + record + ",snr,20.00,Coral,min odds 2.0,2026-12-15"
                                       << store::LedgerLineKind::Entry;
    QTest::newRow("a free bet from no bet, no expiry")
        << freeBet + ",sr,5.00,Coral,sign-up," << store::LedgerLineKind::Entry;
    QTest::newRow("a free bet of version 1")
        << QByteArray("1,2026-12-08T14:05:00,freebet,,snr,20.00,Coral,") << store::LedgerLineKind::Unreadable;
    QTest::newRow("a free bet of no amount") << freeBet + ",snr,,Coral,," << store::LedgerLineKind::Unreadable;
    QTest::newRow("a free bet of a negative amount")
        << freeBet + ",snr,-5.00,Coral,," << store::LedgerLineKind::Unreadable;
    QTest::newRow("a free bet of no number") << freeBet + ",snr,ten,Coral,," << store::LedgerLineKind::Unreadable;
    QTest::newRow("a free bet of another kind") << freeBet + ",bonus,5.00,Coral,," << store::LedgerLineKind::Unreadable;
    QTest::newRow("an expiry that is no date")
        << freeBet + ",snr,5.00,Coral,,next week" << store::LedgerLineKind::Unreadable;
    QTest::newRow("an expiry on no day") << freeBet + ",snr,5.00,Coral,,2026-02-30"
                                         << store::LedgerLineKind::Unreadable;
    QTest::newRow("a free bet used") << QByteArray("2,2026-12-08T14:05:00,usefreebet," + record + "," + freeId + ",,,,")
                                     << store::LedgerLineKind::Entry;
    QTest::newRow("a free bet unlinked") << QByteArray("2,2026-12-08T14:05:00,usefreebet,," + freeId + ",,,,")
                                         << store::LedgerLineKind::Entry;
    QTest::newRow("a use naming no free bet")
        << QByteArray("2,2026-12-08T14:05:00,usefreebet," + record + "," + record + ",,,,")
        << store::LedgerLineKind::Unreadable;
    QTest::newRow("a free bet given up") << QByteArray("2,2026-12-08T14:05:00,dropfreebet,," + freeId
        + ",,,taken back,") << store::LedgerLineKind::Entry;
    QTest::newRow("an adjustment") << QByteArray("2,2026-12-08T14:05:00,adjust,,,0.34,Betfair,Liverpool v Everton,")
                                   << store::LedgerLineKind::Entry;
    QTest::newRow("an adjustment of version 1")
        << QByteArray("1,2026-12-08T14:05:00,adjust,,,0.34,Betfair,") << store::LedgerLineKind::Unreadable;
    QTest::newRow("an adjustment of no amount")
        << QByteArray("2,2026-12-08T14:05:00,adjust,,,,Betfair,,") << store::LedgerLineKind::Unreadable;
    QTest::newRow("an action unknown") << QByteArray("1,2026-12-08T14:05:00,bet," + record + ",x,1.00,Betfair,")
                                       << store::LedgerLineKind::Unreadable;
    QTest::newRow("a date that is none") << QByteArray("1,yesterday,remove," + record + ",,,,")
                                         << store::LedgerLineKind::Unreadable;
    QTest::newRow("an occurrence that is no number")
        << QByteArray("1,2026-12-08T14:05:00,remove,log:" + QByteArray(64, 'a') + ":1x,,,,")
        << store::LedgerLineKind::Unreadable;
    QTest::newRow("a negative occurrence")
        << QByteArray("1,2026-12-08T14:05:00,remove,log:" + QByteArray(64, 'a') + ":-1,,,,")
        << store::LedgerLineKind::Unreadable;
    QTest::newRow("upper-case hex") << QByteArray("1,2026-12-08T14:05:00,remove,log:" + QByteArray(64, 'A') + ":0,,,,")
                                    << store::LedgerLineKind::Unreadable;
    QTest::newRow("a record id cut short")
        << QByteArray("1,2026-12-08T14:05:00,remove,log:abc:0,,,,") << store::LedgerLineKind::Unreadable;
    QTest::newRow("a settle without an amount")
        << QByteArray("1,2026-12-08T14:05:00,settle," + record + ",profitIfBackWins,,Betfair,")
        << store::LedgerLineKind::Unreadable;
    QTest::newRow("a deposit of no number")
        << QByteArray("1,2026-12-08T14:05:00,deposit,,,ten,Coral,") << store::LedgerLineKind::Unreadable;
    QTest::newRow("too few fields") << QByteArray("1,2026-12-08T14:05:00,deposit") << store::LedgerLineKind::Unreadable;
    QTest::newRow("an unclosed quote") << QByteArray("1,2026-12-08T14:05:00,deposit,,,5,\"Coral,")
                                       << store::LedgerLineKind::Unreadable;
}

void TestLedger::readingLines()
{
    QFETCH(QByteArray, line);
    QFETCH(store::LedgerLineKind, kind);
    QCOMPARE(store::parseLedgerLine(line).kind, kind);
}

void TestLedger::appendsWriteTheHeaderOnce()
{
    const QString folder = m_dir->filePath(QStringLiteral("vantrel"));
    QList<store::LedgerEntry> many;
    for (int i = 0; i < 10'000; ++i)
        many << store::LedgerEntry {moment, store::LedgerAction::Remove, recordOf("line", i), {}, {}, {}, {}, {}};
    store::appendToLedger(folder, many);
    store::appendToLedger(folder, {{moment, store::LedgerAction::Withdraw, std::nullopt, {}, 5, "Coral", {}, {}}});
    const QList<QByteArray> lines = fileBytes(store::ledgerPath(folder)).split('\n');
    QCOMPARE(lines.size(), 1 + 10'000 + 1 + 1);
    QCOMPARE(lines.first(), store::ledgerHeader() + '\r');
    QCOMPARE(lines[10'001], "1,2026-12-08T14:05:00,withdraw,,,5.00,Coral,\r");
}

QTEST_GUILESS_MAIN(TestLedger)
#include "tst_ledger.moc"
