// Appending to the data files as programs really do it: two programs appending to one file at once
// (a second process each), two saving the offer inputs at once, and files whose lines end otherwise
// than in CR LF.
#include <QDir>
#include <QProcess>
#include <QTest>

#include "filebytes.h"
#include "store/csvfield.h"
#include "store/files.h"
#include "store/offerfile.h"
#include "store/offerinputs.h"

class TestAppends : public TemporaryFolderTest
{
    Q_OBJECT

private slots:
    void twoProgramsAtOnce();
    void twoProgramsSavingInputsAtOnce();
    void lineEndsOfTheFile_data();
    void lineEndsOfTheFile();
};

namespace {

// The helper stands beside the test (a Windows path of the build folder means nothing under Wine).
QString helper()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/" FAULT_HELPER);
}

} // namespace

void TestAppends::twoProgramsAtOnce()
{
    // Each appends its offers one at a time to a new offers file, as two open offer windows do.
    constexpr int each = 3000;
    QProcess first;
    QProcess second;
    first.start(helper(), {"offer", m_dir->path(), "first", QString::number(each)});
    second.start(helper(), {"offer", m_dir->path(), "second", QString::number(each)});
    QVERIFY(first.waitForFinished(60'000) && second.waitForFinished(60'000));
    QCOMPARE(first.exitCode(), 0);
    QCOMPARE(second.exitCode(), 0);

    const QList<QByteArray> lines = fileBytes(m_dir->filePath(QStringLiteral("vantrelOffers.csv"))).split('\n');
    QCOMPARE(lines.size(), 2 * each + 2); // the header, the records, and nothing after the last line end
    QCOMPARE(lines.first(), store::offerHeader() + '\r');
    QStringList events;
    for (qsizetype i = 1; i < lines.size() - 1; ++i) {
        const QByteArray line = lines[i].chopped(1); // the fields are views into it
        const std::optional<store::OfferFields> fields = store::splitOfferLine(line);
        QVERIFY2(fields && lines[i].endsWith('\r'), lines[i].constData());
        events << store::csvText((*fields)[std::size_t(store::OfferField::Event)]);
    }
    events.sort();
    events.removeDuplicates();
    QCOMPARE(events.size(), 2 * each);
}

void TestAppends::twoProgramsSavingInputsAtOnce()
{
    // Each saves a key at a time in a section of its own, as two offer windows do: none is lost.
    constexpr int each = 150;
    QProcess first;
    QProcess second;
    first.start(helper(), {"inputs", m_dir->path(), "first", QString::number(each)});
    second.start(helper(), {"inputs", m_dir->path(), "second", QString::number(each)});
    QVERIFY(first.waitForFinished(60'000) && second.waitForFinished(60'000));
    QCOMPARE(first.exitCode(), 0);
    QCOMPARE(second.exitCode(), 0);
    const store::OfferInputSections sections = store::readOfferInputs(m_dir->path()).sections;
    QCOMPARE(sections.at("first").size(), each);
    QCOMPARE(sections.at("second").size(), each);
    const QString lock = m_dir->filePath(QStringLiteral("vantrelOffers.ini.lock"));
    QVERIFY(!QFile::exists(lock));
    // A folder in the lock's place is said to be one, at once.
    QVERIFY(QDir().mkpath(lock));
    first.start(helper(), {"inputs", m_dir->path(), "first", "1"});
    QVERIFY(first.waitForFinished(60'000));
    QCOMPARE(first.exitCode(), 3);
    QVERIFY(first.readAllStandardError().endsWith("is a folder, not a file"));
}

void TestAppends::lineEndsOfTheFile_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");
    QTest::newRow("new file: the header first") << QByteArray() << QByteArray("Header\r\nnew\r\n");
    QTest::newRow("CR LF") << QByteArray("a\r\n") << QByteArray("a\r\nnew\r\n");
    QTest::newRow("LF") << QByteArray("a\nb\n") << QByteArray("a\nb\nnew\r\n");
    QTest::newRow("CR alone, as old Mac files end lines") << QByteArray("a\rb\r") << QByteArray("a\rb\rnew\r\n");
    QTest::newRow("a last line cut short") << QByteArray("a\r\nb") << QByteArray("a\r\nb\r\nnew\r\n");
}

void TestAppends::lineEndsOfTheFile()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    const QString path = m_dir->filePath(QStringLiteral("file.csv"));
    if (!before.isNull())
        writeFileBytes(path, before);
    store::files::appendLines(path, {"new"}, "Header");
    QCOMPARE(fileBytes(path), after);
}

QTEST_GUILESS_MAIN(TestAppends)
#include "tst_appends.moc"
