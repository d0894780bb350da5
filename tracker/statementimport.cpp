#include "tracker/statementimport.h"

#include <QDir>
#include <QEventLoop>

#include "store/fileerror.h"
#include "text/counted.h"
#include "tracker/archivefollower.h"
#include "tracker/reconcile.h"

namespace history {

namespace {

// The records and the ledger as they stand, read to their ends.
void load(ArchiveFollower &follower)
{
    QEventLoop loop;
    QObject::connect(&follower, &ArchiveFollower::loaded, &loop, &QEventLoop::quit);
    follower.start();
    if (follower.isLoading())
        loop.exec();
    if (!follower.report().failure.isEmpty())
        throw store::FileError(follower.report().failure);
}

QString reportOf(const QString &path, const store::Statement &statement, qsizetype fresh, const Reconciliation &result)
{
    const auto matched = std::count_if(
        result.markets.begin(), result.markets.end(), [](const MarketMatch &match) { return !match.records.empty(); });
    const auto proposed = std::count_if(result.markets.begin(), result.markets.end(), [](const MarketMatch &match) {
        return match.state == MarketState::Proposed || match.state == MarketState::Choose;
    }) + qsizetype(result.transfers.size());
    QString report
        = QStringLiteral("%1: %2, %3, %4 new, %5 matched, %6 proposed")
              .arg(QDir::toNativeSeparators(path), QLatin1String(store::formatInfo(statement.format).name),
                  text::counted(qsizetype(statement.lines.size()), QStringLiteral("line"), QStringLiteral("lines")))
              .arg(fresh)
              .arg(matched)
              .arg(proposed);
    if (statement.unreadCount > 0)
        report += QStringLiteral("; ") + store::unreadLinesText(statement);
    return report;
}

} // namespace

ImportOutcome importStatements(const QString &dataFolder, const QStringList &paths)
{
    ArchiveFollower follower(dataFolder);
    load(follower);
    const HistoryView view(follower.records().view(), follower.ledger().settlements());
    const store::StatementAccounts named = store::namedStatementAccounts(dataFolder);
    const AccountOfFormat accountOf
        = [&named](store::StatementFormat format) { return store::accountOf(named, format); };
    std::vector<StatementEntry> known = distinctEntries(store::readStatements(dataFolder).files, accountOf);
    ImportOutcome outcome;
    for (const QString &path : paths) {
        try {
            store::ImportedStatement imported = store::importStatement(dataFolder, path);
            const store::Statement &statement = imported.copy.statement;
            const qsizetype fresh = newLineCount(known, statement, accountOf(statement.format));
            std::vector<store::StatementFile> files {imported.copy};
            const Reconciliation result = reconcile(files, accountOf, view, follower.ledger().accountLines());
            outcome.reports.append(reportOf(path, statement, fresh, result));
            known = distinctEntries(store::readStatements(dataFolder).files, accountOf);
        } catch (const store::FileError &error) {
            outcome.failures.append(store::problemWith(path, error));
        }
    }
    return outcome;
}

} // namespace history
