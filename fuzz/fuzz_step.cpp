// SPDX-License-Identifier: GPL-3.0-or-later
// The execution step on an arbitrary store with arbitrary IN answers. The input is:
//   program text [NUL answers [NUL options]]
// The program text is split into store lines (at most 300), padded to 100 with "DAT 00" unless
// option byte 0 has bit 0 set; bytes 1-4 of the options, when present, are the accumulator the
// run starts with (little-endian). The answers section holds one IN answer per LF-ended piece;
// once they run out the prompt gives its default, as a cancelled prompt does.
//
// The program is started as Run starts it and stepped through Machine::TimerTimer while the
// timer stays enabled, at most 200 steps. After every step the change is checked twice: against
// the limits of what any one step may change, and against a step worked out separately here.
// Then the same run is obeyed again as one batch of steps, which must end just as the steps did.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "fuzz_support.h"
#include "machine/errors.h"
#include "machine/execution_timer.h"
#include "machine/machine.h"
#include "machine/obey_step.h"
#include "machine/registers.h"
#include "machine/store.h"
#include "reference_rules.h"
#include "support/answering_machine.h"
#include "support/recording_view.h"
#include "support/store_exactly.h"

using tobric_fuzz::Quoted;
using tobric_fuzz::TextOf;

namespace {

constexpr std::size_t kMaxLines = 300;
constexpr int kMaxSteps = 200;

// The view calls of one step, one letter each: P(rompt) I(n basket) O(ut) M(ailboxes)
// C(alculator) R(egisters) N(otice), and ? for any other.
std::string Letters(const std::vector<std::string>& calls) {
    static const std::pair<std::string_view, char> kLetters[] = {
        {"InputPrompt", 'P'},   {"ShowInBasket", 'I'},   {"ShowOutput", 'O'},
        {"ShowMailboxes", 'M'}, {"ShowCalculator", 'C'}, {"ShowRegisters", 'R'},
        {"ShowNotice", 'N'}};
    std::string letters;
    for (const std::string& call : calls) {
        char letter = '?';
        for (const auto& [name, l] : kLetters)
            if (call.substr(0, call.find(' ')) == name) letter = l;
        letters += letter;
    }
    return letters;
}

struct Snapshot {
    const std::vector<std::string>& lines;
    tobric::Registers registers;
};

// What one step should do, worked out from the state before it.
struct ExpectedStep {
    // The one line STA writes, when it does: at an index inside the store, or at its end.
    std::optional<std::size_t> storedAt;
    std::string storedText;
    tobric::Registers registers;  // after the step
    tobric::Registers shown;      // as ShowRegisters should see them
    std::string calls;
    std::optional<tobric::ErrorKind> failure;
    std::string message;
    bool timerEnabled = false;
    std::int32_t output = 0, inBasket = 0;
};

std::string ListIndexMessage(long index) {
    return "List index out of bounds (" + std::to_string(index) + ")";
}

ExpectedStep WorkOutStep(const Snapshot& before, const std::string& nextAnswer) {
    const std::vector<std::string>& lines = before.lines;
    ExpectedStep e{std::nullopt, "", before.registers, {}, "", std::nullopt, "", false, 0, 0};
    tobric::Registers& r = e.registers;
    const auto fail = [&](tobric::ErrorKind kind, std::string message) {
        e.failure = kind;
        e.message = std::move(message);
        return e;
    };

    const std::uint16_t pc = r.programCounter;
    if (pc >= lines.size()) return fail(tobric::ErrorKind::ListIndex, ListIndexMessage(pc));

    std::string mnemonic = TextOf(r.mnemonic);
    std::int32_t operand = r.operand;
    const tobric_fuzz::DecodeOutcome decoded =
        tobric_fuzz::ReferenceDecode(lines[pc], mnemonic, operand);
    r.mnemonic = tobric_fuzz::MnemonicFromText(mnemonic);
    r.operand = operand;
    if (const auto error = decoded.Error()) return fail(*error, decoded.Message());

    const std::uint16_t address = tobric_fuzz::AddressFrom(operand);
    // The number in a mailbox: its line from position 5 on; a line of four characters or fewer
    // holds 0.
    std::optional<std::int32_t> value;
    const auto readMailbox = [&]() -> bool {
        if (address >= lines.size()) {
            fail(tobric::ErrorKind::ListIndex, ListIndexMessage(address));
            return false;
        }
        const std::string& line = lines[address];
        if (line.size() <= 4) {
            value = 0;
            return true;
        }
        value = tobric_fuzz::ReferenceParse(std::string_view(line).substr(4));
        if (!value)
            fail(tobric::ErrorKind::Conversion, tobric_fuzz::ConversionMessage(line.substr(4)));
        return value.has_value();
    };

    if (mnemonic == "IN") {
        e.calls += 'P';
        const std::optional<std::int32_t> answer = tobric_fuzz::ReferenceParse(nextAnswer);
        if (!answer)
            return fail(tobric::ErrorKind::Conversion, tobric_fuzz::ConversionMessage(nextAnswer));
        r.inValue = r.accumulator = e.inBasket = *answer;
        e.calls += 'I';
    } else if (mnemonic == "LDA") {
        if (!readMailbox()) return e;
        r.accumulator = *value;
    } else if (mnemonic == "STA") {
        if (address > lines.size())
            return fail(tobric::ErrorKind::Insert, "Unable to insert a line");
        e.storedAt = address;
        e.storedText = "DAT " + std::to_string(r.accumulator);
        e.calls += 'M';
    } else if (mnemonic == "ADD" || mnemonic == "SUB") {
        if (!readMailbox()) return e;
        const std::int64_t sum = mnemonic == "ADD" ? std::int64_t{r.accumulator} + *value
                                                   : std::int64_t{r.accumulator} - *value;
        r.accumulator = tobric_fuzz::Wrapped(sum);
    } else if (mnemonic == "OUT") {
        e.output = r.accumulator;
        e.calls += 'O';
    } else if ((mnemonic == "SKN" && r.accumulator < 0) ||
               (mnemonic == "SKP" && r.accumulator >= 0) ||
               (mnemonic == "SKZ" && r.accumulator == 0)) {
        r.programCounter = static_cast<std::uint16_t>(r.programCounter + 1);
    } else if (mnemonic == "JMP") {
        r.programCounter = address;
    }
    e.calls += "CR";
    e.shown = r;
    if (mnemonic != "JMP") r.programCounter = static_cast<std::uint16_t>(r.programCounter + 1);
    e.timerEnabled = mnemonic != "HLT" && r.running;
    return e;
}

std::string Describe(const tobric::Registers& r) {
    return "pc=" + std::to_string(r.programCounter) + " acc=" + std::to_string(r.accumulator) +
           " ins=" + Quoted(TextOf(r.mnemonic)) + " mdr=" + std::to_string(r.operand) +
           " in=" + std::to_string(r.inValue) + " running=" + std::to_string(r.running);
}

bool SameRegisters(const tobric::Registers& a, const tobric::Registers& b) {
    return a.accumulator == b.accumulator && a.programCounter == b.programCounter &&
           a.mnemonic == b.mnemonic && a.operand == b.operand && a.inValue == b.inValue &&
           a.running == b.running;
}

// The limits no step may pass, whatever it obeys.
void CheckLimits(const Snapshot& before, const Snapshot& after, const std::string& calls,
                 bool failed, bool timerEnabled, const std::function<std::string()>& context) {
    const std::size_t oldCount = before.lines.size();
    const std::size_t newCount = after.lines.size();
    FUZZ_CHECK(newCount == oldCount || newCount == oldCount + 1,
               context() << "the store went from " << oldCount << " to " << newCount << " lines");

    std::vector<std::size_t> changed;
    for (std::size_t i = 0; i < newCount; ++i)
        if (i >= oldCount || after.lines[i] != before.lines[i]) changed.push_back(i);
    FUZZ_CHECK(changed.size() <= 1, context() << changed.size() << " store lines changed");
    FUZZ_CHECK(newCount == oldCount || (changed.size() == 1 && changed[0] == oldCount),
               context() << "the store grew by a line that is not the last one");
    if (!changed.empty()) {
        const std::size_t at = changed[0];
        FUZZ_CHECK(after.registers.mnemonic == tobric::Mnemonic::Sta,
                   context() << "line " << at << " changed under "
                             << Quoted(TextOf(after.registers.mnemonic)));
        FUZZ_CHECK(at == tobric_fuzz::AddressFrom(after.registers.operand),
                   context() << "STA changed line " << at << " for the operand "
                             << after.registers.operand);
        const std::string stored = "DAT " + std::to_string(after.registers.accumulator);
        FUZZ_CHECK(after.lines[at] == stored, context() << "STA stored " << Quoted(after.lines[at])
                                                        << ", expected " << Quoted(stored));
    }

    const std::uint16_t pc = before.registers.programCounter;
    const std::uint16_t now = after.registers.programCounter;
    if (failed) {
        FUZZ_CHECK(now == pc, context() << "a failed step moved the program counter from " << pc
                                        << " to " << now);
        FUZZ_CHECK(std::ranges::count(calls, 'C') == 0 && std::ranges::count(calls, 'R') == 0,
                   context() << "a failed step showed the calculator or the registers: " << calls);
        FUZZ_CHECK(!timerEnabled, context() << "a failed step left the timer enabled");
    } else {
        const bool next = now == static_cast<std::uint16_t>(pc + 1);
        const bool skipped = now == static_cast<std::uint16_t>(pc + 2);
        const bool jumped = after.registers.mnemonic == tobric::Mnemonic::Jmp &&
                            now == tobric_fuzz::AddressFrom(after.registers.operand);
        FUZZ_CHECK(next || skipped || jumped,
                   context() << "the program counter went from " << pc << " to " << now);
        FUZZ_CHECK(std::ranges::count(calls, 'C') == 1 && std::ranges::count(calls, 'R') == 1,
                   context() << "a step showed calculator and registers as " << calls);
        FUZZ_CHECK(std::ranges::count(calls, 'O') <= 1 && std::ranges::count(calls, 'I') <= 1 &&
                       std::ranges::count(calls, 'M') <= 1,
                   context() << "a step made the calls " << calls);
    }
}

// The same run as one batch of steps (Machine::ObeySteps, as the headless runner obeys them): it
// must end as the single steps did, with the same view calls on the way.
void CheckBatch(const std::vector<std::string>& lines, std::deque<std::string> answers,
                std::uint32_t accumulatorBits, std::int64_t stepsObeyed,
                const std::optional<std::string>& failure, const tobric::Machine& stepped,
                bool steppedTimerEnabled, const std::vector<std::string>& steppedCalls) {
    tobric::ManualTimer timer;
    tobric_test::RecordingView view;
    view.answers = answers;
    tobric::Machine machine(view, timer,
                            {.accumulator = static_cast<std::int32_t>(accumulatorBits)});
    tobric_test::StoreExactly(machine, lines);
    machine.Run();
    view.calls.clear();
    std::int64_t steps = 0;
    std::optional<std::string> batchFailure;
    try {
        machine.ObeySteps(view, timer, steps, kMaxSteps);
    } catch (const tobric::MachineError& error) {
        batchFailure = error.message();
    }
    const std::string context = "the batch of " + std::to_string(steps) + " steps ";
    FUZZ_CHECK(steps == stepsObeyed && batchFailure == failure,
               context << (batchFailure ? "failed with " + Quoted(*batchFailure) : "ended")
                       << ", the single steps obeyed " << stepsObeyed << " and "
                       << (failure ? "failed with " + Quoted(*failure) : std::string("ended")));
    FUZZ_CHECK(SameRegisters(machine.registers(), stepped.registers()),
               context << "left " << Describe(machine.registers()) << ", the single steps "
                       << Describe(stepped.registers()));
    FUZZ_CHECK(machine.store().Lines() == stepped.store().Lines(),
               context << "left the store " << Quoted(machine.store().Lines()));
    FUZZ_CHECK(timer.Enabled() == steppedTimerEnabled,
               context << "left the timer " << (timer.Enabled() ? "on" : "off"));
    FUZZ_CHECK(view.calls == steppedCalls, context << "made the calls " << Letters(view.calls)
                                                   << ", the single steps "
                                                   << Letters(steppedCalls));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 8192) return 0;
    std::string_view rest = tobric_fuzz::AsText(data, size);
    std::string_view programText, answerText, options;
    tobric_fuzz::TakeSection(rest, programText);
    const bool haveAnswers = tobric_fuzz::TakeSection(rest, answerText);
    options = rest;

