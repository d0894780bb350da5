#include "history/historywindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QSplitter>
#include <QTableView>
#include <QTabWidget>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

#include "calc/numbertext.h"
#include "calc/rounding.h"
#include "history/accountspage.h"
#include "history/betedit.h"
#include "history/filterbar.h"
#include "history/freebetspage.h"
#include "history/orphanspage.h"
#include "history/otheramount.h"
#include "history/stalerows.h"
#include "history/statementspage.h"
#include "history/sumstable.h"
#include "history/totalspanel.h"
#include "store/archive.h"
#include "store/datafolder.h"
#include "store/fileerror.h"
#include "store/files.h"
#include "store/windowplace.h"
#include "text/counted.h"
#include "tracker/csvexport.h"
#include "tracker/readstatus.h"
#include "ui/windowsupport.h"

namespace history {

namespace {

const QString savingWaitsTip = QStringLiteral("Saving waits until the whole archive has been read.");

int textWidth(const QWidget *widget, const QString &text)
{
    return widget->fontMetrics().horizontalAdvance(text) + 16;
}

} // namespace

HistoryWindow::HistoryWindow(const QString &dataFolder, ui::MessageSink showMessage, QWidget *parent)
    : QWidget(parent)
    , m_dataFolder(dataFolder)
    , m_showMessage(std::move(showMessage))
    , m_follower(dataFolder)
    , m_model(m_follower)
    , m_statementsWork(dataFolder)
{
    setObjectName(QStringLiteral("HistoryWindow"));
    setWindowTitle(QStringLiteral("Vantrel - Bet history"));
    setAcceptDrops(true);
    ui::returnLargeBlocksToTheSystem();
    createControls();
    setTabOrder();
    createShortcuts();
    wireEvents();
    ui::fitIntoScreen(this, QSize(1024, 680));
    restorePlace();
    ui::keepAboveOthers(this);
    m_table->setFocus();
    m_follower.start();
    showStatus();
    enableSave();
}

void HistoryWindow::createControls()
{
    m_filters = new FilterBar;
    m_save = new QPushButton(QStringLiteral("Save as CSV..."));
    m_save->setObjectName(QStringLiteral("saveAsCsv"));
    auto *top = new QHBoxLayout;
    top->addWidget(m_filters, 1);
    top->addWidget(m_save);

    m_status = new QLabel;
    m_status->setObjectName(QStringLiteral("status"));
    m_status->setTextFormat(Qt::PlainText); // it quotes the files, which may hold anything
    m_status->setWordWrap(true);
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_progress = new QProgressBar;
    m_progress->setObjectName(QStringLiteral("progress"));
    m_progress->setRange(0, 1000);
    m_progress->hide();

    m_table = new QTableView;
    m_table->setObjectName(QStringLiteral("records"));
    m_table->setAccessibleName(QStringLiteral("Bets"));
    m_table->setModel(&m_model);
    m_table->setItemDelegate(new StaleRowsDelegate(m_table));
    m_table->setTabKeyNavigation(false); // Tab leaves the table; the arrows move within it
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setContextMenuPolicy(Qt::CustomContextMenu); // right button, the Menu key, Shift+F10
    m_table->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder); // newest first, as read
    m_table->setSortingEnabled(true);
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 6);
    m_table->verticalHeader()->hide();
    // Widths by kind of column: measuring a million rows would stall.
    QHeaderView *header = m_table->horizontalHeader();
    header->setDefaultSectionSize(textWidth(m_table, QStringLiteral("Stake Forfeit")));
    const QDateTime late(QDate(2026, 12, 28), QTime(23, 59, 59));
    header->resizeSection(int(Column::Date), textWidth(m_table, store::archiveDateTime(late, QLocale())));
    int kindWidth = 0;
    for (const calc::BetKind kind : calc::allBetKinds())
        kindWidth = std::max(kindWidth, textWidth(m_table, QString::fromUtf8(calc::betKindName(kind))));
    header->resizeSection(int(Column::Kind), kindWidth);
    header->resizeSection(int(Column::Event), 3 * header->defaultSectionSize());
    header->resizeSection(int(Column::Result), textWidth(m_table, QStringLiteral("no result: not all numbers")));
    header->resizeSection(int(Column::Status), textWidth(m_table, QStringLiteral("Lay won, refund as a free bet")));

    m_totals = new TotalsPanel;
    m_split = new QSplitter(Qt::Vertical);
    QSplitter *split = m_split;
    split->addWidget(m_table);
    split->addWidget(m_totals);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_status);
    layout->addWidget(m_progress);
    layout->addWidget(split, 1);
}

