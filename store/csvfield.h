// One field of a CSV line as RFC 4180 writes it, for every CSV file the program writes: the offers
// file, the ledger and the history's export.
#pragma once

#include <QByteArray>
#include <QString>

namespace store {

// UTF-8; line breaks become spaces, so that a record stays one line; quoted, with its quotes
// doubled, where it holds a comma or a quote.
QByteArray csvField(QString text);

} // namespace store
