// The bet-history window: filters above the table of records, the read's status, and the totals
// panel below. It lays the parts out and wires them; the archive follower reads, the model sorts
// and filters, the panel shows the totals.
#pragma once

#include <QWidget>

#include "history/archivefollower.h"
#include "history/historymodel.h"
#include "ui/message.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableView;
class QTimer;

namespace history {

class DateBound;
class TotalsPanel;

class HistoryWindow final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HistoryWindow)

public:
    // dataFolder holds the archive; showMessage as for the main window.
    explicit HistoryWindow(const QString &dataFolder, ui::MessageSink showMessage = {}, QWidget *parent = nullptr);

    // True from the start of a read of the whole archive until its rows and totals show.
    bool isLoading() const { return m_follower.isLoading() || m_awaitingLoad; }

signals:
    // The archive has been read and its rows and totals show.
    void loaded();

private:
    void createControls();
    void setTabOrder();
    void createShortcuts();
    void wireEvents();
    void recordsAdded(qsizetype first);
    void recordsCleared();
    void followerLoaded();
    void rowsRebuilt();
    void applyFilters();
    void refreshBookmakers();
    void showStatus();
    void enableSave();
    void saveAsCsv();

    ui::MessageSink m_showMessage;
    ArchiveFollower m_follower;
    HistoryModel m_model;
    bool m_awaitingLoad = false;
    bool m_scrollToTop = false;
    QString m_chosenBookmaker; // empty: all

    DateBound *m_from = nullptr;
    DateBound *m_to = nullptr;
    QComboBox *m_kind = nullptr;
    QComboBox *m_bookmaker = nullptr;
    QLineEdit *m_search = nullptr;
    QPushButton *m_save = nullptr;
    QLabel *m_status = nullptr;
    QProgressBar *m_progress = nullptr;
    QTableView *m_table = nullptr;
    TotalsPanel *m_totals = nullptr;
    QTimer *m_typing = nullptr;
    QTimer *m_recount = nullptr;
};

} // namespace history