void HistoryWindow::restorePlace()
{
    const std::optional<store::WindowPlace> place = store::readWindowPlace(m_dataFolder);
    if (!place) {
        fitColumns();
        return;
    }
    ui::placeWithinScreen(this, place->geometry);
    if (place->splitter.size() == 2 && place->splitter[0] >= 0 && place->splitter[1] >= 0)
        m_split->setSizes(place->splitter);
    m_totals->tabs()->setCurrentIndex(std::clamp(place->tab, 0, m_totals->tabs()->count() - 1));
}

void HistoryWindow::fitColumns()
{
    // Every column up to Actual in view: Event takes what the others leave, the Bookmaker column at
    // the widest it grows to. Where that leaves Event less than its caption (a large scale on a
    // small screen), Result gives up the room it keeps for "no result: not all numbers", then
    // Status some of its own; their longest texts then elide.
    QHeaderView *header = m_table->horizontalHeader();
    const int room = width() - 2 * m_table->frameWidth() - 24; // the layout's margins and a scroll bar
    const auto othersWidth = [&] {
        int others = std::min(header->sectionSize(int(Column::Bookmaker)), 3 * textWidth(m_table, "Coral"));
        for (const Column column :
            {Column::Date, Column::Kind, Column::Result, Column::Highest, Column::Status, Column::Actual})
            others += header->sectionSize(int(column));
        return others;
    };
    const int eventLeast = textWidth(m_table, columnCaption(int(Column::Event)));
    for (const auto &[column, least] : {std::pair {Column::Result, textWidth(m_table, QStringLiteral("-12,345.67"))},
             std::pair {Column::Status, textWidth(m_table, QStringLiteral("Other amount"))}}) {
        const int over = othersWidth() + std::max(eventLeast, header->defaultSectionSize()) - room;
        if (over > 0)
            header->resizeSection(int(column), std::max(least, header->sectionSize(int(column)) - over));
    }
    header->resizeSection(int(Column::Event), std::max(eventLeast, room - othersWidth()));
}

void HistoryWindow::closeEvent(QCloseEvent *event)
{
    if (m_ledgerWait) {
        // What the user chose is still to be written: the window goes once it is.
        event->ignore();
        m_closeWhenWritten = true;
        showStatus();
        return;
    }
    try {
        store::saveWindowPlace(
            m_dataFolder, {QRect(pos(), size()), m_split->sizes(), m_totals->tabs()->currentIndex()});
    } catch (const store::FileError &) {
        // Only where the window stood is lost: the next start places it as at a first start.
    }
    QWidget::closeEvent(event);
}

