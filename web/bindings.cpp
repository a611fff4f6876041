// SPDX-License-Identifier: GPL-3.0-or-later
// The machine for the page: the core and the mailbox commands, unchanged, behind a class the
// page's script calls once per event. The machine view and the execution timer call back into a
// JavaScript object the page hands in.
//
// A command that needs an answer hands back its question; the page shows it and hands the answer
// in when the user gives it, and the command goes on. Several may wait at once (a step's IN over
// an Edit prompt), each under a number of its own.

#include <emscripten/bind.h>
#include <emscripten/val.h>
#include <sys/stat.h>

#include <map>
#include <optional>
#include <string>

#include "editing/mailbox_commands.h"
#include "machine/display_text.h"
#include "machine/errors.h"
#include "machine/execution_timer.h"
#include "machine/machine.h"
#include "machine/mnemonic.h"
#include "tobric/version.h"

namespace tobric {
namespace {

using emscripten::val;

// The store's lines in one text, each after its length and a colon: STA rebuilds on every pass of
// a loop, and one crossing into JavaScript costs what a hundred would.
std::string LinesText(const Store& store) {
    std::string lines;
    for (const std::string& line : store.Lines())
        ((lines += std::to_string(line.size())) += ':') += line;
    return lines;
}

// Runs one event and gives back what the error report shows, or null when nothing failed.
template <class Event>
val Reported(Event&& event) {
    try {
        event();
        return val::null();
    } catch (...) {
        return val(ReportText(std::current_exception()));
    }
}

const char* KindName(Question::Kind kind) {
    constexpr const char* kNames[] = {"line", "openFile", "saveFile"};  // the enumeration's order
    return kNames[static_cast<int>(kind)];
}

std::optional<std::string> Optional(const val& text) {
    if (text.isNull() || text.isUndefined()) return std::nullopt;
    return text.as<std::string>();
}

// The machine with the page as its view and its execution timer: the page's scheduler keeps the
// clock, and is told when a countdown starts or stops. The browser never refuses a timer.
class PageMachine final : public MachineView, public ExecutionTimer {
public:
    explicit PageMachine(val page) : m_page(std::move(page)), m_machine(*this, *this) {
        // Emscripten starts with a umask of 0777, so a saved file could not even be read back
        // by the page; this is the mask a desktop session starts with.
        ::umask(022);
    }

    // Do runs a command that cannot ask (Run, the keypad), Ask one that may: a step's IN, or Load
    // and Save, whose file is one in the core's own file system that the page wrote or will read.
    template <auto kCommand, class... Args>
    val Do(Args... args) {
        return Reported([&] { (m_machine.*kCommand)(args...); });
    }
    template <auto kCommand>
    val Ask() {
        return Asking([this] { return (m_machine.*kCommand)(); });
    }
    template <auto kCommand>
    val AskOnSelection() {
        return Asking([this] { return kCommand(m_machine, Selection()); });
    }
    // The answer to question `id`: a line's text or a file's name, or null for Cancel.
    val Answer(int id, val answer) {
        const auto waiting = m_waiting.find(id);
        if (waiting == m_waiting.end()) return val::null();  // answered already
        PendingCommand command = std::move(waiting->second);
        m_waiting.erase(waiting);
        return Reported([&] { command.Answer(Optional(answer)); });
    }
    val DeleteCommand() {
        return Reported([this] { tobric::DeleteCommand(m_machine, Selection()); });
    }

