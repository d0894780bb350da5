// The offer calculators as a user meets them: each tab's fields found by their accessible names,
// typed into, its figures read, its record archived; bad input marked and named, nothing recorded;
// the inputs remembered; the offers file's hostile cases; and the calculator opening the window.
#include <QAccessible>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>

#include "mainwindowtest.h"
#include "offers/offerswindow.h"
#include "store/offerfile.h"
#include "tracker/columns.h"

using Texts = QList<std::pair<QString, QString>>;

class TestOffersWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void tabs_data();
    void tabs();
    void changingTheShape();
    void theBetAsPlaced();
    void onePennyEverywhere();
    void archivedRecord();
    void badInput_data();
    void badInput();
    void inputsRemembered();
    void hostileSettingsFile_data();
    void hostileSettingsFile();
    void settingsThroughALink();
    void decimalMarksInOdds_data();
    void decimalMarksInOdds();
    void longBookmakerKeptWhole();
    void hostileOffersFile_data();
    void hostileOffersFile();
    void opensFromTheCalculator();
    void tabWalksTheWholeTab_data();
    void tabWalksTheWholeTab();
    void switchingTabsFromTheKeyboard();
    void archiveFromTheKeyboard();
    void onlyTheChangedLineRewritten();
    void inputsSavedAsTyped();
    void bookmakerSpokenByName();

private:
    void openWindow();
    QWidget *openTab(const QString &title);
    template<typename Widget = QLineEdit> Widget *field(const QString &name) const;
    void type(const Texts &texts) const;
    QString offersPath() const { return m_dir->filePath(QStringLiteral("vantrelOffers.csv")); }
    QString settingsPath() const { return m_dir->filePath(QStringLiteral("vantrelOffers.ini")); }
    void pressArchive() const;

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<offers::OffersWindow> m_window;
    QStringList m_messages;
    QWidget *m_tab = nullptr;
};

void TestOffersWindow::init()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
    m_dir = std::make_unique<QTemporaryDir>();
    openWindow();
}

