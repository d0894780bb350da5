// The statements folder in the data folder: each statement imported is copied there whole, named by
// its format and the start of its SHA-256, and never changed after; the history reads them all.
#pragma once

#include <map>
#include <vector>

#include <QString>
#include <QStringList>

#include "store/fileerror.h"
#include "store/statement.h"

namespace store {

QString statementsFolder(const QString &dataFolder);

// A file that is no statement of a format the program knows: the description says why, without
// naming the file (see problemWith).
class NotAStatement : public FileError
{
public:
    using FileError::FileError;
};

struct StatementFile
{
    QString fileName; // in the statements folder
    Statement statement;
};

struct ImportedStatement
{
    StatementFile copy;
    bool alreadyThere = false; // the same bytes had been imported before
};

// "name: why", for a failure to import or read the file; the description alone where it names the
// file already.
QString problemWith(const QString &path, const FileError &error);

// Reads the file and copies it into the statements folder unless the same bytes are there. Throws
// NotAStatement, quoting its first line, or FileError.
ImportedStatement importStatement(const QString &dataFolder, const QString &path);

// "2 lines could not be read: line 3: ...; line 9: ...", the first few quoted; empty when all were.
QString unreadLinesText(const Statement &statement);

// The statements in the folder, in the order of their names, and the files there that are none or
// hold lines that could not be read ("name: why"). Nothing when there is no folder. Throws
// FileError when the folder cannot be read.
struct StatementsRead
{
    std::vector<StatementFile> files;
    QStringList problems;
};
StatementsRead readStatements(const QString &dataFolder);
// The names of the statements in the folder. Under Wine a thread that lists a folder keeps the
// program from ending, so the listing is done apart, on the user-interface thread. Throws FileError.
QStringList statementFileNames(const QString &dataFolder);
// Those named, read on any thread.
StatementsRead readStatements(const QString &dataFolder, const QStringList &names);

// The exchange account each format's statements are for, as the user named it once:
// statements/accounts.ini, an [Accounts] section of "betfair-pl=Betfair" lines.
using StatementAccounts = std::map<StatementFormat, QString>;
// Those named; none where the file is missing or unreadable, since each is asked again.
StatementAccounts namedStatementAccounts(const QString &dataFolder);
// The account named for the format, or the name of its exchange.
QString accountOf(const StatementAccounts &named, StatementFormat format);
// Throws FileError.
void nameStatementAccount(const QString &dataFolder, StatementFormat format, const QString &account);

} // namespace store
