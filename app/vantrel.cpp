#include "app/vantrel.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>

#include "app/colours.h"
#include "app/version.h"
#include "calc/matchedbet.h"
#include "calc/numbertext.h"
#include "converter/frmfrac.h"
#include "history/historywindow.h"
#include "offers/offerswindow.h"
#include "store/archive.h"
#include "store/datafiles.h"
#include "store/datafolder.h"
#include "store/fileerror.h"
#include "store/savedinputs.h"
#include "ui/windowsupport.h"

namespace {

// Sets the text with the caret at its start, so that a text longer than the field shows its beginning.
void showFromStart(QLineEdit *field, const QString &text)
{
    field->setText(text);
    field->setCursorPosition(0);
}

// Shows the program's window of that kind, made first when there is none; it goes when closed.
template<typename Window, typename Make> void bringUp(QPointer<Window> &window, Make make)
{
    if (!window) {
        window = make();
        window->setAttribute(Qt::WA_DeleteOnClose);
    }
    window->show();
    window->raise();
    window->activateWindow();
}

QString rangeMessage(calc::RangeProblem problem)
{
    switch (problem) {
    case calc::RangeProblem::StakeNotPositive:
        return QStringLiteral("Please enter a stake > 0.");
    case calc::RangeProblem::OddsBelowOne:
        return QStringLiteral("Odds must be 1 or greater.");
    case calc::RangeProblem::None:
        break;
    }
    return {};
}

} // namespace

Vantrel::Vantrel(const QString &dataFolder, ui::MessageSink showMessage, QWidget *parent)
    : QDialog(parent)
    , m_dataFolder(dataFolder)
    , m_showMessage(std::move(showMessage))
{
    // A normal resizable window, although a dialog, so that Calculate can be the default button.
    ui::prepareForm(this, QStringLiteral("Vantrel"),
        QStringLiteral("Vantrel - The Matched Betting Toolkit v" VANTREL_VERSION),
        Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint
            | Qt::WindowCloseButtonHint);
    resize(ui::pixelsFromTwips(6240), ui::pixelsFromTwips(2670));
    createControls();
    createHelp();
    wireEvents();
    Form_Load();
    txtStake->setFocus();
}

void Vantrel::setClock(Clock clock)
{
    m_clock = std::move(clock);
}

void Vantrel::keyPressEvent(QKeyEvent *event)
{
    // A dialog closes on Esc; this window must not.
    if (event->key() == Qt::Key_Escape)
        return;
    QDialog::keyPressEvent(event);
}

void Vantrel::wireEvents()
{
    connect(Command1, &QPushButton::clicked, this, &Vantrel::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Vantrel::Command2_Click);
    connect(cmdArchive, &QPushButton::clicked, this, &Vantrel::cmdArchive_Click);
    // The button's context menu opens the bet history; its left click stays the archive's.
    cmdArchive->setContextMenuPolicy(Qt::ActionsContextMenu);
    auto *showHistory = new QAction(QStringLiteral("Show bet history..."), cmdArchive);
    showHistory->setObjectName(QStringLiteral("showHistory"));
    connect(showHistory, &QAction::triggered, this, &Vantrel::showHistory);
    cmdArchive->addAction(showHistory);
    connect(
        new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_H), this), &QShortcut::activated, this, &Vantrel::showHistory);
    // The offer calculators: from the background's and Calculate's context menus, and Ctrl+K.
    auto *showOffers = new QAction(QStringLiteral("Offer calculators..."), this);
    showOffers->setObjectName(QStringLiteral("showOffers"));
    showOffers->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_K));
    connect(showOffers, &QAction::triggered, this, &Vantrel::showOffers);
    for (QWidget *widget : {static_cast<QWidget *>(this), static_cast<QWidget *>(Command1)}) {
        widget->setContextMenuPolicy(Qt::ActionsContextMenu);
        widget->addAction(showOffers);
    }
    auto *events = new ui::FormEvents(this, m_activeForm);
    connect(events, &ui::FormEvents::activated, this, &Vantrel::Form_Activate);
    // txtStake_GotFocus and the other six.
    for (QLineEdit *field : editableFields())
        events->selectTextOnFocus(field);
    // Mouse moves over the window and over the controls with help.
    setMouseTracking(true);
    for (auto control = m_help.keyBegin(); control != m_help.keyEnd(); ++control) {
        auto *widget = static_cast<QWidget *>(const_cast<QObject *>(*control));
        widget->setMouseTracking(true);
        widget->installEventFilter(this);
    }
}

