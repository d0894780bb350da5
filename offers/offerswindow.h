// The offer calculators: a tab per offer, kept above other windows like the calculator's forms.
// Each tab's inputs are remembered between starts in a settings file of their own, and Archive
// appends an offer to the offers file in the data folder, which the bet history reads.
#pragma once

#include <functional>

#include <QDateTime>
#include <QWidget>

#include "calc/offers.h"
#include "ui/message.h"

class QTabWidget;

namespace offers {

class OfferTab;

class OffersWindow final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(OffersWindow)

public:
    using Clock = std::function<QDateTime()>;

    // dataFolder holds the offers file; showMessage as for the main window.
    explicit OffersWindow(const QString &dataFolder, ui::MessageSink showMessage = {}, QWidget *parent = nullptr);

    // The archive's clock; the system clock unless a test fixes the time.
    void setClock(Clock clock) { m_clock = std::move(clock); }
    // Remembers every tab's inputs; the window does so when it closes.
    void saveInputs();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void loadInputs();
    void archive(calc::BetKind kind, const calc::OfferValues &inputs, const calc::OfferValues &figures,
        const QString &event, const QString &bookmaker);

    QString m_dataFolder;
    ui::MessageSink m_showMessage;
    Clock m_clock = &QDateTime::currentDateTime;
    QList<OfferTab *> m_tabs;
};

} // namespace offers