void TestOffersWindow::openWindow()
{
    m_messages.clear();
    m_window
        = std::make_unique<offers::OffersWindow>(m_dir->path(), [this](const QString &text) { m_messages << text; });
    QVERIFY2(m_messages.isEmpty(), "no box may open from the constructor: its event loop would run inside it");
    m_window->setClock([] { return QDateTime(QDate(2026, 12, 8), QTime(14, 5, 9)); });
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

QWidget *TestOffersWindow::openTab(const QString &title)
{
    auto *tabs = m_window->findChild<QTabWidget *>(QStringLiteral("offerTabs"));
    for (int i = 0; i < tabs->count(); ++i) {
        if (tabs->tabText(i) == title) {
            tabs->setCurrentIndex(i);
            return m_tab = tabs->widget(i);
        }
    }
    return m_tab = nullptr;
}

// The widget of the open tab with that accessible name.
template<typename Widget> Widget *TestOffersWindow::field(const QString &name) const
{
    // Rows laid out anew are shown in a queued call: a field may take a moment to appear, longer
    // under the sanitizers.
    Widget *found = nullptr;
    const bool shown = QTest::qWaitFor(
        [&] {
            for (Widget *widget : m_tab->findChildren<Widget *>()) {
                if (widget->accessibleName() == name && widget->isVisible())
                    found = widget;
            }
            return found != nullptr;
        },
        1000);
    if (!shown)
        qWarning("no field %s", qPrintable(name));
    return found;
}

void TestOffersWindow::pressArchive() const
{
    for (QPushButton *button : m_tab->findChildren<QPushButton *>()) {
        if (button->text() == "Archive")
            QTest::mouseClick(button, Qt::LeftButton);
    }
}

void TestOffersWindow::type(const Texts &texts) const
{
    // A check box is ticked by "on" and cleared by "off"; the rows it changes are laid out anew.
    for (const auto &[name, text] : texts) {
        const QList<QCheckBox *> boxes = m_tab->findChildren<QCheckBox *>();
        const auto box = std::find_if(boxes.begin(), boxes.end(), [&](auto *b) { return b->accessibleName() == name; });
        if (box == boxes.end()) {
            MainWindowFixture::typeInto(field(name), text);
            continue;
        }
        (*box)->setChecked(text == "on");
        QCoreApplication::sendPostedEvents(); // the rows are laid out anew in a queued call
    }
}

void TestOffersWindow::tabs_data()
{
    QTest::addColumn<QString>("tab");
    QTest::addColumn<Texts>("inputs");
    QTest::addColumn<Texts>("figures");

    QTest::newRow("Refund") << "Refund"
                            << Texts {{"Back stake", "20"}, {"Back odds", "4/1"}, {"Lay odds", "5.2"},
                                   {"Lay commission %", "2"}, {"Refund", ""}, {"Refund retention %", "75"}}
                            << Texts {{"Lay stake", "16.41"}, {"Liability", "68.92"}, {"Profit if back wins", "11.08"},
                                   {"Profit if lay wins", "11.08"}};
    QTest::newRow("Each way") << "Each way"
                              << Texts {{"Extra place offered", "on"}, {"Back stake (each part)", "10"},
                                     {"Back odds", "33/1"}, {"Place terms", "1/4"}, {"Win lay odds", "32"},
                                     {"Place lay odds", "7"}, {"Lay commission %", "2"}}
                              << Texts {{"Place odds", "9.25"}, {"Win lay stake", "10.63"},
                                     {"Place lay stake", "13.25"}, {"Profit if it loses", "3.40"},
                                     {"Profit on an extra place", "95.90"}};
    QTest::newRow("Underlay / overlay") << "Underlay / overlay"
                                        << Texts {{"Back stake", "10"}, {"Back odds", "3"}, {"Lay odds", "3.1"},
                                               {"Lay commission %", "2"}, {"Lay stake", ""}}
                                        << Texts {{"Balanced lay stake", "9.74"}, {"Profit if back wins", "-0.45"},
                                               {"Profit if lay wins", "-0.45"}};
    QTest::newRow("Accumulator") << "Accumulator"
                                 << Texts {{"Back stake", "10"}, {"Lay commission %", "0"}, {"Leg 1 back odds", "2"},
                                        {"Leg 1 lay odds", "2.1"}, {"Leg 2 back odds", "3"}, {"Leg 2 lay odds", "3.2"}}
                                 << Texts {{"Accumulator odds", "6.00"}, {"Leg 1 lay stake", "8.93"},
                                        {"Leg 2 lay stake", "18.75"}, {"Profit if every leg wins", "-1.07"}};
    QTest::newRow("Dutching") << "Dutching" << Texts {{"Stake 1", "20"}, {"Odds 1", "2.5"}, {"Odds 2", "4"}}
                              << Texts {{"Stake 2", "12.50"}, {"Total stake", "32.50"}, {"Profit if 1 wins", "17.50"},
                                     {"Profit if 2 wins", "17.50"}};
    QTest::newRow("Early payout") << "Early payout"
                                  << Texts {{"Paid out early", "on"}, {"Back stake", "50"}, {"Back odds", "3"},
                                         {"Lay odds", "3.1"}, {"Lay commission %", "2"}, {"Exchange back odds", "1.5"}}
                                  << Texts {{"Lay stake", "48.70"}, {"Back stake to close", "100.65"},
                                         {"Profit after closing", "48.05"}};
    QTest::newRow("Part lays") << "Part lays"
                               << Texts {{"Back stake", "50"}, {"Back odds", "4"}, {"Lay commission %", "2"},
                                      {"Part 1 lay stake", "20"}, {"Part 1 lay odds", "4.2"}, {"Lay odds now", "4.5"}}
                               << Texts {{"Lay stake now", "25.98"}, {"Total liability", "154.93"},
                                      {"Profit if lay wins", "-4.94"}};
    QTest::newRow("Multi-lay") << "Multi-lay"
                               << Texts {{"Back stake", "10"}, {"Back odds", "6"}, {"Lay 1 odds", "9"},
                                      {"Lay 2 odds", "15"}, {"Lay commission %", "2"}, {"Lays in one market", "on"}}
                               << Texts {{"Lay 1 stake", "6.68"}, {"Lay 2 liability", "56.14"},
                                      {"Profit if lay 1's outcome happens", "0.57"},
                                      {"Profit if none happens", "0.48"}};
    QTest::newRow("Casino bonus") << "Casino bonus"
                                  << Texts {{"Bonus", "50"}, {"Deposit", "50"}, {"Wagering requirement (times)", "35"},
                                         {"Game return to player %", "96"}}
                                  << Texts {{"Amount to wager", "3,500.00"}, {"Expected value", "-90.00"}};
}

void TestOffersWindow::tabs()
{
    QFETCH(QString, tab);
    QFETCH(Texts, inputs);
    QFETCH(Texts, figures);
    QVERIFY(openTab(tab));
    QCOMPARE(m_tab->accessibleName(), tab);
    type(inputs);
    for (const auto &[name, expected] : figures) {
        QLineEdit *output = field(name);
        QVERIFY(output && output->isReadOnly());
        QCOMPARE(output->text(), expected);
    }
    QCOMPARE(m_tab->findChild<QLabel *>(QStringLiteral("problem"))->text(), QString());
}

void TestOffersWindow::changingTheShape()
{
    QVERIFY(openTab("Accumulator"));
    field<QSpinBox>("Legs")->setValue(3);
    QTRY_VERIFY(field("Leg 3 lay odds"));
    type({{"Leg 3 back odds", "1.5"}, {"Leg 3 lay odds", "1.55"}});
    QVERIFY(!field("Profit if leg 3 loses")->text().isEmpty());

    QVERIFY(openTab("Dutching"));
    field<QRadioButton>("Fix total stake")->click();
    QTRY_VERIFY(field("Total stake") && !field("Total stake")->isReadOnly());
    type({{"Total stake", "32.50"}, {"Odds 1", "2.5"}, {"Odds 2", "4"}});
    QCOMPARE(field("Stake 1")->text(), "20.00");

    // The buttons set the lay stake; the figures follow it.
    QVERIFY(openTab("Underlay / overlay"));
    type({{"Back stake", "10"}, {"Back odds", "6"}, {"Lay odds", "6"}, {"Lay commission %", "2"}});
    for (QPushButton *button : m_tab->findChildren<QPushButton *>()) {
        if (button->text() == "Break even if lay wins")
            button->click();
    }
    QCOMPARE(field("Lay stake")->text(), "10.21"); // rounded up: the lay's winnings cover the stake
    QCOMPARE(field("Profit if back wins")->text(), "-1.05");
    QCOMPARE(field("Profit if lay wins")->text(), "0.01");
    type({{"Free bet (stake not returned)", "on"}});
    QCOMPARE(field("Profit if lay wins")->text(), "10.01");
}

void TestOffersWindow::theBetAsPlaced()
{
    // Leg 1 laid at the stake worked out for a second lay price of 3.2, then won; leg 2 now at 3.5.
    QVERIFY(openTab("Accumulator"));
    type({{"Back stake", "10"}, {"Lay commission %", "0"}, {"Leg 1 back odds", "2"}, {"Leg 1 lay odds", "2.1"},
        {"Leg 2 back odds", "3"}, {"Leg 2 lay odds", "3.5"}, {"Leg 1 laid stake", "8.93"}, {"Leg 1 won", "on"}});
    QCOMPARE(field("Leg 1 lay stake")->text(), "8.93");
    QCOMPARE(field("Leg 2 lay stake")->text(), "17.14");
    QCOMPARE(field("Profit if every leg wins")->text(), "-2.67");
    QVERIFY(!m_tab->findChild<QLineEdit *>(QStringLiteral("profitIfLeg1Loses"))); // it can no longer lose

    QVERIFY(openTab("Dutching"));
    type({{"Stake 1", "20"}, {"Odds 1", "2.5"}, {"Odds 2", "4"}});
    QCOMPARE(field("Profit if none wins")->text(), "-32.50");
    type({{"The selections cover every outcome", "on"}});
    QVERIFY(!m_tab->findChild<QLineEdit *>(QStringLiteral("profitIfNoneWins")));

    QVERIFY(openTab("Refund"));
    QCOMPARE(field("Free-bet value in it")->text(), "15.00");

    QVERIFY(openTab("Early payout"));
    QCOMPARE(field("Profit if the selection wins")->text(), "-2.27");
    QVERIFY(!m_tab->findChild<QLineEdit *>(QStringLiteral("profitAfterClosing")));
}

void TestOffersWindow::onePennyEverywhere()
{
    // 9.54 x 6.75 is 64.395 and 33.30 - 64.395 is -31.095: the tab, the offers file and the history
    // all say 64.40 and -31.10.
    QVERIFY(openTab("Underlay / overlay"));
    type({{"Back stake", "5"}, {"Back odds", "7.66"}, {"Lay odds", "7.75"}, {"Lay commission %", "2"},
        {"Lay stake", "9.54"}});
    QCOMPARE(field("Liability")->text(), "64.40");
    QCOMPARE(field("Profit if back wins")->text(), "-31.10");
    pressArchive();
    const QByteArray line = fileBytes(offersPath()).split('\n').value(1).chopped(1);
    QVERIFY2(
        line.contains(",5,-31.10,") && line.contains("liability=64.40;profitIfBackWins=-31.10;"), line.constData());
    store::ArchiveDates dates(QLocale::c());
    history::BetRecords records;
    history::ArchiveBatch batch = history::readBatch(history::RecordSource::Offers, offersPath(), 0, 1, 1 << 20, dates);
    history::fillOffers(batch);
    history::BookmakerNumbers().number(batch);
    records.add(std::move(batch));
    QCOMPARE(history::resultText(records.at(0), QLocale()), "-31.10");
    QVERIFY(!records.at(0).stale);
}

void TestOffersWindow::archivedRecord()
{
    QVERIFY(openTab("Refund"));
    type({{"Back stake", "20"}, {"Back odds", "5"}, {"Lay odds", "5.2"}, {"Lay commission %", "2"}, {"Refund", "20"},
        {"Refund retention %", "75"}});
    MainWindowFixture::typeInto(field("Event"), QStringLiteral("Arsenal, \"the Gunners\""));
    field<QComboBox>("Bookmaker")->setEditText(QStringLiteral("Coral"));
    for (QPushButton *button : m_tab->findChildren<QPushButton *>()) {
        if (button->text() == "Archive")
            QTest::mouseClick(button, Qt::LeftButton);
    }
    const QList<QByteArray> lines = fileBytes(offersPath()).split('\n');
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines[0], store::offerHeader() + '\r');
    QCOMPARE(lines[1],
        "1,2026-12-08T14:05:09,refund,\"Arsenal, \"\"the Gunners\"\"\",Coral,20,11.08,11.08,"
        "backOdds=5;backStake=20;layCommission=2;layOdds=5.2;refund=20;retention=75,"
        "layStake=16.41;liability=68.92;profitIfBackWins=11.08;profitIfLayWins=11.08;freeBetValue=15.00\r");
    QCOMPARE(m_messages, QStringList());
}

