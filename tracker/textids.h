// Texts kept once each and known by number: a million bets name a few outcomes, exchanges and
// mended events.
#pragma once

#include <vector>

#include <QHash>
#include <QStringList>

namespace history {

// The number of the text in texts, where it is added the first time; ids knows the numbers.
inline int internedId(const QString &text, QStringList &texts, QHash<QString, int> &ids)
{
    const auto known = ids.constFind(text);
    if (known != ids.cend())
        return *known;
    texts << text;
    return ids.insert(text, int(texts.size() - 1)).value();
}

// The number in another list of the text numbered text in from: asked of number once per text and
// then kept in cache. -1 for a text that from does not hold.
template<typename Number> int renumbered(std::vector<int> &cache, const QStringList &from, int text, Number &&number)
{
    if (text < 0 || text >= from.size())
        return -1;
    if (cache.size() < std::size_t(from.size()))
        cache.resize(std::size_t(from.size()), -1);
    int &id = cache[std::size_t(text)];
    return id >= 0 ? id : (id = number(from[text]));
}

} // namespace history
