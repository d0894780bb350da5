// The filters above the history's table: a date range, the kind of bet, its status, the bookmaker
// and a word in the event. It says when they changed and what they let through.
#pragma once

#include <QWidget>

#include "tracker/columns.h"

class QComboBox;
class QLineEdit;
class QStringListModel;
class QTimer;

namespace history {

class DateBound;

class FilterBar final : public QWidget
{
    Q_OBJECT

public:
    explicit FilterBar(QWidget *parent = nullptr);

    RowFilter filter() const;
    // The records' bookmakers in name order. The choice stays while the files are read; a whole
    // read that did not find it sets the filter back to all bookmakers.
    void setBookmakers(const QStringList &byName, bool wholeRead);
    // The month the calendars open at: the latest bet's.
    void setCalendarStart(QDate date);
    void focusSearch();
    void clearSearch();
    // The filters in the order Tab walks them.
    QList<QWidget *> focusOrder() const;

signals:
    void changed();

private:
    DateBound *m_from = nullptr;
    DateBound *m_to = nullptr;
    QComboBox *m_kind = nullptr;
    QComboBox *m_status = nullptr;
    QComboBox *m_bookmaker = nullptr;
    QStringListModel *m_bookmakers = nullptr;
    QLineEdit *m_search = nullptr;
    QTimer *m_typing = nullptr;
    QString m_chosenBookmaker; // empty: all
};

} // namespace history