void Vantrel::createHelp()
{
    // Each row stands for the control's MouseMove handler (txtStake_MouseMove and the rest).
    m_help = {
        {txtStake, QStringLiteral("Amount of bet placed with a bookmaker.")},
        {txtStakeForfeit, QStringLiteral("The amount of the bet which is stake non returned..")},
        {txtBackOdds, QStringLiteral("The odds offered for the back bet (Usually at the bookmakers).")},
        {txtBackComm, QStringLiteral("The commision rate for your back stake.  Usually 0 at bookmakers.")},
        {txtLayOdds, QStringLiteral("Odds availible on the lay side at Betfair.")},
        {txtLayComm, QStringLiteral("The commision rate for your lay stake (Betfair etc).")},
        {txtLayStake, QStringLiteral("Amount of money to request at betfair (Backer's Stake).")},
        {txtLayRisk, QStringLiteral("Amount of money needed in Betfair incase your lay loses (Liability).")},
        {txtBackReturns, QStringLiteral("The guaranteed retuns from the back bet (bookmakers).")},
        {txtLayReturns, QStringLiteral("The guaranteed retuns from the lay bet (Betfair).")},
        {txtCloseness, QStringLiteral("Percentage of your original stake returned.")},
        {cmdArchive,
            QStringLiteral("Archive current figures to a csv file (%1)")
                .arg(QDir::toNativeSeparators(store::archivePath(m_dataFolder)))},
        {Command2, QStringLiteral("Convert fractional odds to decimal.")},
    };
}

bool Vantrel::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseMove) {
        if (const auto help = m_help.constFind(watched); help != m_help.cend())
            showFromStart(txtStatus, *help);
    }
    return QDialog::eventFilter(watched, event);
}

void Vantrel::mouseMoveEvent(QMouseEvent *event)
{
    // Form_MouseMove: over the bare background only. Moves over a control without help
    // (a label, the bookmaker box) reach the window too, and change nothing.
    if (!childAt(event->position().toPoint()))
        txtStatus->clear();
    QDialog::mouseMoveEvent(event);
}

void Vantrel::closeEvent(QCloseEvent *event)
{
    Form_QueryUnload();
    QDialog::closeEvent(event);
}

void Vantrel::Form_Activate()
{
    ui::keepOnTop(this);
}

void Vantrel::Command2_Click()
{
    bringUp(m_converter, [this] { return new frmFrac(m_showMessage, m_activeForm); });
}

void Vantrel::showHistory()
{
    bringUp(m_history, [this] { return new history::HistoryWindow(m_dataFolder, m_showMessage); });
}

void Vantrel::showOffers()
{
    bringUp(m_offers, [this] { return new offers::OffersWindow(m_dataFolder, m_showMessage); });
}

void Vantrel::Form_QueryUnload()
{
    // The converter stays open; the program ends when its last window closes.
    m_converter = nullptr;
}

void Vantrel::cmdArchive_Click()
{
    if (txtEvent->text().contains(QLatin1Char(','))) {
        showMessage(QStringLiteral("Commas not allowed in event string."));
        return;
    }
    const QLocale locale;
    using store::ArchiveField;
    store::ArchiveEntry entry;
    entry[ArchiveField::DateTime] = store::archiveDateTime(m_clock(), locale);
    entry[ArchiveField::Event] = txtEvent->text();
    entry[ArchiveField::Bookmaker] = cboBookies->currentText();
    const std::pair<ArchiveField, QLineEdit *> numberFields[] = {{ArchiveField::Stake, txtStake},
        {ArchiveField::StakeForfeit, txtStakeForfeit}, {ArchiveField::BackOdds, txtBackOdds},
        {ArchiveField::LayOdds, txtLayOdds}, {ArchiveField::LayRisk, txtLayRisk}, {ArchiveField::LayStake, txtLayStake},
        {ArchiveField::BackComm, txtBackComm}, {ArchiveField::LayComm, txtLayComm},
        {ArchiveField::BackReturn, txtBackReturn}, {ArchiveField::BackReturns, txtBackReturns},
        {ArchiveField::LayReturns, txtLayReturns}, {ArchiveField::Closeness, txtCloseness}};
    for (const auto &[field, edit] : numberFields)
        entry[field] = edit->text();
    try {
        store::appendToArchive(m_dataFolder, store::archiveLine(entry, locale));
    } catch (const store::FileError &error) {
        showMessage(QStringLiteral("Error: ") + error.description());
    }
}

