// The window's own pace and footprint, offscreen: steps per second at speed-bar position 1, the
// time from process start to the main window shown, and resident memory.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QScrollBar>
#include <QTest>
#include <chrono>
#include <fstream>
#include <sstream>
#include <string>

#include "ui/application_setup.h"
#include "ui/main_window.h"

namespace {

using namespace tobric;

double ResidentMegabytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
    return 0;
}

// Seconds since the process started, from the kernel's record of its start time.
double SecondsSinceProcessStart() {
    std::ifstream stat("/proc/self/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), {});
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string field;
    for (int i = 0; i < 20; ++i) fields >> field;  // field 22 of the line: starttime
    const double started = std::stod(field) / static_cast<double>(sysconf(_SC_CLK_TCK));
    std::ifstream uptime("/proc/uptime");
    double now = 0;
    uptime >> now;
    return now - started;
}

// Runs `program` padded to `lines` mailboxes at speed 1 for two seconds; `stepsPerLoop` steps
// add 1 to the accumulator, so the accumulator counts the loops.
void RunAtFullSpeed(benchmark::State& state, std::vector<std::string> program, int lines,
                    int stepsPerLoop) {
    for (auto _ : state) {
        TForm1 form;
        form.show();
        if (!QTest::qWaitForWindowExposed(&form)) state.SkipWithError("window not shown");
        while (static_cast<int>(program.size()) < lines) program.emplace_back("DAT 00");
        form.machine().ReplaceProgram(program);
        form.ScrollBar1->setValue(1);
        form.machine().Run();
        QElapsedTimer clock;
        clock.start();
        QEventLoop loop;
        QTimer::singleShot(2000, &loop, &QEventLoop::quit);
        loop.exec();
        const double seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
        form.executionTimer().SetEnabled(false);
        const double steps = double(form.machine().registers().accumulator) * stepsPerLoop;
        state.SetIterationTime(seconds);
        state.counters["steps_per_second"] = steps / seconds;
    }
}

void BM_WindowLoopWithoutStore(benchmark::State& state) {
    RunAtFullSpeed(state, {"ADD 03", "SKN", "JMP 00", "DAT 1"}, 100, 3);
}
BENCHMARK(BM_WindowLoopWithoutStore)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

void BM_WindowLoopWithStore(benchmark::State& state) {
    RunAtFullSpeed(state,
                   {"LDA 10", "ADD 11", "STA 10", "JMP 00", "DAT 00", "DAT 00", "DAT 00", "DAT 00",
                    "DAT 00", "DAT 00", "DAT 0", "DAT 1"},
                   100, 4);
}
BENCHMARK(BM_WindowLoopWithStore)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

void BM_WindowLoopWithStoreOnLargeStore(benchmark::State& state) {
    RunAtFullSpeed(state,
                   {"LDA 10", "ADD 11", "STA 10", "JMP 00", "DAT 00", "DAT 00", "DAT 00", "DAT 00",
                    "DAT 00", "DAT 00", "DAT 0", "DAT 1"},
                   65535, 4);
}
BENCHMARK(BM_WindowLoopWithStoreOnLargeStore)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);

void BM_ResidentMemory(benchmark::State& state) {
    for (auto _ : state) {
        TForm1 form;
        form.show();
        if (!QTest::qWaitForWindowExposed(&form)) state.SkipWithError("window not shown");
        QApplication::processEvents();
        state.counters["idle_MB"] = ResidentMegabytes();
        for (int i = 0; i < 1'000'000; ++i) form.ShowOutput(i);
        QApplication::processEvents();
        state.counters["after_million_outputs_MB"] = ResidentMegabytes();
    }
}
BENCHMARK(BM_ResidentMemory)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

int main(int argc, char** argv) {
    const double beforeMain = SecondsSinceProcessStart();
    QElapsedTimer clock;
    clock.start();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    SetUpApplication(application);
    {
        // Start-up as the program does it: the main window created and shown.
        TForm1 form;
        form.show();
        if (!QTest::qWaitForWindowExposed(&form)) return 1;
        std::printf(
            "startup: %.0f ms from process start to main() (10 ms resolution), "
            "%.1f ms from main() to the main window shown\n",
            beforeMain * 1000, static_cast<double>(clock.nsecsElapsed()) / 1e6);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
