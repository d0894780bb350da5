// One offer calculator: its inputs and figures laid out from the offer's description in calc/,
// figures worked out as the user types, bad input marked on its field and named on the tab, and
// Archive, which appends the offer to the offers file with an event and a bookmaker.
#pragma once

#include <functional>
#include <map>

#include <QWidget>

#include "calc/offers.h"

class QComboBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QPushButton;

namespace offers {

class OfferTab final : public QWidget
{
    Q_OBJECT

public:
    // archive appends a record, and reports a failure itself.
    using Archive = std::function<void(const calc::OfferValues &inputs, const calc::OfferValues &figures,
        const QString &event, const QString &bookmaker)>;

    OfferTab(calc::BetKind kind, const QStringList &bookmakers, Archive archive, QWidget *parent = nullptr);

    calc::BetKind kind() const { return m_kind; }
    // The inputs' texts by key, as typed, to be remembered between starts.
    std::map<std::string, QString> texts() const;
    void setTexts(const std::map<std::string, QString> &texts);

private:
    calc::OfferShape currentShape() const;
    void buildRows();
    QWidget *newInput(const calc::OfferInput &input);
    void recalculate();
    std::optional<double> readInput(const calc::OfferInput &input, QStringList &problems);
    void archive();

    calc::BetKind m_kind;
    Archive m_archive;
    std::map<std::string, QString> m_texts; // kept across rebuilt rows
    std::map<std::string, QWidget *> m_inputs;
    std::map<std::string, QLineEdit *> m_outputs;
    std::map<std::string, QPushButton *> m_setters; // by figure key
    calc::OfferValues m_inputValues;
    std::optional<calc::OfferValues> m_figures;

    QFormLayout *m_form = nullptr;
    QWidget *m_rows = nullptr;
    QLabel *m_problem = nullptr;
    QLineEdit *m_event = nullptr;
    QComboBox *m_bookmaker = nullptr;
    QPushButton *m_archiveButton = nullptr;
};

} // namespace offers