    // The program editor: it opens with the store's lines and rebuilds the display as it opens;
    // Save Changes replaces the store with the lines the page's text box shows.
    std::string StoreLines() const { return LinesText(m_machine.store()); }
    val ReplaceProgram(val lines) {
        return Reported(
            [&] { m_machine.ReplaceProgram(emscripten::vecFromJSArray<std::string>(lines)); });
    }

private:
    void ShowMailboxes(const Store& store) override {
        m_page.call<void>("showMailboxes", LinesText(store));
    }
    void ShowRegisters(const Registers& registers) override {
        m_page.call<void>("showRegisters", static_cast<int>(registers.programCounter),
                          registers.operand, std::string(MnemonicText(registers.mnemonic)));
    }
    void ShowCalculator(std::int32_t n) override {
        m_page.call<void>("showCalculator", CalculatorText(n));
    }
    void ShowOutput(std::int32_t n) override { m_page.call<void>("showOutput", n); }
    void ShowInBasket(std::int32_t n) override { m_page.call<void>("showInBasket", n); }
    // Always a command's last act, so the page's non-modal box returning at once changes nothing.
    void ShowNotice(const std::string& text) override { m_page.call<void>("showNotice", text); }
    void StartCountdown(int milliseconds) override {
        m_page.call<void>("startCountdown", milliseconds);
    }
    void StopCountdown() override { m_page.call<void>("stopCountdown"); }

    // Runs a command that may ask: null when it finished, the error report's text, or its
    // question {id, kind, caption, text, defaultText}, waiting for Answer(id, ...).
    template <class Command>
    val Asking(Command&& command) {
        Asked asked;
        const val report = Reported([&] { asked = command(); });
        if (!report.isNull() || !asked) return report;
        const Question& question = asked->question();
        val shown = val::object();
        shown.set("id", m_nextId);
        shown.set("kind", KindName(question.kind));
        shown.set("caption", question.caption);
        shown.set("text", question.text);
        shown.set("defaultText", question.defaultText);
        m_waiting.emplace(m_nextId++, std::move(*asked));
        return shown;
    }
    SelectedIndexSource Selection() {
        return [this] { return m_page.call<int>("selectedIndex"); };
    }

    val m_page;
    Machine m_machine;
    std::map<int, PendingCommand> m_waiting;
    int m_nextId = 1;
};

}  // namespace
}  // namespace tobric

EMSCRIPTEN_BINDINGS(tobric_core) {
    using tobric::Machine;
    using tobric::PageMachine;
    emscripten::constant("versionShort", std::string(tobric::kVersionShort));
    emscripten::constant("version", std::string(tobric::kVersion));
    emscripten::class_<PageMachine>("Machine")
        .constructor<emscripten::val>()
        .function("tick", &PageMachine::Ask<&Machine::TimerTimer>)
        .function("step", &PageMachine::Ask<&Machine::Step>)
        .function("run", &PageMachine::Do<&Machine::Run>)
        .function("haltOrContinue", &PageMachine::Do<&Machine::HaltOrContinue>)
        .function("reset", &PageMachine::Do<&Machine::Reset>)
        .function("changeSpeed", &PageMachine::Do<&Machine::ChangeSpeed, int>)
        .function("load", &PageMachine::Ask<&Machine::Load>)
        .function("save", &PageMachine::Ask<&Machine::Save>)
        .function("editThisMailbox", &PageMachine::AskOnSelection<&tobric::EditThisMailbox>)
        .function("insertCommand", &PageMachine::AskOnSelection<&tobric::InsertCommand>)
        .function("deleteCommand", &PageMachine::DeleteCommand)
        .function("answer", &PageMachine::Answer)
        .function("storeLines", &PageMachine::StoreLines)
        .function("showMailboxes", &PageMachine::Do<&Machine::ShowMailboxes>)
        .function("replaceProgram", &PageMachine::ReplaceProgram)
        .function("pressDigit", &PageMachine::Do<&Machine::PressDigit, int>)
        .function("pressPlus", &PageMachine::Do<&Machine::PressPlus>)
        .function("pressMinus", &PageMachine::Do<&Machine::PressMinus>)
        .function("pressEquals", &PageMachine::Do<&Machine::PressEquals>)
        .function("pressClear", &PageMachine::Do<&Machine::PressClear>)
        .function("pressClearEntry", &PageMachine::Do<&Machine::PressClearEntry>);
}
