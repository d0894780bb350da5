#include "history/historywindow.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QTableWidget>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

#include "calc/numbertext.h"
#include "history/csvexport.h"
#include "history/resultchart.h"
#include "history/totals.h"
#include "store/datafolder.h"
#include "store/fileerror.h"
#include "store/files.h"

namespace history {

namespace {

// The first read is small, so that the first rows show at once; the rest come in larger pieces.
constexpr qint64 firstReadBytes = 256 * 1024;
constexpr qint64 laterReadBytes = 8 * 1024 * 1024;
const QDate noLimit(2000, 1, 1);

QTableWidget *newSumsTable(const QString &name, const QString &first)
{
    auto *table = new QTableWidget(0, 4);
    table->setObjectName(name);
    table->setAccessibleName(name);
    table->setHorizontalHeaderLabels(
        {first, QStringLiteral("Bets"), QStringLiteral("Staked"), QStringLiteral("Result")});
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    return table;
}

template<typename Key> void fillSums(QTableWidget *table, const std::map<Key, Sums> &sums, QString (*name)(const Key &))
{
    const QLocale locale;
    table->setRowCount(int(sums.size()));
    int row = 0;
    for (const auto &[key, sum] : sums) {
        const QStringList cells {name(key), locale.toString(sum.bets), calc::formatFigure(sum.staked, locale),
            calc::formatFigure(sum.result, locale)};
        for (int column = 0; column < cells.size(); ++column)
            table->setItem(row, column, new QTableWidgetItem(cells[column]));
        ++row;
    }
}

QString bookmakerName(const QString &name)
{
    return name;
}

QString monthName(const std::pair<int, int> &month)
{
    if (month.first == 0)
        return QStringLiteral("Date not readable");
    return QLocale().toString(QDate(month.first, month.second, 1), QStringLiteral("MMMM yyyy"));
}

QDateEdit *newDateEdit(const QString &name)
{
    auto *edit = new QDateEdit(noLimit);
    edit->setObjectName(name);
    edit->setAccessibleName(name);
    edit->setMinimumDate(noLimit);
    edit->setSpecialValueText(QStringLiteral("any"));
    edit->setCalendarPopup(true);
    return edit;
}

} // namespace

HistoryWindow::HistoryWindow(const QString &dataFolder, ui::MessageSink showMessage, QWidget *parent)
    : QWidget(parent)
    , m_archivePath(store::archivePath(dataFolder))
    , m_showMessage(std::move(showMessage))
    , m_dates(std::make_unique<store::ArchiveDates>(QLocale()))
{
    setObjectName(QStringLiteral("HistoryWindow"));
    setWindowTitle(QStringLiteral("Vantrel - Bet history"));
    m_filter.setSourceModel(&m_model);
    m_filter.setSortRole(HistoryModel::sortRole);
    createControls();
    resize(960, 640);
    m_table->setFocus();
    startLoading();
}

HistoryWindow::~HistoryWindow()
{
    m_stopLoading = true;
    if (m_loader)
        m_loader->wait();
}

void HistoryWindow::createControls()
{
    m_from = newDateEdit(QStringLiteral("From"));
    m_to = newDateEdit(QStringLiteral("To"));
    m_bookmaker = new QComboBox;
    m_bookmaker->setObjectName(QStringLiteral("bookmakerFilter"));
    m_bookmaker->setAccessibleName(QStringLiteral("Bookmaker"));
    m_bookmaker->addItem(QStringLiteral("All bookmakers"), -1);
    m_search = new QLineEdit;
    m_search->setObjectName(QStringLiteral("eventSearch"));
    m_search->setPlaceholderText(QStringLiteral("Search events"));
    m_search->setAccessibleName(QStringLiteral("Search events"));
    m_save = new QPushButton(QStringLiteral("Save as CSV..."));
    m_save->setObjectName(QStringLiteral("saveAsCsv"));

    auto *filters = new QHBoxLayout;
    filters->addWidget(new QLabel(QStringLiteral("From")));
    filters->addWidget(m_from);
    filters->addWidget(new QLabel(QStringLiteral("to")));
    filters->addWidget(m_to);
    filters->addWidget(m_bookmaker);
    filters->addWidget(m_search, 1);
    filters->addWidget(m_save);

    m_status = new QLabel;
    m_status->setObjectName(QStringLiteral("status"));
    m_status->setWordWrap(true);
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_progress = new QProgressBar;
    m_progress->setObjectName(QStringLiteral("progress"));

    m_table = new QTableView;
    m_table->setObjectName(QStringLiteral("records"));
    m_table->setAccessibleName(QStringLiteral("Bets"));
    m_table->setModel(&m_filter);
    m_table->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder); // newest first, as read
    m_table->setSortingEnabled(true);
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 6);
    m_table->verticalHeader()->hide();
    // Widths by kind of column (measuring a million rows would stall), and the Result beside the
    // bookmaker, where it is seen without scrolling.
    QHeaderView *header = m_table->horizontalHeader();
    header->setDefaultSectionSize(m_table->fontMetrics().horizontalAdvance(QStringLiteral("Stake Forfeit")) + 16);
    header->resizeSection(0, m_table->fontMetrics().horizontalAdvance(QStringLiteral("28/12/2026 12:00:00 PM")) + 16);
    header->resizeSection(1, 3 * header->defaultSectionSize());
    header->resizeSection(2, 2 * header->defaultSectionSize());
    header->moveSection(HistoryModel::resultColumn, 3);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);

    m_summary = new QLabel;
    m_summary->setObjectName(QStringLiteral("summary"));
    m_byBookmaker = newSumsTable(QStringLiteral("Per bookmaker"), QStringLiteral("Bookmaker"));
    m_byMonth = newSumsTable(QStringLiteral("Per month"), QStringLiteral("Month"));
    m_chart = new ResultChart;

    auto *sums = new QWidget;
    auto *sumsLayout = new QVBoxLayout(sums);
    sumsLayout->setContentsMargins(0, 0, 0, 0);
    sumsLayout->addWidget(m_summary);
    auto *tables = new QHBoxLayout;
    tables->addWidget(m_byBookmaker);
    tables->addWidget(m_byMonth);
    sumsLayout->addLayout(tables);
    auto *lower = new QSplitter(Qt::Horizontal);
    lower->addWidget(sums);
    lower->addWidget(m_chart);
    auto *split = new QSplitter(Qt::Vertical);
    split->addWidget(m_table);
    split->addWidget(lower);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(filters);
    layout->addWidget(m_status);
    layout->addWidget(m_progress);
    layout->addWidget(split, 1);

    connect(m_from, &QDateEdit::dateChanged, this, &HistoryWindow::applyFilters);
    connect(m_to, &QDateEdit::dateChanged, this, &HistoryWindow::applyFilters);
    connect(m_bookmaker, &QComboBox::currentIndexChanged, this, &HistoryWindow::applyFilters);
    // Typing waits for a pause before a long history is filtered again.
    auto *typing = new QTimer(this);
    typing->setSingleShot(true);
    typing->setInterval(250);
    connect(m_search, &QLineEdit::textChanged, typing, qOverload<>(&QTimer::start));
    connect(typing, &QTimer::timeout, this, &HistoryWindow::applyFilters);
    connect(m_save, &QPushButton::clicked, this, &HistoryWindow::saveAsCsv);
    m_watch = new QTimer(this);
    m_watch->setInterval(500);
    connect(m_watch, &QTimer::timeout, this, &HistoryWindow::readNewRecords);
}

