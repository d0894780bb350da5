#include "tracker/settlements.h"

#include "tracker/textids.h"

#include <algorithm>

namespace history {

QString Mending::joined() const
{
    QString text;
    for (const QString *part : {&event, &bookmaker, &note})
        text += QString::number(part->size()) + QLatin1Char(':') + *part;
    return text;
}

Mending Mending::parted(const QString &joined)
{
    Mending mending;
    qsizetype at = 0;
    for (QString *part : {&mending.event, &mending.bookmaker, &mending.note}) {
        const qsizetype colon = joined.indexOf(QLatin1Char(':'), at);
        if (colon < 0)
            break;
        const qsizetype size = QStringView(joined).sliced(at, colon - at).toLongLong();
        *part = joined.sliced(colon + 1, std::clamp<qsizetype>(size, 0, joined.size() - colon - 1));
        at = colon + 1 + part->size();
    }
    mending.eventUtf8 = mending.event.trimmed().toUtf8();
    return mending;
}

const Settlement &SettlementTable::at(qsizetype index) const
{
    static const Settlement open;
    const auto page = std::size_t(index / pageSize);
    return page < m_pages.size() && m_pages[page] ? (*m_pages[page])[std::size_t(index % pageSize)] : open;
}

void SettlementTable::set(qsizetype index, const Settlement &settlement)
{
    const auto page = std::size_t(index / pageSize);
    if (page >= m_pages.size())
        m_pages.resize(page + 1);
    std::shared_ptr<Page> &held = m_pages[page];
    // A page that another copy shares is copied first. Copies of a table are made on the window's
    // thread alone, so a page held here alone stays so while it is written, whichever thread writes.
    if (!held)
        held = std::make_shared<Page>();
    else if (held.use_count() > 1)
        held = std::make_shared<Page>(*held);
    (*held)[std::size_t(index % pageSize)] = settlement;
}

int SettlementTable::mendingId(const QString &joined)
{
    const int id = internedId(joined, m_mendingTexts, m_mendingIds);
    if (id == m_mendings.size())
        m_mendings << Mending::parted(joined);
    return id;
}

void SettlementTable::clear()
{
    *this = {};
}

} // namespace history
