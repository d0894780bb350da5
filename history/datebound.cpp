#include "history/datebound.h"

#include <QCalendarWidget>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenu>
#include <QShortcut>
#include <QToolButton>
#include <QWidgetAction>

#include "ui/windowsupport.h"

namespace history {

namespace {

QToolButton *newButton(const QString &text, const QString &tip)
{
    auto *button = new QToolButton;
    button->setText(text);
    button->setToolTip(tip);
    button->setAccessibleName(tip);
    // The field is the tab stop; the buttons have keys of their own (F4, Delete).
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

} // namespace

DateBound::DateBound(const QString &name, QWidget *parent)
    : QWidget(parent)
    , m_dates(QLocale())
{
    m_field = new QLineEdit;
    m_field->setObjectName(name);
    m_field->setAccessibleName(name);
    m_field->setPlaceholderText(QStringLiteral("any"));
    m_field->setToolTip(QStringLiteral("A date such as %1; empty for any date. F4 opens a calendar.")
                            .arg(QLocale().toString(QDate::currentDate(), QLocale::ShortFormat)));
    m_field->setMinimumWidth(m_field->fontMetrics().horizontalAdvance(QStringLiteral("00/00/0000")) + 16);
    auto *calendarButton = newButton(QStringLiteral("..."), QStringLiteral("Choose %1 in a calendar").arg(name));
    auto *anyButton = newButton(QStringLiteral("x"), QStringLiteral("Any date"));

    m_calendar = new QCalendarWidget;
    m_calendarMenu = new QMenu(this);
    auto *action = new QWidgetAction(m_calendarMenu);
    action->setDefaultWidget(m_calendar);
    m_calendarMenu->addAction(action);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_field, 1);
    layout->addWidget(calendarButton);
    layout->addWidget(anyButton);
    setFocusProxy(m_field);

    connect(m_field, &QLineEdit::editingFinished, this, &DateBound::takeTypedDate);
    connect(calendarButton, &QToolButton::clicked, this, &DateBound::openCalendar);
    connect(new QShortcut(QKeySequence(Qt::Key_F4), m_field, nullptr, nullptr, Qt::WidgetShortcut),
        &QShortcut::activated, this, &DateBound::openCalendar);
    connect(anyButton, &QToolButton::clicked, this, [this] { setDate(std::nullopt); });
    connect(m_calendar, &QCalendarWidget::clicked, this, [this](QDate date) {
        m_calendarMenu->close();
        setDate(date);
    });
    connect(m_calendar, &QCalendarWidget::activated, m_calendar, &QCalendarWidget::clicked);
}

void DateBound::setDate(std::optional<QDate> date)
{
    ui::setBackground(m_field, QPalette::Base, palette().color(QPalette::Base));
    m_field->setText(date ? QLocale().toString(*date, QLocale::ShortFormat) : QString());
    if (date == m_date)
        return;
    m_date = date;
    emit changed();
}

void DateBound::takeTypedDate()
{
    const QString text = m_field->text().trimmed();
    if (text.isEmpty()) {
        setDate(std::nullopt);
        return;
    }
    const std::optional<qint64> moment = m_dates.parseText(text);
    if (!moment) {
        // Not a date: marked, and the range is left as it was.
        ui::setBackground(m_field, QPalette::Base, ui::attentionPink());
        return;
    }
    setDate(text::dayOf(*moment));
}

void DateBound::openCalendar()
{
    const QDate shown = m_date.value_or(m_calendarStart);
    if (m_date)
        m_calendar->setSelectedDate(*m_date);
    m_calendar->setCurrentPage(shown.year(), shown.month());
    m_calendarMenu->popup(mapToGlobal(QPoint(0, height())));
    m_calendar->setFocus();
}

} // namespace history
