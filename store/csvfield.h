// CSV fields as RFC 4180 writes them, for every CSV file the program writes (the offers file, the
// ledger and the history's export) and reads back (the first two).
#pragma once

#include <optional>
#include <span>

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace store {

// UTF-8; line breaks become spaces, so that a record stays one line; quoted, with its quotes
// doubled, where it holds a comma or a quote.
QByteArray csvField(QString text);

// Splits a line of as many fields as there are views: a quoted field without its quotes, and with
// its doubled quotes still doubled (see csvText). False when the line has more or fewer fields, or a
// quote that does not close.
bool splitCsvLine(QByteArrayView line, std::span<QByteArrayView> fields);

// A field's text: UTF-8, its doubled quotes single.
QString csvText(QByteArrayView field);

// A text that a spreadsheet would run as a formula (one that starts with =, +, -, @, a tab or a
// carriage return) with an apostrophe before it, so that it shows as text; and back.
QString inert(const QString &text);
QString withoutInertMark(const QString &text);

// The line a spreadsheet may have saved with a byte-order mark before it, without it.
QByteArrayView withoutByteOrderMark(QByteArrayView line);

} // namespace store
