#include "ui/formevents.h"

#include <QFocusEvent>
#include <QLineEdit>
#include <QWidget>

namespace ui {

namespace {

// After a click, selects again once the click has placed the caret, which would otherwise undo
// the selection.
void selectWholeText(QLineEdit *field, Qt::FocusReason reason)
{
    const auto selectAll = [field] { field->setSelection(0, int(field->text().size())); };
    selectAll();
    if (reason == Qt::MouseFocusReason)
        QMetaObject::invokeMethod(field, selectAll, Qt::QueuedConnection);
}

} // namespace

bool ActiveForm::takeOver(QWidget *form)
{
    if (m_form == form)
        return false;
    m_form = form;
    return true;
}

FormEvents::FormEvents(QWidget *form, std::shared_ptr<ActiveForm> activeForm)
    : QObject(form)
    , m_form(form)
    , m_activeForm(std::move(activeForm))
{
    form->installEventFilter(this);
}

void FormEvents::selectTextOnFocus(QLineEdit *field)
{
    field->installEventFilter(this);
}

bool FormEvents::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_form) {
        if ((event->type() == QEvent::WindowActivate || event->type() == QEvent::Show)
            && m_activeForm->takeOver(m_form))
            emit activated();
    } else if (event->type() == QEvent::FocusIn) {
        selectWholeText(static_cast<QLineEdit *>(watched), static_cast<QFocusEvent *>(event)->reason());
    }
    return QObject::eventFilter(watched, event);
}

} // namespace ui
