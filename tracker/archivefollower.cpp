#include "tracker/archivefollower.h"

#include <algorithm>
#include <memory>

#include <QDir>
#include <QFile>

#include "store/datafolder.h"
#include "store/fileerror.h"

namespace history {

namespace {

// The first read is small, so that the first rows show at once; the rest come in larger pieces.
constexpr qint64 firstReadBytes = 256 * 1024;
constexpr qint64 laterReadBytes = 2 * 1024 * 1024;
constexpr qsizetype tailBytes = 64;
// Bytes kept from the start of a few reads, thinned out as the file grows so that they stay spread
// over it: an earlier line edited in place while the file grows shows there.
constexpr qsizetype sampleBytes = 64;
constexpr std::size_t mostSamples = 16;

} // namespace

ArchiveFollower::FollowedFile ArchiveFollower::followed(const QString &path)
{
    FollowedFile file;
    file.path = path;
    return file;
}

ArchiveFollower::ArchiveFollower(const QString &dataFolder, QObject *parent)
    : QObject(parent)
    , m_files {followed(store::archivePath(dataFolder)), followed(store::offersPath(dataFolder)),
          followed(store::ledgerPath(dataFolder))}
    , m_dates(QLocale())
{
    m_reader.setMaxThreadCount(2);
    m_reader.setExpiryTimeout(-1);
    m_offerFigures.setMaxThreadCount(1);
    m_offerFigures.setExpiryTimeout(-1);
    m_look.setInterval(500);
    connect(&m_look, &QTimer::timeout, this, &ArchiveFollower::follow);
}

ArchiveFollower::~ArchiveFollower()
{
    m_stop = true;
    m_reader.waitForDone();
    m_offerFigures.waitForDone();
}

void ArchiveFollower::start()
{
    m_loading = true;
    readOn();
    m_look.start();
}

namespace {

// Up to this many bytes read are read again and compared whole at each change; beyond it the tail
// and the samples stand for them, as reading a larger file again would stall the window.
constexpr qint64 mostBytesCompared = 32 << 20;

// FNV-1a over the bytes, carried on from the digest of the bytes before them: any one change among
// the bytes read shows, however they were split into reads.
quint64 carriedDigest(quint64 digest, QByteArrayView bytes)
{
    constexpr quint64 basis = 14695981039346656037ULL;
    constexpr quint64 prime = 1099511628211ULL;
    if (digest == 0)
        digest = basis;
    for (const char byte : bytes)
        digest = (digest ^ quint8(byte)) * prime;
    return digest;
}

// The digest of the file's first bytes as they stand now; nothing when they cannot be read.
std::optional<quint64> digestNow(QFile &file, qint64 bytes)
{
    quint64 digest = 0;
    if (!file.seek(0))
        return std::nullopt;
    for (qint64 left = bytes; left > 0;) {
        const QByteArray piece = file.read(std::min<qint64>(left, 1 << 20));
        if (piece.isEmpty())
            return std::nullopt;
        digest = carriedDigest(digest, piece);
        left -= piece.size();
    }
    return digest;
}

} // namespace

bool ArchiveFollower::appendedOnly(const FollowedFile &file, const store::files::FileStamp &now) const
{
    // An append makes the file longer and leaves the bytes read as they were; anything else that
    // changed it (a same-size rewrite included) means reading afresh.
    const store::files::FileStamp &then = file.stamp;
    if (!then.exists && now.exists && file.readTo == 0)
        return true; // a file that has appeared is read from its start, the others left as read
    if (now.exists != then.exists || now.device != then.device || now.identity != then.identity
        || now.size <= then.size)
        return false;
    QFile bytes(file.path);
    if (!bytes.open(QIODevice::ReadOnly))
        return false;
    const auto unchanged
        = [&bytes](qint64 at, const QByteArray &read) { return bytes.seek(at) && bytes.read(read.size()) == read; };
    // A last line read before its end was written is finished by a line end, not made longer.
    const bool lineEndedBefore = file.tail.isEmpty() || file.tail.back() == '\n' || file.tail.back() == '\r';
    char next = 0;
    if (!lineEndedBefore && !(bytes.seek(file.readTo) && bytes.getChar(&next) && (next == '\n' || next == '\r')))
        return false;
    const bool sampled = unchanged(file.readTo - file.tail.size(), file.tail)
        && std::all_of(file.samples.cbegin(), file.samples.cend(),
            [&](const auto &sample) { return unchanged(sample.first, sample.second); });
    // Lines inserted or edited in the middle may leave the tail and every sample as they were.
    if (!sampled || !file.digestWhole)
        return sampled;
    return digestNow(bytes, file.readTo) == file.digest;
}

void ArchiveFollower::keepSample(FollowedFile &file, qint64 at, const QByteArray &bytes)
{
    file.samples.emplace_back(at, bytes.left(sampleBytes));
    if (file.samples.size() <= mostSamples)
        return;
    // Every other one goes; the file's first bytes stay.
    std::size_t kept = 0;
    for (std::size_t i = 0; i < file.samples.size(); i += 2)
        file.samples[kept++] = std::move(file.samples[i]);
    file.samples.resize(kept);
}

void ArchiveFollower::follow()
{
    if (m_reading)
        return;
    bool grown = false;
    for (const FollowedFile &file : m_files) {
        const store::files::FileStamp now = store::files::stampOf(file.path);
        if (now == file.stamp)
            continue;
        if (!appendedOnly(file, now)) {
            readAfresh();
            return;
        }
        grown = true;
    }
    if (grown)
        readOn();
}

void ArchiveFollower::readAfresh()
{
    const bool hadAny = m_records.size() > 0 || m_report.unread.count > 0;
    m_records = {};
    m_bookmakers = {}; // no read runs now: a look waits for the last to end
    m_ledger.clear();
    m_matchedRecords = 0;
    ++m_generation;
    // A failure stands until a read works, so that the status does not flicker while it lasts.
    ReadReport fresh;
    fresh.failure = m_report.failure;
    m_report = fresh;
    for (FollowedFile &file : m_files)
        file = followed(file.path);
    m_loading = true;
    if (hadAny) {
        emit cleared();
        emit reportChanged();
    }
    readOn();
}

void ArchiveFollower::readOn()
{
    ReadStarts starts;
    qint64 size = 0;
    for (std::size_t i = 0; i < m_files.size(); ++i) {
        m_files[i].stamp = store::files::stampOf(m_files[i].path);
        starts[i] = {m_files[i].readTo, m_files[i].lines + 1};
        size += m_files[i].stamp.size - m_files[i].readTo;
    }
    m_reading = true;
    m_readsRunning = int(m_readFailures.size());
    // The records and the ledger are read side by side; the ledger's decisions wait for the end of
    // both to be matched, and come over sorted in one piece, leaving the window's thread nothing to
    // merge.
    auto done = std::make_shared<std::atomic<qint64>>(0);
    m_reader.start([this, starts, size, done] {
        QStringList failures;
        for (const std::size_t file : {archiveFile, offersFile}) {
            if (!m_stop)
                readFile(file, starts[file], *done, size, failures);
        }
        m_offerFigures.waitForDone(); // their records come before the end of the read
        QMetaObject::invokeMethod(this, [this, failures] { readEnded(0, failures); });
    });
    m_reader.start([this, starts, size, done] {
        QStringList failures;
        readFile(ledgerFile, starts[ledgerFile], *done, size, failures);
        QMetaObject::invokeMethod(this, [this, failures, decisions = m_decisionsRead.take()]() mutable {
            m_ledger.takeDecisions(std::move(decisions));
            readEnded(1, failures);
        });
    });
}

bool ArchiveFollower::readFile(
    std::size_t file, std::pair<qint64, qint64> start, std::atomic<qint64> &done, qint64 size, QStringList &failures)
{
    const QString &path = m_files[file].path; // paths never change
    auto [at, line] = start;
    qint64 chunk = at == 0 ? firstReadBytes : laterReadBytes;
    while (!m_stop) {
        qint64 end = at;
        try {
            if (file == ledgerFile) {
                LedgerBatch batch = readLedgerBatch(path, at, line, chunk);
                m_decisionsRead.add(batch);
                end = batch.end;
                line += batch.linesRead;
                if (end != at)
                    QMetaObject::invokeMethod(
                        this, [this, batch = std::move(batch)]() mutable { takeLedger(std::move(batch)); });
            } else {
                const RecordSource source = file == offersFile ? RecordSource::Offers : RecordSource::Archive;
                ArchiveBatch batch = readBatch(source, path, at, line, chunk, m_dates);
                m_bookmakers.number(batch);
                end = batch.end;
                line += batch.linesRead;
                if (end != at)
                    handOver(file, std::move(batch));
            }
        } catch (const store::FileError &error) {
            failures << QDir::toNativeSeparators(path) + QLatin1String(": ") + error.description();
            return false;
        }
        if (end == at)
            return true;
        const qint64 doneNow = done += end - at;
        at = end;
        chunk = laterReadBytes;
        const int permille = size > 0 ? int(std::min<qint64>(1000, doneNow * 1000 / size)) : 1000;
        QMetaObject::invokeMethod(this, [this, permille] {
            if (m_loading)
                emit progress(permille);
        });
    }
    return true;
}

void ArchiveFollower::handOver(std::size_t file, ArchiveBatch &&batch)
{
    const auto give = [this, file](ArchiveBatch &&batch) {
        QMetaObject::invokeMethod(
            this, [this, file, batch = std::move(batch)]() mutable { take(file, std::move(batch)); });
    };
    if (file != offersFile) {
        give(std::move(batch));
        return;
    }
    m_offerFigures.start([this, give, batch = std::move(batch)]() mutable {
        if (m_stop)
            return;
        fillOffers(batch);
        give(std::move(batch));
    });
}

void ArchiveFollower::took(std::size_t file, qint64 end, qint64 linesRead, const QByteArray &bytes)
{
    FollowedFile &followed = m_files[file];
    if (!bytes.isEmpty()) {
        followed.tail = bytes.right(tailBytes);
        keepSample(followed, end - bytes.size(), bytes);
    }
    // Bytes passed over unread (a line too long to keep) leave the digest short of the file; one
    // larger than is compared is not worked out at all.
    followed.digestWhole = followed.digestWhole && end - bytes.size() == followed.readTo && end <= mostBytesCompared;
    if (followed.digestWhole)
        followed.digest = carriedDigest(followed.digest, bytes);
    followed.readTo = end;
    followed.lines += linesRead;
}

void ArchiveFollower::take(std::size_t file, ArchiveBatch &&batch)
{
    const qsizetype first = m_records.size();
    took(file, batch.end, batch.linesRead, batch.bytes);
    m_report.unread.add(batch.unread);
    const bool recordsCame = !batch.records.empty();
    m_records.add(std::move(batch));
    if (recordsCame)
        emit added(first); // a bet the ledger names but no file held may be among them (matchDue)
    emit reportChanged();
}

void ArchiveFollower::takeLedger(LedgerBatch &&batch)
{
    // The ledger's bytes are not kept: what it says is in the book.
    took(ledgerFile, batch.end, batch.linesRead, std::exchange(batch.bytes, {}));
    m_report.unread.add(batch.unread);
    // Free bets read during a load are worked out once it has ended, not for each piece.
    const bool totalsChange = !batch.accounts.empty() || (!batch.freeBets.empty() && !m_loading);
    m_report.unread.add(m_ledger.take(std::move(batch)));
    // The decisions are matched to the records once the whole read has come in, in one pass.
    if (totalsChange)
        emit settlementsChanged();
    emit reportChanged();
}

void ArchiveFollower::matchLedger()
{
    if (m_matching) {
        m_matchAgain = true;
        return;
    }
    m_matching = true;
    m_matchedRecords = m_records.size();
    m_reader.start([this, records = m_records.view(), waiting = m_ledger.takeWaiting(),
                       generation = m_generation]() mutable {
        // A million decisions are applied here, not on the window's thread.
        BetDecisions unresolved = resolveDecisions(
            records, merged(std::move(waiting.decisions)), waiting.texts, waiting.settlements, m_stop);
        QMetaObject::invokeMethod(this,
            [this, unresolved = std::move(unresolved), generation, settled = std::move(waiting.settlements)]() mutable {
                m_matching = false;
                if (generation == m_generation) {
                    m_ledger.apply(std::move(unresolved), std::move(settled));
                    emit settlementsChanged();
                    emit reportChanged();
                }
                if (std::exchange(m_matchAgain, false) || (!m_reading && matchDue()))
                    matchLedger();
                else if (!m_reading && std::exchange(m_loading, false))
                    emit loaded();
            });
    });
}

bool ArchiveFollower::matchDue() const
{
    // Records that came during a match were not among those it looked at.
    return m_ledger.hasWaiting() || (m_ledger.hasOrphans() && m_records.size() > m_matchedRecords);
}

void ArchiveFollower::readEnded(std::size_t part, const QStringList &failures)
{
    m_readFailures[part] = failures;
    if (--m_readsRunning > 0)
        return;
    // A file that could not be read keeps the stamp it had when the read began: it is read again
    // once it has changed, not at every look.
    m_reading = false;
    const QString failure = (m_readFailures[0] + m_readFailures[1]).join(QLatin1String("; "));
    if (failure != m_report.failure) {
        m_report.failure = failure;
        emit reportChanged();
    }
    if (matchDue())
        matchLedger();
    // The load ends once the ledger's decisions have found their records.
    if (!m_matching && std::exchange(m_loading, false))
        emit loaded();
}

} // namespace history
