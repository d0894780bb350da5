// A main window on a temporary data folder, with its messages recorded instead of shown,
// and the small steps a user takes: typing into a field, pressing a button.
#pragma once

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "vantrel.h"

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
        static const QStringList names {
            "txtStake", "txtStakeForfeit", "txtBackOdds", "txtLayOdds", "txtBackComm", "txtLayComm"};
        for (qsizetype i = 0; i < texts.size(); ++i)
            typeInto(field(names[i]), texts[i]);
    }

    QByteArray bytes(const QString &fileName) const
    {
        QFile file(path(fileName));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    void writeBytes(const QString &fileName, const QByteArray &content) const
    {
        QVERIFY(QDir().mkpath(folder()));
        QFile file(path(fileName));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(content), content.size());
    }
};
