#include "ui/message.h"

#include <QMessageBox>

namespace ui {

void showMessage(QWidget *parent, const MessageSink &sink, const QString &text)
{
    if (sink) {
        sink(text);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Vantrel"), text, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText); // messages quote paths and file text, which may look like markup
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

} // namespace ui
