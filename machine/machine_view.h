// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The machine view: the only way the machine shows the user anything. The window implements it;
// the headless runner and the tests have their own. Only the machine calls it. What the machine
// needs to know from the user it asks by handing back a question (question.h).
//
// Any call may run other event handlers before it returns (a notice keeps serving clicks and
// timer ticks, and a running program may change the store meanwhile). Callers must not hold a
// reference into the store across a call, and must read the registers again afterwards.
//
// The store a view is given is the machine's own, and lives as long as the machine: a view may
// keep the reference and read it later (the window's display draws its rows on demand, long after
// ShowMailboxes returned). It must read it as Store::ShownLine() then, never as Get(): between two
// rebuilds a failed command may have changed the store, and the display keeps showing what it
// showed.

#include <cstdint>
#include <string>

namespace tobric {

class Store;
struct Registers;

class MachineView {
public:
    virtual ~MachineView() = default;

    // Rebuild the numbered mailbox display from the whole store as it stands now (its lines are
    // marked as the ones shown): no row selected afterwards, the first row at the top, repainted
    // at once. Called at the end of every change to the store that completed, and when the
    // editor opens; never after a change that failed half-way.
    virtual void ShowMailboxes(const Store& store) = 0;
    // Write the program counter, the current operand and the current mnemonic into their boxes.
    virtual void ShowRegisters(const Registers& registers) = 0;
    // Show n on the calculator display, followed by one blank.
    virtual void ShowCalculator(std::int32_t n) = 0;
    // Put n into the OUT basket: its field shows n and its list gains n as the last item.
    virtual void ShowOutput(std::int32_t n) = 0;
    // Show n in the IN basket.
    virtual void ShowInBasket(std::int32_t n) = 0;
    // The program's own one-button message, captioned "Compiler Message". Disables nothing;
    // returns when dismissed.
    virtual void ShowNotice(const std::string& text) = 0;
};

}  // namespace tobric
