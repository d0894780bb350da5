// Statements against the bets: a market's line matched to the bets its words and dates name at its
// exchange, the outcomes that bring its amount proposed, commission netting told apart from a
// disagreement, deposits the ledger lacks, and gaps in a statement's balances. The two worked
// examples are the lay of 24.97 at 2.05 (4.75 % commission) that brings 23.78, and that lay with
// a free bet's 7.22 laid at 4.2 in the same market, which the exchange nets to -19.00.
#include <QSignalSpy>

#include "filebytes.h"
#include "store/datafolder.h"
#include "store/ledger.h"
#include "tracker/archivefollower.h"
#include "tracker/eventwords.h"
#include "tracker/reconcile.h"

using history::MarketState;
using store::LedgerAction;

namespace {

// Stake 25 at 2.0, laid at 2.05: lay 24.97, which brings 23.78 or costs 26.22.
const QByteArray qualifier
    = "13/12/2026 17:00:00,Liverpool v Everton,Coral,25,0,2,2.05,26.22,24.97,0,4.75,50,-1.22,-1.22,100";
// A free bet of 10 at 4.0, laid on the draw at 4.2: lay 7.22, which brings 6.88 or costs 23.10.
const QByteArray freeBet
    = "13/12/2026 17:05:00,Liverpool v Everton,Bet365,10,10,4,4.2,23.10,7.22,0,4.75,30,6.9,6.88,100";
const QByteArray earlyBet
    = "01/12/2026 17:00:00,Liverpool v Everton,Coral,25,0,2,2.05,26.22,24.97,0,4.75,50,-1.22,-1.22,100";
const QByteArray otherEvent
    = "13/12/2026 17:00:00,Liverpool v Everton U21,Coral,25,0,2,2.05,26.22,24.97,0,4.75,50,-1.22,-1.22,100";

const QByteArray profitLossHeader = "Market,Start time,Settled date,Profit/Loss (\xC2\xA3)\n";

const char *const marketText = "Football / Premier League / Liverpool vs Everton : Match Odds";

QByteArray marketLine(const char *amount)
{
    return QByteArray(marketText) + ",13-Dec-26 17:30,13-Dec-26 19:25," + amount + '\n';
}

store::RecordId idOf(const QByteArray &line, int occurrence = 0)
{
    return {store::RecordSource::Archive, store::sha256(line), occurrence};
}

store::LedgerEntry settled(const QByteArray &line, const char *outcome, double profit)
{
    return {QDateTime(QDate(2026, 12, 13), QTime(20, 0)), LedgerAction::Settle, idOf(line),
        QString::fromLatin1(outcome), profit, QStringLiteral("Betfair"), {}, {}};
}

store::LedgerEntry atExchange(const QByteArray &line, const QString &exchange)
{
    return {QDateTime(QDate(2026, 12, 13), QTime(17, 1)), LedgerAction::Exchange, idOf(line), {}, {}, exchange, {}, {}};
}

store::LedgerEntry nettingBooked(double amount)
{
    return {QDateTime(QDate(2026, 12, 13), QTime(20, 1)), LedgerAction::Adjust, {}, {}, amount,
        QStringLiteral("Betfair"), QString::fromLatin1(marketText), {}};
}

store::LedgerEntry money(LedgerAction action, QDate day, double amount)
{
    return {QDateTime(day, QTime(9, 0)), action, {}, {}, amount, QStringLiteral("Betfair"), {}, {}};
}

std::vector<store::StatementFile> statementOf(const QByteArray &bytes)
{
    std::optional<store::Statement> statement = store::readStatement(bytes);
    if (!statement)
        return {};
    return {{QStringLiteral("statement.csv"), std::move(*statement)}};
}

QString outcomesText(const history::OutcomeSet &set)
{
    QStringList outcomes;
    for (const history::ProposedOutcome &outcome : set)
        outcomes << outcome.outcome;
    return outcomes.join(QLatin1Char(' '));
}

} // namespace

class TestReconcile : public TemporaryFolderTest
{
    Q_OBJECT

private slots:
    void marketLines_data();
    void marketLines();
    void eventWords_data();
    void eventWords();
    void eventOfAnotherCodePageIsMatched();
    void commissionWrittenApartIsPartOfItsMarket();
    void sameMarketInTwoStatementsIsMatchedOnce();
    void depositsTheLedgerLacksAreProposed();
    void gapsInBalancesAreFound();

private:
    history::Reconciliation reconciled(
        const QList<QByteArray> &archive, const QList<store::LedgerEntry> &ledger, const QByteArray &statement);
};

