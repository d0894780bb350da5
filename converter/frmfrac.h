// The fraction converter window: a fraction typed as numerator over denominator becomes a decimal
// price, and a reference list of common prices stands beneath. It reads and writes no files.
#pragma once

#include <memory>

#include <QWidget>

#include "ui/formevents.h"
#include "ui/message.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

class frmFrac final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmFrac)

public:
    // The window deletes itself when closed; showMessage as for the main window. activeForm is
    // shared with the program's other form, so that switching between the two counts as activation.
    explicit frmFrac(ui::MessageSink showMessage = {},
        std::shared_ptr<ui::ActiveForm> activeForm = std::make_shared<ui::ActiveForm>());

protected:
    void paintEvent(QPaintEvent *event) override;

private slots:
    void Command1_Click();

private:
    void createControls();
    void wireEvents(std::shared_ptr<ui::ActiveForm> activeForm);
    void Form_Activate();

    ui::MessageSink m_showMessage;

    QLineEdit *txtNum = nullptr;
    QLineEdit *txtDenom = nullptr;
    QPushButton *Command1 = nullptr;
    QLabel *Label1 = nullptr;
    QPlainTextEdit *txtOdds = nullptr;
};
