// SPDX-License-Identifier: GPL-3.0-or-later
// Insert Command, Delete Command and Edit this Mailbox on arbitrary stores. The input is:
//   byte 0       bits 0-1: the command (0 and 3 Insert, 1 Delete, 2 Edit);
//                bit 2: pad the store to 100 lines with "DAT 00"
//   byte 1       the selected index (see SelectionFrom: small indexes, indexes near the end of
//                the store, -1, other negative values and values far out of range)
//   byte 2       255: the selection is gone (-1) when the prompt closes; anything else keeps it
//   the rest     store text [NUL prompt answer]
// Without an answer section the prompt is cancelled and gives its default. The store has at most
// 256 lines.
//
// Every command is checked against the same command worked out here, line by line, with the
// carried decoding of reference_rules.h, and against the limits of what it may change.

#include <climits>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "editing/mailbox_commands.h"
#include "fuzz_support.h"
#include "machine/errors.h"
#include "machine/execution_timer.h"
#include "machine/machine.h"
#include "machine/store.h"
#include "reference_rules.h"
#include "support/answering_machine.h"
#include "support/recording_view.h"
#include "support/store_exactly.h"

using tobric_fuzz::Quoted;

namespace {

constexpr std::size_t kMaxLines = 256;

enum class Command { Insert, Delete, Edit };

const char* const kCommandNames[] = {"Insert", "Delete", "Edit"};

int SelectionFrom(std::uint8_t code, int count) {
    if (code < 200) return code;
    if (code < 216) return count - 8 + (code - 200);
    if (code < 240) return -1;
    if (code < 248) return -2 - (code - 240);
    if (code < 252) return INT_MIN + (code - 248);
    return INT_MAX - (code - 252);
}

struct Expected {
    std::vector<std::string>
        before;  // the store after the insertion or deletion, before renumbering
    std::vector<std::string> lines;            // the store at the end
    std::vector<std::string> carriedMnemonic;  // per line: what the carried decode held after it
    std::vector<std::int32_t> carriedOperand;
    bool prompted = false;
    std::string defaultText;
    bool rebuilt = false;
    std::optional<tobric::ErrorKind> failure;
    std::string message;
    std::size_t failingLine = SIZE_MAX;  // of the renumbering, when it stops at a line
    bool renumbered = false;
    int selected = 0;
    int step = 0;
};

// The walk over the whole store: the carried decode from an empty mnemonic and 0, and every
// line under an address mnemonic whose operand is at least `selected` rewritten with the operand
// moved by `step`. Stops at the first line that does not decode.
void WorkOutRenumbering(Expected& e, int selected, int step) {
    e.renumbered = true;
    e.selected = selected;
    e.step = step;
    e.lines = e.before;
    std::string mnemonic;
    std::int32_t operand = 0;
    for (std::size_t i = 0; i < e.before.size(); ++i) {
        const tobric_fuzz::DecodeOutcome decoded =
            tobric_fuzz::ReferenceDecode(e.before[i], mnemonic, operand);
        e.carriedMnemonic.push_back(mnemonic);
        e.carriedOperand.push_back(operand);
        if (decoded.Error()) {
            e.failingLine = i;
            e.failure = decoded.Error();
            e.message = decoded.Message();
            return;
        }
        if (tobric_fuzz::ReferenceTakesAddress(mnemonic) && operand >= selected)
            e.lines[i] =
                mnemonic + " " + std::to_string(tobric_fuzz::Wrapped(std::int64_t{operand} + step));
    }
    e.rebuilt = true;
}

Expected WorkOutCommand(Command command, const std::vector<std::string>& lines, int first,
                        int second, const std::optional<std::string>& answer) {
    Expected e;
    e.before = e.lines = lines;
    const int count = static_cast<int>(lines.size());
    if (first == -1) return e;  // nothing selected: nothing happens

    if (command == Command::Delete) {
        if (first >= 0 && first < count) e.before.erase(e.before.begin() + first);
        WorkOutRenumbering(e, first, -1);
        return e;
    }

    if (command == Command::Edit && (first < 0 || first >= count)) {
        e.failure = tobric::ErrorKind::ListIndex;
        e.message = "List index out of bounds (" + std::to_string(first) + ")";
        return e;
    }
    e.prompted = true;
    e.defaultText = command == Command::Edit ? lines[static_cast<std::size_t>(first)] : "DAT 00";
    const std::string text = tobric_fuzz::Upper(answer ? *answer : e.defaultText);
    if (second == -1) return e;  // the selection went away while the prompt was open

    if (command == Command::Edit) {
        e.lines[static_cast<std::size_t>(second)] = text;
        e.rebuilt = true;
        return e;
    }
    if (second < 0 || second > count) {
        e.failure = tobric::ErrorKind::Insert;
        e.message = "Unable to insert a line";
        return e;
    }
    e.before.insert(e.before.begin() + second, text);
    WorkOutRenumbering(e, second, +1);
    return e;
}

// "<address mnemonic> <decimal>" with no leading zeros, a minus only for negative numbers.
bool IsRewrittenForm(const std::string& line, const std::string& mnemonic, std::int32_t number) {
    return tobric_fuzz::ReferenceTakesAddress(mnemonic) &&
           line == mnemonic + " " + std::to_string(number);
}

// The limits any Insert or Delete keeps, stated without the line-by-line expectation.
void CheckLimits(Command command, const Expected& e, const std::vector<std::string>& original,
                 const std::vector<std::string>& after, bool failed, const std::string& context) {
    if (!e.renumbered) return;
    if (!failed) {
        long change = static_cast<long>(after.size()) - static_cast<long>(original.size());
        const bool deletedInRange =
            e.selected >= 0 && e.selected < static_cast<int>(original.size());
        const long wanted = command == Command::Insert ? 1 : (deletedInRange ? -1 : 0);
        FUZZ_CHECK(change == wanted, context << "the store changed by " << change << " lines");
    }
    FUZZ_CHECK(after.size() == e.before.size(), context << "the store has " << after.size()
                                                        << " lines, expected " << e.before.size());
    for (std::size_t i = 0; i < after.size(); ++i) {
        if (i >= e.failingLine) {
            FUZZ_CHECK(after[i] == e.before[i],
                       context << "line " << i << " at or after the failing line " << e.failingLine
                               << " changed to " << Quoted(after[i]));
            continue;
        }
        if (after[i] == e.before[i]) continue;
        const std::int32_t moved = tobric_fuzz::Wrapped(std::int64_t{e.carriedOperand[i]} + e.step);
        FUZZ_CHECK(IsRewrittenForm(after[i], e.carriedMnemonic[i], moved),
                   context << "line " << i << " " << Quoted(e.before[i]) << " became "
                           << Quoted(after[i]) << "; the decode carried "
                           << Quoted(e.carriedMnemonic[i]) << " " << e.carriedOperand[i]);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3 || size > 8192) return 0;
    const int commandBits = data[0] & 3;
    const Command command =
        commandBits == 1 ? Command::Delete : (commandBits == 2 ? Command::Edit : Command::Insert);
    const bool pad = (data[0] & 4) != 0;

    std::string_view rest = tobric_fuzz::AsText(data + 3, size - 3);
    std::string_view storeText, answerText;
    tobric_fuzz::TakeSection(rest, storeText);
    std::optional<std::string> answer;
    if (tobric_fuzz::TakeSection(rest, answerText)) answer = std::string(answerText);

    std::vector<std::string> lines = tobric_fuzz::ReferenceSplit(storeText);
    if (lines.size() > kMaxLines) lines.resize(kMaxLines);
    while (pad && lines.size() < tobric::kMailboxCount) lines.emplace_back("DAT 00");

    const int first = SelectionFrom(data[1], static_cast<int>(lines.size()));
    const int second = data[2] == 255 ? -1 : first;
    int selections = 0;
    const tobric::SelectedIndexSource selectedIndex = [&] {
        return selections++ == 0 ? first : second;
    };

    tobric_test::RecordingView view;
    if (answer) view.answers = {*answer};
    tobric::ManualTimer timer;
    tobric_test::AnsweringMachine machine(view, timer);
    tobric_test::StoreExactly(machine, lines);
    view.calls.clear();
    const Expected expected = WorkOutCommand(command, lines, first, second, answer);

    std::optional<tobric::ErrorKind> failure;
    std::string message;
    try {
        switch (command) {
            case Command::Insert:
                machine.Answer(tobric::InsertCommand(machine, selectedIndex));
                break;
            case Command::Delete: tobric::DeleteCommand(machine, selectedIndex); break;
            case Command::Edit:
                machine.Answer(tobric::EditThisMailbox(machine, selectedIndex));
                break;
        }
    } catch (const tobric::MachineError& error) {
        failure = error.kind();
        message = error.message();
    }
    const std::vector<std::string>& after = machine.store().Lines();
    const std::string context = std::string(kCommandNames[static_cast<int>(command)]) + " at " +
                                std::to_string(first) + (second != first ? " (then -1)" : "") +
                                " on " + Quoted(lines) + " answering " +
                                (answer ? Quoted(*answer) : "(cancelled)") + ": ";

    CheckLimits(command, expected, lines, after, failure.has_value(), context);

    tobric_fuzz::CheckFailure([&] { return context; }, failure, message, expected.failure,
                              expected.message);
    FUZZ_CHECK(after == expected.lines, context << "the store is " << Quoted(after) << ", expected "
                                                << Quoted(expected.lines));
    // Only the prompt and the display rebuild belong to these commands.
    const int prompts = view.CountOf("InputPrompt");
    const int rebuilds = view.CountOf("ShowMailboxes");
    FUZZ_CHECK(prompts + rebuilds == static_cast<int>(view.calls.size()),
               context << "a command made the view calls " << Quoted(view.calls));
    FUZZ_CHECK(prompts == (expected.prompted ? 1 : 0),
               context << "the prompt was shown " << prompts << " times");
    if (expected.prompted) {
        const std::string caption = command == Command::Edit ? "Edit Mailbox" : "Insert Command";
        const std::string shown = view.Last("InputPrompt");
        FUZZ_CHECK(shown == caption + "|Enter Tobric Assembly Command|" + expected.defaultText,
                   context << "the prompt was " << Quoted(shown));
    }
    FUZZ_CHECK(rebuilds == (expected.rebuilt ? 1 : 0),
               context << "the display was rebuilt " << rebuilds << " times");
    if (rebuilds == 1)
        FUZZ_CHECK(view.shownLines == after,
                   context << "the display was rebuilt from " << Quoted(view.shownLines));
    return 0;
}
