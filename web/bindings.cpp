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
#include "machine/machine.h"
#include "machine/mnemonic.h"
#include "page_timer.h"
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

class PageView final : public MachineView {
public:
    explicit PageView(val page) : m_page(std::move(page)) {}

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

    int SelectedIndex() const { return m_page.call<int>("selectedIndex"); }

private:
    val m_page;
};

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
    switch (kind) {
        case Question::Kind::Line: return "line";
        case Question::Kind::OpenFile: return "openFile";
        case Question::Kind::SaveFile: return "saveFile";
    }
    return "line";
}

std::optional<std::string> Optional(const val& text) {
    if (text.isNull() || text.isUndefined()) return std::nullopt;
    return text.as<std::string>();
}

class PageMachine {
public:
    explicit PageMachine(val page) : m_view(page), m_timer(page), m_machine(m_view, m_timer) {
        // Emscripten starts with a umask of 0777, so a saved file could not even be read back
        // by the page; this is the mask a desktop session starts with.
        ::umask(022);
    }

    val Tick() {
        return Asking([this] { return m_machine.TimerTimer(); });
    }
    val Step() {
        return Asking([this] { return m_machine.Step(); });
    }
    val Run() {
        return Reported([this] { m_machine.Run(); });
    }
    val HaltOrContinue() {
        return Reported([this] { m_machine.HaltOrContinue(); });
    }
    val Reset() {
        return Reported([this] { m_machine.Reset(); });
    }
    val ChangeSpeed(int position) {
        return Reported([this, position] { m_machine.ChangeSpeed(position); });
    }

    // Their file is one the page wrote into the core's own file system.
    val Load() {
        return Asking([this] { return m_machine.Load(); });
    }
    val Save() {
        return Asking([this] { return m_machine.Save(); });
    }
    val EditThisMailbox() {
        return Asking([this] { return tobric::EditThisMailbox(m_machine, Selection()); });
    }
    val InsertCommand() {
        return Asking([this] { return tobric::InsertCommand(m_machine, Selection()); });
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
    val ShowMailboxes() {
        return Reported([this] { m_machine.ShowMailboxes(); });
    }
    val ReplaceProgram(val lines) {
        return Reported(
            [&] { m_machine.ReplaceProgram(emscripten::vecFromJSArray<std::string>(lines)); });
    }

    val PressDigit(int digit) {
        return Reported([this, digit] { m_machine.PressDigit(digit); });
    }
    val PressPlus() {
        return Reported([this] { m_machine.PressPlus(); });
    }
    val PressMinus() {
        return Reported([this] { m_machine.PressMinus(); });
    }
    val PressEquals() {
        return Reported([this] { m_machine.PressEquals(); });
    }
    val PressClear() {
        return Reported([this] { m_machine.PressClear(); });
    }
    val PressClearEntry() {
        return Reported([this] { m_machine.PressClearEntry(); });
    }

private:
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
        return [this] { return m_view.SelectedIndex(); };
    }

    PageView m_view;
    PageTimer m_timer;
    Machine m_machine;
    std::map<int, PendingCommand> m_waiting;
    int m_nextId = 1;
};

}  // namespace
}  // namespace tobric

EMSCRIPTEN_BINDINGS(tobric_core) {
    using tobric::PageMachine;
    emscripten::constant("versionShort", std::string(tobric::kVersionShort));
    emscripten::constant("version", std::string(tobric::kVersion));
    emscripten::class_<PageMachine>("Machine")
        .constructor<emscripten::val>()
        .function("tick", &PageMachine::Tick)
        .function("step", &PageMachine::Step)
        .function("run", &PageMachine::Run)
        .function("haltOrContinue", &PageMachine::HaltOrContinue)
        .function("reset", &PageMachine::Reset)
        .function("changeSpeed", &PageMachine::ChangeSpeed)
        .function("load", &PageMachine::Load)
        .function("save", &PageMachine::Save)
        .function("editThisMailbox", &PageMachine::EditThisMailbox)
        .function("insertCommand", &PageMachine::InsertCommand)
        .function("deleteCommand", &PageMachine::DeleteCommand)
        .function("answer", &PageMachine::Answer)
        .function("storeLines", &PageMachine::StoreLines)
        .function("showMailboxes", &PageMachine::ShowMailboxes)
        .function("replaceProgram", &PageMachine::ReplaceProgram)
        .function("pressDigit", &PageMachine::PressDigit)
        .function("pressPlus", &PageMachine::PressPlus)
        .function("pressMinus", &PageMachine::PressMinus)
        .function("pressEquals", &PageMachine::PressEquals)
        .function("pressClear", &PageMachine::PressClear)
        .function("pressClearEntry", &PageMachine::PressClearEntry);
}
