// Decisions applied to the records' settlements: the dimensions each touched replace the
// settlement's, with a settle's payout and caption worked out from the record.
#pragma once

#include <vector>

#include <QHash>
#include <QStringList>

#include "tracker/betdecision.h"

namespace history {

// A decision applied to a record: the dimensions it touched replace the settlement's, with the
// payout and caption of a settle worked out from the record's line.
struct ResolvedDecision
{
    qint64 record = 0;
    BetDecision decision;
    calc::Payout payout;
    int caption = -1; // in the texts of the decisions
    int exchange = -1;
    int mended = -1;
};

// Decisions with the captions and exchange names they name, each text once: a million decisions
// hold a few texts.
struct ResolvedDecisions
{
    std::vector<ResolvedDecision> list;
    QStringList texts;

    int textId(const QString &text);

private:
    QHash<QString, int> m_ids;
};

// Applies decisions to a table, the texts they name given the table's numbers once each.
class DecisionApplier
{
public:
    DecisionApplier(SettlementTable &table, const QStringList &texts)
        : m_table(table)
        , m_texts(texts)
    { }

    void apply(const ResolvedDecision &resolved);

private:
    // The table's number for a text of the decisions, asked of the table once per text.
    int tableId(std::vector<int> &ids, int text, int (SettlementTable::*number)(const QString &));

    SettlementTable &m_table;
    const QStringList &m_texts; // may grow as decisions are applied
    std::vector<int> m_captions;
    std::vector<int> m_exchanges;
    std::vector<int> m_mendings;
};

// Every decision applied to its record's settlement in the table: the dimensions it touched
// replace the settlement's.
void applyAll(const ResolvedDecisions &decisions, SettlementTable &table);

} // namespace history
