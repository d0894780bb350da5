// The bet-history window: the filters above the table of records, the read's status, and the
// totals below. It lays the parts out and wires them: the follower reads the files, the model sorts
// and filters, the panel shows the totals; a context menu on the table settles, reopens, removes
// and restores the bets chosen, in the ledger.
#pragma once

#include <memory>
#include <optional>

#include <QDateTime>
#include <QSet>
#include <QWidget>

#include "tracker/archivefollower.h"
#include "tracker/betdecisions.h"
#include "tracker/historymodel.h"
#include "tracker/statementswork.h"
#include "ui/message.h"

class QLabel;
class QMenu;
class QProgressBar;
class QPushButton;
class QSplitter;
class QTableView;
class QTimer;

namespace history {

class FilterBar;
struct FreeBetForm;
class TotalsPanel;

class HistoryWindow final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HistoryWindow)

public:
    using Clock = std::function<QDateTime()>;

    // dataFolder holds the archive, the offers file and the ledger; showMessage as for the main window.
    explicit HistoryWindow(const QString &dataFolder, ui::MessageSink showMessage = {}, QWidget *parent = nullptr);

    // True from the start of a read of the whole archive until its rows and totals show.
    bool isLoading() const { return m_follower.isLoading() || m_awaitingLoad; }
    // Answers for the questions the window asks; a test's instead of the boxes.
    void setAsk(ui::AskSink ask) { m_ask = std::move(ask); }
    // Answers for its yes-or-no questions; a test's instead of the boxes.
    void setConfirm(ui::ConfirmSink confirm);
    // The ledger's clock; the system clock unless a test fixes the time.
    void setClock(Clock clock);
    // Where "Save as CSV..." writes: the save dialog's choice unless a test gives one; empty for none.
    using ChooseSavePath = std::function<QString()>;
    void setChooseSavePath(ChooseSavePath choose) { m_chooseSavePath = std::move(choose); }
    // Which statements "Import statement..." imports: the open dialog's choice unless a test gives them.
    using ChooseStatements = std::function<QStringList()>;
    void setChooseStatements(ChooseStatements choose) { m_chooseStatements = std::move(choose); }

signals:
    // The archive has been read and its rows and totals show.
    void loaded();

