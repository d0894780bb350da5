// The main window: the bet inputs, the six figures, the archive button, the help line and the
// door to the fraction converter. It translates between its controls and calc/, store/ and
// converter/; it holds no arithmetic and no file format of its own.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <optional>

#include <QDateTime>
#include <QDialog>
#include <QHash>
#include <QPointer>

#include "ui/formevents.h"
#include "ui/message.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class frmFrac;

namespace history {
class HistoryWindow;
} // namespace history

namespace offers {
class OffersWindow;
} // namespace offers

namespace calc {
struct MatchedBetFigures;
struct MatchedBetInput;
} // namespace calc

class Vantrel final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Vantrel)

public:
    using Clock = std::function<QDateTime()>;

    // dataFolder holds the data files; main.cpp passes the default, tests a temporary folder.
    // showMessage replaces the modal message box, so that a test reads the text without a modal
    // loop; it also reaches the converter window.
    explicit Vantrel(const QString &dataFolder, ui::MessageSink showMessage = {}, QWidget *parent = nullptr);

    // The archive's clock; the system clock unless a test fixes the time.
    void setClock(Clock clock);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private slots:
    void Command1_Click();
    void Command2_Click();
    void cmdArchive_Click();
    void showHistory();
    void showOffers();

private:
    void createControls();
    void createLabels();
    QPushButton *addButton(const char *name, const QRect &geometry, const QString &caption);
    void setTabOrder();
    void wireEvents();
    void createHelp();

    void Form_Load();
    void Form_Activate();
    void Form_QueryUnload();
    void EnsureDataFiles();
    void LoadBookies();
    void readSettings();

    std::array<QLineEdit *, 6> inputFields() const;
    std::array<QLineEdit *, 7> editableFields() const;
    std::optional<calc::MatchedBetInput> readInputs() const;
    void showFigures(const calc::MatchedBetFigures &figures);
    void saveInputs();
    void colourCloseness();
    void showMessage(const QString &text);

    QString m_dataFolder;
    ui::MessageSink m_showMessage;
    Clock m_clock = &QDateTime::currentDateTime;
    std::shared_ptr<ui::ActiveForm> m_activeForm = std::make_shared<ui::ActiveForm>();
    QPointer<frmFrac> m_converter;
    QPointer<history::HistoryWindow> m_history;
    QPointer<offers::OffersWindow> m_offers;
    // The help line's text for each control that has one.
    QHash<const QObject *, QString> m_help;

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