history::Reconciliation TestReconcile::reconciled(
    const QList<QByteArray> &archive, const QList<store::LedgerEntry> &ledger, const QByteArray &statement)
{
    writeFileBytes(store::archivePath(m_dir->path()), archive.join("\r\n") + "\r\n");
    if (!ledger.isEmpty())
        store::appendToLedger(m_dir->path(), ledger);
    history::ArchiveFollower follower(m_dir->path());
    QSignalSpy loaded(&follower, &history::ArchiveFollower::loaded);
    follower.start();
    if (!loaded.wait())
        qWarning("the files were not read");
    const history::HistoryView view(follower.records().view(), follower.ledger().settlements());
    return history::reconcile(
        statementOf(statement), [](store::StatementFormat) { return QStringLiteral("Betfair"); }, view,
        follower.ledger().accountLines());
}

void TestReconcile::marketLines_data()
{
    QTest::addColumn<QList<QByteArray>>("archive");
    QTest::addColumn<QList<store::LedgerEntry>>("ledger");
    QTest::addColumn<QByteArray>("amount");
    QTest::addColumn<MarketState>("state");
    QTest::addColumn<int>("bets");
    QTest::addColumn<QStringList>("fits");
    QTest::addColumn<qint64>("netting");
    QTest::addColumn<bool>("booked");

    const QList<QByteArray> both {qualifier, freeBet};
    QTest::newRow("an open lay that won brings 23.78")
        << QList {qualifier} << QList<store::LedgerEntry> {} << QByteArray("23.78") << MarketState::Proposed << 1
        << QStringList {"profitIfLayWins"} << qint64(0) << false;
    QTest::newRow("two open lays netted to -19.00")
        << both << QList<store::LedgerEntry> {} << QByteArray("(19.00)") << MarketState::Proposed << 2
        << QStringList {"profitIfBackWins profitIfLayWins"} << qint64(34) << false;
    QTest::newRow("two settled lays netted to -19.00")
        << both << QList {settled(qualifier, "profitIfBackWins", -1.22), settled(freeBet, "profitIfLayWins", 6.88)}
        << QByteArray("-19.00") << MarketState::Netting << 2 << QStringList {} << qint64(34) << false;
    QTest::newRow("two settled lays, their netting booked")
        << both
        << QList {settled(qualifier, "profitIfBackWins", -1.22), settled(freeBet, "profitIfLayWins", 6.88),
               nettingBooked(0.34)}
        << QByteArray("-19.00") << MarketState::Netting << 2 << QStringList {} << qint64(34) << true;
    QTest::newRow("a settled lay that agrees")
        << QList {qualifier} << QList {settled(qualifier, "profitIfLayWins", -1.22)} << QByteArray("23.78")
        << MarketState::Agrees << 1 << QStringList {} << qint64(0) << false;
    QTest::newRow("a settled lay that disagrees")
        << QList {qualifier} << QList {settled(qualifier, "profitIfBackWins", -1.22)} << QByteArray("23.78")
        << MarketState::Disagrees << 1 << QStringList {} << qint64(0) << false;
    QTest::newRow("one settled, the other's outcome proposed")
        << both << QList {settled(qualifier, "profitIfBackWins", -1.22)} << QByteArray("-19.00")
        << MarketState::Proposed << 2 << QStringList {"profitIfLayWins"} << qint64(34) << false;
    QTest::newRow("two like lays: either may have won")
        << QList {qualifier, qualifier} << QList<store::LedgerEntry> {} << QByteArray("-2.44") << MarketState::Choose
        << 2 << QStringList {"profitIfLayWins profitIfBackWins", "profitIfBackWins profitIfLayWins"} << qint64(0)
        << false;
    QTest::newRow("no outcome brings the amount")
        << QList {qualifier} << QList<store::LedgerEntry> {} << QByteArray("5.00") << MarketState::NoFit << 1
        << QStringList {} << qint64(0) << false;
    QTest::newRow("a bet at another exchange")
        << QList {qualifier} << QList {atExchange(qualifier, QStringLiteral("Smarkets"))} << QByteArray("23.78")
        << MarketState::NoBet << 0 << QStringList {} << qint64(0) << false;
    QTest::newRow("archived over a week before the start")
        << QList {earlyBet} << QList<store::LedgerEntry> {} << QByteArray("23.78") << MarketState::NoBet << 0
        << QStringList {} << qint64(0) << false;
    QTest::newRow("an event with a word the market lacks")
        << QList {otherEvent} << QList<store::LedgerEntry> {} << QByteArray("23.78") << MarketState::NoBet << 0
        << QStringList {} << qint64(0) << false;
}