protected:
    // The Menu key and Shift+F10 on the table open its menu on every platform.
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    // Statement files dropped on the window are imported.
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void createControls();
    // Where the window was last closed, within the screen it opens on; at a first start the table's
    // Event column takes the room the others leave.
    void restorePlace();
    void fitColumns();
    void setTabOrder();
    void createShortcuts();
    void wireEvents();
    void recordsAdded(qsizetype first);
    void recordsCleared();
    void followerLoaded();
    void rowsRebuilt();
    void applyFilters();
    void showStatus();
    void enableSave();
    // Asks where to save without an event loop of its own, then saves there.
    void saveAsCsv();
    void saveAsCsvTo(const QString &path);
    void writeCsv(const QString &path);
    std::vector<qsizetype> chosenRecords() const;
    void showBetMenu(const QPoint &at);
    std::optional<std::vector<qsizetype>> recordsNow(const std::vector<store::RecordId> &ids);
    // Works out the lines of the decision about the bets and records them; a question it needs
    // asked first (which exchange) ends the handler, and the bets are looked up again on the answer.
    void decide(const std::vector<store::RecordId> &ids, BetRequest request);
    void record(const BetRequest &request, const DecisionLines &lines);
    void settleAsOther(const std::vector<store::RecordId> &ids);
    void nameExchange(const std::vector<store::RecordId> &ids);
    void editBet(const std::vector<store::RecordId> &ids);
    // Settlements whose bets are in neither file any more: attached to a bet, or dropped.
    void reattachOrphan(const OrphanSettlement &orphan, const std::vector<store::RecordId> &ids);
    void attachOrphan(const OrphanSettlement &orphan, const std::vector<store::RecordId> &ids);
    // The one open bet chosen that an orphan can be attached to; nothing, and the user told why, else.
    std::optional<qsizetype> attachableBet(const std::vector<store::RecordId> &ids);
    void dropOrphan(const OrphanSettlement &orphan);
    std::optional<store::RecordId> orphanId(const OrphanSettlement &orphan);
    // A settlement without a bet that was made for the same line as the record.
    std::optional<OrphanSettlement> orphanOfSameLine(qsizetype record) const;
    // The exchange last named, in a settle or for a bet; empty before any was.
    QString exchange() const;
    // Asks which exchange the lays are at; named is called with a name that is not blank.
    void askExchange(const std::function<void(const QString &)> &named);
    bool recordAccountEntry(store::LedgerEntry entry);
    // Free bets (historyfreebets.cpp).
    void addFreeBetActions(QMenu *menu, const std::vector<store::RecordId> &ids);
    const FreeBet *freeBetUsedBy(const store::RecordId &id) const;
    void addFreeBet();
    void recordFreeBetEarned(const std::vector<store::RecordId> &ids);
    void recordFreeBet(const FreeBetForm &form, const std::optional<store::RecordId> &earnedBy);
    void chooseFreeBetUsed(const std::vector<store::RecordId> &ids);
    void unlinkFreeBet(const std::vector<store::RecordId> &ids);
    void giveUpFreeBet(const store::FreeBetId &freeBet);
    // Asks the free bet's expiry, then settles.
    void settleRefundAsFreeBet(const std::vector<store::RecordId> &ids, BetRequest request);
    // answered is called with the date typed (invalid: never); a text that is no date is refused.
    void askFreeBetExpiry(const std::function<void(QDate)> &answered);
    // Writes the links the totals found between free-bet records and the free bets they used.
    void linkFreeBetsFound();
    // Exchange statements (historystatements.cpp).
    void chooseStatements();
    void importStatementFiles(const QStringList &paths);
    void statementsImported(const QStringList &failures, const std::vector<store::StatementFormat> &unnamed);
    // Asks which account each format's statements are for, one after the other, and remembers the
    // answers; then reads the statements and reconciles them.
    void nameStatementAccounts(std::vector<store::StatementFormat> formats);
    // Reconciles the statements with the bets as they stand, off this thread, when there are any;
    // showStatements() follows.
    void reconcileStatements(bool readFolder = false);
    void showStatements(const std::shared_ptr<const ReconciledStatements> &shown);
    void settleAsProposed(const StatementEntry &entry, const MarketMatch &match);
    // Settles the bets as the outcomes, and books what netting saved, in one append.
    // A refund's free bet among them asks its expiry first.
    void settleOutcomes(const StatementEntry &entry, const MarketMatch &match, const OutcomeSet &outcomes,
        std::optional<QDate> freeBetExpires = std::nullopt);
    void recordTransfer(const StatementEntry &entry);
    // Written now, left to a thread that waits for the ledger's lock, or failed (and said so).
    enum class LedgerWrite { Now, Later, Failed };
    LedgerWrite writeLedger(const QList<store::LedgerEntry> &entries);
    void writeLedgerWhenFree(const QList<store::LedgerEntry> &entries);
    void ledgerWritten(const std::optional<QString> &failure);
    void showLedgerFailure(const QString &description);

    QString m_dataFolder;
    ui::MessageSink m_showMessage;
    ui::AskSink m_ask;
    ui::ConfirmSink m_confirm;
    Clock m_clock = &QDateTime::currentDateTime;
    ChooseSavePath m_chooseSavePath;
    ChooseStatements m_chooseStatements;
    ArchiveFollower m_follower;
    HistoryModel m_model;
    StatementsWork m_statementsWork;
    quint64 m_statementsReconciledOn = 0; // the model's view version
    bool m_awaitingLoad = false;
    bool m_scrollToTop = false;
    QString m_savePath; // a save that waits for the rows
    QSet<QByteArray> m_linksWritten; // free bets this window linked to the bets that used them

    FilterBar *m_filters = nullptr;
    QPushButton *m_save = nullptr;
    QSplitter *m_split = nullptr;
    // While a write waits for the ledger's lock: whether the status says so yet.
    std::shared_ptr<bool> m_ledgerWait;
    bool m_closeWhenWritten = false; // closed while a write waited for the ledger's lock
    QLabel *m_status = nullptr;
    QProgressBar *m_progress = nullptr;
    QTableView *m_table = nullptr;
    TotalsPanel *m_totals = nullptr;
    QTimer *m_recount = nullptr;
};

} // namespace history