void HistoryWindow::setTabOrder()
{
    QList<QWidget *> order = m_filters->focusOrder();
    order << m_save << m_table << m_totals->firstFocus();
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

void HistoryWindow::createShortcuts()
{
    connect(new QShortcut(QKeySequence::Find, this), &QShortcut::activated, m_filters, &FilterBar::focusSearch);
    connect(new QShortcut(QKeySequence::Save, this), &QShortcut::activated, this, [this] {
        if (m_save->isEnabled())
            saveAsCsv();
    });
    connect(
        new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, m_filters, &FilterBar::clearSearch);
}

void HistoryWindow::wireEvents()
{
    connect(&m_follower, &ArchiveFollower::added, this, &HistoryWindow::recordsAdded);
    connect(&m_follower, &ArchiveFollower::cleared, this, &HistoryWindow::recordsCleared);
    connect(&m_follower, &ArchiveFollower::settlementsChanged, &m_model, &HistoryModel::settlementsChanged);
    connect(&m_follower, &ArchiveFollower::reportChanged, this, &HistoryWindow::showStatus);
    connect(&m_follower, &ArchiveFollower::progress, m_progress, &QProgressBar::setValue);
    connect(&m_follower, &ArchiveFollower::loaded, this, &HistoryWindow::followerLoaded);
    connect(&m_model, &HistoryModel::rebuilt, this, &HistoryWindow::rowsRebuilt);
    connect(m_filters, &FilterBar::changed, this, &HistoryWindow::applyFilters);
    connect(m_table, &QTableView::customContextMenuRequested, this, &HistoryWindow::showBetMenu);
    m_table->installEventFilter(this);
    m_totals->accounts()->setRecord([this](const store::LedgerEntry &entry) { return recordAccountEntry(entry); });
    connect(m_totals->freeBets(), &FreeBetsPage::addChosen, this, &HistoryWindow::addFreeBet);
    connect(m_totals->freeBets(), &FreeBetsPage::giveUpChosen, this, &HistoryWindow::giveUpFreeBet);
    connect(m_totals->accounts(), &AccountsPage::importChosen, this, &HistoryWindow::chooseStatements);
    connect(m_totals->statements(), &StatementsPage::importChosen, this, &HistoryWindow::chooseStatements);
    connect(m_totals->statements(), &StatementsPage::settleChosen, this, &HistoryWindow::settleAsProposed);
    connect(m_totals->statements(), &StatementsPage::transferChosen, this, &HistoryWindow::recordTransfer);
    connect(&m_statementsWork, &StatementsWork::imported, this, &HistoryWindow::statementsImported);
    connect(&m_statementsWork, &StatementsWork::reconciled, this, &HistoryWindow::showStatements);
    connect(&m_statementsWork, &StatementsWork::folderChanged, this, [this] { reconcileStatements(true); });
    connect(m_totals->orphans(), &OrphansPage::reattachChosen, this, [this](const OrphanSettlement &orphan) {
        reattachOrphan(orphan, recordIds(m_model.view().records, chosenRecords()));
    });
    connect(m_totals->orphans(), &OrphansPage::dropChosen, this, &HistoryWindow::dropOrphan);
    // Records appended one after another are counted once they pause.
    m_recount = new QTimer(this);
    m_recount->setSingleShot(true);
    m_recount->setInterval(300);
    connect(m_recount, &QTimer::timeout, &m_model, &HistoryModel::rebuild);
    connect(m_save, &QPushButton::clicked, this, &HistoryWindow::saveAsCsv);
}

void HistoryWindow::recordsAdded(qsizetype first)
{
    m_model.addRecords(first);
    // The calendars open at the month of the latest bet.
    const BetRecords &records = m_follower.records();
    if (const qint64 latest = records.at(records.size() - 1).when; latest != noDate)
        m_filters->setCalendarStart(text::dayOf(latest));
    if (!isLoading())
        m_recount->start();
}

void HistoryWindow::recordsCleared()
{
    m_model.clearRecords();
    m_progress->setValue(0);
    m_progress->show();
    m_totals->showCounting();
    enableSave();
}

void HistoryWindow::followerLoaded()
{
    m_progress->hide();
    showStatus();
    reconcileStatements(true);
    m_awaitingLoad = true;
    m_model.rebuild();
}

void HistoryWindow::rowsRebuilt()
{
    const bool loadEnded = !m_follower.isLoading() && std::exchange(m_awaitingLoad, false);
    const Totals &totals = m_model.totals();
    // Now a choice that a whole read did not find goes.
    m_filters->setBookmakers(totals.bookmakersByName, !m_follower.isLoading() && !m_awaitingLoad);
    int widest = textWidth(m_table, columnCaption(int(Column::Bookmaker)));
    for (const QString &name : totals.longestBookmakers)
        widest = std::max(widest, textWidth(m_table, name));
    m_table->horizontalHeader()->resizeSection(
        int(Column::Bookmaker), std::min(widest, 3 * textWidth(m_table, "Coral")));
    m_totals->showTotals(m_model.sharedTotals(), totals.orderedNames);
    m_totals->showOrphans(m_follower.ledger().orphanSettlements());
    // Statements are reconciled again when the bets or the ledger changed, not at a sort or a filter.
    if (std::exchange(m_statementsReconciledOn, m_model.viewVersion()) != m_model.viewVersion())
        reconcileStatements();
    if (!m_follower.isLoading() && !m_model.isRebuilding())
        linkFreeBetsFound();
    if (std::exchange(m_scrollToTop, false))
        m_table->scrollToTop();
    if (!m_savePath.isEmpty() && !m_model.isRebuilding())
        writeCsv(std::exchange(m_savePath, {}));
    showStatus();
    if (loadEnded) {
        // A free bet that expires today or tomorrow is the first thing to see.
        if (totals.freeBets->totals.dueTodayOrTomorrow)
            m_totals->tabs()->setCurrentWidget(m_totals->freeBets());
        enableSave();
        emit loaded();
    }
}

void HistoryWindow::applyFilters()
{
    m_scrollToTop = true;
    m_totals->showCounting();
    m_model.setFilter(m_filters->filter());
}

void HistoryWindow::showStatus()
{
    QString text = heldFreeBetsText(m_model.totals().freeBets->totals) + readStatusText(readFacts(m_follower));
    if (m_ledgerWait && (*m_ledgerWait || m_closeWhenWritten))
        text += QStringLiteral(" Waiting for another program to let go of %1: what you chose is written as soon as "
                               "it does%2.")
                    .arg(QDir::toNativeSeparators(store::ledgerPath(m_dataFolder)),
                        m_closeWhenWritten ? QStringLiteral(", and the window closes then") : QString());
    m_status->setText(text);
}

void HistoryWindow::enableSave()
{
    m_save->setEnabled(!isLoading());
    m_save->setToolTip(isLoading() ? savingWaitsTip : QStringLiteral("Saves the rows shown as CSV (Ctrl+S)"));
}

void HistoryWindow::saveAsCsv()
{
    if (!m_savePath.isEmpty())
        return; // one save is already waiting for the rows
    if (m_chooseSavePath)
        return saveAsCsvTo(m_chooseSavePath());
    auto *dialog = new QFileDialog(this, QStringLiteral("Save as CSV"),
        QDir::home().filePath(QStringLiteral("bets.csv")), QStringLiteral("CSV files (*.csv)"));
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setWindowModality(Qt::ApplicationModal);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QFileDialog::fileSelected, this, &HistoryWindow::saveAsCsvTo);
    dialog->show();
}

