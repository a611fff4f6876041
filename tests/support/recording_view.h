// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The machine view of the tests, the fuzz targets and the benchmarks: it records every call as
// text, answers the machine's questions at once from queues (recorded as "InputPrompt ...",
// "AskOpenFileName", "AskSaveFileName"), and lets a test act while a prompt or a notice is "open",
// as the event loop would meanwhile.

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "machine/machine_view.h"
#include "machine/question.h"
#include "machine/registers.h"

namespace tobric_test {

// Records each call as "<Name>" or "<Name> <arguments>", e.g. "ShowCalculator 42 ",
// "ShowRegisters pc=3 ins=HLT mdr=10", "ShowNotice Program Halted".
class RecordingView final : public tobric::MachineView, public tobric::Answerer {
public:
    // Off: nothing is recorded or copied, the view only answers (a benchmark's silent view).
    bool recording = true;
    std::vector<std::string> calls;
    // The store's lines as the mailbox display last showed them, and the registers as the
    // register boxes last showed them.
    std::vector<std::string> shownLines;
    tobric::Registers shownRegisters;

    // Answers for line questions, in order; when none is left the prompt gives its default, as
    // Cancel does.
    std::deque<std::string> answers;
    // File names for the open and save questions, in order; nullopt or none left cancels.
    std::deque<std::optional<std::string>> openNames;
    std::deque<std::optional<std::string>> saveNames;

    // Run once, at the next call, while the prompt or the notice box is "open": this is where a
    // test clicks other commands or delivers timer ticks.
    std::function<void()> onInputPrompt;
    std::function<void(const std::string&)> onNotice;
    // Run at the start of every call, with the call's name ("ShowOutput").
    std::function<void(std::string_view name)> onCall;

    void ShowMailboxes(const tobric::Store& store) override;
    void ShowRegisters(const tobric::Registers& registers) override;
    void ShowCalculator(std::int32_t n) override {
        Record("ShowCalculator", std::to_string(n) + " ");
    }
    void ShowOutput(std::int32_t n) override { Record("ShowOutput", std::to_string(n)); }
    void ShowInBasket(std::int32_t n) override { Record("ShowInBasket", std::to_string(n)); }
    void ShowNotice(const std::string& text) override;
    std::optional<std::string> Answer(const tobric::Question& question) override;

    // The arguments of every call of one name, in order: ArgumentsOf("ShowOutput") -> {"3", "2"}.
    std::vector<std::string> ArgumentsOf(std::string_view name) const;
    // The arguments of the latest call of one name, or "<none>".
    std::string Last(std::string_view name) const;
    // How many calls of one name were made.
    int CountOf(std::string_view name) const;

private:
    void Record(std::string_view name, const std::string& arguments = {});
};

}  // namespace tobric_test
