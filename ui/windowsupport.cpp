#include "ui/windowsupport.h"

#include <algorithm>
#include <limits>

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>
#include <QValidator>
#include <QWidget>

#ifdef Q_OS_WIN
#include <windows.h>
#endif
#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace ui {

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

// The platform's user-interface font at 8.25 points, so texts fit the fixed field heights.
void useClassicFont(QWidget *window)
{
    registerTahoma();
    QFont font = QApplication::font();
    font.setPointSizeF(8.25);
    window->setFont(font);
}

class RaiseOnActivation final : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::WindowActivate) {
            auto *window = static_cast<QWidget *>(watched);
            keepOnTop(window);
            window->raise();
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

void keepAboveOthers(QWidget *window)
{
    keepOnTop(window);
    window->installEventFilter(new RaiseOnActivation(window));
}

namespace {

const QSize frame(16, 48); // borders and a title bar, which are known only once shown

} // namespace

void placeWithinScreen(QWidget *window, const QRect &place)
{
    const QScreen *screen = QGuiApplication::screenAt(place.center());
    const QRect available = (screen ? screen : window->screen())->availableGeometry();
    const QSize size = place.size().boundedTo(available.size() - frame).expandedTo(window->minimumSizeHint());
    window->resize(size);
    window->move(std::clamp(place.x(), available.left(),
                     std::max(available.left(), available.right() + 1 - size.width() - frame.width())),
        std::clamp(place.y(), available.top(),
            std::max(available.top(), available.bottom() + 1 - size.height() - frame.height())));
}

void fitIntoScreen(QWidget *window, QSize preferred)
{
    const QRect available = window->screen()->availableGeometry();
    const QSize size = preferred.boundedTo(available.size() - frame);
    window->resize(size);
    window->move(available.topLeft()
        + QPoint(std::max(0, (available.width() - size.width() - frame.width()) / 2),
            std::max(0, (available.height() - size.height() - frame.height()) / 2)));
}

void returnLargeBlocksToTheSystem()
{
#ifdef __GLIBC__
    // A fixed threshold: glibc raises its own as large blocks are freed, and then keeps them.
    mallopt(M_MMAP_THRESHOLD, 1024 * 1024);
#endif
}

LineBreaksToSpaces::LineBreaksToSpaces(QObject *parent)
    : QValidator(parent)
{ }

QValidator::State LineBreaksToSpaces::validate(QString &input, int &position) const
{
    for (qsizetype i = 0; i < input.size(); ++i) {
        if (input[i] != QLatin1Char('\r') && input[i] != QLatin1Char('\n'))
            continue;
        // A CR LF pair is one line break and becomes one space.
        if (input[i] == QLatin1Char('\r') && i + 1 < input.size() && input[i + 1] == QLatin1Char('\n')) {
            input.remove(i + 1, 1);
            if (position > i + 1)
                --position;
        }
        input[i] = QLatin1Char(' ');
    }
    return Acceptable;
}

void prepareForm(QWidget *form, const QString &name, const QString &caption, Qt::WindowFlags flags)
{
    form->setObjectName(name);
    form->setWindowTitle(caption);
    form->setWindowFlags(flags);
    keepOnTop(form);
    useClassicFont(form);
}

void keepOnTop(QWidget *window)
{
#ifdef Q_OS_WIN
    // The id is a window handle of the system's on the windows platform alone: elsewhere (offscreen)
    // it may name any window of any program.
    if (window->isVisible() && QGuiApplication::platformName() == QLatin1String("windows")) {
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

QLineEdit *newTextField(const QString &text, QWidget *parent)
{
    auto *field = new QLineEdit(parent);
    field->setMaxLength(std::numeric_limits<int>::max());
    field->setValidator(new LineBreaksToSpaces(field));
    field->setText(text);
    return field;
}

void makeTextBox(QComboBox *box, const QString &name)
{
    box->setAccessibleName(name);
    box->setEditable(true);
    box->lineEdit()->setAccessibleName(name); // the line has the focus, and is what is read out
    box->setInsertPolicy(QComboBox::NoInsert);
    box->lineEdit()->setMaxLength(std::numeric_limits<int>::max());
    box->setValidator(new LineBreaksToSpaces(box));
}

void setBackground(QWidget *widget, QPalette::ColorRole role, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(role, colour);
    widget->setPalette(palette);
}

QColor attentionPink()
{
    return {255, 208, 208};
}

} // namespace ui