void Vantrel::Form_Load()
{
    // Each step runs even when an earlier one failed, so the calculator works whatever the disk
    // does; the first failure is reported once.
    QString firstFailure;
    for (void (Vantrel::*step)() : {&Vantrel::EnsureDataFiles, &Vantrel::LoadBookies, &Vantrel::readSettings}) {
        try {
            (this->*step)();
        } catch (const store::FileError &error) {
            if (firstFailure.isEmpty())
                firstFailure = error.description();
        }
    }
    if (!firstFailure.isEmpty())
        showMessage(QStringLiteral("Error: ") + firstFailure);
}

void Vantrel::EnsureDataFiles()
{
    store::ensureDataFiles(m_dataFolder);
}

void Vantrel::LoadBookies()
{
    const QString text = cboBookies->currentText();
    cboBookies->addItems(store::readBookieList(m_dataFolder));
    // Filling an empty box selects its first entry; the box keeps its own text and selects nothing.
    cboBookies->setCurrentIndex(-1);
    cboBookies->setEditText(text);
}

void Vantrel::readSettings()
{
    // Without a settings file (the default could not be written) the fields keep their first texts.
    if (const std::optional<store::SavedInputs> saved = store::readSavedInputs(m_dataFolder)) {
        for (std::size_t i = 0; i < saved->size(); ++i)
            showFromStart(inputFields()[i], (*saved)[i]);
    }
}

std::array<QLineEdit *, 6> Vantrel::inputFields() const
{
    return {txtStake, txtStakeForfeit, txtBackOdds, txtLayOdds, txtBackComm, txtLayComm};
}

std::array<QLineEdit *, 7> Vantrel::editableFields() const
{
    return {txtStake, txtStakeForfeit, txtBackOdds, txtLayOdds, txtBackComm, txtLayComm, txtEvent};
}

std::optional<calc::MatchedBetInput> Vantrel::readInputs() const
{
    std::array<double, 6> values {};
    for (std::size_t i = 0; i < values.size(); ++i) {
        const std::optional<double> value = calc::parseNumber(inputFields()[i]->text(), QLocale());
        if (!value)
            return std::nullopt;
        values[i] = *value;
    }
    const auto [stake, forfeit, backOdds, layOdds, backComm, layComm] = values;
    return calc::MatchedBetInput {stake, forfeit, backOdds, layOdds, backComm, layComm};
}

void Vantrel::Command1_Click()
{
    const std::optional<calc::MatchedBetInput> input = readInputs();
    if (!input) {
        showMessage(QStringLiteral("Invalid input. Please ensure values are numeric."));
        return;
    }
    if (const QString problem = rangeMessage(calc::checkRange(*input)); !problem.isEmpty()) {
        showMessage(problem);
        return;
    }
    const calc::MatchedBetFigures figures = calc::calculateMatchedBet(*input);
    if (!calc::allFinite(figures)) {
        showMessage(QStringLiteral("No result can be calculated from these values."));
        return;
    }
    showFigures(figures);
    saveInputs();
    colourCloseness();
}

void Vantrel::showFigures(const calc::MatchedBetFigures &figures)
{
    const QLocale locale;
    txtBackReturn->setText(calc::formatFigure(figures.backReturn, locale));
    txtLayStake->setText(calc::formatFigure(figures.layStake, locale));
    txtLayRisk->setText(calc::formatFigure(figures.layRisk, locale));
    txtLayReturns->setText(calc::formatFigure(figures.layReturns, locale));
    txtBackReturns->setText(calc::formatFigure(figures.backReturns, locale));
    txtCloseness->setText(calc::formatFigure(figures.closeness, locale));
}

void Vantrel::saveInputs()
{
    store::SavedInputs inputs;
    for (std::size_t i = 0; i < inputs.size(); ++i)
        inputs[i] = inputFields()[i]->text();
    try {
        store::saveInputs(m_dataFolder, inputs);
    } catch (const store::FileError &error) {
        showMessage(QStringLiteral("Error: ") + error.description());
    }
}

void Vantrel::colourCloseness()
{
    const QLocale locale;
    const double threshold = calc::parseNumber(txtStakeForfeit->text(), locale) == 0.0 ? 95 : 85;
    // The colour follows the figure as shown, rounded, not the full-precision value.
    const double shown = calc::parseNumber(txtCloseness->text(), locale).value_or(0);
    ui::setBackground(
        txtCloseness, QPalette::Base, shown > threshold ? colours::closenessGreen : colours::outputYellow);
}

void Vantrel::showMessage(const QString &text)
{
    ui::showMessage(this, m_showMessage, text);
}
