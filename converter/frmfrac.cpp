#include "frmfrac.h"

#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>

#include "fractionodds.h"
#include "numbertext.h"
#include "oddstable.h"

using converter::pixelsFromTwips;
using converter::rectFromTwips;

namespace {

template<typename Control> Control *place(Control *control, const char *name, const QRect &geometry)
{
    control->setObjectName(QLatin1String(name));
    control->setGeometry(geometry);
    return control;
}

} // namespace

frmFrac::frmFrac(converter::MessageSink showMessage)
    : m_showMessage(std::move(showMessage))
{
    setObjectName(QStringLiteral("frmFrac"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("FractionConverter"));
    // A fixed single border with a close box and neither minimise nor maximise box.
    setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
        | Qt::WindowCloseButtonHint);
    converter::keepOnTop(this);
    converter::useClassicFont(this);
    setFixedSize(pixelsFromTwips(1725), pixelsFromTwips(7335));
    createControls();
    wireEvents();
    txtNum->setFocus();
}

void frmFrac::createControls()
{
    txtNum = place(converter::newTextField(QStringLiteral("5"), this), "txtNum", rectFromTwips(120, 120, 495, 285));
    txtDenom
        = place(converter::newTextField(QStringLiteral("4"), this), "txtDenom", rectFromTwips(1080, 120, 495, 285));
    txtNum->setAccessibleName(QStringLiteral("Numerator"));
    txtDenom->setAccessibleName(QStringLiteral("Denominator"));
    Command1 = place(new QPushButton(QStringLiteral("Go"), this), "Command1", rectFromTwips(120, 600, 615, 375));
    Command1->setAutoDefault(false);
    Label1 = place(new QLabel(this), "Label1", rectFromTwips(960, 600, 735, 255));
    Label1->setFont(converter::labelFont(12, QFont::Bold));
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

void frmFrac::wireEvents()
{
    connect(Command1, &QPushButton::clicked, this, &frmFrac::Command1_Click);
    txtNum->installEventFilter(this);
    txtDenom->installEventFilter(this);
}

bool frmFrac::event(QEvent *event)
{
    // Being shown counts as activation even where the platform does not activate the window.
    if ((event->type() == QEvent::WindowActivate || event->type() == QEvent::Show)
        && converter::becomesActiveForm(this))
        Form_Activate();
    return QWidget::event(event);
}

bool frmFrac::eventFilter(QObject *watched, QEvent *event)
{
    // txtNum_GotFocus and txtDenom_GotFocus: the whole text is selected, so typing replaces it.
    if (event->type() == QEvent::FocusIn)
        converter::selectWholeTextOnFocus(
            static_cast<QLineEdit *>(watched), static_cast<QFocusEvent *>(event)->reason());
    return QWidget::eventFilter(watched, event);
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
    converter::keepOnTop(this);
    txtOdds->setPlainText(converter::oddsReferenceText());
    move(0, 0);
}

void frmFrac::Command1_Click()
{
    const QLocale locale;
    const std::optional<double> denominator = calc::parseNumber(txtDenom->text(), locale);
    const std::optional<double> numerator = calc::parseNumber(txtNum->text(), locale);
    if (!numerator || !denominator) {
        converter::showMessage(this, m_showMessage, QStringLiteral("Numberic values only please."));
        return;
    }
    if (calc::denominatorRoundsToZero(*denominator)) {
        converter::showMessage(this, m_showMessage, QStringLiteral("Can't divide by zero"));
        return;
    }
    const std::optional<double> odds = calc::decimalOdds(*numerator, *denominator);
    if (!odds) {
        converter::showMessage(this, m_showMessage, QStringLiteral("No result can be calculated from these values."));
        return;
    }
    Label1->setText(calc::formatPlain(*odds, locale));
}
