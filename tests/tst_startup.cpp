// The main window's life: what it loads at start, the converter it opens, and its closing.
#include <QLabel>
#include <QRandomGenerator>

#include "app/startup.h"
#include "converter/frmfrac.h"
#include "mainwindowtest.h"

class TestStartup : public MainWindowTest
{
    Q_OBJECT

public:
    TestStartup()
        : MainWindowTest(Start::ByTest)
    { }

private slots:
    void firstStart();
    void programNameAndIcon();
    void storedValuesLoadedUnchanged_data();
    void storedValuesLoadedUnchanged();
    void restartRestoresLastCalculation();
    void blockedDataFolder();
    void specialFileReported_data();
    void specialFileReported();
    void readOnlySettingsUnlocked();
    void bookmakerListAsEdited();
    void hostileFilesStillStart_data();
    void hostileFilesStillStart();
    void converterOpensOnce();
    void closedConverterOpensAfresh();
    void closingMainLeavesConverterRunning();
    void returningFromMainMovesConverter();

private:
    QList<frmFrac *> converters() const;
};

QList<frmFrac *> TestStartup::converters() const
{
    return openWindows<frmFrac>();
}

void TestStartup::firstStart()
{
    m_ui->open();
    const QStringList expected {"200", "50", "6.4", "6.2", "0", "4.75"};
    QCOMPARE(m_ui->inputs(), expected);
    QCOMPARE(m_ui->bookies()->count(), 25);
    QCOMPARE(m_ui->bookies()->itemText(0), QStringLiteral("BET24"));
    QCOMPARE(m_ui->bookies()->itemText(24), QStringLiteral("UKBetting"));
    QCOMPARE(m_ui->bookies()->currentText(), QStringLiteral("Select Bookie..."));
    QCOMPARE(m_ui->bookies()->currentIndex(), -1);
    QCOMPARE(m_ui->field(QStringLiteral("txtEvent"))->text(), QStringLiteral("Liverpool v Man U Correct Score 2-1"));
    QVERIFY(m_ui->field(QStringLiteral("txtBackReturn"))->text().isEmpty());
    QCOMPARE(m_ui->messages, QStringList());
    QVERIFY(!QFileInfo::exists(m_ui->path(QStringLiteral("vantrelLog.txt"))));

    m_ui->window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_ui->window.get()));
    QCOMPARE(QApplication::focusWidget(), m_ui->field(QStringLiteral("txtStake")));
    QCOMPARE(m_ui->field(QStringLiteral("txtStake"))->selectedText(), QStringLiteral("200"));
    QVERIFY(m_ui->window->windowFlags() & Qt::WindowStaysOnTopHint);
}

void TestStartup::storedValuesLoadedUnchanged_data()
{
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("LayComm removed") << QByteArray("[Default]\r\nStake=1\r\nStakeForfeit=2\r\nBackOdds=3\r\n"
                                                   "LayOdds=4\r\nBackComm=5\r\n")
                                     << QStringList {"1", "2", "3", "4", "5", ""};
    QTest::newRow("not numbers shown as stored") << QByteArray("[Default]\r\nStake=lots\r\nLayComm= 4.75 \r\n")
                                                 << QStringList {"lots", "", "", "", "", " 4.75 "};
    QTest::newRow("no section") << QByteArray("Stake=1\r\n") << QStringList {"", "", "", "", "", ""};
}

void TestStartup::storedValuesLoadedUnchanged()
{
    QFETCH(QByteArray, settings);
    QFETCH(QStringList, expected);
    m_ui->writeBytes(QStringLiteral("vantrel.ini"), settings);
    m_ui->open();
    QCOMPARE(m_ui->inputs(), expected);
    QCOMPARE(m_ui->bytes(QStringLiteral("vantrel.ini")), settings);
    m_ui->press(QStringLiteral("Command1"));
    QCOMPARE(m_ui->messages, QStringList {"Invalid input. Please ensure values are numeric."});
}