void TestOffersWindow::badInput_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("problem"); // empty: taken

    const QLocale gb(QLocale::English, QLocale::UnitedKingdom);
    const QLocale de(QLocale::German, QLocale::Germany);
    QTest::newRow("text") << gb << "Back stake"
                          << "twenty"
                          << "Back stake: is not a number";
    QTest::newRow("empty") << gb << "Back odds"
                           << ""
                           << "Back odds: is not a number";
    QTest::newRow("negative stake") << gb << "Back stake"
                                    << "-5"
                                    << "Back stake: must be above 0";
    QTest::newRow("zero stake") << gb << "Back stake"
                                << "0"
                                << "Back stake: must be above 0";
    QTest::newRow("odds below 1.01") << gb << "Lay odds"
                                     << "1.005"
                                     << "Lay odds: must be 1.01 or more";
    QTest::newRow("commission over 100") << gb << "Lay commission %"
                                         << "101"
                                         << "Lay commission %: must be 0 or more and below 100";
    QTest::newRow("commission of 100") << gb << "Lay commission %"
                                       << "100"
                                       << "Lay commission %: must be 0 or more and below 100";
    QTest::newRow("negative refund") << gb << "Refund"
                                     << "-1"
                                     << "Refund: must be 0 or more";
    QTest::newRow("fraction over nothing") << gb << "Back odds"
                                           << "5/0"
                                           << "Back odds: is not a number";
    QTest::newRow("de grouping it does not read") << de << "Back stake"
                                                  << "1,000.5"
                                                  << "Back stake: is not a number";
    QTest::newRow("de decimal comma") << de << "Lay odds"
                                      << "5,2"
                                      << "";
    QTest::newRow("gb grouping") << gb << "Back stake"
                                 << "1,000"
                                 << "";
}