void HistoryWindow::startLoading()
{
    const qint64 size = QFileInfo(m_archivePath).size();
    m_progress->setRange(0, 1000);
    m_progress->setVisible(size > 0);
    m_status->setText(QStringLiteral("Reading %1...").arg(QDir::toNativeSeparators(m_archivePath)));
    // The thread gets its own date reader; the window's serves the live reads afterwards.
    m_loader = QThread::create([this, size, dates = store::ArchiveDates(QLocale())]() mutable {
        qint64 from = 0;
        qint64 line = 1;
        qint64 chunk = firstReadBytes;
        while (!m_stopLoading) {
            ArchiveBatch batch;
            try {
                batch = readBatch(m_archivePath, from, line, chunk, dates);
            } catch (const store::FileError &error) {
                QMetaObject::invokeMethod(this, [this, text = error.description()] { m_readFailure = text; });
                break;
            }
            if (batch.end == from)
                break;
            from = batch.end;
            line += batch.linesRead;
            chunk = laterReadBytes;
            QMetaObject::invokeMethod(this, [this, batch = std::move(batch), from, size]() mutable {
                m_progress->setValue(size > 0 ? int(std::min<qint64>(1000, from * 1000 / size)) : 1000);
                addBatch(std::move(batch));
            });
        }
    });
    connect(m_loader, &QThread::finished, this, &HistoryWindow::finishLoading);
    m_loader->start();
}

