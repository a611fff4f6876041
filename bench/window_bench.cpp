// SPDX-License-Identifier: GPL-3.0-or-later
// The windows' pace, start-up, large-store commands and footprint. Every figure stands beside a
// reference measured in the same run on the same machine, so a reader can tell our own slowness
// from the platform's: the run's pace beside a bare timer at the same interval, Load beside the
// bare file read, the editor beside a plain text box given the same text. Start-up is the real
// program's, from exec to its main window mapped, and needs an X server (DISPLAY); the other
// figures run offscreen when QT_QPA_PLATFORM is not set.

#include <benchmark/benchmark.h>
#include <xcb/xcb.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPlainTextEdit>
#include <QProcess>
#include <QScrollBar>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "machine/program_file.h"
#include "ui/application_setup.h"
#include "ui/editor_window.h"
#include "ui/file_chooser.h"
#include "ui/main_window.h"
#include "ui/text_codec.h"

namespace {

using namespace tobric;

constexpr int kLargeStore = 65535;

double Milliseconds(const QElapsedTimer& clock) {
    return static_cast<double>(clock.nsecsElapsed()) / 1e6;
}

double ResidentMegabytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
    return 0;
}

// Ticks per second of a bare precise repeating QTimer at `interval` ms over `seconds`: the best
// pace the platform's timer allows a run at that speed-bar position.
double BareTimerTicksPerSecond(int interval, int milliseconds) {
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    timer.setInterval(interval);
    long ticks = 0;
    QObject::connect(&timer, &QTimer::timeout, &timer, [&ticks] { ++ticks; });
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    QElapsedTimer clock;
    clock.start();
    timer.start();
    loop.exec();
    return static_cast<double>(ticks) / (Milliseconds(clock) / 1000);
}

// Runs `program` padded to `lines` mailboxes for two seconds at speed-bar position
// state.range(0) (the interval in ms), beside a bare timer at the same interval.
void RunAtSpeed(benchmark::State& state, std::vector<std::string> program, int lines) {
    const int interval = static_cast<int>(state.range(0));
    const int duration = std::max(2000, 20 * interval);
    while (static_cast<int>(program.size()) < lines) program.emplace_back("DAT 00");
    for (auto _ : state) {
        TForm1 form;
        form.show();
        if (!QTest::qWaitForWindowExposed(&form)) state.SkipWithError("window not shown");
        const double bare = BareTimerTicksPerSecond(interval, duration);
        form.machine().ReplaceProgram(program);
        form.ScrollBar1->setValue(interval);
        long steps = 0;
        QObject::connect(&form.executionTimer(), &QtExecutionTimer::Tick, &form,
                         [&steps] { ++steps; });
        QEventLoop loop;
        QTimer::singleShot(duration, &loop, &QEventLoop::quit);
        QElapsedTimer clock;
        clock.start();
        form.machine().Run();
        loop.exec();
        const double seconds = Milliseconds(clock) / 1000;
        form.executionTimer().SetEnabled(false);
        state.SetIterationTime(seconds);
        state.counters["steps_per_second"] = static_cast<double>(steps) / seconds;
        state.counters["bare_timer_ticks_per_second"] = bare;
        state.counters["ratio_to_bare_timer"] = static_cast<double>(steps) / seconds / bare;
    }
}

const std::vector<std::string> kLoopWithStore = {"LDA 10", "ADD 11", "STA 10", "JMP 00",
                                                 "DAT 00", "DAT 00", "DAT 00", "DAT 00",
                                                 "DAT 00", "DAT 00", "DAT 0",  "DAT 1"};