void TestOffersWindow::badInput()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QString, problem);
    QLocale::setDefault(locale);
    QVERIFY(openTab("Refund"));
    MainWindowFixture::typeInto(field(name), text);
    QCOMPARE(m_tab->findChild<QLabel *>(QStringLiteral("problem"))->text(), problem);
    QCOMPARE(field(name)->accessibleDescription().isEmpty(), problem.isEmpty());
    QCOMPARE(field("Lay stake")->text().isEmpty(), !problem.isEmpty());
    QPushButton *archive = nullptr;
    for (QPushButton *button : m_tab->findChildren<QPushButton *>()) {
        if (button->text() == "Archive")
            archive = button;
    }
    QCOMPARE(archive->isEnabled(), problem.isEmpty());
    QTest::mouseClick(archive, Qt::LeftButton);
    QCOMPARE(QFile::exists(offersPath()), problem.isEmpty()); // nothing recorded
    QCOMPARE(m_messages, QStringList());
}

void TestOffersWindow::inputsRemembered()
{
    QVERIFY(openTab("Each way"));
    type({{"Back odds", "17/2"}});
    QVERIFY(openTab("Accumulator"));
    field<QSpinBox>("Legs")->setValue(4);
    m_window->close();
    QVERIFY(!QFile::exists(m_dir->filePath(QStringLiteral("vantrel.ini"))));
    openWindow();
    QVERIFY(openTab("Each way"));
    QCOMPARE(field("Back odds")->text(), "17/2");
    QVERIFY(openTab("Accumulator"));
    QCOMPARE(field<QSpinBox>("Legs")->value(), 4);
    QVERIFY(field("Leg 4 lay odds"));
}