void HistoryWindow::addBatch(ArchiveBatch batch)
{
    const bool changed = !batch.records.empty() || !batch.unread.isEmpty();
    m_readTo = batch.end;
    m_linesRead += batch.linesRead;
    m_unreadCount += batch.unread.size();
    for (const UnreadLine &line : std::as_const(batch.unread)) {
        if (m_unreadSamples.size() < 10)
            m_unreadSamples << QStringLiteral("line %1: %2").arg(line.number).arg(line.start);
    }
    const int bookmakersBefore = int(m_model.records().bookmakers().size());
    m_model.add(std::move(batch));
    const QStringList &names = m_model.records().bookmakers();
    for (int i = bookmakersBefore; i < names.size(); ++i)
        m_bookmaker->addItem(names[i], i);
    if (!isLoading() && changed) {
        showTotals();
        showStatus();
    }
}

void HistoryWindow::finishLoading()
{
    m_loader->deleteLater();
    m_loader = nullptr;
    m_progress->hide();
    showTotals();
    showStatus();
    m_watch->start();
    emit loaded();
}

void HistoryWindow::readNewRecords()
{
    const QFileInfo archive(m_archivePath);
    if (isLoading() || archive.size() == m_readTo)
        return;
    if (archive.size() < m_readTo) {
        // The archive was replaced or cut short by hand: read it afresh.
        m_model.clear();
        m_readTo = m_linesRead = m_unreadCount = 0;
        m_unreadSamples.clear();
        startLoading();
        return;
    }
    try {
        addBatch(readBatch(m_archivePath, m_readTo, m_linesRead + 1, laterReadBytes, *m_dates));
    } catch (const store::FileError &error) {
        m_readFailure = error.description();
        showStatus();
    }
}

void HistoryWindow::applyFilters()
{
    const auto limit = [](QDateEdit *edit, qint64 fallback, int endOfDay) {
        return edit->date() == noLimit ? fallback : edit->date().toJulianDay() * 86400 + endOfDay;
    };
    m_filter.setFilters(limit(m_from, noDate, 0), limit(m_to, std::numeric_limits<qint64>::max(), 86399),
        m_bookmaker->currentData().toInt(), m_search->text());
    showTotals();
}

void HistoryWindow::showTotals()
{
    const Totals totals = totalsOf(m_filter);
    const QLocale locale;
    m_summary->setText(
        QStringLiteral("%1 %2, %3 staked, result %4, average closeness %5 %")
            .arg(locale.toString(totals.all.bets), totals.all.bets == 1 ? "bet" : "bets",
                calc::formatFigure(totals.all.staked, locale), calc::formatFigure(totals.all.result, locale),
                calc::formatFigure(totals.averageCloseness, locale)));
    showTotalsTables(totals);
    m_chart->setPoints(totals.cumulative);
}

void HistoryWindow::showTotalsTables(const Totals &totals)
{
    fillSums(m_byBookmaker, totals.byBookmaker, &bookmakerName);
    fillSums(m_byMonth, totals.byMonth, &monthName);
}

void HistoryWindow::showStatus()
{
    const QString archive = QDir::toNativeSeparators(m_archivePath);
    QString text;
    if (!m_readFailure.isEmpty())
        text = QStringLiteral("Error: %1").arg(m_readFailure);
    else if (m_model.rowCount() == 0 && m_unreadCount == 0)
        text = QStringLiteral("No bets archived yet: press Archive in the calculator after each bet, and they "
                              "appear here (%1).")
                   .arg(archive);
    else
        text = QStringLiteral("%1 records from %2.").arg(QLocale().toString(m_model.rowCount()), archive);
    if (m_unreadCount > 0)
        text += QStringLiteral(" %1 %2 could not be read as records and %3 left out: %4")
                    .arg(QLocale().toString(m_unreadCount), m_unreadCount == 1 ? "line" : "lines",
                        m_unreadCount == 1 ? "is" : "are", m_unreadSamples.join(QStringLiteral("; ")));
    m_status->setText(text);
}

void HistoryWindow::saveAsCsv()
{
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Save as CSV"),
        QDir::home().filePath(QStringLiteral("bets.csv")), QStringLiteral("CSV files (*.csv)"));
    if (path.isEmpty())
        return;
    try {
        store::files::replaceAtomically(path, csvOf(m_filter));
    } catch (const store::FileError &error) {
        ui::showMessage(this, m_showMessage, QStringLiteral("Error: ") + error.description());
    }
}

} // namespace history
