// A child process for the fault tests: it runs one file operation of the program, so that a test
// can limit its file size, kill it in the middle or run two at once. Exits 3 with the failure's description when
// the operation reports one. "start" starts the main window as the program does and prints what it
// shows: the six inputs and the number of bookmakers, or its message.
#include <cstdio>
#include <memory>
#include <string_view>
#include <utility>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QStringList>

#include "app/vantrel.h"
#include "store/archive.h"
#include "store/datafiles.h"
#include "store/fileerror.h"
#include "store/iniwrite.h"
#include "store/ledger.h"
#include "store/offerfile.h"
#include "store/offerinputs.h"

namespace {

int start(const QString &folder)
{
    QString message;
    const Vantrel window(folder, [&message](const QString &text) { message = text; });
    if (!message.isEmpty()) {
        std::fputs(qPrintable(message), stderr);
        return 3;
    }
    QStringList shown;
    for (const char *name : {"txtStake", "txtStakeForfeit", "txtBackOdds", "txtLayOdds", "txtBackComm", "txtLayComm"})
        shown << window.findChild<QLineEdit *>(QLatin1String(name))->text();
    shown << QString::number(window.findChild<QComboBox *>(QStringLiteral("cboBookies"))->count());
    std::fputs(qPrintable(shown.join(QLatin1Char(' '))), stdout);
    return 0;
}

// offer FOLDER EVENT [COUNT]: refund offers with that event, numbered when there are several; goes
// on after a failure, prints the events saved, one a line, and exits 3 when one failed.
int appendOffers(const QString &folder, const QString &event, int count)
{
    bool failed = false;
    for (int i = 0; i < count; ++i) {
        const QString numbered = count > 1 ? event + QLatin1Char(' ') + QString::number(i) : event;
        try {
            store::appendOffer(folder,
                {QDateTime(QDate(2026, 12, 8), QTime(14, 5)), "refund", numbered, QStringLiteral("Coral"), 20, "11.08",
                    "11.08", {{"backStake", 20}}, {{"layStake", "16.41"}}});
            std::printf("%s\n", qPrintable(numbered));
        } catch (const store::FileError &error) {
            if (!std::exchange(failed, true))
                std::fputs(qPrintable(error.description()), stderr);
        }
    }
    return failed ? 3 : 0;
}

} // namespace

int main(int argc, char *argv[])
{
    // Only the window needs the GUI, whose start-up talks on standard error.
    const bool window = argc > 1 && std::string_view(argv[1]) == "start";
    const auto app
        = window ? std::make_unique<QApplication>(argc, argv) : std::make_unique<QCoreApplication>(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    try {
        if (args.value(0) == QLatin1String("settings")) {
            // settings PATH VALUE1 VALUE2 COUNT: writes the two values in turn, COUNT times (0: for ever).
            const int count = args.value(4).toInt();
            for (int i = 0; count == 0 || i < count; ++i)
                WriteIniValue(args[1], QStringLiteral("Default"), QStringLiteral("Stake"), args[2 + i % 2]);
        } else if (args.value(0) == QLatin1String("archive")) {
            store::appendToArchive(args[1], args[2]);
        } else if (args.value(0) == QLatin1String("offer")) {
            return appendOffers(args[1], args[2], args.value(3, QStringLiteral("1")).toInt());
        } else if (args.value(0) == QLatin1String("ledger")) {
            // ledger FOLDER NOTE: a deposit with that note.
            store::appendToLedger(args[1],
                {{QDateTime(QDate(2026, 12, 8), QTime(14, 5)), store::LedgerAction::Deposit, std::nullopt, {}, 10,
                    QStringLiteral("Coral"), args[2], {}}});
        } else if (args.value(0) == QLatin1String("inputs")) {
            // inputs FOLDER SECTION COUNT: saves keys 0 to COUNT - 1 in that section, one save each.
            for (int i = 0; i < args.value(3).toInt(); ++i)
                store::saveOfferInputs(args[1], {{args[2], {{QString::number(i), QString::number(i)}}}});
        } else if (args.value(0) == QLatin1String("defaults")) {
            store::ensureDataFiles(args[1]);
        } else if (args.value(0) == QLatin1String("start")) {
            return start(args[1]);
        } else {
            return 2;
        }
    } catch (const store::FileError &error) {
        std::fputs(qPrintable(error.description()), stderr);
        return 3;
    }
    return 0;
}
