// The settings writer on files of growing size and shape, and the archive append on archives
// of growing size: time must grow with the settings file and stay flat with the archive.
#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>

#include "store/archive.h"
#include "store/iniwrite.h"

namespace {

enum Shape { KeyLines, EmptyLines, Sections };

QByteArray settingsOfSize(Shape shape, qsizetype size)
{
    QByteArray text = "[Default]\r\nStake=25\r\n";
    for (int i = 0; text.size() < size; ++i) {
        if (shape == KeyLines)
            text += "Key" + QByteArray::number(i) + "=value\r\n";
        else if (shape == EmptyLines)
            text += "\r\n";
        else
            text += "[Section" + QByteArray::number(i) + "]\r\nKey=1\r\n";
    }
    return text;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot prepare the benchmark file");
}

void BM_WriteIniValue(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("vantrel.ini"));
    const QByteArray content = settingsOfSize(Shape(state.range(0)), state.range(1));
    for (auto _ : state) {
        state.PauseTiming();
        // The empty-lines file collapses on the first write; start each write from the same bytes.
        writeFile(path, content);
        state.ResumeTiming();
        WriteIniValue(path, QStringLiteral("Default"), QStringLiteral("LayComm"), QStringLiteral("4.75"));
    }
    state.SetComplexityN(state.range(1));
    state.SetBytesProcessed(state.iterations() * state.range(1));
}

void BM_AppendToArchive(benchmark::State &state)
{
    QTemporaryDir dir;
    {
        // A sparse file of the wanted size: the append must not care what is already there.
        QFile archive(dir.filePath(QStringLiteral("vantrelLog.txt")));
        if (!archive.open(QIODevice::WriteOnly) || !archive.resize(state.range(0)))
            throw std::runtime_error("cannot prepare the archive");
    }
    const QString line = QStringLiteral("07/12/2026 09:15:30,Liverpool v Man U Correct Score 2-1,Select Bookie...,"
                                        "25,0,2,2.05,26.22,24.97,0,4.75,50.00,23.78,23.78,95.13");
    for (auto _ : state)
        store::appendToArchive(dir.path(), line);
}

} // namespace

BENCHMARK(BM_WriteIniValue)
    ->ArgsProduct({{KeyLines, EmptyLines, Sections}, {100, 10'000, 1'000'000}})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AppendToArchive)->Arg(0)->Arg(10'000'000)->Arg(200'000'000)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
