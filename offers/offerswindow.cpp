#include "offers/offerswindow.h"

#include <QCloseEvent>
#include <QDir>
#include <QTabWidget>
#include <QVBoxLayout>

#include "calc/numbertext.h"
#include "calc/settle.h"
#include "offers/offertab.h"
#include "store/datafiles.h"
#include "store/datafolder.h"
#include "store/fileerror.h"
#include "store/offerfile.h"
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
                const QString &bookmaker) { archive(kind, inputs, figures, event, bookmaker); });
        const QString title = QString::fromUtf8(calc::offerTabTitle(kind));
        tab->setAccessibleName(title);
        tabs->addTab(tab, title);
        m_tabs << tab;
    }
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    loadInputs();
    tabs->currentWidget()->setFocus();
    resize(640, 680);
    ui::keepAboveOthers(this);
}

void OffersWindow::closeEvent(QCloseEvent *event)
{
    saveInputs();
    QWidget::closeEvent(event);
}

void OffersWindow::loadInputs()
{
    const QString path = QDir::toNativeSeparators(store::offerInputsPath(m_dataFolder));
    store::OfferInputsRead read;
    try {
        read = store::readOfferInputs(m_dataFolder);
    } catch (const store::FileError &error) {
        ui::showMessage(this, m_showMessage,
            QStringLiteral("Error: the inputs could not be read from %1: %2").arg(path, error.description()));
        return;
    }
    for (OfferTab *tab : std::as_const(m_tabs))
        tab->setTexts(read.sections[groupOf(tab)]);
    if (read.ignored > 0)
        ui::showMessage(this, m_showMessage,
            QStringLiteral("Error: %1 in %2 could not be an input and %3 ignored.")
                .arg(read.ignored == 1 ? QStringLiteral("1 line") : QStringLiteral("%1 lines").arg(read.ignored), path,
                    read.ignored == 1 ? QStringLiteral("was") : QStringLiteral("were")));
}

void OffersWindow::saveInputs()
{
    // Only what was typed here: another window's inputs stay as that window saved them.
    store::OfferInputSections edited;
    for (OfferTab *tab : std::as_const(m_tabs)) {
        if (store::InputTexts texts = tab->takeEdited(); !texts.empty())
            edited[groupOf(tab)] = std::move(texts);
    }
    if (edited.empty())
        return;
    try {
        store::saveOfferInputs(m_dataFolder, edited);
    } catch (const store::FileError &error) {
        ui::showMessage(this, m_showMessage,
            QStringLiteral("Error: the inputs could not be saved in %1: %2")
                .arg(QDir::toNativeSeparators(store::offerInputsPath(m_dataFolder)), error.description()));
    }
}

void OffersWindow::archive(calc::BetKind kind, const calc::OfferValues &inputs, const calc::OfferValues &figures,
    const QString &event, const QString &bookmaker)
{
    store::NamedTexts shown;
    for (const calc::OfferOutput &output : calc::offerShape(kind, inputs).outputs)
        shown.emplace_back(output.key, money(figures.at(output.key)));
    const calc::OfferSummary summary = calc::summarizeOffer(kind, inputs, figures);
    const store::OfferRecord record {m_clock(), std::string(calc::betKindToken(kind)), event, bookmaker, summary.stake,
        money(summary.lowest), money(summary.highest), named(inputs), shown};
    try {
        store::appendOffer(m_dataFolder, record);
    } catch (const store::FileError &error) {
        ui::showMessage(this, m_showMessage, QStringLiteral("Error: ") + error.description());
    }
}

} // namespace offers
