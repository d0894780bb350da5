// The history window's exchange statements: imported from the Accounts or the Statements tab or
// dropped on the window, reconciled against the bets whenever these change, and what a line
// proves recorded in the ledger at the user's press.
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QMimeData>
#include <QTabWidget>

#include "calc/numbertext.h"
#include "history/accountspage.h"
#include "history/historywindow.h"
#include "history/statementspage.h"
#include "history/totalspanel.h"
#include "text/counted.h"
#include "text/moments.h"

namespace history {

namespace {

// The adjust line that books what netting saved on the market, the market's line as its note.
store::LedgerEntry nettingLine(const QDateTime &now, const StatementEntry &entry, calc::Pennies netting)
{
    return {now, store::LedgerAction::Adjust, {}, {}, calc::fromPennies(netting), entry.account, entry.line.description,
        {}};
}

QDateTime dateTimeOf(qint64 moment)
{
    return {text::dayOf(moment), QTime::fromMSecsSinceStartOfDay(int(moment % text::secondsPerDay) * 1000)};
}

// The local files among the dropped things; none when any is something else.
QStringList droppedFiles(const QMimeData *data)
{
    QStringList paths;
    for (const QUrl &url : data->urls()) {
        if (!url.isLocalFile())
            return {};
        paths << url.toLocalFile();
    }
    return paths;
}

} // namespace

void HistoryWindow::chooseStatements()
{
    if (m_chooseStatements)
        return importStatementFiles(m_chooseStatements());
    auto *dialog = new QFileDialog(this, QStringLiteral("Import statement"), QDir::homePath(),
        QStringLiteral("Statements (*.csv);;All files (*)"));
    dialog->setFileMode(QFileDialog::ExistingFiles);
    dialog->setWindowModality(Qt::ApplicationModal);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QFileDialog::filesSelected, this, &HistoryWindow::importStatementFiles);
    dialog->show();
}

void HistoryWindow::importStatementFiles(const QStringList &paths)
{
    m_statementsWork.import(paths);
}

void HistoryWindow::statementsImported(const QStringList &failures, const std::vector<store::StatementFormat> &unnamed)
{
    nameStatementAccounts(unnamed);
    m_totals->tabs()->setCurrentWidget(m_totals->statements());
    if (!failures.isEmpty())
        ui::openMessage(this, m_showMessage,
            QStringLiteral("%1 not imported; nothing was changed for %2:\n%3")
                .arg(text::counted(failures.size(), QStringLiteral("file was"), QStringLiteral("files were")),
                    failures.size() == 1 ? QStringLiteral("it") : QStringLiteral("them"),
                    failures.join(QLatin1Char('\n'))));
}

void HistoryWindow::nameStatementAccounts(std::vector<store::StatementFormat> formats)
{
    if (formats.empty())
        return reconcileStatements(true);
    const store::StatementFormatInfo &info = store::formatInfo(formats.front());
    const QString question = QStringLiteral("Which of your exchange accounts is the %1 for? It is asked once.")
                                 .arg(QLatin1String(info.name));
    ui::openText(this, m_ask, question, QLatin1String(info.exchange), [this, formats](const QString &answer) mutable {
        const QString account = answer.simplified();
        try {
            if (!account.isEmpty())
                store::nameStatementAccount(m_dataFolder, formats.front(), account);
        } catch (const store::FileError &error) {
            ui::openMessage(this, m_showMessage,
                QStringLiteral("The account could not be remembered, and will be asked again: %1")
                    .arg(error.description()));
        }
        formats.erase(formats.begin());
        nameStatementAccounts(std::move(formats));
    });
}

void HistoryWindow::reconcileStatements(bool readFolder)
{
    m_statementsWork.reconcile(m_model.view(), m_follower.ledger().accountLines(), readFolder);
}

void HistoryWindow::showStatements(const std::shared_ptr<const ReconciledStatements> &shown)
{
    m_totals->accounts()->showStatementBalances(shown->result);
    m_totals->statements()->showReconciliation(shown);
}

