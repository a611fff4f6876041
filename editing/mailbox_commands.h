// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The popup commands on the selected mailbox: Edit, Insert and Delete. Insert and Delete move
// every later line to a new address, so they renumber every address operand that points at or
// beyond the changed place, and the program goes on referring to the lines it referred to before.
//
// Edit and Insert hand back their question for the line and go on with the answer. The selection
// is read through a function each time it is needed: a run goes on while the question waits,
// and a running program's STA rebuilds the display and clears the selection meanwhile.
// The commands change the store through Machine::ChangeStore, so a command that completes always
// rebuilds the display and one that fails half-way never does.

#include <functional>

#include "machine/question.h"

namespace tobric {

class Machine;
class MailboxEditor;

// The selected row of the mailbox display, or -1.
using SelectedIndexSource = std::function<int()>;

// Walks the whole store once, carrying the mnemonic and operand from line to line through the
// decoder (both start empty and 0), and rewrites every line under an address mnemonic whose
// operand is >= `selected` as "<mnemonic> <operand + step>". Stops at the first line that fails
// to decode, keeping what was rewritten before it.
void RenumberAddresses(MailboxEditor& store, int selected, int step);

// Both ask nothing when no row is selected; Edit's answer starts as the selected line.
[[nodiscard]] Asked EditThisMailbox(Machine& machine, SelectedIndexSource selectedIndex);
[[nodiscard]] Asked InsertCommand(Machine& machine, SelectedIndexSource selectedIndex);
void DeleteCommand(Machine& machine, const SelectedIndexSource& selectedIndex);

inline constexpr const char* kCommandPrompt = "Enter Tobric Assembly Command";

}  // namespace tobric
