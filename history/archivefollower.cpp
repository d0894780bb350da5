#include "history/archivefollower.h"

#include <QFile>

#include "store/fileerror.h"

namespace history {

namespace {

// The first read is small, so that the first rows show at once; the rest come in larger pieces.
constexpr qint64 firstReadBytes = 256 * 1024;
constexpr qint64 laterReadBytes = 8 * 1024 * 1024;
constexpr qsizetype tailBytes = 64;

} // namespace

ArchiveFollower::ArchiveFollower(const QString &archivePath, QObject *parent)
    : QObject(parent)
    , m_path(archivePath)
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
    readFrom(0);
    m_look.start();
}

void ArchiveFollower::follow()
{
    if (m_reading)
        return;
    const store::files::FileStamp now = store::files::stampOf(m_path);
    if (now == m_stamp)
        return;
    const bool sameFile
        = now.exists == m_stamp.exists && now.device == m_stamp.device && now.identity == m_stamp.identity;
    // An append makes the file longer and leaves the bytes read as they were; anything else that
    // changed it (a same-size rewrite included) means reading it afresh.
    const bool appended = sameFile && now.size > m_stamp.size && tailUnchanged();
    if (!appended)
        readAfresh();
    else
        readFrom(m_readTo);
}

bool ArchiveFollower::tailUnchanged() const
{
    QFile file(m_path);
    return file.open(QIODevice::ReadOnly) && file.seek(m_readTo - m_tail.size()) && file.read(m_tail.size()) == m_tail;
}

void ArchiveFollower::readAfresh()
{
    const bool hadAny = m_readTo > 0;
    m_records = {};
    // A failure stands until a read works, so that the status does not flicker while it lasts.
    ReadReport fresh;
    fresh.failure = m_report.failure;
    m_report = fresh;
    m_readTo = 0;
    m_tail.clear();
    m_loading = true;
    if (hadAny) {
        emit cleared();
        emit reportChanged();
    }
    readFrom(0);
}

void ArchiveFollower::readFrom(qint64 from)
{
    m_stamp = store::files::stampOf(m_path);
    m_reading = true;
    m_reader.start([this, from, firstLine = m_report.lines + 1, size = m_stamp.size] {
        qint64 at = from;
        qint64 line = firstLine;
        qint64 chunk = from == 0 ? firstReadBytes : laterReadBytes;
        QString failure;
        while (!m_stop) {
            ArchiveBatch batch;
            try {
                batch = readBatch(m_path, at, line, chunk, m_dates);
            } catch (const store::FileError &error) {
                failure = error.description();
                break;
            }
            if (batch.end == at)
                break;
            at = batch.end;
            line += batch.linesRead;
            chunk = laterReadBytes;
            const int permille = size > 0 ? int(std::min<qint64>(1000, at * 1000 / size)) : 1000;
            QMetaObject::invokeMethod(this, [this, batch = std::move(batch), permille]() mutable {
                take(std::move(batch));
                if (m_loading)
                    emit progress(permille);
            });
        }
        QMetaObject::invokeMethod(this, [this, failure] { readEnded(failure); });
    });
}

void ArchiveFollower::take(ArchiveBatch &&batch)
{
    const qsizetype first = m_records.size();
    m_readTo = batch.end;
    if (!batch.bytes.isEmpty())
        m_tail = batch.bytes.right(tailBytes);
    m_report.lines += batch.linesRead;
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
    m_reading = false;
    if (!failure.isEmpty())
        m_stamp = {}; // the next look tries again from the start
    if (failure != m_report.failure) {
        m_report.failure = failure;
        emit reportChanged();
    }
    if (std::exchange(m_loading, false))
        emit loaded();
}

} // namespace history