void HistoryWindow::settleAsProposed(const StatementEntry &entry, const MarketMatch &match)
{
    if (match.fits.empty()) {
        const calc::Pennies netting = nettingOf(match);
        const QString question = QStringLiteral("Book the %1 that netting the commission saved at %2 on this market?")
                                     .arg(calc::formatPennies(netting, QLocale()), entry.account);
        return ui::openConfirm(this, m_confirm, question, [this, entry, netting] {
            if (writeLedger({nettingLine(m_clock(), entry, netting)}) == LedgerWrite::Now)
                m_follower.follow();
        });
    }
    if (match.fits.size() == 1) {
        const QString question
            = QStringLiteral("Settle %1 as %2, as %3's line of %4 says?")
                  .arg(text::counted(
                           qsizetype(match.fits.front().size()), QStringLiteral("bet"), QStringLiteral("bets")),
                      outcomeSetText(match.fits.front()), entry.account, calc::formatPennies(match.amount, QLocale()));
        return ui::openConfirm(
            this, m_confirm, question, [this, entry, match] { settleOutcomes(entry, match, match.fits.front()); });
    }
    QStringList ways;
    for (const OutcomeSet &fit : match.fits)
        ways << outcomeSetText(fit);
    ui::openChoice(this, m_ask,
        QStringLiteral("Which way did the bets end? Each brings %1.").arg(calc::formatPennies(match.amount, QLocale())),
        ways, [this, entry, match](int chosen) { settleOutcomes(entry, match, match.fits[std::size_t(chosen)]); });
}

void HistoryWindow::settleOutcomes(const StatementEntry &entry, const MarketMatch &match, const OutcomeSet &outcomes,
    std::optional<QDate> freeBetExpires)
{
    const bool refundAsFreeBet = std::any_of(outcomes.begin(), outcomes.end(),
        [](const ProposedOutcome &outcome) { return outcome.outcome == QLatin1String(calc::refundAsFreeBetOutcome); });
    if (refundAsFreeBet && !freeBetExpires)
        return askFreeBetExpiry(
            [this, entry, match, outcomes](QDate expires) { settleOutcomes(entry, match, outcomes, expires); });
    const HistoryView &view = m_model.view();
    QList<store::LedgerEntry> entries;
    std::vector<ResolvedDecisions> decisions;
    const QDateTime now = m_clock();
    for (const ProposedOutcome &outcome : outcomes) {
        if (outcome.record >= view.records.size())
            return ui::openMessage(this, m_showMessage,
                QStringLiteral("The bets are being read again; nothing was recorded. Try again once they show."));
        const std::vector<qsizetype> records {outcome.record};
        const BetRequest request {store::LedgerAction::Settle, outcome.outcome, {}, entry.account,
            entry.line.description, {}, freeBetExpires.value_or(QDate())};
        DecisionLines lines = decisionLines(view, records, recordIds(view.records, records), request, now);
        entries += lines.entries;
        decisions.push_back(std::move(lines.decisions));
    }
    const calc::Pennies netting = nettingOf(match, outcomes);
    if (netting != 0)
        entries += nettingLine(now, entry, netting);
    if (writeLedger(entries) != LedgerWrite::Now)
        return;
    for (const ResolvedDecisions &decided : decisions)
        m_follower.ledger().applyNow(decided);
    m_follower.ledger().rememberExchange(entry.account);
    m_model.settlementsChanged();
    if (netting != 0 || refundAsFreeBet)
        m_follower.follow(); // the adjust line and the free bet are read back
}

void HistoryWindow::recordTransfer(const StatementEntry &entry)
{
    const bool deposit = entry.line.kind == store::StatementLineKind::Deposit;
    const QString question = QStringLiteral("Record a %1 of %2 at %3 on %4, as the statement says?")
                                 .arg(deposit ? QStringLiteral("deposit") : QStringLiteral("withdrawal"),
                                     calc::formatPennies(std::abs(entry.line.amount), QLocale()), entry.account,
                                     shownMoment(entry.line.moment, QLocale()));
    ui::openConfirm(this, m_confirm, question, [this, entry, deposit] {
        const store::LedgerEntry line {dateTimeOf(entry.line.moment),
            deposit ? store::LedgerAction::Deposit : store::LedgerAction::Withdraw, {}, {},
            calc::fromPennies(std::abs(entry.line.amount)), entry.account, entry.line.description, {}};
        if (writeLedger({line}) == LedgerWrite::Now)
            m_follower.follow();
    });
}

void HistoryWindow::dragEnterEvent(QDragEnterEvent *event)
{
    if (!droppedFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void HistoryWindow::dropEvent(QDropEvent *event)
{
    const QStringList paths = droppedFiles(event->mimeData());
    if (paths.isEmpty())
        return;
    event->acceptProposedAction();
    importStatementFiles(paths);
}

} // namespace history