void TestOffersWindow::hostileSettingsFile_data()
{
    QTest::addColumn<QByteArray>("settings"); // "<pipe>": a named pipe in the file's place
    QTest::addColumn<QString>("message"); // at opening; empty: none
    QTest::addColumn<QString>("legs"); // shown

    QTest::newRow("a pipe: the window opens with its defaults")
        << QByteArray("<pipe>") << "Error: the inputs could not be read from %1: %1 is not a regular file"
        << "2";
    QByteArray damaged(4096, '\0');
    for (qsizetype i = 0; i < damaged.size(); ++i)
        damaged[i] = char((i * 7919 + 13) % 251);
    QTest::newRow("random bytes") << damaged << ""
                                  << "2";
    QTest::newRow("a count of a billion") << QByteArray("[accumulator]\r\nlegs=1e9\r\n") << ""
                                          << "10";
    QTest::newRow("a count beyond any int") << QByteArray("[accumulator]\nlegs=1e308\n") << ""
                                            << "10";
    QTest::newRow("a count that is no number") << QByteArray("[accumulator]\nlegs=many\n") << ""
                                               << "2";
    QTest::newRow("a 20 MB value is ignored")
        << QByteArray("[accumulator]\r\nlegs=3\r\nleg1BackOdds=" + QByteArray(20 << 20, '7') + "\r\n")
        << "Error: 1 line in %1 could not be an input and was ignored."
        << "3";
}

void TestOffersWindow::hostileSettingsFile()
{
    QFETCH(QByteArray, settings);
    QFETCH(QString, message);
    QFETCH(QString, legs);
    m_window.reset();
    if (settings == "<pipe>") {
        if (!makePipe(settingsPath()))
            QSKIP("no named pipes on this system");
    } else {
        writeFileBytes(settingsPath(), settings);
    }
    openWindow();
    QCOMPARE(m_messages,
        message.isEmpty() ? QStringList() : QStringList {message.arg(QDir::toNativeSeparators(settingsPath()))});
    QVERIFY(openTab("Accumulator"));
    QCOMPARE(field<QSpinBox>("Legs")->text(), legs);
    QVERIFY(field(QStringLiteral("Leg %1 lay odds").arg(legs)));
    QVERIFY(!field(QStringLiteral("Leg %1 lay odds").arg(legs.toInt() + 1)));

    // The inputs typed are saved, and only a failure to save them is reported.
    m_messages.clear();
    type({{"Back stake", "12"}});
    m_window->close();
    if (settings == "<pipe>") {
        QCOMPARE(m_messages.size(), 1);
        QVERIFY2(
            m_messages.first().startsWith("Error: the inputs could not be saved in "), qPrintable(m_messages.first()));
        return;
    }
    QCOMPARE(m_messages, QStringList());
    openWindow();
    QVERIFY(openTab("Accumulator"));
    QCOMPARE(field("Back stake")->text(), "12");
}

