// SPDX-License-Identifier: GPL-3.0-or-later
// The machine for the page: the core and the mailbox commands, unchanged, behind a class the
// page's script calls once per event. The machine view and the execution timer call back into a
// JavaScript object the page hands in.
//
// The page cannot wait inside a call, so the view never asks: every answer a command will want
// (the prompt's text, the chosen file) is asked by the page first and handed in with the command,
// and the view gives it back when the command calls for it. web/README.md says why this keeps
// every ordering rule of the step and the commands.

#include <emscripten/bind.h>
#include <emscripten/val.h>
#include <sys/stat.h>

#include <optional>
#include <string>

#include "editing/mailbox_commands.h"
#include "machine/decoder.h"
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
    std::optional<std::string> AskOpenFileName() override { return Take(m_fileName); }
    std::optional<std::string> AskSaveFileName() override { return Take(m_fileName); }
    std::string InputPrompt(const std::string&, const std::string&,
                            const std::string& defaultText) override {
        // Always handed in; were it not, the command goes on as after Cancel.
        return Take(m_answer).value_or(defaultText);
    }
    // Always a command's last act, so the page's non-modal box returning at once changes nothing.
    void ShowNotice(const std::string& text) override { m_page.call<void>("showNotice", text); }

    int SelectedIndex() const { return m_page.call<int>("selectedIndex"); }
    void HandIn(std::optional<std::string> answer, std::optional<std::string> fileName) {
        m_answer = std::move(answer);
        m_fileName = std::move(fileName);
    }

private:
    static std::optional<std::string> Take(std::optional<std::string>& held) {
        std::optional<std::string> taken = std::move(held);
        held.reset();
        return taken;
    }

    val m_page;
    std::optional<std::string> m_answer;
    std::optional<std::string> m_fileName;
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

    bool HasNoProgram() const { return tobric::HasNoProgram(m_machine.store()); }
    // Whether the step obeyed next asks for the IN basket: the line at the program counter decoded
    // as the step decodes it, with the mnemonic carried over from the line before. A line that
    // fails to decode asks nothing; the step itself then reports it.
    bool NextStepAsksIn() const {
        const Registers& r = m_machine.registers();
        Mnemonic mnemonic = r.mnemonic;
        std::int32_t operand = r.operand;
        try {
            if (!ApplyDecoded(m_machine.store().Decoded(r.programCounter), mnemonic, operand))
                DecodeLine(m_machine.store().Get(r.programCounter), mnemonic, operand);
        } catch (const MachineError&) {
            return false;
        }
        return mnemonic == Mnemonic::In;
    }
    // The step's first act, done by the page before it shows the IN prompt.
    void StopTimer() { m_timer.SetEnabled(false); }
    bool TimerEnabled() const { return m_timer.Enabled(); }

    val Tick(val answer) {
        return Answered(answer, [this] { m_machine.TimerTimer(); });
    }
    val Step(val answer) {
        return Answered(answer, [this] { m_machine.Step(); });
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

    // The file the page wrote into its own file system, or null when the user cancelled.
    val Load(val fileName) {
        m_view.HandIn(std::nullopt, Optional(fileName));
        return Reported([this] { m_machine.Load(); });
    }
    val Save(val fileName) {
        m_view.HandIn(std::nullopt, Optional(fileName));
        return Reported([this] { m_machine.Save(); });
    }

    // Edit this Mailbox shows the line as it stands when the prompt opens: {line} or {error}.
    val EditDefault(int selected) const {
        val result = val::object();
        const val error = Reported([&] { result.set("line", m_machine.store().Get(selected)); });
        if (!error.isNull()) result.set("error", error);
        return result;
    }
    val EditThisMailbox(val answer) {
        return Answered(answer, [this] { tobric::EditThisMailbox(m_machine, Selection()); });
    }
    val InsertCommand(val answer) {
        return Answered(answer, [this] { tobric::InsertCommand(m_machine, Selection()); });
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
    template <class Command>
    val Answered(const val& answer, Command&& command) {
        m_view.HandIn(Optional(answer), std::nullopt);
        val result = Reported(command);
        m_view.HandIn(std::nullopt, std::nullopt);
        return result;
    }
    SelectedIndexSource Selection() {
        return [this] { return m_view.SelectedIndex(); };
    }

    PageView m_view;
    PageTimer m_timer;
    Machine m_machine;
};

}  // namespace
}  // namespace tobric

EMSCRIPTEN_BINDINGS(tobric_core) {
    using tobric::PageMachine;
    emscripten::constant("versionShort", std::string(tobric::kVersionShort));
    emscripten::constant("version", std::string(tobric::kVersion));
    emscripten::class_<PageMachine>("Machine")
        .constructor<emscripten::val>()
        .function("hasNoProgram", &PageMachine::HasNoProgram)
        .function("nextStepAsksIn", &PageMachine::NextStepAsksIn)
        .function("stopTimer", &PageMachine::StopTimer)
        .function("timerEnabled", &PageMachine::TimerEnabled)
        .function("tick", &PageMachine::Tick)
        .function("step", &PageMachine::Step)
        .function("run", &PageMachine::Run)
        .function("haltOrContinue", &PageMachine::HaltOrContinue)
        .function("reset", &PageMachine::Reset)
        .function("changeSpeed", &PageMachine::ChangeSpeed)
        .function("load", &PageMachine::Load)
        .function("save", &PageMachine::Save)
        .function("editDefault", &PageMachine::EditDefault)
        .function("editThisMailbox", &PageMachine::EditThisMailbox)
        .function("insertCommand", &PageMachine::InsertCommand)
        .function("deleteCommand", &PageMachine::DeleteCommand)
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