void TestReconcile::marketLines()
{
    QFETCH(QList<QByteArray>, archive);
    QFETCH(QList<store::LedgerEntry>, ledger);
    QFETCH(QByteArray, amount);
    QFETCH(MarketState, state);
    QFETCH(int, bets);
    QFETCH(QStringList, fits);
    QFETCH(qint64, netting);
    QFETCH(bool, booked);
    const history::Reconciliation result = reconciled(archive, ledger, profitLossHeader + marketLine(amount));
    QCOMPARE(result.markets.size(), std::size_t(1));
    const history::MarketMatch &match = result.markets.front();
    QCOMPARE(match.state, state);
    QCOMPARE(match.nettingBooked, booked);
    QCOMPARE(int(match.records.size()), bets);
    QStringList found;
    for (const history::OutcomeSet &set : match.fits)
        found << outcomesText(set);
    QCOMPARE(found, fits);
    const bool explained = state == MarketState::Agrees || state == MarketState::Netting || !match.fits.empty();
    if (explained) {
        const history::OutcomeSet proposed = match.fits.empty() ? history::OutcomeSet {} : match.fits.front();
        QCOMPARE(history::nettingOf(match, proposed), netting);
    }
}

void TestReconcile::eventWords_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("alike");
    QTest::addColumn<bool>("same");

    QTest::newRow("case and punctuation") << "Liverpool v Everton"
                                          << "LIVERPOOL - everton!" << true;
    QTest::newRow("v and vs") << "Liverpool vs Everton"
                              << "Liverpool v. Everton" << true;
    QTest::newRow("accents are letters") << "Atl\u00e9tico v Sevilla"
                                         << "ATL\u00c9TICO V SEVILLA" << true;
    QTest::newRow("an accent is no other letter") << "Atl\u00e9tico v Sevilla"
                                                  << "Atletico v Sevilla" << false;
    QTest::newRow("a word that starts with v") << "Villa v Wolves"
                                               << "Wolves" << false;
    QTest::newRow("digits") << "Ascot 3:35"
                            << "ascot 3 35" << true;
}

void TestReconcile::eventWords()
{
    QFETCH(QString, text);
    QFETCH(QString, alike);
    QFETCH(bool, same);
    QCOMPARE(history::wordKeys(text) == history::wordKeys(alike), same);
}

// An event the archive holds in Windows-1252 is named by a statement's line in UTF-8.
void TestReconcile::eventOfAnotherCodePageIsMatched()
{
    QByteArray archived = qualifier;
    archived.replace("Liverpool v Everton", "Atl\xe9tico v Sevilla");
    const QByteArray line
        = "Football / La Liga / Atl\xc3\xa9tico v Sevilla : Match Odds,13-Dec-26 17:30,13-Dec-26 19:25,23.78\n";
    const history::Reconciliation result = reconciled({archived}, {}, profitLossHeader + line);
    QCOMPARE(result.markets.front().state, MarketState::Proposed);
}

// Matchbook writes a market's commission on a line of its own: the two are one market of 23.78.
void TestReconcile::commissionWrittenApartIsPartOfItsMarket()
{
    const QByteArray statement = "currency,id,time,transaction-type,product,detail,debit,credit,balance\n"
                                 "GBP,1,2026-12-13T19:25:07.000Z,settlement,exchange,Liverpool vs Everton - Match "
                                 "Odds,,24.97,124.97\n"
                                 "GBP,2,2026-12-13T19:25:08.000Z,commission,exchange,Liverpool vs Everton - Match "
                                 "Odds,1.19,,123.78\n";
    const history::Reconciliation result = reconciled({qualifier}, {}, statement);
    QCOMPARE(result.markets.size(), std::size_t(1));
    QCOMPARE(result.markets.front().amount, 2378);
    QCOMPARE(result.markets.front().parts, std::vector<std::size_t> {1});
    QCOMPARE(result.markets.front().state, MarketState::Proposed);
}

