// The main window: the bet inputs, the Calculate button and the six figures.
// It translates between its controls and calc/ and store/; it holds no arithmetic or file format.
#pragma once

#include <array>
#include <functional>

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace calc {
struct MatchedBetFigures;
struct MatchedBetInput;
} // namespace calc

class Vantrel final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Vantrel)

public:
    using MessageSink = std::function<void(const QString &)>;

    // dataFolder holds the settings file; main.cpp passes the default, tests a temporary folder.
    explicit Vantrel(const QString &dataFolder, QWidget *parent = nullptr);

    // Replaces the modal message box, so that a test reads the text without a modal loop.
    void setMessageSink(MessageSink sink);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private slots:
    void Command1_Click();

private:
    void createControls();
    void createLabels();
    QLineEdit *addField(const char *name, const QRect &geometry, const QString &text, const QColor &background);
    QPushButton *addButton(const char *name, const QRect &geometry, const QString &caption);
    void setTabOrder();
    void wireEvents();

    std::array<QLineEdit *, 6> inputFields() const;
    std::optional<calc::MatchedBetInput> readInputs() const;
    void showFigures(const calc::MatchedBetFigures &figures);
    void saveInputs();
    void colourCloseness();
    void showMessage(const QString &text);

    QString m_dataFolder;
    MessageSink m_showMessage;

    QLineEdit *txtStake = nullptr;
    QLineEdit *txtStakeForfeit = nullptr;
    QLineEdit *txtBackOdds = nullptr;
    QLineEdit *txtLayOdds = nullptr;
    QLineEdit *txtBackComm = nullptr;
    QLineEdit *txtLayComm = nullptr;
    QLineEdit *txtBackReturn = nullptr;
    QLineEdit *txtLayStake = nullptr;
    QLineEdit *txtLayRisk = nullptr;
    QLineEdit *txtLayReturns = nullptr;
    QLineEdit *txtBackReturns = nullptr;
    QLineEdit *txtCloseness = nullptr;
    QLineEdit *txtEvent = nullptr;
    QComboBox *cboBookies = nullptr;
    QLineEdit *txtStatus = nullptr;
    QPushButton *Command1 = nullptr;
    QPushButton *Command2 = nullptr;
    QPushButton *cmdArchive = nullptr;
    std::array<QLabel *, 13> Label1 {};
};
