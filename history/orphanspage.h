// The "Without a bet" tab: the settlements the ledger keeps for bets that are in neither file any
// more (a line edited or deleted by hand), each to be attached to a bet chosen in the table, or
// dropped.
#pragma once

#include <vector>

#include <QWidget>

#include "tracker/ledgerbook.h"

class QListWidget;
class QPushButton;

namespace history {

// "A bet of the archive, settled on 03/12/2026 12:30: 6.97, lays at Betfair".
QString orphanText(const OrphanSettlement &orphan, const QLocale &locale);

class OrphansPage final : public QWidget
{
    Q_OBJECT

public:
    explicit OrphansPage(QWidget *parent = nullptr);
    void showOrphans(std::vector<OrphanSettlement> orphans);

signals:
    void reattachChosen(const history::OrphanSettlement &orphan);
    void dropChosen(const history::OrphanSettlement &orphan);

private:
    const OrphanSettlement *chosen() const;
    void enableButtons();

    QListWidget *m_list = nullptr;
    QPushButton *m_reattach = nullptr;
    QPushButton *m_drop = nullptr;
    std::vector<OrphanSettlement> m_orphans;
};

} // namespace history