void TestStartup::restartRestoresLastCalculation()
{
    m_ui->open();
    m_ui->typeInputs({"1,000", "0", "2.50", "2.6", "0", "2"});
    m_ui->press(QStringLiteral("Command1"));
    m_ui->typeInputs({"999"}); // typed after the last Calculate: not kept
    m_ui->window->close();
    m_ui->window.reset();

    m_ui->open();
    QCOMPARE(m_ui->field(QStringLiteral("txtStake"))->text(), QStringLiteral("1,000"));
    QCOMPARE(m_ui->field(QStringLiteral("txtBackOdds"))->text(), QStringLiteral("2.50"));
    QCOMPARE(m_ui->field(QStringLiteral("txtLayComm"))->text(), QStringLiteral("2"));
}

void TestStartup::specialFileReported_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<bool>("linked");
    QTest::newRow("pipe as the list") << "bookieList.txt" << false;
    QTest::newRow("pipe as the settings") << "vantrel.ini" << false;
    QTest::newRow("link to a pipe as the settings") << "vantrel.ini" << true;
}

void TestStartup::specialFileReported()
{
    QFETCH(QString, fileName);
    QFETCH(bool, linked);
    QVERIFY(QDir().mkpath(m_ui->folder()));
    const QString pipe = linked ? m_ui->dir.filePath(QStringLiteral("pipe")) : m_ui->path(fileName);
    if (!makePipe(pipe))
        QSKIP("no named pipes on this system");
    if (linked)
        QVERIFY(QFile::link(pipe, m_ui->path(fileName)));
    m_ui->open(); // would wait on the pipe for ever if it opened it
    m_ui->verifyOneErrorMessage();
    QVERIFY(m_ui->messages.first().contains(QStringLiteral("is not a regular file")));
    QVERIFY(m_ui->window->isVisible());
}

