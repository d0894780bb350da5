#include "mainwindowtest.h"

#include <QApplication>

void MainWindowTest::init()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
    m_ui = std::make_unique<MainWindowFixture>();
    if (m_start == Start::ByTest)
        return;
    m_ui->open();
    windowOpened();
}

void MainWindowTest::cleanup()
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget != m_ui->window.get() && widget->isVisible())
            widget->close();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    m_ui.reset();
}