void TestOffersWindow::settingsThroughALink()
{
#ifdef Q_OS_WIN
    QSKIP("links are shortcut files on Windows");
#endif
    // A link to a regular file is written through; a link to what is no regular file (a pipe the
    // test makes, standing in for a device) is never replaced by a file.
    m_window.reset();
    const QString target = m_dir->filePath(QStringLiteral("kept.ini"));
    writeFileBytes(target, "[refund]\r\nbackStake=30\r\n");
    QVERIFY(QFile::link(target, settingsPath()));
    openWindow();
    QVERIFY(openTab("Refund"));
    QCOMPARE(field("Back stake")->text(), "30");
    type({{"Back stake", "31"}});
    m_window->close();
    QVERIFY(QFileInfo(settingsPath()).isSymLink());
    QVERIFY(fileBytes(target).contains("backStake=31\r\n"));

    const QString pipe = m_dir->filePath(QStringLiteral("pipe"));
    if (!makePipe(pipe))
        QSKIP("no named pipes on this system");
    QVERIFY(QFile::remove(settingsPath()) && QFile::link(pipe, settingsPath()));
    openWindow();
    QVERIFY(openTab("Refund"));
    type({{"Back stake", "32"}});
    m_window->close();
    QVERIFY(!QFileInfo(pipe).isFile());
    QVERIFY(QFileInfo(settingsPath()).isSymLink());
}

void TestOffersWindow::decimalMarksInOdds_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("odds");
    QTest::addColumn<QString>("liability"); // empty: refused

    const QLocale de(QLocale::German, QLocale::Germany);
    const QLocale gb(QLocale::English, QLocale::UnitedKingdom);
    // Back 20 at 5, refund 20 at 75 %, 2 %: at 1.125 lay 76.92 for 9.62 (at 1125: 0.08 for 89.92).
    QTest::newRow("de: a point is the decimal mark in odds") << de << "1.125"
                                                             << "9,62";
    QTest::newRow("de: so is a comma") << de << "1.125"
                                       << "9,62";
    QTest::newRow("de: grouping is no odds") << de << "1.000,5"
                                             << "";
    QTest::newRow("gb: a comma is the decimal mark in odds") << gb << "1,125"
                                                             << "9.62";
    QTest::newRow("gb: grouping is no odds") << gb << "1,000.5"
                                             << "";
    QTest::newRow("gb: a fraction of decimals") << gb << "1,5/4"
                                                << "23.52";
}

void TestOffersWindow::decimalMarksInOdds()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, odds);
    QFETCH(QString, liability);
    QLocale::setDefault(locale);
    QVERIFY(openTab("Refund"));
    type({{"Back stake", "20"}, {"Back odds", "5"}, {"Lay commission %", "2"}, {"Refund", "20"},
        {"Refund retention %", "75"}, {"Lay odds", odds}});
    QCOMPARE(field("Liability")->text(), liability);
}

void TestOffersWindow::longBookmakerKeptWhole()
{
    // Pasted text beyond Qt's default limit of 32,767 characters stays whole, as the event does.
    QVERIFY(openTab("Refund"));
    const QString longText(40'000, QLatin1Char('b'));
    QApplication::clipboard()->setText(longText);
    QTest::keyClick(field<QComboBox>("Bookmaker")->lineEdit(), Qt::Key_V, Qt::ControlModifier);
    QApplication::clipboard()->setText(longText + "e");
    QTest::keyClick(field("Event"), Qt::Key_V, Qt::ControlModifier);
    pressArchive();
    const QByteArray record = fileBytes(offersPath()).split('\n').value(1);
    QVERIFY(record.contains(',' + longText.toLatin1() + "e," + longText.toLatin1() + ','));
}

void TestOffersWindow::hostileOffersFile_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<int>("lines"); // after one archive; -1: refused
    QTest::newRow("new file gets the header") << QByteArray() << 2;
    QTest::newRow("empty file gets the header") << QByteArray("") << 2;
    QTest::newRow("cut last line: the record starts a line of its own")
        << QByteArray(store::offerHeader() + "\r\n1,2026-12-08T14:05:09,refund,Arsen") << 3;
    QTest::newRow("a folder in its place") << QByteArray("<folder>") << -1;
}

void TestOffersWindow::hostileOffersFile()
{
    QFETCH(QByteArray, before);
    QFETCH(int, lines);
    if (before == "<folder>")
        QVERIFY(QDir().mkpath(offersPath()));
    else if (!before.isNull())
        writeFileBytes(offersPath(), before);
    QVERIFY(openTab("Refund"));
    for (QPushButton *button : m_tab->findChildren<QPushButton *>()) {
        if (button->text() == "Archive")
            QTest::mouseClick(button, Qt::LeftButton);
    }
    if (lines < 0) {
        QCOMPARE(m_messages.size(), 1);
        QVERIFY2(m_messages.first().startsWith("Error: ") && m_messages.first().contains("folder"),
            qPrintable(m_messages.first()));
        return;
    }
    const QByteArray after = fileBytes(offersPath());
    QVERIFY(after.startsWith(store::offerHeader() + "\r\n"));
    QCOMPARE(after.count("\r\n"), lines);
    QVERIFY(after.endsWith("\r\n"));
    QVERIFY(store::splitOfferLine(after.split('\n').at(lines - 1).chopped(1)));
}

