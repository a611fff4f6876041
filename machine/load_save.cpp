// SPDX-License-Identifier: GPL-3.0-or-later
#include "machine.h"
#include "program_file.h"

namespace tobric {

Asked Machine::Load() {
    return PendingCommand({Question::Kind::OpenFile, {}, {}, {}},
                          [this](std::optional<std::string> path) {
                              // Read fully before touching the store: a file that cannot be read
                              // changes nothing.
                              if (path) ReplaceProgram(ReadProgramFile(*path));
                              // Chosen or cancelled, the program starts again from mailbox 0. A run
                              // in progress goes on.
                              m_registers.programCounter = 0;
                              m_registers.accumulator = 0;
                          });
}

Asked Machine::Save() {
    return PendingCommand({Question::Kind::SaveFile, {}, {}, {}},
                          [this](std::optional<std::string> path) {
                              if (path) WriteProgramFile(*path, m_store.Lines());
                          });
}

}  // namespace tobric
