// Windows only, on the real windows platform: each activation puts the window back on top with
// SetWindowPos, even after something else took the top-most style away.
#include <windows.h>

#include "converter/frmfrac.h"
#include "mainwindowtest.h"

class TestKeepOnTop : public MainWindowTest
{
    Q_OBJECT

private slots:
    void topMostAfterEachActivation();

private:
    static bool isTopMost(QWidget *window)
    {
        return GetWindowLongPtrW(reinterpret_cast<HWND>(window->winId()), GWL_EXSTYLE) & WS_EX_TOPMOST;
    }
    static void dropTopMost(QWidget *window)
    {
        SetWindowPos(reinterpret_cast<HWND>(window->winId()), HWND_NOTOPMOST, 0, 0, 0, 0,
            SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    }
    static void activate(QWidget *window)
    {
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
    }
};

void TestKeepOnTop::topMostAfterEachActivation()
{
    activate(m_ui->window.get());
    QVERIFY(isTopMost(m_ui->window.get()));

    m_ui->press(QStringLiteral("Command2"));
    const QList<frmFrac *> converters = openWindows<frmFrac>();
    QCOMPARE(converters.size(), 1);
    frmFrac *converter = converters.first();
    activate(converter);
    QVERIFY(isTopMost(converter));

    dropTopMost(m_ui->window.get());
    QVERIFY(!isTopMost(m_ui->window.get()));
    activate(m_ui->window.get()); // coming back from the program's other form is an activation
    QVERIFY(isTopMost(m_ui->window.get()));
}

QTEST_MAIN(TestKeepOnTop)
#include "tst_keepontop.moc"
