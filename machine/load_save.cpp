// SPDX-License-Identifier: GPL-3.0-or-later
#include "machine.h"
#include "program_file.h"

namespace tobric {

void Machine::Load() {
    // Read fully before touching the store: a file that cannot be read changes nothing.
    if (const std::optional<std::string> path = m_view.AskOpenFileName())
        ReplaceProgram(ReadProgramFile(*path));
    // Chosen or cancelled, the program starts again from mailbox 0. A run in progress goes on.
    m_registers.programCounter = 0;
    m_registers.accumulator = 0;
}

void Machine::Save() {
    if (const std::optional<std::string> path = m_view.AskSaveFileName())
        WriteProgramFile(*path, m_store.Lines());
}

}  // namespace tobric
