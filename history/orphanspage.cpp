#include "history/orphanspage.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "calc/numbertext.h"
#include "calc/settle.h"
#include "tracker/columns.h"

namespace history {

QString orphanText(const OrphanSettlement &orphan, const QLocale &locale)
{
    const QString bet = orphan.key.source == RecordSource::Archive ? QStringLiteral("A bet of the archive")
                                                                   : QStringLiteral("An offer");
    const bool isVoid = orphan.outcome == QLatin1String(calc::voidOutcome) || !orphan.amount;
    const QString settled = isVoid ? QStringLiteral("void") : calc::formatPennies(*orphan.amount, locale);
    QString text = QStringLiteral("%1, settled on %2: %3").arg(bet, shownMoment(orphan.settledOn, locale), settled);
    if (!orphan.exchange.isEmpty())
        text += QStringLiteral(", lays at %1").arg(orphan.exchange);
    return text;
}

OrphansPage::OrphansPage(QWidget *parent)
    : QWidget(parent)
{
    auto *explained = new QLabel(QStringLiteral("Settlements whose bets are no longer archived as they were. Choose "
                                                "one and the bet it belongs to in the table, then re-attach it."));
    explained->setWordWrap(true);
    m_list = new QListWidget;
    m_list->setObjectName(QStringLiteral("withoutBet"));
    m_list->setAccessibleName(QStringLiteral("Settlements without a bet"));
    m_reattach = new QPushButton(QStringLiteral("&Re-attach to the chosen bet"));
    m_reattach->setObjectName(QStringLiteral("reattach"));
    m_drop = new QPushButton(QStringLiteral("&Drop"));
    m_drop->setObjectName(QStringLiteral("dropOrphan"));
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_reattach);
    buttons->addWidget(m_drop);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(explained);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);
    connect(m_list, &QListWidget::currentRowChanged, this, &OrphansPage::enableButtons);
    connect(m_reattach, &QPushButton::clicked, this, [this] {
        if (const OrphanSettlement *orphan = chosen())
            emit reattachChosen(*orphan);
    });
    connect(m_drop, &QPushButton::clicked, this, [this] {
        if (const OrphanSettlement *orphan = chosen())
            emit dropChosen(*orphan);
    });
    enableButtons();
}

void OrphansPage::showOrphans(std::vector<OrphanSettlement> orphans)
{
    m_orphans = std::move(orphans);
    const QLocale locale;
    QStringList texts;
    for (const OrphanSettlement &orphan : m_orphans)
        texts << orphanText(orphan, locale);
    m_list->clear();
    m_list->addItems(texts);
    enableButtons();
}

const OrphanSettlement *OrphansPage::chosen() const
{
    const int row = m_list->currentRow();
    return row >= 0 && std::size_t(row) < m_orphans.size() ? &m_orphans[std::size_t(row)] : nullptr;
}

void OrphansPage::enableButtons()
{
    m_reattach->setEnabled(chosen() != nullptr);
    m_drop->setEnabled(chosen() != nullptr);
}

} // namespace history
