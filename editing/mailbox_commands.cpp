// SPDX-License-Identifier: GPL-3.0-or-later
#include "mailbox_commands.h"

#include <string>

#include "machine/decoder.h"
#include "machine/machine.h"

namespace tobric {

void RenumberAddresses(MailboxEditor& store, int selected, int step) {
    const int count = store.Count();
    Mnemonic mnemonic = Mnemonic::None;
    std::int32_t operand = 0;
    for (int i = 0; i < count; ++i) {
        DecodeLine(store.Get(i), mnemonic, operand);
        if (!TakesAddress(mnemonic) || operand < selected) continue;
        store.Put(i, std::string(MnemonicText(mnemonic)) + ' ' +
                         std::to_string(WrappingAdd(operand, step)));
    }
}

namespace {

// The line question of Edit and Insert; the answer goes in at the row selected once it is given.
Asked AskForLine(const char* caption, std::string defaultText, SelectedIndexSource selectedIndex,
                 std::function<void(MailboxEditor&, int index, std::string line)> change,
                 Machine& machine) {
    Question question{Question::Kind::Line, caption, kCommandPrompt, std::move(defaultText)};
    return PendingCommand(std::move(question), [=, &machine](std::optional<std::string> answer) {
        const int index = selectedIndex();
        if (index == -1) return;  // a running program rebuilt the display meanwhile
        machine.ChangeStore(
            [&](MailboxEditor& store) { change(store, index, UpperCased(std::move(*answer))); });
    });
}

}  // namespace

Asked EditThisMailbox(Machine& machine, SelectedIndexSource selectedIndex) {
    const int selected = selectedIndex();
    if (selected == -1) return std::nullopt;
    return AskForLine(
        "Edit Mailbox", machine.store().Get(selected), std::move(selectedIndex),
        [](MailboxEditor& store, int index, std::string line) {
            store.Put(index, std::move(line));
        },
        machine);
}

Asked InsertCommand(Machine& machine, SelectedIndexSource selectedIndex) {
    if (selectedIndex() == -1) return std::nullopt;
    return AskForLine(
        "Insert Command", kPaddingLine, std::move(selectedIndex),
        [](MailboxEditor& store, int index, std::string line) {
            store.Insert(index, std::move(line));
            RenumberAddresses(store, index, +1);
        },
        machine);
}

void DeleteCommand(Machine& machine, const SelectedIndexSource& selectedIndex) {
    const int index = selectedIndex();
    if (index == -1) return;
    machine.ChangeStore([index](MailboxEditor& store) {
        store.Delete(index);
        RenumberAddresses(store, index, -1);
    });
}

}  // namespace tobric
