#pragma once
// Stand-ins for the window and the platform timer, so the machine can be driven and watched
// from a test: a view that records every call as text and answers from scripts, and a timer that
// keeps the execution timer's rules and can be made to refuse.

#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "machine/errors.h"
#include "machine/execution_timer.h"
#include "machine/machine.h"
#include "machine/machine_view.h"
#include "machine/mnemonic.h"
#include "machine/registers.h"
#include "machine/store.h"

namespace tobric_test {

// Records each call as "<Name>" or "<Name> <arguments>", e.g. "ShowCalculator 42 ",
// "ShowRegisters pc=3 ins=HLT mdr=10", "ShowNotice Program Halted".
class RecordingView final : public tobric::MachineView {
public:
    std::vector<std::string> calls;
    // The store's lines as the mailbox display last showed them.
    std::vector<std::string> shownLines;

    // Answers for InputPrompt, in order. When none is left the prompt gives its default, as
    // Cancel does.
    std::deque<std::string> answers;
    // File names for AskOpenFileName and AskSaveFileName, in order; nullopt or none left cancels.
    std::deque<std::optional<std::string>> openNames;
    std::deque<std::optional<std::string>> saveNames;

    // Run once, at the next call, while the prompt or the notice box is "open": this is where a
    // test clicks other commands or delivers timer ticks, as the event loop would meanwhile.
    std::function<void()> onInputPrompt;
    std::function<void(const std::string&)> onNotice;

    void ShowMailboxes(const tobric::Store& store) override {
        calls.emplace_back("ShowMailboxes");
        shownLines = store.Lines();
    }
    void ShowRegisters(const tobric::Registers& r) override {
        calls.push_back("ShowRegisters pc=" + std::to_string(r.programCounter) +
                        " ins=" + std::string(tobric::MnemonicText(r.mnemonic)) +
                        " mdr=" + std::to_string(r.operand));
    }
    void ShowCalculator(std::int32_t n) override {
        calls.push_back("ShowCalculator " + std::to_string(n) + " ");
    }
    void ShowOutput(std::int32_t n) override { calls.push_back("ShowOutput " + std::to_string(n)); }
    void ShowInBasket(std::int32_t n) override {
        calls.push_back("ShowInBasket " + std::to_string(n));
    }
    std::optional<std::string> AskOpenFileName() override {
        calls.emplace_back("AskOpenFileName");
        return Next(openNames);
    }
    std::optional<std::string> AskSaveFileName() override {
        calls.emplace_back("AskSaveFileName");
        return Next(saveNames);
    }
    std::string InputPrompt(const std::string& caption, const std::string& prompt,
                            const std::string& defaultText) override {
        calls.push_back("InputPrompt " + caption + "|" + prompt + "|" + defaultText);
        if (onInputPrompt) std::exchange(onInputPrompt, nullptr)();
        if (answers.empty()) return defaultText;
        std::string answer = std::move(answers.front());
        answers.pop_front();
        return answer;
    }
    void ShowNotice(const std::string& text) override {
        calls.push_back("ShowNotice " + text);
        if (onNotice) std::exchange(onNotice, nullptr)(text);
    }

    // The arguments of every call of one name, in order: ArgumentsOf("ShowOutput") -> {"3", "2"}.
    std::vector<std::string> ArgumentsOf(std::string_view name) const {
        std::vector<std::string> found;
        for (const std::string& call : calls) {
            if (call == name) found.emplace_back();
            else if (call.size() > name.size() && call.starts_with(name) && call[name.size()] == ' ')
                found.push_back(call.substr(name.size() + 1));
        }
        return found;
    }
    // The arguments of the latest call of one name, or "<none>".
    std::string Last(std::string_view name) const {
        const std::vector<std::string> found = ArgumentsOf(name);
        return found.empty() ? "<none>" : found.back();
    }

private:
    static std::optional<std::string> Next(std::deque<std::optional<std::string>>& names) {
        if (names.empty()) return std::nullopt;
        std::optional<std::string> name = std::move(names.front());
        names.pop_front();
        return name;
    }
};

// Keeps the rules of tobric::ExecutionTimer. `restarts` counts the countdowns it started; with
// `refuse` set, starting one throws the timer error and the timer stays enabled without ticking.
class FakeTimer final : public tobric::ExecutionTimer {
public:
    int restarts = 0;
    bool refuse = false;

    bool Enabled() const override { return m_enabled; }
    void SetEnabled(bool enabled) override {
        if (enabled == m_enabled) return;
        m_enabled = enabled;
        m_armed = false;
        if (enabled) StartCountdown();
    }
    int Interval() const override { return m_interval; }
    void SetInterval(int milliseconds) override {
        if (milliseconds == m_interval) return;
        m_interval = milliseconds;
        if (m_enabled) StartCountdown();
    }
    // Whether ticks arrive: enabled and holding a timer of the platform.
    bool Ticking() const { return m_enabled && m_armed; }

private:
    void StartCountdown() {
        m_armed = false;
        if (refuse) throw tobric::TimerError();
        m_armed = true;
        ++restarts;
    }

    bool m_enabled = false;
    bool m_armed = false;
    int m_interval = 1000;
};

// Delivers timer ticks as the event loop would, for as long as the timer ticks, at most `limit`.
// Returns how many were delivered; a failing step's error passes out.
inline int DeliverTicks(tobric::Machine& machine, const FakeTimer& timer, int limit = 10000) {
    int ticks = 0;
    while (ticks < limit && timer.Ticking()) {
        machine.TimerTimer();
        ++ticks;
    }
    return ticks;
}

// The machine error thrown by f; a test failure when f throws none.
template <class F>
tobric::MachineError ErrorFrom(F&& f) {
    try {
        std::forward<F>(f)();
    } catch (const tobric::MachineError& error) {
        return error;
    }
    ADD_FAILURE() << "expected a machine error, none was thrown";
    return {tobric::ErrorKind::EmptyLine, "<no error thrown>"};
}

// A machine wired to the recording view and the fake timer.
class MachineTest : public ::testing::Test {
protected:
    // Puts the lines into the store and pads it as Load does; the view's record starts afresh.
    void LoadProgram(std::vector<std::string> lines) {
        machine.store().ReplaceAll(std::move(lines));
        tobric::PadToHundred(machine.store());
        view.calls.clear();
    }
    tobric::Registers& regs() { return machine.registers(); }

    RecordingView view;
    FakeTimer timer;
    tobric::Machine machine{view, timer};
};

}  // namespace tobric_test
