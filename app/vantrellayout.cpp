// The main window's controls: kind, place, size, initial text, colour and keyboard behaviour,
// one row per control, in twips as the window has always been laid out.
#include "app/vantrel.h"

#include <algorithm>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>

#include "app/colours.h"
#include "ui/windowsupport.h"

using ui::rectFromTwips;

namespace {

enum class Look { Input, Commission, Output, Status };

} // namespace

void Vantrel::createControls()
{
    struct FieldRow
    {
        QLineEdit *Vantrel::*field;
        const char *name;
        int left, top, width, height;
        const char *text;
        Look look;
        int label; // the index of the label that names the field, or -1
    };
    static const FieldRow rows[] = {
        {&Vantrel::txtStake, "txtStake", 1200, 120, 855, 285, "25", Look::Input, 0},
        {&Vantrel::txtStakeForfeit, "txtStakeForfeit", 3240, 120, 855, 285, "0", Look::Input, 5},
        {&Vantrel::txtBackReturn, "txtBackReturn", 5160, 120, 975, 285, "", Look::Output, 9},
        {&Vantrel::txtBackOdds, "txtBackOdds", 1200, 480, 855, 285, "2", Look::Input, 1},
        {&Vantrel::txtBackComm, "txtBackComm", 3240, 480, 855, 285, "0", Look::Commission, 6},
        {&Vantrel::txtLayRisk, "txtLayRisk", 5160, 480, 975, 285, "", Look::Output, 10},
        {&Vantrel::txtLayOdds, "txtLayOdds", 1200, 840, 855, 285, "2.05", Look::Input, 2},
        {&Vantrel::txtLayComm, "txtLayComm", 3240, 840, 855, 285, "4.75", Look::Commission, 7},
        {&Vantrel::txtBackReturns, "txtBackReturns", 1200, 1200, 855, 285, "", Look::Output, 3},
        {&Vantrel::txtLayReturns, "txtLayReturns", 3240, 1200, 855, 285, "", Look::Output, 8},
        {&Vantrel::txtLayStake, "txtLayStake", 1200, 1560, 855, 285, "", Look::Output, 4},
        {&Vantrel::txtCloseness, "txtCloseness", 5160, 1560, 975, 285, "", Look::Output, 11},
        {&Vantrel::txtEvent, "txtEvent", 1200, 1920, 2895, 315, "Liverpool v Man U Correct Score 2-1", Look::Input, 12},
        {&Vantrel::txtStatus, "txtStatus", 120, 2280, 6015, 285, "Text1", Look::Status, -1},
    };
    createLabels();
    for (const FieldRow &row : rows) {
        QLineEdit *field = ui::newTextField(QString::fromUtf8(row.text), this);
        field->setObjectName(QLatin1String(row.name));
        field->setGeometry(rectFromTwips(row.left, row.top, row.width, row.height));
        field->setCursorPosition(0); // a long text shows its beginning
        if (row.look == Look::Commission)
            ui::setBackground(field, QPalette::Base, colours::commissionPeach);
        if (row.look == Look::Output) {
            field->setReadOnly(true);
            field->setFocusPolicy(Qt::ClickFocus);
            ui::setBackground(field, QPalette::Base, colours::outputYellow);
        }
        if (row.look == Look::Status) {
            field->setReadOnly(true);
            ui::setBackground(field, QPalette::Base, QApplication::palette("QMenu").color(QPalette::Window));
        }
        // The label names the field for screen readers too: "Lay Stake 24.97", not "edit".
        if (row.label >= 0)
            Label1[std::size_t(row.label)]->setBuddy(field);
        this->*row.field = field;
    }
    txtStatus->setAccessibleName(QStringLiteral("Help"));

    cboBookies = new QComboBox(this);
    cboBookies->setObjectName(QStringLiteral("cboBookies"));
    cboBookies->setGeometry(rectFromTwips(4200, 1920, 1935, 315));
    ui::makeTextBox(cboBookies, QStringLiteral("Bookmaker"));
    cboBookies->setEditText(QStringLiteral("Select Bookie..."));
    // The box has a fixed size, and a list edited by hand can be long: never measure every entry.
    cboBookies->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    if (auto *list = qobject_cast<QListView *>(cboBookies->view()))
        list->setUniformItemSizes(true);

    Command1 = addButton("Command1", rectFromTwips(4200, 840, 1935, 615), QStringLiteral("Calculate"));
    Command1->setDefault(true);
    ui::setBackground(Command1, QPalette::Button, colours::buttonGrey);
    Command2 = addButton("Command2", rectFromTwips(2280, 1560, 735, 255), QStringLiteral("a / b"));
    Command2->setFocusPolicy(Qt::ClickFocus);
    cmdArchive = addButton("cmdArchive", rectFromTwips(3240, 1560, 735, 255), QStringLiteral("Archive"));
    cmdArchive->setFocusPolicy(Qt::ClickFocus);
    setTabOrder();
}

void Vantrel::createLabels()
{
    struct LabelRow
    {
        int left, top, width;
        const char *caption;
    };
    // Indexed as the label group has always been: each names the field to its right.
    static const LabelRow rows[13] = {
        {120, 120, 735, "Stake"},
        {120, 480, 1095, "Back Odds"},
        {120, 840, 975, "Lay Odds"},
        {120, 1200, 1095, "Back Returns"},
        {120, 1560, 855, "Lay Stake"},
        {2160, 120, 1095, "Stake Forfeit"},
        {2160, 480, 975, "Back Comm."},
        {2160, 840, 855, "Lay Comm."},
        {2160, 1200, 975, "Lay Returns"},
        {4200, 120, 975, "Back Return"},
        {4200, 480, 735, "Lay Risk"},
        {4080, 1560, 975, "Closeness %"},
        {120, 1920, 855, "Event"},
    };
    const QFont tahoma = ui::labelFont(8.25, QFont::Normal);
    for (std::size_t i = 0; i < Label1.size(); ++i) {
        const LabelRow &row = rows[i];
        QLabel *label = new QLabel(QString::fromUtf8(row.caption), this);
        label->setObjectName(QStringLiteral("Label1_%1").arg(i));
        label->setGeometry(rectFromTwips(row.left, row.top, row.width, 255));
        label->setFont(tahoma);
        // Where the system's Tahoma is wider than the one the layout was drawn with (Wine's is, by
        // two pixels for "Closeness %"), the label grows into the gap before its field rather than
        // clip its caption.
        label->resize(std::max(label->width(), label->fontMetrics().horizontalAdvance(label->text())), label->height());
        Label1[i] = label;
    }
}

QPushButton *Vantrel::addButton(const char *name, const QRect &geometry, const QString &caption)
{
    auto *button = new QPushButton(caption, this);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(geometry);
    return button;
}

void Vantrel::setTabOrder()
{
    const QWidget *cycle[] = {txtStake, txtBackOdds, txtLayOdds, txtStakeForfeit, txtBackComm, txtLayComm, txtEvent,
        cboBookies, Command1, txtStatus};
    for (std::size_t i = 1; i < std::size(cycle); ++i)
        QWidget::setTabOrder(const_cast<QWidget *>(cycle[i - 1]), const_cast<QWidget *>(cycle[i]));
}
