// SPDX-License-Identifier: GPL-3.0-or-later
// Every change to the store ends here: in a rebuild of the mailbox display.

#include "machine.h"

namespace tobric {

void Machine::ReplaceProgram(std::vector<std::string> lines) {
    m_store.ReplaceAll(std::move(lines));
    PadToHundred(m_store);
    ShowMailboxes();
}

void Machine::ChangeStore(const std::function<void(MailboxEditor&)>& change) {
    MailboxEditor editor(m_store);
    change(editor);
    ShowMailboxes();
}

void Machine::ShowMailboxes() {
    // The display shows the lines as they stand now; its journal starts afresh.
    m_store.MarkShown();
    m_view.ShowMailboxes(m_store);
}

}  // namespace tobric
