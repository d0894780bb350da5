#include "tracker/statementswork.h"

#include <QDateTime>
#include <variant>

#include <QDir>
#include <QLocale>

#include "calc/numbertext.h"

namespace history {

namespace {

// The statements of the files named, or the problem that kept the folder from being listed.
std::shared_ptr<const store::StatementsRead> readFolder(
    const QString &dataFolder, const std::variant<QStringList, QString> &names)
{
    auto read = std::make_shared<store::StatementsRead>();
    if (const QString *problem = std::get_if<QString>(&names))
        read->problems << *problem;
    else
        *read = store::readStatements(dataFolder, std::get<QStringList>(names));
    return read;
}

std::variant<QStringList, QString> namesIn(const QString &dataFolder)
{
    try {
        return store::statementFileNames(dataFolder);
    } catch (const store::FileError &error) {
        return error.description();
    }
}

QStringList uncoveredTexts(const Reconciliation &result, const HistoryView &view, const QLocale &locale)
{
    QStringList texts;
    for (const qsizetype record : result.uncovered) {
        const Settlement &settlement = view.settlements.at(record);
        texts << shownMoment(view.records.at(record).when, locale) << eventOf(view, record)
              << view.settlements.exchanges().value(settlement.exchange)
              << calc::formatPennies(settlement.payout.profit(), locale);
    }
    return texts;
}

} // namespace

StatementsWork::StatementsWork(const QString &dataFolder, QObject *parent)
    : QObject(parent)
    , m_dataFolder(dataFolder)
{
    m_worker.setMaxThreadCount(1);
    m_worker.setExpiryTimeout(-1);
    m_stamp = folderStamp();
    m_look.setInterval(2000);
    connect(&m_look, &QTimer::timeout, this, &StatementsWork::lookAtFolder);
    m_look.start();
}

StatementsWork::~StatementsWork()
{
    m_latest->fetch_add(1); // what waits is dropped
    m_worker.waitForDone();
}

QString StatementsWork::folderStamp() const
{
    QString stamp;
    const QFileInfoList files = QDir(store::statementsFolder(m_dataFolder)).entryInfoList(QDir::Files, QDir::Name);
    for (const QFileInfo &file : files)
        stamp += QStringLiteral("%1/%2/%3\n")
                     .arg(file.fileName())
                     .arg(file.size())
                     .arg(file.lastModified().toMSecsSinceEpoch());
    return stamp;
}

void StatementsWork::lookAtFolder()
{
    QString stamp = folderStamp();
    if (stamp != std::exchange(m_stamp, stamp))
        emit folderChanged();
}

void StatementsWork::import(const QStringList &paths)
{
    m_worker.start([this, paths, folder = m_dataFolder] {
        QStringList failures;
        std::vector<store::StatementFormat> unnamed;
        const store::StatementAccounts named = store::namedStatementAccounts(folder);
        for (const QString &path : paths) {
            try {
                const store::StatementFormat format = store::importStatement(folder, path).copy.statement.format;
                if (!named.contains(format) && std::find(unnamed.begin(), unnamed.end(), format) == unnamed.end())
                    unnamed.push_back(format);
            } catch (const store::FileError &error) {
                failures << store::problemWith(path, error);
            }
        }
        QMetaObject::invokeMethod(this, [this, failures, unnamed] {
            m_stamp = folderStamp(); // the imports are no change to read again for
            emit imported(failures, unnamed);
        });
    });
}

void StatementsWork::reconcile(const HistoryView &view, const AccountLines &accountLines, bool readAgain)
{
    if (!readAgain && m_files && !hasStatements())
        return;
    const int generation = m_latest->fetch_add(1) + 1;
    std::shared_ptr<const store::StatementsRead> files = readAgain ? nullptr : m_files;
    m_worker.start([this, latest = m_latest, generation, view, accountLines, folder = m_dataFolder, files,
                       names = files ? std::variant<QStringList, QString>() : namesIn(m_dataFolder)] {
        if (*latest != generation)
            return; // a later reconciling supersedes this one
        auto shown = std::make_shared<ReconciledStatements>();
        shown->files = files ? files : readFolder(folder, names);
        const store::StatementAccounts named = store::namedStatementAccounts(folder);
        const AccountOfFormat accountOf
            = [&named](store::StatementFormat format) { return store::accountOf(named, format); };
        auto result
            = std::make_shared<Reconciliation>(history::reconcile(shown->files->files, accountOf, view, accountLines));
        const QLocale locale;
        shown->rows = statementRows(*result, view, locale);
        shown->uncovered = uncoveredTexts(*result, view, locale);
        shown->result = std::move(result);
        QMetaObject::invokeMethod(this, [this, latest, generation, shown = std::move(shown)] {
            m_files = shown->files;
            if (*latest == generation)
                emit reconciled(shown);
        });
    });
}

} // namespace history