void TestStartup::readOnlySettingsUnlocked()
{
    const QString settings = m_ui->path(QStringLiteral("vantrel.ini"));
    m_ui->writeBytes(QStringLiteral("vantrel.ini"), "[Default]\r\nStake=7\r\n");
    QVERIFY(QFile::setPermissions(settings, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    m_ui->open();
    QCOMPARE(m_ui->field(QStringLiteral("txtStake"))->text(), QStringLiteral("7"));
    QVERIFY(QFileInfo(settings).permissions().testFlag(QFileDevice::WriteOwner));

    m_ui->typeInputs({"25", "0", "2", "2.05", "0", "4.75"});
    m_ui->press(QStringLiteral("Command1"));
    QCOMPARE(m_ui->messages, QStringList());
    QVERIFY(m_ui->bytes(QStringLiteral("vantrel.ini")).startsWith("[Default]\r\nLayComm=4.75"));
}

void TestStartup::blockedDataFolder()
{
    QFile blocker(m_ui->folder());
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    m_ui->open();
    m_ui->verifyOneErrorMessage();
    QCOMPARE(m_ui->bookies()->count(), 0);

    // The calculator still works from the layout's own values; saving reports its failure.
    m_ui->press(QStringLiteral("Command1"));
    QCOMPARE(m_ui->field(QStringLiteral("txtBackReturn"))->text(), QStringLiteral("50.00"));
    QCOMPARE(m_ui->messages.size(), 2);
    QVERIFY(QFileInfo(m_ui->folder()).isFile());
}

void TestStartup::bookmakerListAsEdited()
{
    m_ui->writeBytes(QStringLiteral("bookieList.txt"), "Coral\n\n  Mansion \nCoral");
    m_ui->open();
    QStringList entries;
    for (int i = 0; i < m_ui->bookies()->count(); ++i)
        entries << m_ui->bookies()->itemText(i);
    QCOMPARE(entries, QStringList({"Coral", "", "  Mansion ", "Coral"}));
    QCOMPARE(m_ui->bookies()->currentText(), QStringLiteral("Select Bookie..."));
}

void TestStartup::hostileFilesStillStart_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("settings of random bytes") << "random";
    QTest::newRow("5 MB settings file") << "large";
    QTest::newRow("folder in the list's place") << "listfolder";
}

void TestStartup::hostileFilesStillStart()
{
    QFETCH(QString, kind);
    QRandomGenerator random(42);
    QByteArray settings = "[Default]\r\nStake=25\r\nStakeForfeit=0\r\nBackOdds=2\r\nLayOdds=2.05\r\n";
    if (kind == QLatin1String("random")) {
        settings.resize(64 * 1024);
        random.fillRange(reinterpret_cast<quint32 *>(settings.data()), settings.size() / 4);
    } else if (kind == QLatin1String("large")) {
        while (settings.size() < 5 * 1024 * 1024)
            settings += "Padding" + QByteArray::number(settings.size()) + "=" + QByteArray(64, 'x') + "\r\n";
    } else {
        QVERIFY(QDir().mkpath(m_ui->path(QStringLiteral("bookieList.txt"))));
    }
    m_ui->writeBytes(QStringLiteral("vantrel.ini"), settings);
    m_ui->open();
    QVERIFY(m_ui->window->isVisible());
    // Only the list that cannot be created is worth a word at start.
    QCOMPARE(m_ui->messages.size(), kind == QLatin1String("listfolder") ? 1 : 0);
    m_ui->messages.clear();

    m_ui->typeInputs({"25", "0", "2", "2.05", "0", "4.75"});
    m_ui->press(QStringLiteral("Command1"));
    QCOMPARE(m_ui->field(QStringLiteral("txtBackReturn"))->text(), QStringLiteral("50.00"));
    QCOMPARE(m_ui->messages, QStringList());
    QVERIFY(m_ui->bytes(QStringLiteral("vantrel.ini")).contains("LayComm=4.75\r\n"));
}

void TestStartup::converterOpensOnce()
{
    m_ui->open();
    QVERIFY(converters().isEmpty());
    m_ui->press(QStringLiteral("Command2"));
    m_ui->press(QStringLiteral("Command2"));
    QCOMPARE(converters().size(), 1);
    QVERIFY(m_ui->window->isVisible()); // modeless: the main window stays usable
    QVERIFY(!converters().first()->parentWidget());
}

void TestStartup::closedConverterOpensAfresh()
{
    m_ui->open();
    m_ui->press(QStringLiteral("Command2"));
    QPointer<frmFrac> first = converters().first();
    first->findChild<QLineEdit *>(QStringLiteral("txtNum"))->setText(QStringLiteral("9"));
    first->close();
    QTRY_VERIFY(first.isNull());

    m_ui->press(QStringLiteral("Command2"));
    QCOMPARE(converters().size(), 1);
    QCOMPARE(converters().first()->findChild<QLineEdit *>(QStringLiteral("txtNum"))->text(), QStringLiteral("5"));
}

void TestStartup::closingMainLeavesConverterRunning()
{
    m_ui->open();
    m_ui->press(QStringLiteral("Command2"));
    QVERIFY(m_ui->window->close());
    QVERIFY(!m_ui->window->isVisible());
    QCOMPARE(converters().size(), 1);

    // Still usable, and still one of the windows whose closing can end the program.
    frmFrac *converter = converters().first();
    QVERIFY(converter->testAttribute(Qt::WA_QuitOnClose));
    QVERIFY(QApplication::quitOnLastWindowClosed());
    QTest::mouseClick(converter->findChild<QPushButton *>(QStringLiteral("Command1")), Qt::LeftButton);
    QCOMPARE(converter->findChild<QLabel *>(QStringLiteral("Label1"))->text(), QStringLiteral("2.25"));
}

void TestStartup::returningFromMainMovesConverter()
{
    m_ui->open();
    m_ui->press(QStringLiteral("Command2"));
    frmFrac *converter = converters().first();
    QVERIFY(QTest::qWaitForWindowActive(converter));
    converter->move(100, 120);

    m_ui->window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_ui->window.get()));
    QCOMPARE(converter->pos(), QPoint(100, 120));
    converter->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(converter));
    QCOMPARE(converter->pos(), QPoint(0, 0));
}

// The name and the 32x32 icon that every window of the program bears.
void TestStartup::programNameAndIcon()
{
    prepareApplication();
    QCOMPARE(QApplication::applicationName(), QStringLiteral("Vantrel"));
    QCOMPARE(QApplication::windowIcon().availableSizes(), QList<QSize> {QSize(32, 32)});
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
