// The offer calculators: a tab per offer, kept above other windows like the calculator's forms.
// Each tab's inputs are remembered between starts in a settings file of their own, and Archive
// appends an offer to the offers file in the data folder, which the bet history reads. The inputs
// are saved as they are typed, so that a program that is killed keeps them.
#pragma once

#include <functional>
#include <map>
#include <optional>

#include <QDateTime>
#include <QTimer>
#include <QWidget>

#include "calc/offers.h"
#include "offers/offertab.h"
#include "store/offerfile.h"
#include "ui/message.h"

class QTabWidget;

namespace offers {

class OffersWindow final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(OffersWindow)

public:
    using Clock = std::function<QDateTime()>;

    // dataFolder holds the offers file; showMessage as for the main window.
    explicit OffersWindow(const QString &dataFolder, ui::MessageSink showMessage = {}, QWidget *parent = nullptr);

    // Where the question before archiving an offer a second time goes; a box unless a test answers.
    void setConfirm(ui::ConfirmSink confirm) { m_confirm = std::move(confirm); }
    // The archive's clock; the system clock unless a test fixes the time.
    void setClock(Clock clock) { m_clock = std::move(clock); }
    // Remembers what was typed in every tab; the window does so within a second of each change,
    // and when it closes.
    void saveInputs();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void loadInputs();
    void archive(calc::BetKind kind, const calc::OfferValues &inputs, const calc::OfferValues &figures,
        const QString &event, const QString &bookmaker, const OfferTab::Archived &archived);
    void append(calc::BetKind kind, store::OfferRecord record, const OfferTab::Archived &archived);

    QString m_dataFolder;
    ui::MessageSink m_showMessage;
    ui::ConfirmSink m_confirm;
    QTimer m_saveSoon;
    bool m_saveFailed = false; // said once, until a save works again
    std::map<calc::BetKind, store::OfferRecord> m_lastArchived; // the record without its time
    Clock m_clock = &QDateTime::currentDateTime;
    QList<OfferTab *> m_tabs;
};

} // namespace offers
