// The offer calculators and the history on a 1920x1200 screen at the scale VANTREL_TEST_SCALE gives
// (100 % unless set): each opens within the screen's available area with its buttons on it, and the
// history's search field still shows what it is for at the window's narrowest.
#include <QApplication>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include "history/historywindow.h"
#include "offers/offerswindow.h"
#include "tracker/columns.h"

class TestScreens : public QObject
{
    Q_OBJECT

private slots:
    void offersWindowFits();
    void historyWindowFits();
    void searchPlaceholderAtTheNarrowest();

private:
    static void verifyOnScreen(QWidget *window, const QList<QWidget *> &controls);
    QTemporaryDir m_dir;
};

void TestScreens::verifyOnScreen(QWidget *window, const QList<QWidget *> &controls)
{
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    const QRect available = window->screen()->availableGeometry();
    QVERIFY2(available.contains(window->frameGeometry()),
        qPrintable(QStringLiteral("%1 opens at %2,%3 %4x%5 on %6x%7")
                       .arg(window->objectName())
                       .arg(window->frameGeometry().x())
                       .arg(window->frameGeometry().y())
                       .arg(window->frameGeometry().width())
                       .arg(window->frameGeometry().height())
                       .arg(available.width())
                       .arg(available.height())));
    for (QWidget *control : controls) {
        QVERIFY(control->isVisible());
        QVERIFY(available.contains(QRect(control->mapToGlobal(QPoint(0, 0)), control->size())));
    }
}

void TestScreens::offersWindowFits()
{
    // Every tab, the longest forms included, keeps its Archive button on the screen.
    offers::OffersWindow window(m_dir.path());
    auto *tabs = window.findChild<QTabWidget *>();
    for (int i = 0; i < tabs->count(); ++i) {
        tabs->setCurrentIndex(i);
        verifyOnScreen(&window, {tabs->currentWidget()->findChild<QPushButton *>("archive")});
    }
}

void TestScreens::historyWindowFits()
{
    history::HistoryWindow window(m_dir.path());
    verifyOnScreen(&window, {window.findChild<QPushButton *>("saveAsCsv")});
    // At a first start every column up to Actual is in view, Status and Actual whole.
    const auto *table = window.findChild<QTableView *>("records");
    const QHeaderView *header = table->horizontalHeader();
    const int actual = int(history::Column::Actual);
    QVERIFY2(header->sectionViewportPosition(actual) + header->sectionSize(actual) <= table->viewport()->width(),
        qPrintable(QStringLiteral("Actual ends at %1 in %2")
                       .arg(header->sectionViewportPosition(actual) + header->sectionSize(actual))
                       .arg(table->viewport()->width())));
}

void TestScreens::searchPlaceholderAtTheNarrowest()
{
    history::HistoryWindow window(m_dir.path());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.resize(window.minimumSizeHint());
    QTRY_COMPARE(window.width(), window.minimumSizeHint().width());
    const auto *search = window.findChild<QLineEdit *>("eventSearch");
    QVERIFY(search->width() > search->fontMetrics().horizontalAdvance(search->placeholderText()));
}

int main(int argc, char *argv[])
{
    // The offscreen platform's screen as a test asks for it, at the scale of the system's setting.
    // The file lies in the working folder under a name without a drive or colon, which would end
    // the platform's argument.
    const int scale = std::max(qEnvironmentVariableIntValue("VANTREL_TEST_SCALE"), 1);
    const QString config = QStringLiteral("tst_screens-%1.json").arg(QCoreApplication::applicationPid());
    QFile screen(config);
    if (!screen.open(QIODevice::WriteOnly)
        || screen.write(QStringLiteral(R"({"screens": [{"name": "screen", "width": 1920, "height": 1200, )"
                                       R"("logicalDpi": %1, "logicalBaseDpi": 96}]})")
                            .arg(96 * scale)
                            .toUtf8())
            < 0)
        return 2;
    screen.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.toUtf8());
    int status = 0;
    {
        QApplication app(argc, argv);
        TestScreens test;
        status = QTest::qExec(&test, argc, argv);
    }
    QFile::remove(config);
    return status;
}

#include "tst_screens.moc"