void TestReconcile::sameMarketInTwoStatementsIsMatchedOnce()
{
    const QByteArray account
        = "Date,Description,Cash In (\xC2\xA3),Bonus In (\xC2\xA3),Cash Out (\xC2\xA3),Bonus Out "
          "(\xC2\xA3),Cash Balance (\xC2\xA3)\n"
          "13-Dec-26 19:27:02,Exchange: Liverpool v Everton / Match Odds Ref: 1,23.78,--,--,--,23.78\n";
    std::vector<store::StatementFile> files = statementOf(account);
    std::vector<store::StatementFile> profitLoss = statementOf(profitLossHeader + marketLine("23.78"));
    files.push_back(std::move(profitLoss.front()));
    const history::Reconciliation result
        = history::reconcile(files, [](store::StatementFormat) { return QStringLiteral("Betfair"); }, {}, {});
    QCOMPARE(result.entries.size(), std::size_t(2));
    QCOMPARE(result.markets.size(), std::size_t(2));
    QCOMPARE(result.markets[0].state, MarketState::NoBet);
    QCOMPARE(result.markets[1].state, MarketState::Repeated);
    QCOMPARE(result.entries[result.markets[1].entry].format, store::StatementFormat::BetfairAccount);
    QCOMPARE(history::distinctEntries(files, [](store::StatementFormat) { return QString(); }).size(), std::size_t(2));
    files.push_back(files.front());
    QCOMPARE(history::newLineCount(result.entries, files.back().statement, QStringLiteral("betfair")), 0);
}

void TestReconcile::depositsTheLedgerLacksAreProposed()
{
    const QByteArray statement
        = "Date,Description,Cash In (GBP),Bonus In (GBP),Cash Out (GBP),Bonus Out (GBP),Cash Balance (GBP)\n"
          "14-Dec-26 10:00:00,Withdrawal Ref: 3,--,--,-20.00,--,30.00\n"
          "12-Dec-26 10:00:00,Deposit Ref: 2,40.00,--,--,--,50.00\n"
          "10-Dec-26 10:00:00,Deposit Ref: 1,10.00,--,--,--,10.00\n";
    // The first deposit was written down a day late; the second at another amount; the withdrawal not at all.
    const history::Reconciliation result = reconciled({qualifier},
        {money(LedgerAction::Deposit, QDate(2026, 12, 11), 10), money(LedgerAction::Deposit, QDate(2026, 12, 12), 4)},
        statement);
    QStringList proposed;
    for (const std::size_t entry : result.transfers)
        proposed << result.entries[entry].line.description;
    QCOMPARE(proposed, (QStringList {"Deposit Ref: 2", "Withdrawal Ref: 3"}));
    // The statement's 30.00 is the 10.00 in the ledger and the 40.00 and -20.00 not in it; the 4.00
    // the ledger holds besides is no deposit the statement knows, so the 16.00 between them is not
    // explained.
    const history::StatementBalance &balance = result.balances.at(QStringLiteral("betfair"));
    QCOMPARE(balance.balance, 3000);
    QCOMPARE(balance.unresolved, 2000);
    QVERIFY(!balance.explains(3000 - 1400));
}

void TestReconcile::gapsInBalancesAreFound()
{
    std::vector<store::StatementFile> files
        = statementOf(fileBytes(QStringLiteral(":/statements/betfair-account.csv")));
    QVERIFY(!files.empty());
    const history::Reconciliation result
        = history::reconcile(files, [](store::StatementFormat) { return QStringLiteral("Betfair"); }, {}, {});
    QCOMPARE(result.gaps.size(), std::size_t(1));
    QCOMPARE(result.entries[result.gaps.front().entry].line.amount, 224);
    QCOMPARE(result.gaps.front().expected, 4724);
    QCOMPARE(result.balances.at(QStringLiteral("betfair")).balance, 0);
}

QTEST_GUILESS_MAIN(TestReconcile)
#include "tst_reconcile.moc"