void TestOffersWindow::opensFromTheCalculator()
{
    m_window.reset();
    MainWindowFixture calculator;
    calculator.open();
    auto *calculate = calculator.window->findChild<QPushButton *>(QStringLiteral("Command1"));
    QCOMPARE(calculate->contextMenuPolicy(), Qt::ActionsContextMenu);
    QCOMPARE(calculate->actions().first()->text(), "Offer calculators...");
    QCOMPARE(calculator.window->contextMenuPolicy(), Qt::ActionsContextMenu);
    QTest::keyClick(calculator.window.get(), Qt::Key_K, Qt::ControlModifier);
    const QList<offers::OffersWindow *> open = openWindows<offers::OffersWindow>();
    QCOMPARE(open.size(), 1);
    QCOMPARE(open.first()->windowTitle(), "Offer calculators");
    QVERIFY(open.first()->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    open.first()->close();
}

void TestOffersWindow::tabWalksTheWholeTab_data()
{
    QTest::addColumn<QString>("tab");
    for (const calc::BetKind kind : calc::offerKinds()) {
        const QString title = QString::fromUtf8(calc::offerTabTitle(kind));
        QTest::newRow(qPrintable(title)) << title;
    }
}

void TestOffersWindow::tabWalksTheWholeTab()
{
    QFETCH(QString, tab);
    m_window->resize(700, 1500); // nothing scrolls, so that reading order is the order on screen
    QVERIFY(openTab(tab));
    QList<QWidget *> expected = readingOrder(m_tab);
    expected << m_window->findChild<QTabWidget *>()->tabBar() << expected.first();
    QCOMPARE(QApplication::focusWidget(), expected.first());
    QList<QWidget *> walked {QApplication::focusWidget()};
    while (walked.size() < expected.size()) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        walked << QApplication::focusWidget();
    }
    QCOMPARE(walked, expected);
    for (qsizetype i = expected.size() - 2; i >= 0; --i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QCOMPARE(QApplication::focusWidget(), expected[i]);
    }
}

void TestOffersWindow::switchingTabsFromTheKeyboard()
{
    QVERIFY(openTab("Refund"));
    auto *tabs = m_window->findChild<QTabWidget *>();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(tabs->currentIndex(), 1);
    QCOMPARE(QApplication::focusWidget(), readingOrder(tabs->currentWidget()).first());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(tabs->currentIndex(), 0);
    QCOMPARE(QApplication::focusWidget(), readingOrder(tabs->currentWidget()).first());

    // A count or a choice changed from the keyboard keeps the focus while its rows are laid out anew.
    QVERIFY(openTab("Accumulator"));
    field<QSpinBox>("Legs")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    QTRY_VERIFY(field("Leg 3 lay odds"));
    QCOMPARE(QApplication::focusWidget(), field<QSpinBox>("Legs"));
    QVERIFY(openTab("Multi-lay"));
    field<QSpinBox>("Lays")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    QTRY_VERIFY(field("Lay 3 odds"));
    QCOMPARE(QApplication::focusWidget(), field<QSpinBox>("Lays"));
    QVERIFY(openTab("Dutching"));
    field<QRadioButton>("Fix stake 1")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    QTRY_VERIFY(field("Total stake") && !field("Total stake")->isReadOnly());
    QCOMPARE(QApplication::focusWidget(), field<QRadioButton>("Fix total stake"));
}