    std::vector<std::string> lines = tobric_fuzz::ReferenceSplit(programText);
    if (lines.size() > kMaxLines) lines.resize(kMaxLines);
    const bool pad = options.empty() || (options[0] & 1) == 0;
    while (pad && lines.size() < tobric::kMailboxCount) lines.emplace_back("DAT 00");
    std::uint32_t accumulatorBits = 0;
    for (std::size_t i = 1; i < 5 && i < options.size(); ++i)
        accumulatorBits |= std::uint32_t{static_cast<unsigned char>(options[i])} << (8 * (i - 1));

    std::deque<std::string> answers;
    while (haveAnswers && !answerText.empty()) {
        const std::size_t end = answerText.find('\n');
        answers.emplace_back(answerText.substr(0, end));
        answerText =
            end == std::string_view::npos ? std::string_view() : answerText.substr(end + 1);
    }

    tobric::ManualTimer timer;
    tobric_test::RecordingView view;
    view.answers = answers;
    // The step disables the timer before anything else and re-arms it only at its very end: no
    // call but a notice may come while it is enabled.
    view.onCall = [&timer](std::string_view call) {
        FUZZ_CHECK(call == "ShowNotice" || !timer.Enabled(),
                   "view call " << call << " while the execution timer is enabled");
    };
    tobric_test::AnsweringMachine machine(
        view, timer, {.accumulator = static_cast<std::int32_t>(accumulatorBits)});
    tobric_test::StoreExactly(machine, lines);
    view.calls.clear();
    machine.Run();
    if (lines.size() < 2) {
        FUZZ_CHECK(Letters(view.calls) == "N" && !timer.Enabled() && !machine.registers().running,
                   "Run on " << lines.size() << " lines made the calls " << Letters(view.calls)
                             << " and left the timer " << (timer.Enabled() ? "on" : "off"));
        return 0;
    }
    FUZZ_CHECK(view.calls.empty() && timer.Enabled() && machine.registers().running &&
                   machine.registers().programCounter == 0,
               "Run made the calls " << Letters(view.calls) << " and left "
                                     << Describe(machine.registers()));

