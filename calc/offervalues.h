// Numbers by key, as an offer's inputs and figures are held: a short sorted list rather than a tree,
// looked up by a key's characters without building a string for it. A history of a million offers
// builds three of these for each, and a tree's nodes and keys cost more than the arithmetic.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace calc {

class OfferValues
{
public:
    using value_type = std::pair<std::string, double>;
    using iterator = std::vector<value_type>::iterator;
    using const_iterator = std::vector<value_type>::const_iterator;

    OfferValues() = default;
    // The first of pairs with the same key counts. Each key becomes a string once, in its place.
    OfferValues(std::initializer_list<std::pair<std::string_view, double>> values)
    {
        m_values.reserve(values.size());
        for (const auto &[key, value] : values) {
            const auto at = lowerBound(key);
            if (at == m_values.cend() || !same(at->first, key))
                m_values.emplace(at, std::string(key), value);
        }
    }
    template<typename Iterator>
    OfferValues(Iterator first, Iterator last)
        : OfferValues(std::vector<value_type>(first, last))
    { }
    explicit OfferValues(std::vector<value_type> &&values)
        : m_values(std::move(values))
    {
        const auto byKey = [](const value_type &a, const value_type &b) { return before(a.first, b.first); };
        // A handful of values: sorted in place, the first of equal keys first, with no buffer to
        // allocate. A hand-edited file may hold many more, which take a sort in n log n.
        if (m_values.size() > smallList) {
            std::stable_sort(m_values.begin(), m_values.end(), byKey);
        } else if (!std::is_sorted(m_values.begin(), m_values.end(), byKey)) {
            for (auto next = m_values.begin(); next != m_values.end(); ++next)
                std::rotate(std::upper_bound(m_values.begin(), next, *next, byKey), next, next + 1);
        }
        m_values.erase(std::unique(m_values.begin(), m_values.end(),
                           [](const value_type &a, const value_type &b) { return same(a.first, b.first); }),
            m_values.end());
    }

    const_iterator begin() const { return m_values.begin(); }
    const_iterator end() const { return m_values.end(); }
    iterator begin() { return m_values.begin(); }
    iterator end() { return m_values.end(); }
    std::size_t size() const { return m_values.size(); }
    bool empty() const { return m_values.empty(); }

    const_iterator find(std::string_view key) const
    {
        // A handful of values: a look at each key's length, then at its bytes a word at a time,
        // costs less than halving the list by comparing keys that share their first letters.
        if (m_values.size() <= smallList)
            return std::find_if(
                m_values.cbegin(), m_values.cend(), [&](const value_type &v) { return same(v.first, key); });
        const auto at = lowerBound(key);
        return at != m_values.cend() && same(at->first, key) ? at : m_values.cend();
    }
    iterator find(std::string_view key)
    {
        return m_values.begin() + (std::as_const(*this).find(key) - m_values.cbegin());
    }
    bool contains(std::string_view key) const { return find(key) != end(); }
    double at(std::string_view key) const
    {
        const auto found = find(key);
        if (found == end())
            throw std::out_of_range("no value for " + std::string(key));
        return found->second;
    }
    double &operator[](std::string_view key)
    {
        const auto at = lowerBound(key);
        if (at != m_values.end() && same(at->first, key))
            return m_values[std::size_t(at - m_values.cbegin())].second;
        return m_values.insert(at, {std::string(key), 0.0})->second;
    }
    void erase(std::string_view key)
    {
        if (const auto found = find(key); found != end())
            m_values.erase(found);
    }

    bool operator==(const OfferValues &) const = default;

private:
    static constexpr std::size_t smallList = 12;

    // Keys are a few letters long: ordered in place, they take less than a call to memcmp.
    static bool before(std::string_view a, std::string_view b)
    {
        const std::size_t common = std::min(a.size(), b.size());
        for (std::size_t i = 0; i < common; ++i) {
            if (a[i] != b[i])
                return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[i]);
        }
        return a.size() < b.size();
    }
    static bool same(std::string_view a, std::string_view b)
    {
        if (a.size() != b.size())
            return false;
        if (a.size() < sizeof(std::uint64_t) || a.size() > 2 * sizeof(std::uint64_t))
            return a == b;
        // Eight to sixteen bytes: the first eight and the last eight, as two words.
        const std::size_t tail = a.size() - sizeof(std::uint64_t);
        return word(a.data()) == word(b.data()) && word(a.data() + tail) == word(b.data() + tail);
    }
    static std::uint64_t word(const char *bytes)
    {
        std::uint64_t value;
        std::memcpy(&value, bytes, sizeof value);
        return value;
    }
    const_iterator lowerBound(std::string_view key) const
    {
        return std::lower_bound(m_values.cbegin(), m_values.cend(), key,
            [](const value_type &value, std::string_view k) { return before(value.first, k); });
    }

    std::vector<value_type> m_values;
};

} // namespace calc