void TestOffersWindow::archiveFromTheKeyboard()
{
    QStringList asked;
    bool again = false;
    m_window->setConfirm([&](const QString &question) {
        asked << question;
        return again;
    });
    QVERIFY(openTab("Each way"));
    type({{"Back stake (each part)", "10"}, {"Back odds", "5"}, {"Place terms", "1/4"}, {"Win lay odds", "5.5"},
        {"Place lay odds", "2"}});
    MainWindowFixture::typeInto(field("Event"), QStringLiteral("Kempton 3:10"));
    field<QComboBox>("Bookmaker")->setEditText(QStringLiteral("Bet365"));
    QTest::keyClick(field("Event"), Qt::Key_Return);
    QVERIFY(!QFile::exists(offersPath())); // Enter in an input never archives

    auto *archive = m_tab->findChild<QPushButton *>(QStringLiteral("archive"));
    archive->setFocus();
    QTest::keyClick(archive, Qt::Key_Return);
    QCOMPARE(fileBytes(offersPath()).count('\n'), 2);
    const QString line = "Archived: Each way, Kempton 3:10, Bet365, 14:05";
    QCOMPARE(m_tab->findChild<QLabel *>(QStringLiteral("archived"))->text(), line);
    // The focus returns to the first input, which a screen reader reads with the line.
    QCOMPARE(QApplication::focusWidget(), field("Back stake (each part)"));
    QAccessibleInterface *first = QAccessible::queryAccessibleInterface(QApplication::focusWidget());
    QCOMPARE(first->text(QAccessible::Description), line);
    // However the first archive was made, a click asks before archiving the same offer again.
    pressArchive();
    QCOMPARE(asked.size(), 1);
    QCOMPARE(fileBytes(offersPath()).count('\n'), 2);
    asked.clear();

    // A second archive of the same offer is asked first, No by default.
    archive->setFocus();
    QTest::keyClick(archive, Qt::Key_Enter);
    QCOMPARE(asked, QStringList {"This offer is already archived. Archive it again?"});
    QCOMPARE(fileBytes(offersPath()).count('\n'), 2);
    again = true;
    QTest::keyClick(archive, Qt::Key_Space);
    QCOMPARE(fileBytes(offersPath()).count('\n'), 3);
    type({{"Back odds", "6"}});
    pressArchive();
    QCOMPARE(asked.size(), 2); // a changed offer is not asked about
    QCOMPARE(fileBytes(offersPath()).count('\n'), 4);
    type({{"Back stake (each part)", "11"}});
    QCOMPARE(first->text(QAccessible::Description), QString());
}

void TestOffersWindow::onlyTheChangedLineRewritten()
{
    // Comments, lines before the first section, a value too long to be read, a section twice and a
    // last line without its end stay byte for byte; the one input typed changes its own line.
    const QByteArray tooLong = "backStake=" + QByteArray(300, '9');
    const QByteArray before = "; my settings\npreamble=1\n[refund]\r\n; odds at 2pm\r\nbackOdds=5\r\n" + tooLong
        + "\r\n\r\n[each-way]\nbackOdds=9\n[refund]\nlayOdds=5.2";
    writeFileBytes(settingsPath(), before);
    openWindow();
    QVERIFY(openTab("Refund"));
    type({{"Back odds", "7/2"}, {"Refund retention %", "80"}});
    QByteArray after = before;
    after.replace("backOdds=5\r\n", "backOdds=7/2\r\n").append("\r\nretention=80\r\n");
    QTRY_COMPARE_WITH_TIMEOUT(fileBytes(settingsPath()), after, 2000);
}

void TestOffersWindow::inputsSavedAsTyped()
{
    QVERIFY(openTab("Refund"));
    type({{"Back odds", "7/2"}});
    QTRY_VERIFY_WITH_TIMEOUT(fileBytes(settingsPath()).contains("backOdds=7/2"), 1000);
    // The first window never closes, as when the program is killed; a second one finds the inputs.
    offers::OffersWindow second(m_dir->path());
    second.show();
    auto *tabs = second.findChild<QTabWidget *>();
    QCOMPARE(tabs->currentWidget()->findChild<QLineEdit *>(QStringLiteral("backOdds"))->text(), "7/2");
    QCOMPARE(m_messages, QStringList());
}

void TestOffersWindow::bookmakerSpokenByName()
{
    QVERIFY(openTab("Refund"));
    auto *bookmaker = field<QComboBox>("Bookmaker");
    bookmaker->setEditText(QStringLiteral("Bet365"));
    QCOMPARE(spokenName(bookmaker), "Bookmaker");
    QCOMPARE(QAccessible::queryAccessibleInterface(bookmaker)->text(QAccessible::Value), "Bet365");
    // The box's line has the focus and is what a screen reader reads.
    QAccessibleInterface *line = QAccessible::queryAccessibleInterface(bookmaker->lineEdit());
    QCOMPARE(line->text(QAccessible::Name), "Bookmaker");
    QCOMPARE(line->text(QAccessible::Value), "Bet365");
}

QTEST_MAIN(TestOffersWindow)
#include "tst_offerswindow.moc"
