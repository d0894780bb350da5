#include "history/settlements.h"

namespace history {

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

void SettlementTable::clear()
{
    *this = {};
}

int SettlementTable::idOf(const QString &text, QStringList &texts, QHash<QString, int> &ids)
{
    const auto known = ids.constFind(text);
    if (known != ids.cend())
        return *known;
    texts << text;
    return ids.insert(text, int(texts.size() - 1)).value();
}

} // namespace history