void BM_WindowLoopWithoutStore(benchmark::State& state) {
    RunAtSpeed(state, {"ADD 03", "SKN", "JMP 00", "DAT 1"}, 100);
}
void BM_WindowLoopWithStore(benchmark::State& state) { RunAtSpeed(state, kLoopWithStore, 100); }
void BM_WindowLoopWithStoreOnLargeStore(benchmark::State& state) {
    RunAtSpeed(state, kLoopWithStore, kLargeStore);
}
// Speed-bar positions: full speed, a brisk pace and a slow one, each run once.
void AtThreeSpeeds(benchmark::internal::Benchmark* run) {
    run->Arg(1)->Arg(10)->Arg(100)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
}
BENCHMARK(BM_WindowLoopWithoutStore)->Apply(AtThreeSpeeds);
BENCHMARK(BM_WindowLoopWithStore)->Apply(AtThreeSpeeds);
BENCHMARK(BM_WindowLoopWithStoreOnLargeStore)->Apply(AtThreeSpeeds);

// The real program from exec to its main window mapped on the X server, with all four windows
// built as it builds them. Watched from outside: the program has no start-up hook.
class MainWindowWatcher {
public:
    MainWindowWatcher() : m_connection(xcb_connect(nullptr, nullptr)) {}
    ~MainWindowWatcher() { xcb_disconnect(m_connection); }
    bool Connected() const { return xcb_connection_has_error(m_connection) == 0; }

    // True once a viewable window of process `pid` carries the main window's title.
    bool MainWindowMapped(qint64 pid) {
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
        for (const xcb_window_t window : Property<xcb_window_t>(root, Atom("_NET_CLIENT_LIST"))) {
            const std::vector<std::uint32_t> owner =
                Property<std::uint32_t>(window, Atom("_NET_WM_PID"));
            if (owner.empty() || owner.front() != static_cast<std::uint32_t>(pid)) continue;
            const std::vector<char> title = Property<char>(window, Atom("_NET_WM_NAME"));
            if (std::string(title.begin(), title.end()) != "Tobric Computer for Windows") continue;
            auto* attributes = xcb_get_window_attributes_reply(
                m_connection, xcb_get_window_attributes(m_connection, window), nullptr);
            const bool viewable = attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
            std::free(attributes);
            if (viewable) return true;
        }
        return false;
    }

private:
    xcb_atom_t Atom(const char* name) {
        auto* reply = xcb_intern_atom_reply(
            m_connection,
            xcb_intern_atom(m_connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name),
            nullptr);
        const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
        std::free(reply);
        return atom;
    }

    template <typename Item>
    std::vector<Item> Property(xcb_window_t window, xcb_atom_t property) {
        auto* reply = xcb_get_property_reply(
            m_connection,
            xcb_get_property(m_connection, 0, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 4096),
            nullptr);
        std::vector<Item> items;
        if (reply && reply->format == 8 * sizeof(Item)) {
            const auto* first = static_cast<const Item*>(xcb_get_property_value(reply));
            items.assign(first, first + xcb_get_property_value_length(reply) / int(sizeof(Item)));
        }
        std::free(reply);
        return items;
    }

    xcb_connection_t* m_connection;
};

void BM_StartupToMainWindowMapped(benchmark::State& state) {
    MainWindowWatcher watcher;
    if (QGuiApplication::platformName() != QLatin1String("xcb") || !watcher.Connected()) {
        state.SkipWithError("needs an X server: run with DISPLAY set and QT_QPA_PLATFORM=xcb");
        return;
    }
    for (auto _ : state) {
        QProcess program;
        QElapsedTimer clock;
        clock.start();
        program.start(QStringLiteral(TOBRIC_PROGRAM), {});
        if (!program.waitForStarted(5000)) {
            state.SkipWithError("the program did not start");
            return;
        }
        // Polled every half millisecond: finer than the figure needs, coarse enough to leave
        // the program the processor.
        while (!watcher.MainWindowMapped(program.processId()) && clock.elapsed() < 10000)
            QThread::usleep(500);
        state.SetIterationTime(Milliseconds(clock) / 1000);
        if (clock.elapsed() >= 10000) state.SkipWithError("no main window within 10 s");
        program.kill();
        program.waitForFinished(5000);
    }
}
BENCHMARK(BM_StartupToMainWindowMapped)
    ->Iterations(5)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// Answers the open dialog with one file.
