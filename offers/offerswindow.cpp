#include "offers/offerswindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "calc/numbertext.h"
#include "calc/settle.h"
#include "offers/offertab.h"
#include "store/datafiles.h"
#include "store/datafolder.h"
#include "store/fileerror.h"
#include "store/offerinputs.h"
#include "ui/windowsupport.h"

namespace offers {

namespace {

QString groupOf(const OfferTab *tab)
{
    return QString::fromUtf8(calc::betKindToken(tab->kind()));
}

QStringList bookmakersOf(const QString &dataFolder)
{
    // The calculator reports a list it cannot read; here the box simply starts empty.
    try {
        return store::readBookieList(dataFolder);
    } catch (const store::FileError &) {
        return {};
    }
}

store::NamedNumbers named(const calc::OfferValues &values)
{
    return {values.begin(), values.end()};
}

QByteArray money(double value)
{
    return calc::formatMoney(value).toLatin1();
}

// What a screen reader announces once an offer is archived: "Archived: Each way, Kempton 3:10,
// Bet365, 14:05"; an empty event or bookmaker is left out.
QString archivedLine(calc::BetKind kind, const QString &event, const QString &bookmaker, const QDateTime &when)
{
    QStringList parts {QString::fromUtf8(calc::offerTabTitle(kind))};
    for (const QString &part : {event.trimmed(), bookmaker.trimmed()}) {
        if (!part.isEmpty())
            parts << part;
    }
    parts << QLocale().toString(when.time(), QLocale::ShortFormat);
    return QStringLiteral("Archived: ") + parts.join(QStringLiteral(", "));
}

} // namespace

OffersWindow::OffersWindow(const QString &dataFolder, ui::MessageSink showMessage, QWidget *parent)
    : QWidget(parent)
    , m_dataFolder(dataFolder)
    , m_showMessage(std::move(showMessage))
{
    setObjectName(QStringLiteral("OffersWindow"));
    setWindowTitle(QStringLiteral("Offer calculators"));
    auto *tabs = new QTabWidget;
    tabs->setObjectName(QStringLiteral("offerTabs"));
    const QStringList bookmakers = bookmakersOf(dataFolder);
    for (const calc::BetKind kind : calc::offerKinds()) {
        auto *tab = new OfferTab(kind, bookmakers,
            [this, kind](const calc::OfferValues &inputs, const calc::OfferValues &figures, const QString &event,
                const QString &bookmaker,
                const OfferTab::Archived &archived) { archive(kind, inputs, figures, event, bookmaker, archived); });
        const QString title = QString::fromUtf8(calc::offerTabTitle(kind));
        tab->setAccessibleName(title);
        tabs->addTab(tab, title);
        connect(tab, &OfferTab::inputEdited, &m_saveSoon, qOverload<>(&QTimer::start));
        m_tabs << tab;
    }
    // Ctrl+Tab and Ctrl+Shift+Tab take the focus to the new tab's first input; the arrows on the
    // tab bar leave it there.
    connect(tabs, &QTabWidget::currentChanged, this, [tabs] {
        if (tabs->isVisible() && QApplication::focusWidget() != static_cast<QWidget *>(tabs->tabBar()))
            tabs->currentWidget()->setFocus();
    });
    for (QToolButton *scroll : tabs->tabBar()->findChildren<QToolButton *>())
        scroll->setFocusPolicy(Qt::NoFocus); // the arrows on the tab bar scroll it
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    loadInputs();
    m_saveSoon.setSingleShot(true);
    m_saveSoon.setInterval(500);
    connect(&m_saveSoon, &QTimer::timeout, this, &OffersWindow::saveInputs);
    tabs->currentWidget()->setFocus();
    ui::fitIntoScreen(this, QSize(640, 680));
    ui::keepAboveOthers(this);
}

void OffersWindow::closeEvent(QCloseEvent *event)
{
    m_saveFailed = false; // the last chance: said again if it still fails
    saveInputs();
    QWidget::closeEvent(event);
}

void OffersWindow::loadInputs()
{
    // Said once the window is up, not from its constructor: a box's event loop must not run inside it.
    const auto sayLater = [this](const QString &text) {
        QMetaObject::invokeMethod(
            this, [this, text] { ui::openMessage(this, m_showMessage, text); }, Qt::QueuedConnection);
    };
    const QString path = QDir::toNativeSeparators(store::offerInputsPath(m_dataFolder));
    store::OfferInputsRead read;
    try {
        read = store::readOfferInputs(m_dataFolder);
    } catch (const store::FileError &error) {
        sayLater(QStringLiteral("Error: the inputs could not be read from %1: %2").arg(path, error.description()));
        return;
    }
    for (OfferTab *tab : std::as_const(m_tabs))
        tab->setTexts(read.sections[groupOf(tab)]);
    if (read.ignored > 0)
        sayLater(QStringLiteral("Error: %1 in %2 could not be an input and %3 ignored.")
                     .arg(read.ignored == 1 ? QStringLiteral("1 line") : QStringLiteral("%1 lines").arg(read.ignored),
                         path, read.ignored == 1 ? QStringLiteral("was") : QStringLiteral("were")));
}

void OffersWindow::saveInputs()
{
    // Only what was typed here: another window's inputs stay as that window saved them.
    m_saveSoon.stop();
    store::OfferInputSections edited;
    for (OfferTab *tab : std::as_const(m_tabs)) {
        if (store::InputTexts texts = tab->edited(); !texts.empty())
            edited[groupOf(tab)] = std::move(texts);
    }
    if (edited.empty())
        return;
    try {
        store::saveOfferInputs(m_dataFolder, edited);
    } catch (const store::FileError &error) {
        // Kept as edited, to be saved with the next change or at closing.
        if (!std::exchange(m_saveFailed, true))
            ui::openMessage(this, m_showMessage,
                QStringLiteral("Error: the inputs could not be saved in %1: %2")
                    .arg(QDir::toNativeSeparators(store::offerInputsPath(m_dataFolder)), error.description()));
        return;
    }
    m_saveFailed = false;
    for (OfferTab *tab : std::as_const(m_tabs))
        tab->markSaved(edited[groupOf(tab)]);
}

void OffersWindow::archive(calc::BetKind kind, const calc::OfferValues &inputs, const calc::OfferValues &figures,
    const QString &event, const QString &bookmaker, const OfferTab::Archived &archived)
{
    store::NamedTexts shown;
    for (const calc::OfferOutput &output : calc::offerShape(kind, inputs).outputs)
        shown.emplace_back(output.key, money(figures.at(output.key)));
    const calc::OfferSummary summary = calc::summarizeOffer(kind, inputs, figures);
    store::OfferRecord record {QDateTime(), std::string(calc::betKindToken(kind)), event, bookmaker, summary.stake,
        money(summary.lowest), money(summary.highest), named(inputs), shown};
    // A second press with nothing changed is the usual way a bet comes to be recorded twice.
    const auto last = m_lastArchived.find(kind);
    if (last == m_lastArchived.end() || last->second != record)
        return append(kind, record, archived);
    ui::openConfirm(this, m_confirm, QStringLiteral("This offer is already archived. Archive it again?"),
        [this, kind, record, archived] { append(kind, record, archived); });
}

void OffersWindow::append(calc::BetKind kind, store::OfferRecord record, const OfferTab::Archived &archived)
{
    m_lastArchived[kind] = record;
    record.when = m_clock();
    try {
        store::appendOffer(m_dataFolder, record);
    } catch (const store::FileError &error) {
        m_lastArchived.erase(kind);
        ui::openMessage(this, m_showMessage, QStringLiteral("Error: ") + error.description());
        return;
    }
    archived(archivedLine(kind, record.event, record.bookmaker, record.when));
}

} // namespace offers
