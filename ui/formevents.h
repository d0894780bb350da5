// The events that both forms handle alike: becoming the program's active form, and an input
// field gaining the focus.
#pragma once

#include <memory>

#include <QObject>
#include <QPointer>

class QLineEdit;
class QWidget;

namespace ui {

// Which of the program's forms was the last active one. The forms of one program share one.
class ActiveForm
{
public:
    // True when the form takes over from another of the program's forms as the active one, or
    // is the first: the program's idea of activation. Returning from another application is none.
    bool takeOver(QWidget *form);

private:
    QPointer<QWidget> m_form;
};

// Watches a form and the fields it names. It emits activated() when the form becomes the active
// one (first display and being shown again count, even where the platform activates nothing), and
// selects a field's whole text when the field gains the focus, so that typing replaces it.
class FormEvents final : public QObject
{
    Q_OBJECT

public:
    FormEvents(QWidget *form, std::shared_ptr<ActiveForm> activeForm);

    void selectTextOnFocus(QLineEdit *field);

signals:
    void activated();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_form;
    std::shared_ptr<ActiveForm> m_activeForm;
};

} // namespace ui
