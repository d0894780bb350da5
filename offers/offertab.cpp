#include "offers/offertab.h"

#include <algorithm>
#include <cmath>

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QVBoxLayout>

#include "calc/numbertext.h"
#include "ui/windowsupport.h"

namespace offers {

namespace {

QString text(const std::string &utf8)
{
    return QString::fromStdString(utf8);
}

bool isLineInput(calc::InputKind kind)
{
    return kind != calc::InputKind::Flag && kind != calc::InputKind::Choice && kind != calc::InputKind::Count;
}

// Money and percentages as the main window reads them; odds and place terms also as fractions.
std::optional<double> parseInput(const QString &typed, calc::InputKind kind)
{
    const QLocale locale;
    if (kind == calc::InputKind::Odds)
        return calc::parseOdds(typed, locale);
    if (kind == calc::InputKind::Terms)
        return calc::parseFraction(typed, locale);
    return calc::parseNumber(typed, locale);
}

QLabel *newNote(QWidget *parent)
{
    auto *note = new QLabel(parent);
    note->setTextFormat(Qt::PlainText);
    note->setWordWrap(true);
    return note;
}

} // namespace

OfferTab::OfferTab(calc::BetKind kind, const QStringList &bookmakers, Archive archive, QWidget *parent)
    : QWidget(parent)
    , m_kind(kind)
    , m_archive(std::move(archive))
{
    setObjectName(text(std::string(calc::betKindToken(kind))));
    const calc::OfferShape shape = calc::offerShape(kind);

    auto *layout = new QVBoxLayout(this);
    if (!shape.note.empty()) {
        QLabel *note = newNote(this);
        note->setText(text(shape.note));
        layout->addWidget(note);
    }
    m_rows = new QWidget;
    m_form = new QFormLayout(m_rows);
    // Ten legs make a long form: it scrolls, the archive row below it stays.
    auto *scroll = new QScrollArea;
    scroll->setWidget(m_rows);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setFocusPolicy(Qt::NoFocus); // Tab goes to the fields in it
    layout->addWidget(scroll, 1);
    if (!shape.buttons.empty()) {
        auto *buttons = new QHBoxLayout;
        for (const calc::OfferButton &button : shape.buttons) {
            auto *setter = new QPushButton(text(button.caption));
            setter->setAutoDefault(true); // Enter presses the focused button, as Space does
            connect(setter, &QPushButton::clicked, this, [this, button] {
                const double value = m_figures->at(button.figure);
                static_cast<QLineEdit *>(m_inputs.at(button.input))->setText(calc::formatPlain(value, QLocale()));
            });
            m_setters[button.figure] = setter;
            m_buttons << setter;
            buttons->addWidget(setter);
        }
        buttons->addStretch();
        layout->addLayout(buttons);
    }
    m_remark = newNote(this);
    m_remark->setObjectName(QStringLiteral("remark"));
    layout->addWidget(m_remark);
    m_problem = newNote(this);
    m_problem->setObjectName(QStringLiteral("problem"));
    ui::setBackground(m_problem, QPalette::WindowText, Qt::darkRed);
    layout->addWidget(m_problem);

    m_event = ui::newTextField(QString(), this);
    m_event->setAccessibleName(QStringLiteral("Event"));
    m_bookmaker = new QComboBox;
    ui::makeTextBox(m_bookmaker, QStringLiteral("Bookmaker"));
    m_bookmaker->addItems(bookmakers);
    m_bookmaker->setCurrentIndex(-1);
    m_archiveButton = new QPushButton(QStringLiteral("Archive"));
    m_archiveButton->setObjectName(QStringLiteral("archive"));
    m_archiveButton->setAutoDefault(true);
    m_archived = newNote(this);
    m_archived->setObjectName(QStringLiteral("archived"));
    auto *record = new QFormLayout;
    record->addRow(QStringLiteral("Event"), m_event);
    record->addRow(QStringLiteral("Bookmaker"), m_bookmaker);
    record->addRow(QString(), m_archiveButton);
    record->addRow(m_archived);
    layout->addLayout(record);
    connect(m_archiveButton, &QPushButton::clicked, this, &OfferTab::archive);
    buildRows();
}

void OfferTab::setTexts(const store::InputTexts &texts)
{
    for (const auto &[key, typed] : texts)
        m_texts[key.toStdString()] = typed;
    // A hand-edited count such as 1e9 shows as the count the rows are built for: first the counts,
    // then the flags of the rows they make.
    for (const calc::OfferInput &input : calc::offerShape(m_kind).inputs)
        keepInRange(input);
    for (const calc::OfferInput &input : currentShape().inputs)
        keepInRange(input);
    buildRows();
}

void OfferTab::keepInRange(const calc::OfferInput &input)
{
    if (isLineInput(input.kind) || !m_texts.contains(input.key))
        return;
    int low = 0;
    int high = 1;
    if (input.kind == calc::InputKind::Count)
        std::tie(low, high) = std::pair(input.low, input.high);
    else if (input.kind == calc::InputKind::Choice)
        high = int(input.options.size()) - 1;
    bool isNumber = false;
    const double value = m_texts[input.key].toDouble(&isNumber);
    m_texts[input.key] = isNumber && !std::isnan(value)
        ? QString::number(int(std::clamp(std::round(value), double(low), double(high))))
        : text(input.initial);
}

store::InputTexts OfferTab::edited() const
{
    store::InputTexts edited;
    for (const std::string &key : m_edited)
        edited[text(key)] = m_texts.at(key);
    return edited;
}

void OfferTab::markSaved(const store::InputTexts &saved)
{
    for (const auto &[key, typed] : saved) {
        if (m_texts[key.toStdString()] == typed)
            m_edited.erase(key.toStdString());
    }
}

void OfferTab::edit(const std::string &key, const QString &typed)
{
    m_texts[key] = typed;
    m_edited.insert(key);
    if (focusProxy()->accessibleDescription() == m_archived->text())
        focusProxy()->setAccessibleDescription(QString());
    emit inputEdited();
}

void OfferTab::editShape(const std::string &key, const QString &typed)
{
    edit(key, typed);
    // Queued: the control that changed is deleted with the rows it belongs to.
    QMetaObject::invokeMethod(this, &OfferTab::buildRows, Qt::QueuedConnection);
}

calc::OfferShape OfferTab::currentShape() const
{
    // Counts, choices and flags decide the rows: the shape of what has been typed. A flag of a
    // repeated row counts once the count has made its row.
    calc::OfferShape shape = calc::offerShape(m_kind);
    calc::OfferValues settings;
    for (int pass = 0; pass < 2; ++pass) {
        for (const calc::OfferInput &input : shape.inputs) {
            if (isLineInput(input.kind))
                continue;
            const auto typed = m_texts.find(input.key);
            settings[input.key] = (typed != m_texts.end() ? typed->second : text(input.initial)).toDouble();
        }
        shape = calc::offerShape(m_kind, settings);
    }
    return shape;
}

void OfferTab::buildRows()
{
    // The control that has the focus keeps it in the rows laid out again.
    std::string focused;
    for (const auto &[key, editor] : m_inputs) {
        if (QWidget *focus = QApplication::focusWidget(); focus && (focus == editor || editor->isAncestorOf(focus)))
            focused = key;
    }
    const calc::OfferShape shape = currentShape();
    while (m_form->rowCount() > 0)
        m_form->removeRow(0);
    m_inputs.clear();
    m_outputs.clear();
    for (const calc::OfferInput &input : shape.inputs) {
        if (!m_texts.contains(input.key))
            m_texts[input.key] = text(input.initial);
        QWidget *editor = newInput(input);
        if (m_inputs.empty())
            setFocusProxy(editor); // the tab's first input takes the focus
        m_inputs[input.key] = editor;
        if (input.kind == calc::InputKind::Flag || input.kind == calc::InputKind::Choice)
            m_form->addRow(editor);
        else
            m_form->addRow(text(input.caption), editor);
    }
    auto *rule = new QFrame;
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    m_form->addRow(rule);
    for (const calc::OfferOutput &output : shape.outputs) {
        // Figures are read-only fields, so that their text is their value for screen readers.
        auto *field = new QLineEdit;
        field->setObjectName(text(output.key));
        field->setAccessibleName(text(output.caption));
        field->setReadOnly(true);
        ui::setBackground(field, QPalette::Base, palette().color(QPalette::Window));
        m_outputs[output.key] = field;
        m_form->addRow(text(output.caption), field);
    }
    if (const auto editor = m_inputs.find(focused); editor != m_inputs.end()) {
        const QList<QRadioButton *> options = editor->second->findChildren<QRadioButton *>();
        const auto checked = std::find_if(options.begin(), options.end(), [](auto *o) { return o->isChecked(); });
        (checked != options.end() ? static_cast<QWidget *>(*checked) : editor->second)->setFocus();
    }
    orderFocus();
    recalculate();
}

void OfferTab::orderFocus()
{
    QList<QWidget *> order;
    const calc::OfferShape shape = currentShape();
    for (const calc::OfferInput &input : shape.inputs) {
        QWidget *editor = m_inputs.at(input.key);
        const QList<QRadioButton *> options = editor->findChildren<QRadioButton *>();
        if (options.isEmpty())
            order << editor;
        else
            order.append({options.begin(), options.end()});
    }
    for (const calc::OfferOutput &output : shape.outputs)
        order << m_outputs.at(output.key);
    order.append({m_buttons.begin(), m_buttons.end()});
    order << m_event << m_bookmaker << m_archiveButton;
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

QWidget *OfferTab::newChoice(const calc::OfferInput &input)
{
    auto *editor = new QWidget;
    auto *row = new QHBoxLayout(editor);
    row->setContentsMargins(0, 0, 0, 0);
    auto *group = new QButtonGroup(editor);
    for (std::size_t i = 0; i < input.options.size(); ++i) {
        auto *option = new QRadioButton(text(input.options[i]));
        option->setAccessibleName(option->text());
        option->setChecked(m_texts[input.key].toInt() == int(i));
        // Tab reaches the option chosen; the arrows move between them.
        option->setFocusPolicy(option->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
        group->addButton(option, int(i));
        row->addWidget(option);
    }
    connect(group, &QButtonGroup::idClicked, this,
        [this, key = input.key](int id) { editShape(key, QString::number(id)); });
    return editor;
}

QWidget *OfferTab::newInput(const calc::OfferInput &input)
{
    const std::string key = input.key;
    const QString caption = text(input.caption);
    QWidget *editor = nullptr;
    switch (input.kind) {
    case calc::InputKind::Flag: {
        auto *box = new QCheckBox(caption);
        box->setChecked(m_texts[key] == QLatin1String("1"));
        connect(box, &QCheckBox::toggled, this,
            [this, key](bool on) { editShape(key, on ? QStringLiteral("1") : QStringLiteral("0")); });
        editor = box;
        break;
    }
    case calc::InputKind::Choice:
        editor = newChoice(input);
        break;
    case calc::InputKind::Count: {
        auto *spin = new QSpinBox;
        spin->setRange(input.low, input.high);
        spin->setValue(m_texts[key].toInt());
        connect(
            spin, &QSpinBox::valueChanged, this, [this, key](int value) { editShape(key, QString::number(value)); });
        editor = spin;
        break;
    }
    default: {
        auto *field = ui::newTextField(m_texts[key], nullptr);
        if (!input.whenEmpty.empty())
            field->setPlaceholderText(QStringLiteral("empty: %1").arg(text(input.whenEmpty)));
        connect(field, &QLineEdit::textChanged, this, [this, key](const QString &typed) {
            edit(key, typed);
            recalculate();
        });
        editor = field;
        break;
    }
    }
    editor->setObjectName(text(key));
    editor->setAccessibleName(caption);
    return editor;
}

std::optional<double> OfferTab::readInput(const calc::OfferInput &input, QStringList &problems)
{
    const QString typed = m_texts[input.key].trimmed();
    QString problem;
    std::optional<double> value;
    if (typed.isEmpty() && !input.whenEmpty.empty())
        return std::nullopt;
    if (!(value = parseInput(typed, input.kind)))
        problem = QStringLiteral("is not a number");
    else if (const std::optional<std::string> outOfRange = calc::inputProblem(input.kind, *value))
        problem = text(*outOfRange);
    QWidget *editor = m_inputs.at(input.key);
    if (isLineInput(input.kind)) {
        ui::setBackground(
            editor, QPalette::Base, problem.isEmpty() ? palette().color(QPalette::Base) : ui::attentionPink());
        editor->setAccessibleDescription(problem);
    }
    if (problem.isEmpty())
        return value;
    problems << text(input.caption) + QLatin1String(": ") + problem;
    return std::nullopt;
}

void OfferTab::recalculate()
{
    QStringList problems;
    calc::OfferValues values;
    for (const calc::OfferInput &input : currentShape().inputs) {
        if (const std::optional<double> value = readInput(input, problems))
            values[input.key] = *value;
    }
    m_inputValues = values;
    m_figures = problems.isEmpty() ? calc::offerFigures(m_kind, values) : std::nullopt;
    if (problems.isEmpty() && !m_figures)
        problems << QStringLiteral("No result can be calculated from these values.");
    m_problem->setText(problems.join(QLatin1Char('\n')));
    m_remark->setText(m_figures ? text(calc::offerRemark(m_kind, values, *m_figures)) : QString());
    const QLocale locale;
    for (const auto &[key, field] : m_outputs)
        field->setText(m_figures ? calc::formatFigure(m_figures->at(key), locale) : QString());
    for (const auto &[figure, setter] : m_setters)
        setter->setEnabled(m_figures && m_figures->contains(figure));
    m_archiveButton->setEnabled(m_figures.has_value());
}

void OfferTab::archive()
{
    if (!m_figures)
        return;
    m_archive(m_inputValues, *m_figures, m_event->text(), m_bookmaker->currentText(), [this](const QString &line) {
        // The next offer starts at the first input, which a screen reader reads out with what was
        // archived as its description until something is typed.
        m_archived->setText(line);
        focusProxy()->setAccessibleDescription(line);
        setFocus();
    });
}

} // namespace offers
