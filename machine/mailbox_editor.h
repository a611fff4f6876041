// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <utility>

#include "store.h"

namespace tobric {

// What a mailbox command may do to the store, inside Machine::ChangeStore: read, replace, insert
// and delete lines, each with the edge behaviour and errors Store gives them. The decode cache,
// the numbers STA leaves lagging and the display's journal stay the machine's own.
class MailboxEditor {
public:
    int Count() const { return m_store.Count(); }
    const std::string& Get(int i) const { return m_store.Get(i); }
    void Put(int i, std::string text) { m_store.Put(i, std::move(text)); }
    void Insert(int i, std::string text) { m_store.Insert(i, std::move(text)); }
    void Delete(int i) { m_store.Delete(i); }

private:
    friend class Machine;
    explicit MailboxEditor(Store& store) : m_store(store) {}

    Store& m_store;
};

}  // namespace tobric
