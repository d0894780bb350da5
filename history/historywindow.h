// The bet-history window: the archive read back as a table with filters, totals per bookmaker and
// per month, a chart of the cumulative result, and a CSV export. The archive is read off the
// user-interface thread, and records appended while the window is open show within a second.
#pragma once

#include <atomic>
#include <memory>

#include <QWidget>

#include "history/historymodel.h"
#include "ui/message.h"

class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableView;
class QTableWidget;
class QThread;
class QTimer;

namespace history {

class ResultChart;
struct Totals;

class HistoryWindow final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HistoryWindow)

public:
    // dataFolder holds the archive; showMessage as for the main window.
    explicit HistoryWindow(const QString &dataFolder, ui::MessageSink showMessage = {}, QWidget *parent = nullptr);
    ~HistoryWindow() override;

    // True while the first reading of the archive is going on.
    bool isLoading() const { return m_loader != nullptr; }

signals:
    void loaded();

private:
    void createControls();
    void startLoading();
    void addBatch(ArchiveBatch batch);
    void finishLoading();
    void readNewRecords();
    void applyFilters();
    void showTotals();
    void showTotalsTables(const Totals &totals);
    void showStatus();
    void saveAsCsv();

    QString m_archivePath;
    ui::MessageSink m_showMessage;
    HistoryModel m_model;
    HistoryFilter m_filter;
    std::unique_ptr<store::ArchiveDates> m_dates;
    QThread *m_loader = nullptr;
    std::atomic<bool> m_stopLoading = false;
    qint64 m_readTo = 0; // the byte after the last complete line read
    qint64 m_linesRead = 0;
    qint64 m_unreadCount = 0;
    QStringList m_unreadSamples;
    QString m_readFailure;

    QDateEdit *m_from = nullptr;
    QDateEdit *m_to = nullptr;
    QComboBox *m_bookmaker = nullptr;
    QLineEdit *m_search = nullptr;
    QLabel *m_status = nullptr;
    QProgressBar *m_progress = nullptr;
    QTableView *m_table = nullptr;
    QLabel *m_summary = nullptr;
    QTableWidget *m_byBookmaker = nullptr;
    QTableWidget *m_byMonth = nullptr;
    ResultChart *m_chart = nullptr;
    QPushButton *m_save = nullptr;
    QTimer *m_watch = nullptr;
};

} // namespace history
