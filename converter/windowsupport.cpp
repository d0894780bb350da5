#include "windowsupport.h"

#include <limits>

#include <QApplication>
#include <QFile>
#include <QFontDatabase>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QWidget>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace converter {

namespace {

// Debian's fonts-wine ships a free Tahoma outside fontconfig's folders; the labels ask for it.
void registerTahoma()
{
    static const bool registered = [] {
        const QString path = QStringLiteral("/usr/share/wine/fonts/tahoma.ttf");
        return QFile::exists(path) && QFontDatabase::addApplicationFont(path) >= 0;
    }();
    Q_UNUSED(registered);
}

} // namespace

void useClassicFont(QWidget *window)
{
    registerTahoma();
    QFont font = QApplication::font();
    font.setPointSizeF(8.25);
    window->setFont(font);
}

void keepOnTop(QWidget *window)
{
#ifdef Q_OS_WIN
    if (window->isVisible()) {
        SetWindowPos(reinterpret_cast<HWND>(window->winId()), HWND_TOPMOST, 0, 0, 0, 0,
            SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        return;
    }
#endif
    // Changing window flags on a shown window hides it, so the hint is only ever set before the first show.
    if (!window->isVisible())
        window->setWindowFlag(Qt::WindowStaysOnTopHint);
}

QFont labelFont(qreal pointSize, int weight)
{
    registerTahoma();
    QFont font;
    // Where Tahoma is missing, a sans font of Arial's narrow metrics keeps the captions unclipped.
    font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    font.setPointSizeF(pointSize);
    font.setWeight(QFont::Weight(weight));
    return font;
}

bool becomesActiveForm(QWidget *window)
{
    static QPointer<QWidget> activeForm;
    if (activeForm == window)
        return false;
    activeForm = window;
    return true;
}

QLineEdit *newTextField(const QString &text, QWidget *parent)
{
    auto *field = new QLineEdit(parent);
    field->setMaxLength(std::numeric_limits<int>::max());
    field->setText(text);
    return field;
}

void selectWholeTextOnFocus(QLineEdit *field, Qt::FocusReason reason)
{
    const auto selectWholeText = [field] { field->setSelection(0, int(field->text().size())); };
    selectWholeText();
    if (reason == Qt::MouseFocusReason)
        QMetaObject::invokeMethod(field, selectWholeText, Qt::QueuedConnection);
}

void showMessage(QWidget *parent, const MessageSink &sink, const QString &text)
{
    if (sink) {
        sink(text);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Vantrel"), text, QMessageBox::Ok, parent);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

} // namespace converter
