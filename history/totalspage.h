// A tab of the totals panel: it shows its part of the totals each time they have been worked out.
// A new tab is a class of this kind in a file of its own and a line in the panel's list.
#pragma once

#include <memory>

#include <QStringList>

namespace history {

struct Totals;
// The totals of one rebuild, shared by the tabs that show them: a million bookmakers' sums are
// kept once.
using SharedTotals = std::shared_ptr<const Totals>;

class TotalsPage
{
public:
    virtual ~TotalsPage() = default;
    // bookmakers names the bookmakers that the totals count by index.
    virtual void showTotals(const SharedTotals &totals, const QStringList &bookmakers) = 0;
};

} // namespace history
