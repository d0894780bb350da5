#include "store/archivefields.h"

namespace store {

QString archiveFieldCaption(ArchiveField field)
{
    static const std::array<QString, archiveFieldCount> captions {"Date", "Event", "Bookmaker", "Stake",
        "Stake Forfeit", "Back Odds", "Lay Odds", "Lay Risk", "Lay Stake", "Back Comm.", "Lay Comm.", "Back Return",
        "Back Returns", "Lay Returns", "Closeness %"};
    return captions[std::size_t(field)];
}

} // namespace store
