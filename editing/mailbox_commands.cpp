#include "mailbox_commands.h"

#include "machine/decoder.h"
#include "machine/machine_view.h"
#include "machine/registers.h"
#include "machine/store.h"

namespace tobric {

std::string UpperCased(std::string text) {
    for (char& c : text) c = UpperAscii(c);
    return text;
}

void RenumberAddresses(Store& store, int selected, int step) {
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

void EditThisMailbox(Store& store, MachineView& view, const SelectedIndexSource& selectedIndex) {
    const int selected = selectedIndex();
    if (selected == -1) return;
    const std::string current = store.Get(selected);
    std::string answer = view.InputPrompt("Edit Mailbox", kCommandPrompt, current);
    const int index = selectedIndex();
    if (index == -1) return;  // a running program rebuilt the display while the prompt was open
    store.Put(index, std::move(answer));
    store.Put(index, UpperCased(store.Get(index)));
    view.ShowMailboxes(store);
}

void InsertCommand(Store& store, MachineView& view, const SelectedIndexSource& selectedIndex) {
    if (selectedIndex() == -1) return;
    std::string answer = view.InputPrompt("Insert Command", kCommandPrompt, kPaddingLine);
    const int index = selectedIndex();
    if (index == -1) return;
    store.Insert(index, std::move(answer));
    store.Put(index, UpperCased(store.Get(index)));
    RenumberAddresses(store, index, +1);
    view.ShowMailboxes(store);
}

void DeleteCommand(Store& store, MachineView& view, const SelectedIndexSource& selectedIndex) {
    const int index = selectedIndex();
    if (index == -1) return;
    store.Delete(index);
    RenumberAddresses(store, index, -1);
    view.ShowMailboxes(store);
}

}  // namespace tobric
