#include "history/betedit.h"

#include <array>

#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>

namespace history {

namespace {

constexpr std::size_t fieldCount = 4;
using Texts = std::array<QString, fieldCount>;

constexpr std::array<const char *, fieldCount> names {"Event", "Bookmaker", "Exchange", "Note"};

QString question(std::size_t field)
{
    return QLatin1String(names[field]) + QLatin1Char(':');
}

Texts trimmed(Texts texts)
{
    for (QString &text : texts)
        text = text.trimmed();
    return texts;
}

std::optional<Texts> typedInBox(QWidget *parent, const Texts &initial)
{
    QDialog dialog(parent);
    dialog.setWindowTitle(QStringLiteral("Vantrel"));
    auto *layout = new QFormLayout(&dialog);
    std::array<QLineEdit *, fieldCount> edits {};
    for (std::size_t i = 0; i < fieldCount; ++i) {
        edits[i] = new QLineEdit(initial[i], &dialog);
        edits[i]->setAccessibleName(question(i));
        edits[i]->setMaxLength(int(longestEditedText));
        layout->addRow(question(i), edits[i]);
    }
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    layout->addRow(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    Texts typed;
    for (std::size_t i = 0; i < fieldCount; ++i)
        typed[i] = edits[i]->text();
    return typed;
}

std::optional<Texts> typedOneByOne(const ui::AskSink &ask, const Texts &initial)
{
    Texts typed;
    for (std::size_t i = 0; i < fieldCount; ++i) {
        const std::optional<QString> answer = ask(question(i), initial[i]);
        if (!answer)
            return std::nullopt;
        typed[i] = *answer;
    }
    return typed;
}

} // namespace

std::optional<BetEdit> askBetEdit(
    QWidget *parent, const ui::AskSink &ask, const ui::MessageSink &show, const BetEdit &initial)
{
    const Texts before {initial.mending.event, initial.mending.bookmaker, initial.exchange, initial.mending.note};
    const std::optional<Texts> typed = ask ? typedOneByOne(ask, before) : typedInBox(parent, before);
    if (!typed)
        return std::nullopt;
    const Texts edited = trimmed(*typed);
    const auto refuse = [&](const QString &why) {
        ui::showMessage(parent, show, why + QStringLiteral("; nothing was changed."));
        return std::nullopt;
    };
    if (edited[1].isEmpty())
        return refuse(QStringLiteral("Type the bookmaker"));
    for (std::size_t i = 0; i < fieldCount; ++i) {
        if (edited[i].size() > longestEditedText)
            return refuse(QStringLiteral("%1 takes at most %2 characters").arg(names[i]).arg(longestEditedText));
    }
    if (edited == trimmed(before))
        return std::nullopt;
    const auto &[event, bookmaker, exchange, note] = edited;
    return BetEdit {{event, bookmaker, note, {}}, exchange};
}

} // namespace history
