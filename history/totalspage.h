// A tab of the totals panel: it shows its part of the totals each time they have been worked out.
// A new tab is a class of this kind in a file of its own and a line in the panel's list.
#pragma once

#include <QStringList>

#include "tracker/totals.h"

namespace history {

class TotalsPage
{
public:
    virtual ~TotalsPage() = default;
    // bookmakers names the bookmakers that the totals count by index.
    virtual void showTotals(const SharedTotals &totals, const QStringList &bookmakers) = 0;
};

} // namespace history
