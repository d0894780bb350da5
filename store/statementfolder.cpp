#include "store/statementfolder.h"

#include <QDir>
#include <QFileInfo>

#include "store/files.h"
#include "store/iniread.h"
#include "store/iniwrite.h"
#include "store/sha256.h"

namespace store {

namespace {

constexpr qint64 largestStatement = qint64(256) * 1024 * 1024;
constexpr int digestLettersInName = 16;

QByteArray statementBytes(const QString &path)
{
    if (QFileInfo(path).size() > largestStatement)
        throw NotAStatement(QStringLiteral("too large to be a statement"));
    return files::readAll(path);
}

Statement statementIn(const QByteArray &bytes)
{
    std::optional<Statement> statement = readStatement(bytes);
    if (!statement && bytes.trimmed().isEmpty())
        throw NotAStatement(QStringLiteral("empty, not an exchange statement"));
    if (!statement) {
        throw NotAStatement(QStringLiteral("not an exchange statement Vantrel knows; its first line is \"%1\"")
                                .arg(firstLineShown(bytes)));
    }
    return std::move(*statement);
}

QString copyName(StatementFormat format, const QByteArray &bytes)
{
    const QByteArray digest = hexOf(sha256(bytes)).left(digestLettersInName);
    return QStringLiteral("%1-%2.csv").arg(QLatin1String(formatInfo(format).fileKey), QLatin1String(digest));
}

const QString accountsSection = QStringLiteral("Accounts");

QString accountsPath(const QString &dataFolder)
{
    return statementsFolder(dataFolder) + QStringLiteral("/accounts.ini");
}

} // namespace

QString problemWith(const QString &path, const FileError &error)
{
    const QString name = QDir::toNativeSeparators(path);
    if (error.description().contains(name))
        return error.description();
    return QStringLiteral("%1: %2").arg(name, error.description());
}

QString statementsFolder(const QString &dataFolder)
{
    return dataFolder + QStringLiteral("/statements");
}

ImportedStatement importStatement(const QString &dataFolder, const QString &path)
{
    const QByteArray bytes = statementBytes(path);
    ImportedStatement imported;
    imported.copy.statement = statementIn(bytes);
    imported.copy.fileName = copyName(imported.copy.statement.format, bytes);
    const QString folder = statementsFolder(dataFolder);
    files::makeSureOfFolder(folder);
    const QString copy = folder + QLatin1Char('/') + imported.copy.fileName;
    imported.alreadyThere = QFileInfo::exists(copy);
    files::createIfMissing(copy, bytes);
    return imported;
}

QStringList statementFileNames(const QString &dataFolder)
{
    const QString folder = statementsFolder(dataFolder);
    files::requireFolderOrNothing(folder);
    return QDir(folder).entryList({QStringLiteral("*.csv")}, QDir::Files, QDir::Name);
}

StatementsRead readStatements(const QString &dataFolder)
{
    return readStatements(dataFolder, statementFileNames(dataFolder));
}

StatementsRead readStatements(const QString &dataFolder, const QStringList &names)
{
    const QString folder = statementsFolder(dataFolder);
    StatementsRead read;
    for (const QString &name : names) {
        const QString path = folder + QLatin1Char('/') + name;
        try {
            const QByteArray bytes = statementBytes(path);
            read.files.push_back({name, statementIn(bytes)});
            if (const QString unread = unreadLinesText(read.files.back().statement); !unread.isEmpty())
                read.problems.append(QStringLiteral("%1: %2").arg(name, unread));
        } catch (const FileError &error) {
            read.problems.append(problemWith(name, error));
        }
    }
    return read;
}

QString unreadLinesText(const Statement &statement)
{
    if (statement.unreadCount == 0)
        return {};
    QStringList samples;
    for (const UnreadStatementLine &line : statement.unreadSamples)
        samples << QStringLiteral("line %1: %2").arg(line.lineNumber).arg(line.text);
    const QString count
        = statement.unreadCount == 1 ? QStringLiteral("1 line") : QStringLiteral("%1 lines").arg(statement.unreadCount);
    return QStringLiteral("%1 could not be read: %2").arg(count, samples.join(QLatin1String("; ")));
}

StatementAccounts namedStatementAccounts(const QString &dataFolder)
{
    StatementAccounts named;
    const QString path = accountsPath(dataFolder);
    if (!QFileInfo(path).isFile())
        return named;
    try {
        for (const StatementFormatInfo &info : statementFormats()) {
            const QString account = ReadIniValue(path, accountsSection, QLatin1String(info.fileKey)).trimmed();
            if (!account.isEmpty())
                named[info.format] = account;
        }
    } catch (const FileError &) {
        named.clear();
    }
    return named;
}

QString accountOf(const StatementAccounts &named, StatementFormat format)
{
    const auto found = named.find(format);
    return found != named.end() ? found->second : QString::fromLatin1(formatInfo(format).exchange);
}

void nameStatementAccount(const QString &dataFolder, StatementFormat format, const QString &account)
{
    files::makeSureOfFolder(statementsFolder(dataFolder));
    WriteIniValue(accountsPath(dataFolder), accountsSection, QLatin1String(formatInfo(format).fileKey), account);
}

} // namespace store
