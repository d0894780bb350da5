#include "store/sha256.h"

#include <cstring>

#if (defined(__GNUC__) || defined(__clang__)) && (defined(__x86_64__) || defined(__i386__))
#include <cpuid.h>
#include <immintrin.h>
#endif

namespace store {

namespace {

constexpr std::uint32_t roundConstants[64] = {0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1,
    0x923f82a4, 0xab1c5ed5, 0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7,
    0xc19bf174, 0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967, 0x27b70a85,
    0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85, 0xa2bfe8a1, 0xa81a664b,
    0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070, 0x19a4c116, 0x1e376c08, 0x2748774c,
    0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3, 0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208,
    0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

constexpr std::uint32_t rotr(std::uint32_t x, int n)
{
    return (x >> n) | (x << (32 - n));
}

std::uint32_t bigEndian(const std::uint8_t *p)
{
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}

void compress(std::uint32_t state[8], const std::uint8_t *block)
{
    std::uint32_t w[64];
    for (int i = 0; i < 16; ++i)
        w[i] = bigEndian(block + 4 * i);
    for (int i = 16; i < 64; ++i) {
        const std::uint32_t s0 = rotr(w[i - 15], 7) ^ rotr(w[i - 15], 18) ^ (w[i - 15] >> 3);
        const std::uint32_t s1 = rotr(w[i - 2], 17) ^ rotr(w[i - 2], 19) ^ (w[i - 2] >> 10);
        w[i] = w[i - 16] + s0 + w[i - 7] + s1;
    }
    std::uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
    std::uint32_t e = state[4], f = state[5], g = state[6], h = state[7];
    for (int i = 0; i < 64; ++i) {
        const std::uint32_t t1
            = h + (rotr(e, 6) ^ rotr(e, 11) ^ rotr(e, 25)) + ((e & f) ^ (~e & g)) + roundConstants[i] + w[i];
        const std::uint32_t t2 = (rotr(a, 2) ^ rotr(a, 13) ^ rotr(a, 22)) + ((a & b) ^ (a & c) ^ (b & c));
        h = g;
        g = f;
        f = e;
        e = d + t1;
        d = c;
        c = b;
        b = a;
        a = t1 + t2;
    }
    state[0] += a;
    state[1] += b;
    state[2] += c;
    state[3] += d;
    state[4] += e;
    state[5] += f;
    state[6] += g;
    state[7] += h;
}

void compressAll(std::uint32_t state[8], const std::uint8_t *blocks, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i)
        compress(state, blocks + 64 * i);
}

#if (defined(__GNUC__) || defined(__clang__)) && (defined(__x86_64__) || defined(__i386__))
#define VANTREL_SHA_EXTENSIONS

// The same with the processor's SHA extensions, several times faster where it has them.
__attribute__((target("sha,sse4.1"))) void compressWithShaExtensions(
    std::uint32_t state[8], const std::uint8_t *blocks, std::size_t count)
{
    const __m128i byteSwap = _mm_set_epi64x(0x0c0d0e0f08090a0bULL, 0x0405060700010203ULL);
    // The instructions keep the state as ABEF and CDGH.
    __m128i dcba = _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i *>(state)), 0xB1);
    __m128i efgh = _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i *>(state + 4)), 0x1B);
    __m128i abef = _mm_alignr_epi8(dcba, efgh, 8);
    __m128i cdgh = _mm_blend_epi16(efgh, dcba, 0xF0);
    for (std::size_t block = 0; block < count; ++block, blocks += 64) {
        const __m128i abefBefore = abef;
        const __m128i cdghBefore = cdgh;
        __m128i words[4]; // the message schedule, four words at a time, in a ring
        for (int group = 0; group < 16; ++group) {
            __m128i &w = words[group % 4];
            if (group < 4) {
                w = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i *>(blocks + 16 * group)), byteSwap);
            } else {
                const __m128i previous = words[(group + 3) % 4];
                w = _mm_sha256msg1_epu32(w, words[(group + 1) % 4]);
                w = _mm_add_epi32(w, _mm_alignr_epi8(previous, words[(group + 2) % 4], 4));
                w = _mm_sha256msg2_epu32(w, previous);
            }
            __m128i message
                = _mm_add_epi32(w, _mm_loadu_si128(reinterpret_cast<const __m128i *>(roundConstants + 4 * group)));
            cdgh = _mm_sha256rnds2_epu32(cdgh, abef, message);
            message = _mm_shuffle_epi32(message, 0x0E);
            abef = _mm_sha256rnds2_epu32(abef, cdgh, message);
        }
        abef = _mm_add_epi32(abef, abefBefore);
        cdgh = _mm_add_epi32(cdgh, cdghBefore);
    }
    const __m128i feba = _mm_shuffle_epi32(abef, 0x1B);
    const __m128i dchg = _mm_shuffle_epi32(cdgh, 0xB1);
    _mm_storeu_si128(reinterpret_cast<__m128i *>(state), _mm_blend_epi16(feba, dchg, 0xF0));
    _mm_storeu_si128(reinterpret_cast<__m128i *>(state + 4), _mm_alignr_epi8(dchg, feba, 8));
}

bool hasShaExtensions()
{
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    // Leaf 7: bit 29 of EBX is SHA; leaf 1: bit 19 of ECX is SSE4.1.
    if (!__get_cpuid_count(7, 0, &eax, &ebx, &ecx, &edx) || !(ebx & (1u << 29)))
        return false;
    return __get_cpuid(1, &eax, &ebx, &ecx, &edx) && (ecx & (1u << 19));
}
#endif

using Compress = void (*)(std::uint32_t state[8], const std::uint8_t *blocks, std::size_t count);

Compress compressor()
{
#ifdef VANTREL_SHA_EXTENSIONS
    static const Compress chosen = hasShaExtensions() ? &compressWithShaExtensions : &compressAll;
    return chosen;
#else
    return &compressAll;
#endif
}

Sha256 digestWith(Compress compressBlocks, QByteArrayView bytes)
{
    std::uint32_t state[8]
        = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a, 0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};
    const auto *data = reinterpret_cast<const std::uint8_t *>(bytes.data());
    const std::size_t size = std::size_t(bytes.size());
    const std::size_t at = size / 64 * 64;
    compressBlocks(state, data, size / 64);
    // The rest, a 1 bit, zeros, and the length in bits: one or two blocks.
    std::uint8_t tail[128] {};
    const std::size_t rest = size - at;
    if (rest > 0)
        std::memcpy(tail, data + at, rest);
    tail[rest] = 0x80;
    const std::size_t tailSize = rest < 56 ? 64 : 128;
    const std::uint64_t bits = std::uint64_t(size) * 8;
    for (int i = 0; i < 8; ++i)
        tail[tailSize - 1 - i] = std::uint8_t(bits >> (8 * i));
    compressBlocks(state, tail, tailSize / 64);
    Sha256 digest;
    for (int i = 0; i < 8; ++i) {
        for (int j = 0; j < 4; ++j)
            digest[std::size_t(4 * i + j)] = std::uint8_t(state[i] >> (24 - 8 * j));
    }
    return digest;
}

} // namespace

Sha256 sha256(QByteArrayView bytes)
{
    return digestWith(compressor(), bytes);
}

Sha256 sha256WithoutExtensions(QByteArrayView bytes)
{
    return digestWith(&compressAll, bytes);
}

QByteArray hexOf(const Sha256 &digest)
{
    return QByteArray(reinterpret_cast<const char *>(digest.data()), qsizetype(digest.size())).toHex();
}

} // namespace store
