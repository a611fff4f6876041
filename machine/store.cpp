#include "store.h"

#include "errors.h"

namespace tobric {

Store::Store() : m_lines(1) {}

const std::string& Store::Get(int i) const {
    if (i < 0 || i >= Count()) throw ListIndexError(i);
    return m_lines[static_cast<std::size_t>(i)];
}

void Store::Put(int i, std::string text) {
    if (i >= 0 && i < Count()) {
        m_lines[static_cast<std::size_t>(i)] = std::move(text);
    } else if (i == Count() || i == -1) {
        Add(std::move(text));
    } else {
        throw InsertError();
    }
}

void Store::Insert(int i, std::string text) {
    if (i == -1) i = Count();
    if (i < 0 || i > Count()) throw InsertError();
    m_lines.insert(m_lines.begin() + i, std::move(text));
}

void Store::Delete(int i) {
    if (i >= 0 && i < Count()) m_lines.erase(m_lines.begin() + i);
}

void Store::Add(std::string text) { m_lines.push_back(std::move(text)); }

void Store::Clear() { m_lines.clear(); }

void Store::ReplaceAll(std::vector<std::string> lines) { m_lines = std::move(lines); }

void PadToHundred(Store& store) {
    while (store.Count() < kMailboxCount) store.Add(kPaddingLine);
}

bool HasNoProgram(const Store& store) { return store.Count() < 2; }

}  // namespace tobric
