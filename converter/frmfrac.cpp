#include "converter/frmfrac.h"

#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>

#include "calc/fractionodds.h"
#include "calc/numbertext.h"
#include "converter/oddstable.h"
#include "ui/windowsupport.h"

using ui::pixelsFromTwips;
using ui::rectFromTwips;

namespace {

template<typename Control> Control *place(Control *control, const char *name, const QRect &geometry)
{
    control->setObjectName(QLatin1String(name));
    control->setGeometry(geometry);
    return control;
}

} // namespace

frmFrac::frmFrac(ui::MessageSink showMessage, std::shared_ptr<ui::ActiveForm> activeForm)
    : m_showMessage(std::move(showMessage))
{
    setAttribute(Qt::WA_DeleteOnClose);
    // A fixed single border with a close box and neither minimise nor maximise box.
    ui::prepareForm(this, QStringLiteral("frmFrac"), QStringLiteral("FractionConverter"),
        Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
            | Qt::WindowCloseButtonHint);
    setFixedSize(pixelsFromTwips(1725), pixelsFromTwips(7335));
    createControls();
    wireEvents(std::move(activeForm));
    txtNum->setFocus();
}

void frmFrac::createControls()
{
    txtNum = place(ui::newTextField(QStringLiteral("5"), this), "txtNum", rectFromTwips(120, 120, 495, 285));
    txtDenom = place(ui::newTextField(QStringLiteral("4"), this), "txtDenom", rectFromTwips(1080, 120, 495, 285));
    txtNum->setAccessibleName(QStringLiteral("Numerator"));
    txtDenom->setAccessibleName(QStringLiteral("Denominator"));
    Command1 = place(new QPushButton(QStringLiteral("Go"), this), "Command1", rectFromTwips(120, 600, 615, 375));
    Command1->setAutoDefault(false);
    Label1 = place(new QLabel(this), "Label1", rectFromTwips(960, 600, 735, 255));
    Label1->setFont(ui::labelFont(12, QFont::Bold));
    Label1->setAccessibleName(QStringLiteral("Decimal price"));

    txtOdds = place(new QPlainTextEdit(QStringLiteral("Text1"), this), "txtOdds", rectFromTwips(0, 1080, 1695, 6255));
    txtOdds->setReadOnly(true);
    txtOdds->setAccessibleName(QStringLiteral("Common prices"));
    txtOdds->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    txtOdds->setFocusPolicy(Qt::StrongFocus);
    txtOdds->setTabChangesFocus(true);
    txtOdds->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtOdds->setLineWrapMode(QPlainTextEdit::NoWrap);
    // The classic edit control's tab stops: every 8 average character widths.
    txtOdds->setTabStopDistance(8 * txtOdds->fontMetrics().averageCharWidth());

    setTabOrder(txtNum, txtDenom);
    setTabOrder(txtDenom, Command1);
    setTabOrder(Command1, txtOdds);
}

void frmFrac::wireEvents(std::shared_ptr<ui::ActiveForm> activeForm)
{
    connect(Command1, &QPushButton::clicked, this, &frmFrac::Command1_Click);
    auto *events = new ui::FormEvents(this, std::move(activeForm));
    connect(events, &ui::FormEvents::activated, this, &frmFrac::Form_Activate);
    // txtNum_GotFocus and txtDenom_GotFocus.
    events->selectTextOnFocus(txtNum);
    events->selectTextOnFocus(txtDenom);
}

void frmFrac::paintEvent(QPaintEvent *event)
{
    QWidget::paintEvent(event);
    QPainter painter(this);
    painter.setPen(QPen(palette().color(QPalette::WindowText), 1));
    painter.drawLine(pixelsFromTwips(720), pixelsFromTwips(480), pixelsFromTwips(960), pixelsFromTwips(120));
}

void frmFrac::Form_Activate()
{
    ui::keepOnTop(this);
    txtOdds->setPlainText(converter::oddsReferenceText());
    move(0, 0);
}

void frmFrac::Command1_Click()
{
    const QLocale locale;
    const std::optional<double> denominator = calc::parseNumber(txtDenom->text(), locale);
    const std::optional<double> numerator = calc::parseNumber(txtNum->text(), locale);
    if (!numerator || !denominator) {
        ui::showMessage(this, m_showMessage, QStringLiteral("Numberic values only please."));
        return;
    }
    if (calc::denominatorRoundsToZero(*denominator)) {
        ui::showMessage(this, m_showMessage, QStringLiteral("Can't divide by zero"));
        return;
    }
    const std::optional<double> odds = calc::decimalOdds(*numerator, *denominator);
    if (!odds) {
        ui::showMessage(this, m_showMessage, QStringLiteral("No result can be calculated from these values."));
        return;
    }
    Label1->setText(calc::formatPlain(*odds, locale));
    Label1->setAccessibleName(QStringLiteral("Decimal price ") + Label1->text());
}
