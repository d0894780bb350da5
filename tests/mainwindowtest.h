// The base of the main-window tests: a main window on a temporary data folder, with its messages
// recorded instead of shown, and the small steps a user takes: typing into a field, pressing a
// button.
#pragma once

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include "app/vantrel.h"
#include "filebytes.h"

// The program's shown windows of one class.
template<typename Window> QList<Window *> openWindows()
{
    QList<Window *> open;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *window = qobject_cast<Window *>(widget); window && window->isVisible())
            open << window;
    }
    return open;
}

// What a screen reader says a control is: the label that names it, or its own name.
inline QString spokenName(QWidget *control)
{
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(control);
    for (const auto &[other, relation] : accessible->relations(QAccessible::Label))
        return other->text(QAccessible::Name).remove(QLatin1Char('&'));
    return accessible->text(QAccessible::Name);
}

// The controls of a page that Tab reaches, top to bottom and left to right: enabled and shown, of
// a group of radio buttons the one chosen.
inline QList<QWidget *> readingOrder(QWidget *page)
{
    QList<QWidget *> controls;
    for (QWidget *widget : page->findChildren<QWidget *>()) {
        const auto *radio = qobject_cast<QRadioButton *>(widget);
        if (widget->isVisible() && widget->isEnabled() && (widget->focusPolicy() & Qt::TabFocus)
            && !widget->focusProxy() && (!radio || radio->isChecked()))
            controls << widget;
    }
    const auto place = [page](QWidget *widget) { return widget->mapTo(page, QPoint(0, 0)); };
    std::stable_sort(controls.begin(), controls.end(), [&](QWidget *a, QWidget *b) {
        return std::pair(place(a).y(), place(a).x()) < std::pair(place(b).y(), place(b).x());
    });
    return controls;
}

// The six input fields, in the order of their settings keys.
inline const QStringList inputFieldNames {
    "txtStake", "txtStakeForfeit", "txtBackOdds", "txtLayOdds", "txtBackComm", "txtLayComm"};

class MainWindowFixture
{
public:
    QTemporaryDir dir;
    QStringList messages;
    std::unique_ptr<Vantrel> window;

    // The data folder lies inside the temporary folder, so a test can also start without one.
    QString folder() const { return dir.filePath(QStringLiteral("vantrel")); }
    QString path(const QString &fileName) const { return folder() + QLatin1Char('/') + fileName; }

    void open()
    {
        window = std::make_unique<Vantrel>(folder(), [this](const QString &text) { messages << text; });
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }

    QLineEdit *field(const QString &name) const { return window->findChild<QLineEdit *>(name); }
    QComboBox *bookies() const { return window->findChild<QComboBox *>(QStringLiteral("cboBookies")); }

    void press(const QString &button) const
    {
        QTest::mouseClick(window->findChild<QPushButton *>(button), Qt::LeftButton);
    }

    static void typeInto(QLineEdit *edit, const QString &text)
    {
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, text);
    }

    void typeInputs(const QStringList &texts) const
    {
        for (qsizetype i = 0; i < texts.size(); ++i)
            typeInto(field(inputFieldNames[i]), texts[i]);
    }

    QStringList inputs() const
    {
        QStringList texts;
        for (const QString &name : inputFieldNames)
            texts << field(name)->text();
        return texts;
    }

    QByteArray bytes(const QString &fileName) const { return fileBytes(path(fileName)); }

    void writeBytes(const QString &fileName, const QByteArray &content) const
    {
        QVERIFY(QDir().mkpath(folder()));
        writeFileBytes(path(fileName), content);
    }

    // One message, "Error: " and the system's description after it.
    void verifyOneErrorMessage() const
    {
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages.first().startsWith(QStringLiteral("Error: ")), qPrintable(messages.first()));
        QVERIFY(messages.first().size() > 7);
    }
};

// Each test function gets a fresh fixture in an English locale, with the window open unless the
// test class asks to open it itself; other windows the test opened are closed afterwards.
class MainWindowTest : public QObject
{
    Q_OBJECT

protected:
    enum class Start { Open, ByTest };
    explicit MainWindowTest(Start start = Start::Open)
        : m_start(start)
    { }

    // Runs after the window has opened at the start of each test function.
    virtual void windowOpened() { }

    std::unique_ptr<MainWindowFixture> m_ui;

private slots:
    void init();
    void cleanup();

private:
    Start m_start;
};
