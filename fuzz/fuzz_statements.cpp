// Feeds arbitrary bytes to the statement reader and the amounts and dates it reads: a statement is
// known by its header alone, every other line is either a line of money or counted as unreadable,
// and no amount leaves the range a sum of fifty thousand lines keeps within.
#include <cstdint>
#include <cstdlib>

#include <QByteArray>

#include "store/statement.h"
#include "text/lines.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    if (const std::optional<std::int64_t> amount = store::statementAmount(input)) {
        if (*amount >= 10'000'000'000'000 || *amount <= -10'000'000'000'000)
            std::abort();
    }
    store::statementMoment(input);
    const std::optional<store::Statement> statement = store::readStatement(input);
    if (!statement)
        return 0;
    const qsizetype lines = text::lineViews(input).size();
    if (qsizetype(statement->lines.size()) + statement->unreadCount >= lines)
        std::abort(); // the header is no line of money
    for (const store::StatementLine &line : statement->lines) {
        if (line.lineNumber < 2 || line.lineNumber > lines)
            std::abort();
    }
    return 0;
}
