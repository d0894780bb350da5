#include "history/filterbar.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QStringListModel>
#include <QTimer>
#include <QVBoxLayout>

#include "history/datebound.h"

namespace history {

namespace {

QLabel *newLabel(const QString &text, QWidget *buddy)
{
    auto *label = new QLabel(text);
    label->setBuddy(buddy);
    return label;
}

QComboBox *newChoice(const QString &name, const QString &accessibleName)
{
    auto *box = new QComboBox;
    box->setObjectName(name);
    box->setAccessibleName(accessibleName);
    return box;
}

const QString allBookmakers = QStringLiteral("All bookmakers");

} // namespace

FilterBar::FilterBar(QWidget *parent)
    : QWidget(parent)
{
    m_from = new DateBound(QStringLiteral("From"));
    m_to = new DateBound(QStringLiteral("To"));
    m_kind = newChoice(QStringLiteral("kindFilter"), QStringLiteral("Kind"));
    m_kind->addItem(QStringLiteral("All kinds"), -1);
    for (const calc::BetKind kind : calc::allBetKinds())
        m_kind->addItem(QString::fromUtf8(calc::betKindName(kind)), int(kind));
    m_status = newChoice(QStringLiteral("statusFilter"), QStringLiteral("Status"));
    for (const char *status : {"All bets", "Open", "Settled", "Removed"})
        m_status->addItem(QString::fromLatin1(status));
    m_bookmaker = newChoice(QStringLiteral("bookmakerFilter"), QStringLiteral("Bookmaker"));
    // A plain list model: a million bookmakers would take seconds to add one by one.
    m_bookmakers = new QStringListModel({allBookmakers}, this);
    m_bookmaker->setModel(m_bookmakers);
    m_bookmaker->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_bookmaker->setMinimumContentsLength(allBookmakers.size());
    m_search = new QLineEdit;
    m_search->setObjectName(QStringLiteral("eventSearch"));
    m_search->setPlaceholderText(QStringLiteral("Search events (Ctrl+F)"));
    m_search->setAccessibleName(QStringLiteral("Search events"));
    m_search->setClearButtonEnabled(true);
    // Wide enough to say what it is for, with room for the clear button.
    m_search->setMinimumWidth(
        m_search->fontMetrics().horizontalAdvance(m_search->placeholderText() + QStringLiteral("MMMM")));

    // Two lines, so that the window fits a screen at 200 %: when and what, then where and which.
    auto *dates = new QHBoxLayout;
    dates->addWidget(newLabel(QStringLiteral("&From"), m_from));
    dates->addWidget(m_from);
    dates->addWidget(newLabel(QStringLiteral("&to"), m_to));
    dates->addWidget(m_to);
    dates->addWidget(newLabel(QStringLiteral("&Kind"), m_kind));
    dates->addWidget(m_kind);
    dates->addWidget(newLabel(QStringLiteral("&Status"), m_status));
    dates->addWidget(m_status);
    dates->addStretch();
    auto *names = new QHBoxLayout;
    names->addWidget(newLabel(QStringLiteral("&Bookmaker"), m_bookmaker));
    names->addWidget(m_bookmaker);
    names->addWidget(m_search, 1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(dates);
    layout->addLayout(names);

    connect(m_from, &DateBound::changed, this, &FilterBar::changed);
    connect(m_to, &DateBound::changed, this, &FilterBar::changed);
    connect(m_kind, &QComboBox::currentIndexChanged, this, &FilterBar::changed);
    connect(m_status, &QComboBox::currentIndexChanged, this, &FilterBar::changed);
    connect(m_bookmaker, &QComboBox::currentIndexChanged, this, [this](int index) {
        m_chosenBookmaker = index > 0 ? m_bookmaker->currentText() : QString();
        emit changed();
    });
    // Typing waits for a pause before the history is filtered again.
    m_typing = new QTimer(this);
    m_typing->setSingleShot(true);
    m_typing->setInterval(250);
    connect(m_search, &QLineEdit::textChanged, m_typing, qOverload<>(&QTimer::start));
    connect(m_typing, &QTimer::timeout, this, &FilterBar::changed);
}

RowFilter FilterBar::filter() const
{
    const auto moment = [](const DateBound *bound, qint64 any, QTime time) {
        return bound->date() ? text::momentOf(*bound->date(), time) : any;
    };
    RowFilter filter;
    filter.from = moment(m_from, noDate, QTime(0, 0));
    filter.to = moment(m_to, std::numeric_limits<qint64>::max(), QTime(23, 59, 59));
    filter.bookmaker = m_chosenBookmaker;
    if (const int kind = m_kind->currentData().toInt(); kind >= 0)
        filter.kind = calc::BetKind(kind);
    filter.eventText = m_search->text();
    filter.status = StatusFilter(m_status->currentIndex());
    return filter;
}

void FilterBar::setBookmakers(const QStringList &byName, bool wholeRead)
{
    QStringList names = byName;
    const bool chosenFound = m_chosenBookmaker.isEmpty() || names.contains(m_chosenBookmaker);
    if (!chosenFound && !wholeRead)
        names.prepend(m_chosenBookmaker);
    names.prepend(allBookmakers);
    if (names == m_bookmakers->stringList())
        return;
    const bool choiceGone = !chosenFound && wholeRead;
    if (choiceGone)
        m_chosenBookmaker.clear();
    {
        const QSignalBlocker quiet(m_bookmaker);
        m_bookmakers->setStringList(names);
        m_bookmaker->setCurrentIndex(m_chosenBookmaker.isEmpty() ? 0 : int(names.indexOf(m_chosenBookmaker)));
    }
    if (choiceGone)
        emit changed();
}

void FilterBar::setCalendarStart(QDate date)
{
    m_from->setCalendarStart(date);
    m_to->setCalendarStart(date);
}

void FilterBar::focusSearch()
{
    m_search->setFocus(Qt::ShortcutFocusReason);
    m_search->selectAll();
}

void FilterBar::clearSearch()
{
    m_search->clear();
}

QList<QWidget *> FilterBar::focusOrder() const
{
    return {m_from->field(), m_to->field(), m_kind, m_status, m_bookmaker, m_search};
}

} // namespace history
