// The main window at work: one Calculate click end to end, and a start-up on a very long
// bookmaker list.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>

#include "app/vantrel.h"

namespace {

void BM_CalculateClick(benchmark::State &state)
{
    QTemporaryDir home;
    Vantrel window(home.filePath(QStringLiteral("vantrel")), [](const QString &) {});
    auto *calculate = window.findChild<QPushButton *>(QStringLiteral("Command1"));
    for (auto _ : state)
        calculate->click();
}

void BM_StartWithLongBookieList(benchmark::State &state)
{
    QTemporaryDir home;
    const QString folder = home.filePath(QStringLiteral("vantrel"));
    Vantrel(folder, [](const QString &) {}); // writes the default files
    QFile list(folder + QStringLiteral("/bookieList.txt"));
    if (!list.open(QIODevice::WriteOnly))
        throw std::runtime_error("cannot write the list");
    for (int64_t i = 0; i < state.range(0); ++i)
        list.write("Bookmaker number " + QByteArray::number(i) + "\r\n");
    list.close();
    for (auto _ : state) {
        Vantrel window(folder, [](const QString &) {});
        window.show();
        // Opening the list is what a user does next; it must not stall on the list's length.
        window.findChild<QComboBox *>(QStringLiteral("cboBookies"))->showPopup();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(window.findChild<QComboBox *>(QStringLiteral("cboBookies"))->count());
    }
    state.SetComplexityN(state.range(0));
}

} // namespace

BENCHMARK(BM_CalculateClick)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StartWithLongBookieList)->Arg(1'000)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
