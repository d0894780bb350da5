// One offer calculator: its inputs and figures laid out from the offer's description in calc/,
// figures worked out as the user types, bad input marked on its field and named on the tab, and
// Archive, which appends the offer to the offers file with an event and a bookmaker.
#pragma once

#include <functional>
#include <map>
#include <set>

#include <QWidget>

#include "calc/offers.h"
#include "store/offerinputs.h"

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
    // archive appends a record and hands archived the line that says what it archived, at once or
    // once the user has confirmed; it reports a failure, or a second thought, itself.
    using Archived = std::function<void(const QString &line)>;
    using Archive = std::function<void(const calc::OfferValues &inputs, const calc::OfferValues &figures,
        const QString &event, const QString &bookmaker, const Archived &archived)>;

    OfferTab(calc::BetKind kind, const QStringList &bookmakers, Archive archive, QWidget *parent = nullptr);

    calc::BetKind kind() const { return m_kind; }
    // Shows the inputs remembered from an earlier start; counts, choices and flags out of their
    // range take the nearest they can be.
    void setTexts(const store::InputTexts &texts);
    // The inputs typed since they were last saved, as typed, by key.
    store::InputTexts edited() const;
    void markSaved(const store::InputTexts &saved);

signals:
    // An input, count, choice or flag was changed by the user.
    void inputEdited();

private:
    // Remembers a text the user gave an input.
    void edit(const std::string &key, const QString &typed);
    // Remembers a count, choice or flag, and lays the rows out again for it.
    void editShape(const std::string &key, const QString &typed);
    void keepInRange(const calc::OfferInput &input);
    calc::OfferShape currentShape() const;
    void buildRows();
    // Tab walks the inputs and figures in reading order, then the buttons, Event, Bookmaker and
    // Archive.
    void orderFocus();
    QWidget *newInput(const calc::OfferInput &input);
    QWidget *newChoice(const calc::OfferInput &input);
    void recalculate();
    std::optional<double> readInput(const calc::OfferInput &input, QStringList &problems);
    void archive();

    calc::BetKind m_kind;
    Archive m_archive;
    std::map<std::string, QString> m_texts; // kept across rebuilt rows
    std::set<std::string> m_edited; // keys typed into since the last takeEdited()
    std::map<std::string, QWidget *> m_inputs;
    std::map<std::string, QLineEdit *> m_outputs;
    std::map<std::string, QPushButton *> m_setters; // by figure key
    calc::OfferValues m_inputValues;
    std::optional<calc::OfferValues> m_figures;

    QFormLayout *m_form = nullptr;
    QWidget *m_rows = nullptr;
    QLabel *m_remark = nullptr;
    QLabel *m_problem = nullptr;
    QLineEdit *m_event = nullptr;
    QComboBox *m_bookmaker = nullptr;
    QPushButton *m_archiveButton = nullptr;
    QLabel *m_archived = nullptr;
    QList<QPushButton *> m_buttons; // the setters, in the order shown
};

} // namespace offers
