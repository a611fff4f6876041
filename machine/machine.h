// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The machine: the store, the registers, the keypad and the execution timer, and every command
// the window offers on them. The window owns one Machine and calls one method per event; all
// output goes through the MachineView. Failures are thrown (errors.h) and leave done what was done.
//
// The machine is the one road into its state: it hands out only const views of the store and the
// registers, and every change to the store goes through an operation here that ends by rebuilding
// the mailbox display, so the display can never silently fall behind a completed change.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "execution_timer.h"
#include "keypad.h"
#include "machine_view.h"
#include "mailbox_editor.h"
#include "question.h"
#include "registers.h"
#include "store.h"

namespace tobric {

class Machine {
public:
    // The registers start at zero as the program starts; tests and the fuzz targets may start a
    // machine in the middle of things instead.
    Machine(MachineView& view, ExecutionTimer& timer, const Registers& registers = {});
    Machine(const Machine&) = delete;
    Machine& operator=(const Machine&) = delete;

    const Store& store() const { return m_store; }
    const Registers& registers() const { return m_registers; }

    // Replaces every line of the store, pads it to 100 with "DAT 00" and rebuilds the display:
    // Load, the editor's Save Changes and the headless runner.
    void ReplaceProgram(std::vector<std::string> lines);
    // Runs `change` on the store's lines, then rebuilds the display. A failure inside passes out
    // with no rebuild, so the display goes on showing the store as it stood before (a failed Insert
    // or Delete leaves it one line out).
    void ChangeStore(const std::function<void(MailboxEditor&)>& change);
    // Rebuilds the display from the store as it stands, changing nothing: the editor does so as
    // it opens.
    void ShowMailboxes();
    // For a display that draws its rows on demand: from now on the store journals its changes
    // between rebuilds, so the display can keep drawing the lines it showed (see Store).
    void TrackShownLines() { m_store.TrackShownLines(); }
    // The execution step: obeys the one instruction the program counter names. IN hands back its
    // question with the timer off; the step ends on the answer.
    [[nodiscard]] Asked TimerTimer();
    // The same step with the view and timer named by their own types (obey_step.h): `view` and
    // `timer` must be the ones the machine was made with.
    template <class View, class Timer>
    [[nodiscard]] Asked ObeyStep(View& view, Timer& timer);
    // Obeys steps while the timer stays enabled and `steps` is below `limit`, counting them in
    // `steps` (a step that fails is not counted); as the same number of ObeyStep calls would with
    // IN answered at once by `view.Answer(question)`, except that the timer stays on from step to
    // step (off only while IN is answered) and its countdown is not restarted. For the headless
    // runner, which no tick drives.
    template <class View, class Timer>
    void ObeySteps(View& view, Timer& timer, std::int64_t& steps, std::int64_t limit);

    // The number held in a mailbox: everything from position 5 of its line, converted. A line of
    // four characters or fewer ("HLT", "IN") holds 0.
    std::int32_t MailboxValue(std::uint16_t address) const {
        const DecodedLine& known = m_store.Known(address);
        return known.valueConverts ? known.value : MailboxValueOfText(address);
    }

    // Run control.
    void Run();
    [[nodiscard]] Asked Step();
    void HaltOrContinue();
    void Reset();
    void ChangeSpeed(int position);

    // Program files: each asks for its file. Load on a cancelled choice still starts the program
    // again from mailbox 0; Save writes the store as it stands when the file is chosen.
    [[nodiscard]] Asked Load();
    [[nodiscard]] Asked Save();

    // The calculator keypad on the accumulator.
    void PressDigit(int digit) { m_keypad.PressDigit(digit, m_view); }
    void PressPlus() { m_keypad.PressPlus(m_registers.accumulator); }
    void PressMinus() { m_keypad.PressMinus(m_registers.accumulator); }
    void PressEquals() { m_keypad.PressEquals(m_registers.accumulator, m_view); }
    void PressClear() { m_keypad.PressClear(m_registers.accumulator, m_view); }
    void PressClearEntry() { m_keypad.PressClearEntry(m_registers.accumulator, m_view); }

private:
    // MailboxValue of a line the decode cache holds no number for yet: decoded now, or the
    // conversion and its error.
    std::int32_t MailboxValueOfText(std::uint16_t address) const;
    // Decodes the line at the program counter into m_registers where it is not complete (see
    // DecodedLine): the carried mnemonic, or the exact error.
    void DecodeIncomplete();
    // How a step ended: the run goes on (the timer re-armed) or stops; it waits for IN's answer;
    // or, for a step that may make no call, it needs one and was left undone.
    enum class StepOutcome { GoesOn, Stops, AsksIn, NeedsCall };
    // The rest of an IN step, on the answer: the number into the IN basket and the calculator,
    // then the step's end.
    template <class View>
    StepOutcome TakeInAnswer(const std::string& answer, View& view);
    // Every step's end: shows the calculator and the registers, advances, says whether the run
    // goes on.
    template <class View>
    StepOutcome EndStep(Registers& r, View& view);
    // One step on `r`: m_registers itself, or, with kCallFree, the copy a batch of steps works on.
    // With kCallFree every call out of the step (and so every failure) is left out, and a step
    // that would make one gives up instead. Inlined even where the optimiser would not: only then
    // can a batch keep the copy out of memory.
    template <bool kCallFree, class View>
    [[gnu::always_inline]] inline StepOutcome ObeyStepOn(Registers& r, View& view);
    // The batch's step that needs a call, out of line: the calls it makes leave the batch's own
    // loop free to keep everything in registers.
    template <class View, class Timer>
    [[gnu::noinline]] StepOutcome ObeyStepWithCalls(View& view, Timer& timer);
    // STA's store; false, having changed nothing, where kCallFree and the store would need a call.
    template <bool kCallFree, class View>
    [[gnu::always_inline]] inline bool StoreNumber(View& view, std::uint16_t address,
                                                   std::int32_t n);
    // MailboxValue at `operand` into `value`; false, with `value` of no use, where kCallFree and
    // the value is not yet worked out.
    template <bool kCallFree>
    bool TakeValue(std::int32_t operand, std::int32_t& value) const {
        if constexpr (kCallFree) {
            const DecodedLine& known = m_store.Known(AddressOf(operand));
            value = known.value;
            return known.valueConverts;
        } else {
            value = MailboxValue(AddressOf(operand));
            return true;
        }
    }
    bool RefuseWithoutProgram();

    MachineView& m_view;
    ExecutionTimer& m_timer;
    Store m_store;
    Registers m_registers;
    Keypad m_keypad;
};

// What IN asks for the number it puts into the IN basket.
inline const Question kInBasketQuestion{Question::Kind::Line, "Message",
                                        "Enter a value into the in basket", "0"};

}  // namespace tobric
