// Numbers by key, as an offer's inputs and figures are held: a short sorted list rather than a tree,
// looked up by a key's characters without building a string for it. A history of a million offers
// builds three of these for each, and a tree's nodes and keys cost more than the arithmetic.
#pragma once

#include <algorithm>
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
    OfferValues(std::initializer_list<value_type> values)
        : OfferValues(values.begin(), values.end())
    { }
    // The first of pairs with the same key counts, as a map built from them keeps it.
    template<typename Iterator>
    OfferValues(Iterator first, Iterator last)
        : OfferValues(std::vector<value_type>(first, last))
    { }
    explicit OfferValues(std::vector<value_type> &&values)
        : m_values(std::move(values))
    {
        const auto byKey = [](const value_type &a, const value_type &b) { return before(a.first, b.first); };
        // A handful of values: sorted in place, the first of equal keys first, with no buffer to allocate.
        if (!std::is_sorted(m_values.begin(), m_values.end(), byKey)) {
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
        const auto at = lowerBound(key);
        return at != m_values.end() && same(at->first, key) ? at : m_values.end();
    }
    iterator find(std::string_view key)
    {
        const auto at = lowerBound(key);
        return at != m_values.end() && same(at->first, key) ? m_values.begin() + (at - m_values.cbegin())
                                                            : m_values.end();
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
    // Keys are a few letters long: compared in place, they take less than a call to memcmp.
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
        for (std::size_t i = 0; i < a.size(); ++i) {
            if (a[i] != b[i])
                return false;
        }
        return true;
    }
    const_iterator lowerBound(std::string_view key) const
    {
        return std::lower_bound(m_values.cbegin(), m_values.cend(), key,
            [](const value_type &value, std::string_view k) { return before(value.first, k); });
    }

    std::vector<value_type> m_values;
};

} // namespace calc
