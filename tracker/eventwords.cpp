#include "tracker/eventwords.h"

namespace history {

namespace {

// FNV-1a, 64 bits.
constexpr WordKey keyStart = 14695981039346656037ULL;
constexpr WordKey keyPrime = 1099511628211ULL;

// A word ends: its key kept unless it is "v" or "vs".
class WordEnds
{
public:
    explicit WordEnds(WordKeys &keys)
        : m_keys(keys)
    { }
    void add(char c)
    {
        m_key = (m_key ^ WordKey(static_cast<unsigned char>(c))) * keyPrime;
        m_versus = m_length == 0 ? c == 'v' : m_versus && m_length == 1 && c == 's';
        ++m_length;
    }
    void end()
    {
        if (m_length > 0 && !m_versus)
            m_keys.push_back(m_key);
        m_key = keyStart;
        m_length = 0;
        m_versus = false;
    }

private:
    WordKeys &m_keys;
    WordKey m_key = keyStart;
    int m_length = 0;
    bool m_versus = false;
};

bool isAsciiLetterOrDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Nothing where a byte is not ASCII.
std::optional<WordKeys> asciiWordKeys(QByteArrayView bytes)
{
    WordKeys keys;
    WordEnds words(keys);
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return std::nullopt;
        if (isAsciiLetterOrDigit(c))
            words.add(c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c);
        else
            words.end();
    }
    words.end();
    return keys;
}

} // namespace

WordKeys wordKeys(const QString &text)
{
    WordKeys keys;
    WordEnds words(keys);
    const QString folded = text.toCaseFolded();
    for (qsizetype at = 0; at < folded.size(); ++at) {
        const char32_t code = folded.at(at).isHighSurrogate() && at + 1 < folded.size()
            ? QChar::surrogateToUcs4(folded.at(at), folded.at(at + 1))
            : folded.at(at).unicode();
        if (!QChar::isLetterOrNumber(code)) {
            words.end();
            continue;
        }
        const qsizetype units = QChar::requiresSurrogates(code) ? 2 : 1;
        for (const char byte : QStringView(folded).sliced(at, units).toUtf8())
            words.add(byte);
        at += units - 1;
    }
    words.end();
    return keys;
}

WordKeys eventWordKeys(const HistoryView &view, qsizetype record)
{
    if (view.settlements.at(record).mended < 0) {
        if (std::optional<WordKeys> keys = asciiWordKeys(view.records.fieldBytes(record, store::ArchiveField::Event)))
            return std::move(*keys);
    }
    return wordKeys(eventOf(view, record));
}

} // namespace history
