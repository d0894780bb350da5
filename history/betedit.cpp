#include "history/betedit.h"

#include <algorithm>
#include <array>

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

// The edit typed, or nothing when nothing changed or a field is refused, which the message sink is
// told.
std::optional<BetEdit> editOf(
    const QStringList &typed, const Texts &before, const ui::MessageSink &show, QWidget *parent)
{
    Texts edited;
    std::copy(typed.cbegin(), typed.cend(), edited.begin());
    edited = trimmed(edited);
    const auto refuse = [&](const QString &why) {
        ui::openMessage(parent, show, why + QStringLiteral("; nothing was changed."));
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

} // namespace

void openBetEdit(QWidget *parent, const ui::AskSink &ask, const ui::MessageSink &show, const BetEdit &initial,
    const std::function<void(const BetEdit &)> &edited)
{
    const Texts before {initial.mending.event, initial.mending.bookmaker, initial.exchange, initial.mending.note};
    QList<ui::AskedText> asked;
    for (std::size_t i = 0; i < fieldCount; ++i)
        asked.append({question(i), before[i]});
    const auto typed = [parent, show, before, edited](const QStringList &texts) {
        if (const std::optional<BetEdit> edit = editOf(texts, before, show, parent))
            edited(*edit);
    };
    ui::openTexts(parent, ask, asked, typed, int(longestEditedText));
}

} // namespace history
