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
        std::string rewritten(MnemonicText(mnemonic));
        rewritten += ' ';
        rewritten += std::to_string(WrappingAdd(operand, step));
        store.Put(i, std::move(rewritten));
    }
}

void EditThisMailbox(Machine& machine, const SelectedIndexSource& selectedIndex) {
    const int selected = selectedIndex();
    if (selected == -1) return;
    const std::string current = machine.store().Get(selected);
    const std::string answer = machine.InputPrompt("Edit Mailbox", kCommandPrompt, current);
    const int index = selectedIndex();
    if (index == -1) return;  // a running program rebuilt the display while the prompt was open
    machine.ChangeStore([&](MailboxEditor& store) { store.Put(index, UpperCased(answer)); });
}

void InsertCommand(Machine& machine, const SelectedIndexSource& selectedIndex) {
    if (selectedIndex() == -1) return;
    const std::string answer = machine.InputPrompt("Insert Command", kCommandPrompt, kPaddingLine);
    const int index = selectedIndex();
    if (index == -1) return;
    machine.ChangeStore([&](MailboxEditor& store) {
        store.Insert(index, UpperCased(answer));
        RenumberAddresses(store, index, +1);
    });
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