void HistoryWindow::saveAsCsvTo(const QString &path)
{
    if (path.isEmpty())
        return;
    // The archive, the offers, the ledger and the settings are the user's records: never replaced.
    if (const std::optional<QString> kept = store::keptFileAt(m_dataFolder, path)) {
        ui::openMessage(this, m_showMessage,
            QStringLiteral("%1 is one of the files Vantrel keeps your bets and settings in; nothing was saved. "
                           "Choose another name.")
                .arg(QDir::toNativeSeparators(*kept)));
        return;
    }
    // The rows of the latest filter and order, not those of a moment ago: rowsRebuilt() writes them.
    if (m_model.isRebuilding())
        m_savePath = path;
    else
        writeCsv(path);
}

void HistoryWindow::writeCsv(const QString &path)
{
    try {
        store::files::replaceAtomically(path, csvOf(m_model));
    } catch (const store::FileError &error) {
        ui::openMessage(this, m_showMessage, QStringLiteral("Error: ") + error.description());
    }
}

std::vector<qsizetype> HistoryWindow::chosenRecords() const
{
    std::vector<qsizetype> records;
    for (const QModelIndex &row : m_table->selectionModel()->selectedRows())
        records.push_back(m_model.recordAt(row.row()));
    if (records.empty() && m_table->currentIndex().isValid())
        records.push_back(m_model.recordAt(m_table->currentIndex().row()));
    std::sort(records.begin(), records.end());
    return records;
}

