#include "history/archivefollower.h"

#include <algorithm>

#include <QDir>
#include <QFile>

#include "store/datafolder.h"
#include "store/fileerror.h"

namespace history {

namespace {

// The first read is small, so that the first rows show at once; the rest come in larger pieces.
constexpr qint64 firstReadBytes = 256 * 1024;
constexpr qint64 laterReadBytes = 8 * 1024 * 1024;
constexpr qsizetype tailBytes = 64;
// Bytes kept from the start of a few reads, thinned out as the file grows so that they stay spread
// over it: an earlier line edited in place while the file grows shows there.
constexpr qsizetype sampleBytes = 64;
constexpr std::size_t mostSamples = 16;

} // namespace

ArchiveFollower::FollowedFile ArchiveFollower::followed(const QString &path, RecordSource source)
{
    FollowedFile file;
    file.path = path;
    file.source = source;
    return file;
}

ArchiveFollower::ArchiveFollower(const QString &dataFolder, QObject *parent)
    : QObject(parent)
    , m_files {followed(store::archivePath(dataFolder), RecordSource::Archive),
          followed(store::offersPath(dataFolder), RecordSource::Offers)}
    , m_dates(QLocale())
{
    m_reader.setMaxThreadCount(1);
    m_reader.setExpiryTimeout(-1);
    m_look.setInterval(500);
    connect(&m_look, &QTimer::timeout, this, &ArchiveFollower::follow);
}

ArchiveFollower::~ArchiveFollower()
{
    m_stop = true;
    m_reader.waitForDone();
}

void ArchiveFollower::start()
{
    m_loading = true;
    readOn();
    m_look.start();
}

bool ArchiveFollower::appendedOnly(const FollowedFile &file, const store::files::FileStamp &now) const
{
    // An append makes the file longer and leaves the bytes read as they were; anything else that
    // changed it (a same-size rewrite included) means reading afresh.
    const store::files::FileStamp &then = file.stamp;
    if (!then.exists && now.exists && file.readTo == 0)
        return true; // a file that has appeared is read from its start, the other left as read
    if (now.exists != then.exists || now.device != then.device || now.identity != then.identity
        || now.size <= then.size)
        return false;
    QFile bytes(file.path);
    if (!bytes.open(QIODevice::ReadOnly))
        return false;
    const auto unchanged
        = [&bytes](qint64 at, const QByteArray &read) { return bytes.seek(at) && bytes.read(read.size()) == read; };
    return unchanged(file.readTo - file.tail.size(), file.tail)
        && std::all_of(file.samples.cbegin(), file.samples.cend(),
            [&](const auto &sample) { return unchanged(sample.first, sample.second); });
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
    const bool hadAny = m_records.size() > 0 || m_report.unreadCount > 0;
    m_records = {};
    // A failure stands until a read works, so that the status does not flicker while it lasts.
    ReadReport fresh;
    fresh.failure = m_report.failure;
    m_report = fresh;
    for (FollowedFile &file : m_files)
        file = followed(file.path, file.source);
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
        size += m_files[i].stamp.size;
    }
    m_reading = true;
    m_reader.start([this, starts, size, files = m_files] {
        QStringList failures;
        qint64 done = 0;
        for (std::size_t i = 0; i < files.size() && !m_stop; ++i) {
            auto [at, line] = starts[i];
            qint64 chunk = at == 0 ? firstReadBytes : laterReadBytes;
            while (!m_stop) {
                ArchiveBatch batch;
                try {
                    batch = readBatch(files[i].source, files[i].path, at, line, chunk, m_dates);
                } catch (const store::FileError &error) {
                    failures << QDir::toNativeSeparators(files[i].path) + QLatin1String(": ") + error.description();
                    break;
                }
                if (batch.end == at)
                    break;
                done += batch.end - at;
                at = batch.end;
                line += batch.linesRead;
                chunk = laterReadBytes;
                const int permille = size > 0 ? int(std::min<qint64>(1000, done * 1000 / size)) : 1000;
                QMetaObject::invokeMethod(this, [this, i, batch = std::move(batch), permille]() mutable {
                    take(int(i), std::move(batch));
                    if (m_loading)
                        emit progress(permille);
                });
            }
        }
        QMetaObject::invokeMethod(this, [this, failure = failures.join(QLatin1String("; "))] { readEnded(failure); });
    });
}

void ArchiveFollower::take(int file, ArchiveBatch &&batch)
{
    FollowedFile &followed = m_files[std::size_t(file)];
    const qsizetype first = m_records.size();
    followed.readTo = batch.end;
    if (!batch.bytes.isEmpty()) {
        followed.tail = batch.bytes.right(tailBytes);
        keepSample(followed, batch.end - batch.bytes.size(), batch.bytes);
    }
    followed.lines += batch.linesRead;
    m_report.unreadCount += batch.unreadCount;
    for (const QString &sample : std::as_const(batch.unreadSamples)) {
        if (m_report.unreadSamples.size() < ArchiveBatch::keptSamples)
            m_report.unreadSamples << sample;
    }
    const bool recordsCame = !batch.records.empty();
    m_records.add(std::move(batch));
    if (recordsCame)
        emit added(first);
    emit reportChanged();
}

void ArchiveFollower::readEnded(const QString &failure)
{
    // A file that could not be read keeps the stamp it had when the read began: it is read again
    // once it has changed, not at every look.
    m_reading = false;
    if (failure != m_report.failure) {
        m_report.failure = failure;
        emit reportChanged();
    }
    if (std::exchange(m_loading, false))
        emit loaded();
}

} // namespace history
