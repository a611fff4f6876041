// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "machine/machine.h"

namespace tobric_test {

// Exactly these lines in the machine's store, unpadded, as the mailbox commands can leave it, put
// in as a command would put them; the display is rebuilt as after any command.
inline void StoreExactly(tobric::Machine& machine, std::vector<std::string> lines) {
    machine.ChangeStore([&](tobric::MailboxEditor& store) {
        while (store.Count() > 0) store.Delete(store.Count() - 1);
        for (std::string& line : lines) store.Put(-1, std::move(line));
    });
}

}  // namespace tobric_test
