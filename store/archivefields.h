// The archive's fields, named once: their order on a line and the captions the windows show.
// The writer, the reader, the history and the main window all go by these names.
#pragma once

#include <array>

#include <QString>

namespace store {

enum class ArchiveField {
    DateTime,
    Event,
    Bookmaker,
    // The number fields, as the calculator's fields show them.
    Stake,
    StakeForfeit,
    BackOdds,
    LayOdds,
    LayRisk,
    LayStake,
    BackComm,
    LayComm,
    BackReturn,
    BackReturns,
    LayReturns,
    Closeness,
};

constexpr int archiveFieldCount = int(ArchiveField::Closeness) + 1;

constexpr bool isNumberField(ArchiveField field)
{
    return field >= ArchiveField::Stake;
}

// A record's field texts, or its field views, indexed by field.
template<typename Text> struct ArchiveFieldArray : std::array<Text, archiveFieldCount>
{
    using std::array<Text, archiveFieldCount>::operator[];
    Text &operator[](ArchiveField field) { return (*this)[std::size_t(field)]; }
    const Text &operator[](ArchiveField field) const { return (*this)[std::size_t(field)]; }
};

// The caption of each field, as the history's table and exports head its column.
QString archiveFieldCaption(ArchiveField field);

// Every field, in the order of a line.
constexpr std::array<ArchiveField, archiveFieldCount> allArchiveFields()
{
    std::array<ArchiveField, archiveFieldCount> fields {};
    for (int i = 0; i < archiveFieldCount; ++i)
        fields[std::size_t(i)] = ArchiveField(i);
    return fields;
}

} // namespace store
