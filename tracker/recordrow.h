// A record as the history holds it: one neutral row, whichever file its line came from, that the
// columns, filters and totals read. Built here alone from an archive line or an offers line, with
// what the line says about settling the bet: the ways it can end and what each pays where.
#pragma once

#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

#include <QByteArrayView>

#include "calc/backandlay.h"
#include "calc/offers.h"
#include "calc/settle.h"
#include "store/archivereader.h"
#include "store/ledger.h"

namespace history {

using store::RecordSource;

constexpr qint64 noDate = std::numeric_limits<qint64>::min();
constexpr double noFigure = std::numeric_limits<double>::quiet_NaN();

struct BetRecord
{
    qint64 when = noDate; // see text::momentOf
    double ownStake = 0; // the user's own money: the stake less its free-bet part
    double freeStake = 0; // the free-bet stake used
    double result = noFigure; // what it locks in: an offer's lowest outcome; NaN: no result
    double highest = noFigure; // its best outcome
    double openAtExchange = 0; // the most its lays can lose while it is open
    quint64 digest = 0; // the first bytes of its line's SHA-256: with its file, what names it in the ledger
    float closeness = std::numeric_limits<float>::quiet_NaN();
    int chunk = 0;
    int offset = 0; // of the line in its chunk
    int length = 0;
    int bookmaker = 0; // index into the records' bookmakers
    calc::BetKind kind = calc::BetKind::Qualifying;
    RecordSource source = RecordSource::Archive;
    bool stale = true; // the figures are not those that the inputs give
    bool calculated = true; // false: archived before any Calculate, the figures are empty
};

// An amount typed as what came in: the settle's outcome says the bookmaker's part ("other:12.50"),
// its amount the whole; "other" alone, written before the parts were asked for, is all the
// bookmaker's.
QString otherOutcome(calc::Pennies atBookmaker);
std::optional<calc::Pennies> otherAtBookmaker(const QString &outcome);

// The first eight bytes of a digest, as records keep it.
quint64 digestKey(const store::Sha256 &digest);

// The row of a line, and its bookmaker field; nothing when the line is no record. An offer's row has
// only its date and kind until fillOffer.
std::optional<BetRecord> recordOf(
    RecordSource source, QByteArrayView line, store::ArchiveDates &dates, QByteArrayView &bookmaker);

// An offer's stake, outcome range and open money worked out again from its inputs, and whether its
// figures and columns are those; as its columns say when the inputs give no figures or the kind is
// unknown here. The shapes of the offers read are laid out once in shapes.
void fillOffer(BetRecord &record, QByteArrayView line, calc::ShapeCache &shapes);

// What follows reads an offer's line again; shapes keeps its shape laid out for the offers after it.

// The ways the record's bet can be settled, in the order of its figures (Void and Other amount aside).
std::vector<calc::SettleOutcome> outcomesOf(const BetRecord &record, QByteArrayView line, calc::ShapeCache &shapes);

// What settling the record's bet as an outcome pays, and where (nothing when its figures do not pay
// the outcome), and the outcome's caption as the Status column says it.
struct SettledAs
{
    std::optional<calc::Payout> payout;
    QString caption;
};
// The record's line is read once; amount is what an "other" settle brought.
SettledAs settledAs(const BetRecord &record, QByteArrayView line, const QString &outcome,
    std::optional<calc::Pennies> amount, calc::ShapeCache &shapes);

// What an offer's refund as a free bet is worth, and the share of it the offer expects to keep;
// nothing for a record whose figures count no free bet.
struct FreeBetInOffer
{
    calc::Pennies amount = 0;
    calc::Pennies expectedKept = 0;
};
std::optional<FreeBetInOffer> freeBetInOffer(const BetRecord &record, QByteArrayView line, calc::ShapeCache &shapes);

// What the export adds for an offer's record: its back bet and lay where it is one of each, and
// its inputs and figures as the offers file holds them, as key=value pairs.
struct OfferExport
{
    std::optional<calc::BackAndLay> backAndLay;
    QString inputsAndFigures;
};
OfferExport offerExportOf(const BetRecord &record, QByteArrayView line, calc::ShapeCache &shapes);

} // namespace history
