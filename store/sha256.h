// SHA-256 (FIPS 180-4), for the identity of a record's line in the ledger. An implementation of our
// own: Qt's hashes a million short lines several times more slowly, and the history hashes every
// record it reads.
#pragma once

#include <array>
#include <cstdint>

#include <QByteArray>
#include <QByteArrayView>

namespace store {

using Sha256 = std::array<std::uint8_t, 32>;

// With the processor's SHA extensions where it has them.
Sha256 sha256(QByteArrayView bytes);
// The plain computation alone, which other processors take.
Sha256 sha256WithoutExtensions(QByteArrayView bytes);

// The digest in lower-case hex, as the ledger writes it.
QByteArray hexOf(const Sha256 &digest);

} // namespace store