    std::int64_t stepsObeyed = 0;
    std::optional<std::string> failureMessage;
    std::vector<std::string> allCalls;
    for (int step = 0; step < kMaxSteps && timer.Enabled(); ++step) {
        const std::vector<std::string> linesBefore = machine.store().Lines();
        const Snapshot before{linesBefore, machine.registers()};
        const std::string nextAnswer = view.answers.empty() ? "0" : view.answers.front();
        const ExpectedStep expected = WorkOutStep(before, nextAnswer);
        view.calls.clear();

        std::optional<tobric::ErrorKind> failure;
        std::string message;
        try {
            machine.TimerTimer();
        } catch (const tobric::MachineError& error) {
            failure = error.kind();
            message = error.message();
        }
        const Snapshot after{machine.store().Lines(), machine.registers()};
        const std::string calls = Letters(view.calls);
        allCalls.insert(allCalls.end(), view.calls.begin(), view.calls.end());
        if (failure)
            failureMessage = message;
        else
            ++stepsObeyed;
        // Built only when a check fails.
        const std::function<std::string()> context = [&] {
            return "step " + std::to_string(step) + " from " + Describe(before.registers) +
                   " on line " +
                   (before.registers.programCounter < before.lines.size()
                        ? Quoted(before.lines[before.registers.programCounter])
                        : std::string("(none)")) +
                   ": ";
        };

        CheckLimits(before, after, calls, failure.has_value(), timer.Enabled(), context);

        // Against the step worked out here.
        tobric_fuzz::CheckFailure(context, failure, message, expected.failure, expected.message);
        FUZZ_CHECK(SameRegisters(after.registers, expected.registers),
                   context() << "registers " << Describe(after.registers) << ", expected "
                             << Describe(expected.registers));
        std::vector<std::string> expectedLines = before.lines;
        if (expected.storedAt && *expected.storedAt == expectedLines.size())
            expectedLines.push_back(expected.storedText);
        else if (expected.storedAt)
            expectedLines[*expected.storedAt] = expected.storedText;
        FUZZ_CHECK(after.lines == expectedLines, context()
                                                     << "store " << Quoted(after.lines)
                                                     << ", expected " << Quoted(expectedLines));
        FUZZ_CHECK(calls == expected.calls,
                   context() << "view calls " << calls << ", expected " << expected.calls);
        for (const std::string& prompt : view.ArgumentsOf("InputPrompt"))
            FUZZ_CHECK(prompt == "Message|Enter a value into the in basket|0",
                       context() << "the IN prompt was " << Quoted(prompt));
        FUZZ_CHECK(timer.Enabled() == expected.timerEnabled,
                   context() << "timer " << (timer.Enabled() ? "enabled" : "disabled"));
        if (std::ranges::count(calls, 'C') == 1)
            FUZZ_CHECK(
                view.Last("ShowCalculator") == std::to_string(after.registers.accumulator) + " ",
                context() << "calculator shows " << Quoted(view.Last("ShowCalculator")));
        if (std::ranges::count(calls, 'R') == 1)
            FUZZ_CHECK(SameRegisters(view.shownRegisters, expected.shown),
                       context() << "register boxes show " << Describe(view.shownRegisters)
                                 << ", expected " << Describe(expected.shown));
        if (std::ranges::count(calls, 'O') == 1)
            FUZZ_CHECK(view.Last("ShowOutput") == std::to_string(expected.output),
                       context() << "OUT basket got " << view.Last("ShowOutput"));
        if (std::ranges::count(calls, 'I') == 1)
            FUZZ_CHECK(view.Last("ShowInBasket") == std::to_string(expected.inBasket),
                       context() << "IN basket shows " << view.Last("ShowInBasket"));
        if (std::ranges::count(calls, 'M') == 1)
            FUZZ_CHECK(view.shownLines == after.lines,
                       context() << "the display was rebuilt from " << Quoted(view.shownLines));
        if (failure) break;
    }
    CheckBatch(lines, std::move(answers), accumulatorBits, stepsObeyed, failureMessage, machine,
               timer.Enabled(), allCalls);
    return 0;
}
