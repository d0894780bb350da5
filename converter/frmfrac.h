// The fraction converter window: a fraction typed as numerator over denominator becomes a decimal
// price, and a reference list of common prices stands beneath. It reads and writes no files.
#pragma once

#include <QWidget>

#include "windowsupport.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

class frmFrac final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmFrac)

public:
    // The window deletes itself when closed; showMessage as for the main window.
    explicit frmFrac(converter::MessageSink showMessage = {});

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private slots:
    void Command1_Click();

private:
    void createControls();
    void wireEvents();
    void Form_Activate();

    converter::MessageSink m_showMessage;

    QLineEdit *txtNum = nullptr;
    QLineEdit *txtDenom = nullptr;
    QPushButton *Command1 = nullptr;
    QLabel *Label1 = nullptr;
    QPlainTextEdit *txtOdds = nullptr;
};