class FixedFile final : public FileChooser {
public:
    explicit FixedFile(std::string path) : m_path(std::move(path)) {}
    std::optional<std::string> ChooseFileToOpen() override { return m_path; }
    std::optional<std::string> ChooseFileToSave() override { return std::nullopt; }

private:
    std::string m_path;
};

// Load of a 10 MB program file as the user does it: read, replace, pad, rebuild the display;
// beside the bare read of the same file in the same run.
void BM_LoadTenMegabytes(benchmark::State& state) {
    const auto path = std::filesystem::temp_directory_path() / "tobric-window-bench-load.txt";
    {
        std::ofstream file(path, std::ios::binary);
        const std::string lines[] = {"LDA 05\r\n", "ADD 07 running total\r\n", "DAT 123456\r\n",
                                     "* a comment line of moderate length\r\n"};
        std::size_t written = 0;
        for (std::size_t i = 0; written < 10'000'000; ++i) {
            file << lines[i & 3];
            written += lines[i & 3].size();
        }
    }
    TForm1 form(std::make_unique<FixedFile>(path.string()));
    form.show();
    if (!QTest::qWaitForWindowExposed(&form)) state.SkipWithError("window not shown");
    double readMs = 0;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        benchmark::DoNotOptimize(ReadProgramFile(path.string()));
        readMs = Milliseconds(clock);
        clock.restart();
        form.loadmenuClick();
        QApplication::processEvents();  // the rebuilt display painted
        state.SetIterationTime(Milliseconds(clock) / 1000);
    }
    state.counters["bare_read_ms"] = readMs;
    state.counters["mailboxes"] = form.machine().store().Count();
    std::filesystem::remove(path);
}
BENCHMARK(BM_LoadTenMegabytes)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

// The editor on a store of 65,535 lines: opening it (shown with its first lines, taking input),
// the whole text in, then Save Changes; beside a plain text box of the same size given the same
// text in one go.
void BM_EditorOnLargeStore(benchmark::State& state) {
    TForm1 form;
    TForm4 editor(form.machine(), &form);
    form.show();
    if (!QTest::qWaitForWindowExposed(&form)) state.SkipWithError("window not shown");
    const std::string lines[] = {"LDA 05", "ADD 07 running total", "DAT 123456",
                                 "* a comment line of moderate length"};
    std::vector<std::string> program;
    QString text;
    for (int i = 0; i < kLargeStore; ++i) {
        program.push_back(lines[i & 3]);
        text += ToQt(lines[i & 3]) + QLatin1Char('\n');
    }
    double openMs = 0, filledMs = 0, saveMs = 0, plainMs = 0;
    for (auto _ : state) {
        form.machine().ReplaceProgram(program);
        QPlainTextEdit plain;
        plain.resize(editor.tobriceditor->size());
        plain.show();
        QElapsedTimer clock;
        clock.start();
        plain.setPlainText(text);
        QApplication::processEvents();
        plainMs = Milliseconds(clock);
        plain.hide();

        clock.restart();
        editor.Open();
        QApplication::processEvents();
        openMs = Milliseconds(clock);
        QElapsedTimer filling;
        filling.start();
        while (editor.StillFilling() && filling.elapsed() < 10'000) QApplication::processEvents();
        filledMs = Milliseconds(clock);
        if (editor.StillFilling()) state.SkipWithError("the text never filled");
        clock.restart();
        editor.Button1Click();
        QApplication::processEvents();
        saveMs = Milliseconds(clock);
        state.SetIterationTime((openMs + saveMs) / 1000);
        if (form.machine().store().Count() != kLargeStore) state.SkipWithError("lines changed");
    }
    state.counters["open_ms"] = openMs;
    state.counters["filled_ms"] = filledMs;
    state.counters["save_changes_ms"] = saveMs;
    state.counters["plain_text_box_ms"] = plainMs;
}
BENCHMARK(BM_EditorOnLargeStore)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

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
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    SetUpApplication(application);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
