#include "history/historywindow.h"

#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QSplitter>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include "history/csvexport.h"
#include "history/datebound.h"
#include "history/totalspanel.h"
#include "store/archive.h"
#include "store/datafolder.h"
#include "store/fileerror.h"
#include "store/files.h"
#include "ui/windowsupport.h"

namespace history {

namespace {

const QString savingWaitsTip = QStringLiteral("Saving waits until the whole archive has been read.");

int textWidth(const QWidget *widget, const QString &text)
{
    return widget->fontMetrics().horizontalAdvance(text) + 16;
}

QLabel *newLabel(const QString &text, QWidget *buddy)
{
    auto *label = new QLabel(text);
    label->setBuddy(buddy);
    return label;
}

} // namespace

HistoryWindow::HistoryWindow(const QString &dataFolder, ui::MessageSink showMessage, QWidget *parent)
    : QWidget(parent)
    , m_showMessage(std::move(showMessage))
    , m_follower(dataFolder)
    , m_model(m_follower.records())
{
    setObjectName(QStringLiteral("HistoryWindow"));
    setWindowTitle(QStringLiteral("Vantrel - Bet history"));
    createControls();
    setTabOrder();
    createShortcuts();
    wireEvents();
    resize(1024, 680);
    ui::keepAboveOthers(this);
    m_table->setFocus();
    m_follower.start();
    showStatus();
    enableSave();
}

void HistoryWindow::createControls()
{
    m_from = new DateBound(QStringLiteral("From"));
    m_to = new DateBound(QStringLiteral("To"));
    m_kind = new QComboBox;
    m_kind->setObjectName(QStringLiteral("kindFilter"));
    m_kind->setAccessibleName(QStringLiteral("Kind"));
    m_kind->addItem(QStringLiteral("All kinds"), -1);
    for (const calc::BetKind kind : calc::allBetKinds())
        m_kind->addItem(QString::fromUtf8(calc::betKindName(kind)), int(kind));
    m_bookmaker = new QComboBox;
    m_bookmaker->setObjectName(QStringLiteral("bookmakerFilter"));
    m_bookmaker->setAccessibleName(QStringLiteral("Bookmaker"));
    m_bookmaker->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_search = new QLineEdit;
    m_search->setObjectName(QStringLiteral("eventSearch"));
    m_search->setPlaceholderText(QStringLiteral("Search events (Ctrl+F)"));
    m_search->setAccessibleName(QStringLiteral("Search events"));
    m_search->setClearButtonEnabled(true);
    m_save = new QPushButton(QStringLiteral("Save as CSV..."));
    m_save->setObjectName(QStringLiteral("saveAsCsv"));

    auto *filters = new QHBoxLayout;
    filters->addWidget(newLabel(QStringLiteral("&From"), m_from));
    filters->addWidget(m_from);
    filters->addWidget(newLabel(QStringLiteral("&to"), m_to));
    filters->addWidget(m_to);
    filters->addWidget(m_kind);
    filters->addWidget(m_bookmaker);
    filters->addWidget(m_search, 1);
    filters->addWidget(m_save);

    m_status = new QLabel;
    m_status->setObjectName(QStringLiteral("status"));
    m_status->setTextFormat(Qt::PlainText); // it quotes the archive, which may hold anything
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
    m_table->setTabKeyNavigation(false); // Tab leaves the table; the arrows move within it
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
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

    m_totals = new TotalsPanel;
    auto *split = new QSplitter(Qt::Vertical);
    split->addWidget(m_table);
    split->addWidget(m_totals);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(filters);
    layout->addWidget(m_status);
    layout->addWidget(m_progress);
    layout->addWidget(split, 1);
    refreshBookmakers();
}

void HistoryWindow::setTabOrder()
{
    const QList<QWidget *> order {
        m_from->field(), m_to->field(), m_kind, m_bookmaker, m_search, m_save, m_table, m_totals->firstFocus()};
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

void HistoryWindow::createShortcuts()
{
    connect(new QShortcut(QKeySequence::Find, this), &QShortcut::activated, this, [this] {
        m_search->setFocus(Qt::ShortcutFocusReason);
        m_search->selectAll();
    });
    connect(new QShortcut(QKeySequence::Save, this), &QShortcut::activated, this, [this] {
        if (m_save->isEnabled())
            saveAsCsv();
    });
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, m_search, &QLineEdit::clear);
}

void HistoryWindow::wireEvents()
{
    connect(&m_follower, &ArchiveFollower::added, this, &HistoryWindow::recordsAdded);
    connect(&m_follower, &ArchiveFollower::cleared, this, &HistoryWindow::recordsCleared);
    connect(&m_follower, &ArchiveFollower::reportChanged, this, &HistoryWindow::showStatus);
    connect(&m_follower, &ArchiveFollower::progress, m_progress, &QProgressBar::setValue);
    connect(&m_follower, &ArchiveFollower::loaded, this, &HistoryWindow::followerLoaded);
    connect(&m_model, &HistoryModel::rebuilt, this, &HistoryWindow::rowsRebuilt);

    connect(m_from, &DateBound::changed, this, &HistoryWindow::applyFilters);
    connect(m_to, &DateBound::changed, this, &HistoryWindow::applyFilters);
    connect(m_kind, &QComboBox::currentIndexChanged, this, &HistoryWindow::applyFilters);
    connect(m_bookmaker, &QComboBox::currentIndexChanged, this, [this] {
        m_chosenBookmaker = m_bookmaker->currentData().toString();
        applyFilters();
    });
    // Typing waits for a pause before the history is filtered again.
    m_typing = new QTimer(this);
    m_typing->setSingleShot(true);
    m_typing->setInterval(250);
    connect(m_search, &QLineEdit::textChanged, m_typing, qOverload<>(&QTimer::start));
    connect(m_typing, &QTimer::timeout, this, &HistoryWindow::applyFilters);
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
    refreshBookmakers();
    // The calendars open at the month of the latest bet.
    const BetRecords &records = m_follower.records();
    if (const qint64 latest = records.at(records.size() - 1).when; latest != noDate) {
        m_from->setCalendarStart(store::dayOf(latest));
        m_to->setCalendarStart(store::dayOf(latest));
    }
    if (!isLoading())
        m_recount->start();
}

void HistoryWindow::recordsCleared()
{
    m_model.clearRecords();
    refreshBookmakers();
    m_progress->setValue(0);
    m_progress->show();
    m_totals->showCounting();
    enableSave();
}

void HistoryWindow::followerLoaded()
{
    m_progress->hide();
    showStatus();
    m_awaitingLoad = true;
    m_model.rebuild();
}

void HistoryWindow::rowsRebuilt()
{
    const bool loadEnded = !m_follower.isLoading() && std::exchange(m_awaitingLoad, false);
    if (loadEnded)
        refreshBookmakers(); // now a choice the whole read did not find goes
    m_totals->showTotals(m_model.totals(), m_follower.records().bookmakers());
    if (std::exchange(m_scrollToTop, false))
        m_table->scrollToTop();
    if (loadEnded) {
        enableSave();
        emit loaded();
    }
}

void HistoryWindow::applyFilters()
{
    const auto moment = [](const DateBound *bound, qint64 any, QTime time) {
        return bound->date() ? store::momentOf(*bound->date(), time) : any;
    };
    RowFilter filter;
    filter.from = moment(m_from, noDate, QTime(0, 0));
    filter.to = moment(m_to, std::numeric_limits<qint64>::max(), QTime(23, 59, 59));
    filter.bookmaker = m_bookmaker->currentData().toString();
    if (const int kind = m_kind->currentData().toInt(); kind >= 0)
        filter.kind = calc::BetKind(kind);
    filter.eventText = m_search->text();
    m_scrollToTop = true;
    m_totals->showCounting();
    m_model.setFilter(filter);
}

void HistoryWindow::refreshBookmakers()
{
    // The records' bookmakers in name order, as a fresh window lists them. The user's choice stays
    // while the archive is read afresh, and goes once a whole read has not found it.
    QStringList names = m_follower.records().bookmakers();
    names.sort(Qt::CaseInsensitive);
    if (!m_chosenBookmaker.isEmpty() && !names.contains(m_chosenBookmaker)) {
        if (isLoading())
            names.prepend(m_chosenBookmaker);
        else
            m_chosenBookmaker.clear();
    }
    QStringList listed;
    for (int i = 1; i < m_bookmaker->count(); ++i)
        listed << m_bookmaker->itemText(i);
    if (listed == names && m_bookmaker->currentData().toString() == m_chosenBookmaker)
        return;
    const bool choiceGone = m_bookmaker->currentData().toString() != m_chosenBookmaker;
    const QSignalBlocker quiet(m_bookmaker);
    m_bookmaker->clear();
    m_bookmaker->addItem(QStringLiteral("All bookmakers"), QString());
    for (const QString &name : std::as_const(names))
        m_bookmaker->addItem(name, name);
    m_bookmaker->setCurrentIndex(std::max(0, m_bookmaker->findData(m_chosenBookmaker)));
    // The bookmaker column as wide as the longest name, within reason.
    int widest = textWidth(m_table, columnCaption(int(Column::Bookmaker)));
    for (const QString &name : std::as_const(names))
        widest = std::max(widest, textWidth(m_table, name));
    m_table->horizontalHeader()->resizeSection(
        int(Column::Bookmaker), std::min(widest, 3 * textWidth(m_table, "Coral")));
    if (choiceGone)
        applyFilters();
}

void HistoryWindow::showStatus()
{
    const ReadReport &report = m_follower.report();
    const QString archive = QDir::toNativeSeparators(m_follower.archivePath());
    const qsizetype records = m_follower.records().size();
    QString text;
    if (!report.failure.isEmpty())
        text = QStringLiteral("Could not read %1.").arg(report.failure);
    else if (m_follower.isLoading() && records == 0)
        text = QStringLiteral("Reading %1...").arg(archive);
    else if (records == 0 && report.unreadCount == 0)
        text = QStringLiteral("No bets archived yet: press Archive in the calculator after each bet, and they "
                              "appear here (%1).")
                   .arg(archive);
    else if (m_follower.offersFileExists())
        text = QStringLiteral("%1 from %2 and %3.")
                   .arg(counted(records, QStringLiteral("record"), QStringLiteral("records")), archive,
                       QDir::toNativeSeparators(m_follower.offersPath()));
    else
        text = QStringLiteral("%1 from %2.")
                   .arg(counted(records, QStringLiteral("record"), QStringLiteral("records")), archive);
    if (report.unreadCount > 0)
        text += QStringLiteral(" %1 could not be read as records and %2 left out: %3")
                    .arg(counted(report.unreadCount, QStringLiteral("line"), QStringLiteral("lines")),
                        report.unreadCount == 1 ? "is" : "are", report.unreadSamples.join(QStringLiteral("; ")));
    m_status->setText(text);
}

void HistoryWindow::enableSave()
{
    m_save->setEnabled(!isLoading());
    m_save->setToolTip(isLoading() ? savingWaitsTip : QStringLiteral("Saves the rows shown as CSV (Ctrl+S)"));
}

void HistoryWindow::saveAsCsv()
{
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Save as CSV"),
        QDir::home().filePath(QStringLiteral("bets.csv")), QStringLiteral("CSV files (*.csv)"));
    if (path.isEmpty())
        return;
    // The rows of the latest filter and order, not those of a moment ago.
    if (m_model.isRebuilding()) {
        QEventLoop wait;
        connect(&m_model, &HistoryModel::rebuilt, &wait, &QEventLoop::quit);
        wait.exec();
    }
    try {
        store::files::replaceAtomically(path, csvOf(m_model));
    } catch (const store::FileError &error) {
        ui::showMessage(this, m_showMessage, QStringLiteral("Error: ") + error.description());
    }
}

} // namespace history