bool HistoryWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_table || event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    if (key->key() != Qt::Key_Menu && !(key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier))
        return QWidget::eventFilter(watched, event);
    showBetMenu(m_table->visualRect(m_table->currentIndex()).center());
    return true;
}

void HistoryWindow::showBetMenu(const QPoint &at)
{
    const std::vector<qsizetype> records = chosenRecords();
    // A platform that turns the Menu key into a context menu of its own asks a second time.
    const QMenu *open = findChild<QMenu *>(QStringLiteral("betMenu"));
    if (records.empty() || (open && open->isVisible()))
        return;
    const SettleChoices choices = settleChoices(m_model.view(), records);
    // The menu acts on these bets whatever is read meanwhile: positions may then name others.
    const std::vector<store::RecordId> ids = recordIds(m_model.view().records, records);
    auto *menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("betMenu"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const auto request = [](store::LedgerAction action, QString outcome = {}) {
        return BetRequest {action, std::move(outcome), {}, {}, {}, {}, {}};
    };
    QMenu *settle = menu->addMenu(QStringLiteral("Settle &as"));
    settle->setEnabled(!choices.anyRemoved);
    for (const calc::SettleOutcome &outcome : choices.outcomes) {
        settle->addAction(QString::fromStdString(outcome.caption), this, [this, ids, request, outcome] {
            const BetRequest settling = request(store::LedgerAction::Settle, QString::fromStdString(outcome.key));
            if (outcome.key == calc::refundAsFreeBetOutcome)
                return settleRefundAsFreeBet(ids, settling);
            decide(ids, settling);
        });
    }
    if (!choices.outcomes.empty())
        settle->addSeparator();
    settle->addAction(QStringLiteral("&Void"), this, [this, ids, request] {
        decide(ids, request(store::LedgerAction::Settle, QString::fromLatin1(calc::voidOutcome)));
    });
    settle->addAction(QStringLiteral("&Other amount..."), this, [this, ids] { settleAsOther(ids); });
    menu->addAction(QStringLiteral("Re&open"), this,
            [this, ids, request] { decide(ids, request(store::LedgerAction::Reopen)); })
        ->setEnabled(choices.anySettled);
    if (choices.allRemoved)
        menu->addAction(QStringLiteral("&Restore"), this,
            [this, ids, request] { decide(ids, request(store::LedgerAction::Restore)); });
    else
        menu->addAction(QStringLiteral("Re&move from history"), this,
            [this, ids, request] { decide(ids, request(store::LedgerAction::Remove)); });
    menu->addAction(QStringLiteral("E&dit..."), this, [this, ids] { editBet(ids); })->setEnabled(ids.size() == 1);
    const std::optional<OrphanSettlement> orphan
        = records.size() == 1 && !choices.anySettled ? orphanOfSameLine(records.front()) : std::nullopt;
    menu->addAction(QStringLiteral("Re-a&ttach..."), this, [this, ids, orphan] { reattachOrphan(*orphan, ids); })
        ->setEnabled(orphan.has_value());
    const QString exchangeCaption = QStringLiteral("&Exchange...");
    menu->addAction(exchange().isEmpty() ? exchangeCaption : exchangeCaption + QStringLiteral(" (%1)").arg(exchange()),
        this, [this, ids] { nameExchange(ids); });
    addFreeBetActions(menu, ids);
    menu->popup(m_table->viewport()->mapToGlobal(at));
}

void HistoryWindow::setClock(Clock clock)
{
    m_clock = std::move(clock);
    m_model.setToday([clock = m_clock] { return clock().date(); });
    m_model.rebuild();
}

void HistoryWindow::setConfirm(ui::ConfirmSink confirm)
{
    m_confirm = confirm;
    m_totals->accounts()->setConfirm(std::move(confirm));
}

QString HistoryWindow::exchange() const
{
    return m_follower.ledger().lastExchange();
}

void HistoryWindow::askExchange(const std::function<void(const QString &)> &named)
{
    const auto typed = [named](const QString &text) {
        if (!text.trimmed().isEmpty())
            named(text.trimmed());
    };
    ui::openText(this, m_ask, QStringLiteral("The exchange the lays are at:"), exchange(), typed);
}

std::optional<std::vector<qsizetype>> HistoryWindow::recordsNow(const std::vector<store::RecordId> &ids)
{
    std::optional<std::vector<qsizetype>> records = recordsNamed(m_model.view().records, ids);
    if (!records)
        ui::openMessage(this, m_showMessage,
            QStringLiteral("The bets chosen are no longer in the files as they were; nothing was recorded. "
                           "Choose them again."));
    return records;
}

void HistoryWindow::decide(const std::vector<store::RecordId> &ids, BetRequest request)
{
    const std::optional<std::vector<qsizetype>> records = recordsNow(ids);
    if (!records)
        return;
    if (request.exchange.isEmpty() && request.action != store::LedgerAction::Amend)
        request.exchange = exchange();
    const DecisionLines lines = decisionLines(m_model.view(), *records, ids, request, m_clock());
    if (!lines.needsExchange)
        return record(request, lines);
    // Money that moves at an exchange when none was ever named: the user says which.
    askExchange([this, ids, request](const QString &named) mutable {
        request.exchange = named;
        if (const std::optional<std::vector<qsizetype>> now = recordsNow(ids))
            record(request, decisionLines(m_model.view(), *now, ids, request, m_clock()));
    });
}

void HistoryWindow::record(const BetRequest &request, const DecisionLines &lines)
{
    if (!lines.entries.isEmpty()) {
        const LedgerWrite written = writeLedger(lines.entries);
        if (written != LedgerWrite::Now)
            return;
        m_follower.ledger().applyNow(lines.decisions);
        const bool namesExchange = std::any_of(lines.entries.cbegin(), lines.entries.cend(),
            [](const store::LedgerEntry &entry) { return entry.action == store::LedgerAction::Exchange; });
        if (request.action == store::LedgerAction::Settle || namesExchange)
            m_follower.ledger().rememberExchange(request.exchange);
        m_model.settlementsChanged();
        if (request.outcome == QLatin1String(calc::refundAsFreeBetOutcome))
            m_follower.follow(); // the free bet a refund left is read back
    }
    if (lines.refused > 0)
        ui::openMessage(this, m_showMessage,
            QStringLiteral("%1 no figure for that outcome and %2 left as %3.")
                .arg(text::counted(lines.refused, QStringLiteral("bet has"), QStringLiteral("bets have")),
                    lines.refused == 1 ? QStringLiteral("was") : QStringLiteral("were"),
                    lines.refused == 1 ? QStringLiteral("it was") : QStringLiteral("they were")));
}

void HistoryWindow::settleAsOther(const std::vector<store::RecordId> &ids)
{
    const std::optional<std::vector<qsizetype>> records = recordsNow(ids);
    if (!records)
        return;
    const OtherAmountForm form = otherAmountForm(m_model.view(), *records);
    openOtherAmounts(this, m_ask, m_showMessage, form, [this, ids, bets = form.bets](const calc::Payout &parts) {
        const BetRequest request {
            store::LedgerAction::Settle, otherOutcome(parts.bookmaker), parts.profit(), {}, {}, {}, {}};
        if (bets == 1)
            return decide(ids, request);
        const QLocale locale;
        ui::openConfirm(this, m_confirm,
            QStringLiteral("Settle each of the %1 bets at %2 (%3 at the bookmaker, %4 at the exchange), %5 in all?")
                .arg(bets)
                .arg(calc::formatPennies(parts.profit(), locale), calc::formatPennies(parts.bookmaker, locale),
                    calc::formatPennies(parts.exchange, locale), calc::formatPennies(parts.profit() * bets, locale)),
            [this, ids, request] { decide(ids, request); });
    });
}

void HistoryWindow::nameExchange(const std::vector<store::RecordId> &ids)
{
    askExchange([this, ids](const QString &named) {
        decide(ids, BetRequest {store::LedgerAction::Exchange, {}, {}, named, {}, {}, {}});
    });
}

void HistoryWindow::editBet(const std::vector<store::RecordId> &ids)
{
    const std::optional<std::vector<qsizetype>> records = recordsNow(ids);
    if (!records)
        return;
    const HistoryView &view = m_model.view();
    const qsizetype index = records->front();
    const Mending *mended = mendingOf(view, index);
    const BetEdit before {
        mended ? *mended : Mending {eventOf(view, index), bookmakerOf(view, index), {}, {}}, exchangeText(view, index)};
    openBetEdit(this, m_ask, m_showMessage, before, [this, ids](const BetEdit &edited) {
        decide(ids, BetRequest {store::LedgerAction::Amend, {}, {}, edited.exchange, {}, edited.mending, {}});
    });
}

std::optional<OrphanSettlement> HistoryWindow::orphanOfSameLine(qsizetype record) const
{
    const BetRecord &bet = m_model.view().records.at(record);
    for (const OrphanSettlement &orphan : m_follower.ledger().orphanSettlements()) {
        if (orphan.key.source == bet.source && orphan.key.digest == bet.digest)
            return orphan;
    }
    return std::nullopt;
}

std::optional<store::RecordId> HistoryWindow::orphanId(const OrphanSettlement &orphan)
{
    try {
        const std::optional<store::RecordId> id
            = store::recordNamedInLedger(m_dataFolder, [&orphan](const store::RecordId &named) {
                  return named.source == orphan.key.source && named.occurrence == orphan.key.occurrence
                      && digestKey(named.digest) == orphan.key.digest;
              });
        if (!id)
            ui::openMessage(this, m_showMessage,
                QStringLiteral("The settlement is no longer in the ledger as it was; nothing was recorded."));
        return id;
    } catch (const store::FileError &error) {
        showLedgerFailure(error.description());
        return std::nullopt;
    }
}

std::optional<qsizetype> HistoryWindow::attachableBet(const std::vector<store::RecordId> &ids)
{
    const auto refuse = [this](const QString &why) {
        ui::openMessage(this, m_showMessage, why);
        return std::nullopt;
    };
    if (ids.size() != 1)
        return refuse(QStringLiteral("Choose in the table the one bet the settlement belongs to, then re-attach it."));
    const std::optional<std::vector<qsizetype>> records = recordsNow(ids);
    if (!records)
        return std::nullopt;
    if (m_model.view().settlements.at(records->front()).settled)
        return refuse(QStringLiteral("The bet chosen is settled already: reopen it first; nothing was recorded."));
    return records->front();
}

void HistoryWindow::reattachOrphan(const OrphanSettlement &orphan, const std::vector<store::RecordId> &ids)
{
    const std::optional<qsizetype> index = attachableBet(ids);
    if (!index)
        return;
    ui::openConfirm(this, m_confirm,
        QStringLiteral("Attach the settlement (%1) to the bet \"%2\"?")
            .arg(orphanText(orphan, QLocale()), eventOf(m_model.view(), *index)),
        [this, orphan, ids] { attachOrphan(orphan, ids); });
}

void HistoryWindow::attachOrphan(const OrphanSettlement &orphan, const std::vector<store::RecordId> &ids)
{
    // Looked up again: the files may have changed while the question was up.
    const std::optional<qsizetype> index = attachableBet(ids);
    if (!index)
        return;
    const std::optional<store::RecordId> orphaned = orphanId(orphan);
    if (!orphaned)
        return;
    const QDateTime now = m_clock();
    const BetRequest request {store::LedgerAction::Settle, orphan.outcome, orphan.amount, orphan.exchange, {}, {}, {}};
    DecisionLines lines = decisionLines(m_model.view(), {*index}, ids, request, now);
    if (lines.entries.isEmpty()) {
        ui::openMessage(this, m_showMessage,
            QStringLiteral("The bet chosen has no figure for that outcome; nothing was recorded."));
        return;
    }
    // The settlement leaves the name it had, so that it is listed no more.
    lines.entries << store::LedgerEntry {now, store::LedgerAction::Reopen, *orphaned, {}, {}, {}, {}, {}};
    if (writeLedger(lines.entries) != LedgerWrite::Now)
        return;
    m_follower.ledger().applyNow(lines.decisions);
    m_model.settlementsChanged();
    m_follower.follow();
}

void HistoryWindow::dropOrphan(const OrphanSettlement &orphan)
{
    ui::openConfirm(this, m_confirm,
        QStringLiteral("Drop the settlement (%1)? The ledger keeps a line that says so.")
            .arg(orphanText(orphan, QLocale())),
        [this, orphan] {
            const std::optional<store::RecordId> orphaned = orphanId(orphan);
            if (orphaned
                && writeLedger({{m_clock(), store::LedgerAction::Reopen, *orphaned, {}, {}, {}, {}, {}}})
                    == LedgerWrite::Now)
                m_follower.follow();
        });
}

bool HistoryWindow::recordAccountEntry(store::LedgerEntry entry)
{
    entry.when = m_clock();
    const LedgerWrite written = writeLedger({entry});
    if (written == LedgerWrite::Now)
        m_follower.follow();
    return written != LedgerWrite::Failed;
}

HistoryWindow::LedgerWrite HistoryWindow::writeLedger(const QList<store::LedgerEntry> &entries)
{
    if (m_ledgerWait) {
        ui::openMessage(this, m_showMessage,
            QStringLiteral("Nothing was recorded: Vantrel is still waiting to write %1. Try again once it has.")
                .arg(QDir::toNativeSeparators(store::ledgerPath(m_dataFolder))));
        return LedgerWrite::Failed;
    }
    try {
        store::appendToLedger(m_dataFolder, entries, std::chrono::milliseconds(0));
        return LedgerWrite::Now;
    } catch (const store::FileLocked &) {
        writeLedgerWhenFree(entries);
        return LedgerWrite::Later;
    } catch (const store::FileError &error) {
        showLedgerFailure(error.description());
        return LedgerWrite::Failed;
    }
}

void HistoryWindow::writeLedgerWhenFree(const QList<store::LedgerEntry> &entries)
{
    // Another program holds the ledger's lock: it is waited for on a thread of its own, the window
    // answering meanwhile, and after a moment the status says what it waits for. The lines are
    // read back from the ledger once they are written.
    m_ledgerWait = std::make_shared<bool>(false);
    QTimer::singleShot(200, this, [this, wait = std::weak_ptr(m_ledgerWait)] {
        if (const auto shown = wait.lock()) {
            *shown = true;
            showStatus();
        }
    });
    QPointer<HistoryWindow> window(this);
    QThread *writer = QThread::create([window, folder = m_dataFolder, entries] {
        std::optional<QString> failure;
        try {
            store::appendToLedger(folder, entries);
        } catch (const store::FileError &error) {
            failure = error.description();
        }
        QMetaObject::invokeMethod(qApp, [window, failure] {
            if (window)
                window->ledgerWritten(failure);
        });
    });
    connect(writer, &QThread::finished, writer, &QObject::deleteLater);
    writer->start();
}

void HistoryWindow::ledgerWritten(const std::optional<QString> &failure)
{
    m_ledgerWait.reset();
    showStatus();
    if (failure)
        showLedgerFailure(*failure);
    else
        m_follower.follow();
    if (std::exchange(m_closeWhenWritten, false))
        close();
}

void HistoryWindow::showLedgerFailure(const QString &description)
{
    ui::openMessage(this, m_showMessage,
        QStringLiteral("Error: nothing was recorded, %1 could not be written: %2")
            .arg(QDir::toNativeSeparators(store::ledgerPath(m_dataFolder)), description));
}

} // namespace history
