// One end of the history's date range: a field that takes a date typed in the locale's short form
// (or a common numeric one), a calendar that opens at the archive's own dates, and one click back
// to "any". Empty means any date.
#pragma once

#include <optional>

#include <QDate>
#include <QWidget>

#include "store/archivereader.h"

class QCalendarWidget;
class QLineEdit;
class QMenu;

namespace history {

class DateBound final : public QWidget
{
    Q_OBJECT

public:
    // name is the field's accessible name.
    explicit DateBound(const QString &name, QWidget *parent = nullptr);

    std::optional<QDate> date() const { return m_date; }
    void setDate(std::optional<QDate> date);
    // The month the calendar opens at while no date is set: the archive's latest.
    void setCalendarStart(QDate date) { m_calendarStart = date; }
    QLineEdit *field() const { return m_field; }

signals:
    void changed();

private:
    void takeTypedDate();
    void openCalendar();

    QLineEdit *m_field = nullptr;
    QMenu *m_calendarMenu = nullptr;
    QCalendarWidget *m_calendar = nullptr;
    std::optional<QDate> m_date;
    QDate m_calendarStart = QDate::currentDate();
    store::ArchiveDates m_dates;
};

} // namespace history
