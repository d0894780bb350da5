// What the ledger has decided about each record and each account, as the history holds it. The
// table of settlements is read on other threads while the user-interface thread changes it: a copy
// shares its pages, and a change copies a page that another copy still shares.
#pragma once

#include <array>
#include <map>
#include <memory>
#include <vector>

#include <QHash>
#include <QString>
#include <QStringList>

#include "tracker/recordrow.h"
#include "tracker/textids.h"

namespace history {

// A bet's event, bookmaker and note as an amend line mends them, shown over its archived line.
struct Mending
{
    QString event;
    QString bookmaker;
    QString note;
    QByteArray eventUtf8; // the event as the table sorts it

    // One text for the three, each led by its length, so that any text in any of them parts again.
    QString joined() const;
    static Mending parted(const QString &joined);
};

struct Settlement
{
    qint64 settledOn = noDate; // when the settle line was written
    calc::Payout payout; // what came in at the bookmaker and at the exchange
    int caption = -1; // the outcome's caption, in SettlementTable::captions()
    int exchange = -1; // the exchange the lays were at, in SettlementTable::exchanges()
    int mended = -1; // the bet as mended, in SettlementTable::mendings(); -1: as archived
    bool settled = false;
    bool removed = false;

    // The profit that came in.
    double actual() const { return calc::fromPennies(payout.profit()); }
};

class SettlementTable
{
public:
    // An open bet for a record the ledger says nothing about.
    const Settlement &at(qsizetype index) const;
    void set(qsizetype index, const Settlement &settlement);
    void clear();

    int captionId(const QString &caption) { return internedId(caption, m_captions, m_captionIds); }
    int exchangeId(const QString &name) { return internedId(name, m_exchanges, m_exchangeIds); }
    const QStringList &captions() const { return m_captions; }
    const QStringList &exchanges() const { return m_exchanges; }
    int mendingId(const QString &joined);
    const QList<Mending> &mendings() const { return m_mendings; }

private:
    static constexpr qsizetype pageSize = 4096;
    using Page = std::array<Settlement, pageSize>;

    std::vector<std::shared_ptr<Page>> m_pages;
    QStringList m_captions;
    QHash<QString, int> m_captionIds;
    QStringList m_exchanges;
    QHash<QString, int> m_exchangeIds;
    QStringList m_mendingTexts;
    QHash<QString, int> m_mendingIds;
    QList<Mending> m_mendings; // in the order of their texts
};

// An account's money and standing as the ledger's deposits, withdrawals and status lines say.
struct AccountEntry
{
    calc::Pennies deposited = 0;
    calc::Pennies withdrawn = 0;
    calc::Pennies adjusted = 0; // by adjust lines: what no bet or transfer explains
    QString status; // active, limited, gubbed or closed; empty: never said
    std::optional<bool> exchange; // as the latest type line says; never said: a bookmaker unless bets lay there
};

using AccountBook = std::map<QString, AccountEntry>;

// One deposit, withdrawal, adjustment, status or type line, as the Accounts tab lists them.
struct AccountLine
{
    qint64 moment = noDate;
    store::LedgerAction action = store::LedgerAction::Deposit;
    QString account;
    calc::Pennies amount = 0; // a deposit's, a withdrawal's or an adjustment's
    QString word; // a status's or a type's
    QString note;
};
using AccountLines = std::vector<AccountLine>; // in the ledger's order

} // namespace history
