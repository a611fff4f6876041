// SPDX-License-Identifier: GPL-3.0-or-later
#include "store.h"

#include <utility>

#include "errors.h"

namespace tobric {

Store::Store() : m_lines(1), m_decoded(1) {}

const std::string& Store::Get(int i) const {
    if (i < 0 || i >= Count()) throw ListIndexError(i);
    return m_lines[static_cast<std::size_t>(i)];
}

const DecodedLine& Store::DecodeNow(int i) const {
    const std::string& line = Get(i);  // throws for an index outside the store
    DecodedLine& decoded = m_decoded[static_cast<std::size_t>(i)];
    decoded = DecodeOnce(line);
    return decoded;
}

void Store::Put(int i, std::string text) {
    if (i >= 0 && i < Count()) {
        std::string& line = m_lines[static_cast<std::size_t>(i)];
        m_decoded[static_cast<std::size_t>(i)].known = false;
        if (m_tracking)
            m_changes.push_back({Change::Kind::Put, i, std::exchange(line, std::move(text)), {}});
        else
            line = std::move(text);
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
    m_decoded.insert(m_decoded.begin() + i, DecodedLine{});
    if (m_tracking) m_changes.push_back({Change::Kind::Insert, i, {}, {}});
}

void Store::Delete(int i) {
    if (i < 0 || i >= Count()) return;
    const auto line = m_lines.begin() + i;
    if (m_tracking) m_changes.push_back({Change::Kind::Delete, i, std::move(*line), {}});
    m_lines.erase(line);
    m_decoded.erase(m_decoded.begin() + i);
}

void Store::Add(std::string text) {
    m_lines.push_back(std::move(text));
    m_decoded.emplace_back();
    if (m_tracking) m_changes.push_back({Change::Kind::Insert, Count() - 1, {}, {}});
}

void Store::ReplaceAll(std::vector<std::string> lines) {
    if (m_tracking)
        m_changes.push_back(
            {Change::Kind::ReplaceAll, 0, {}, std::exchange(m_lines, std::move(lines))});
    else
        m_lines = std::move(lines);
    m_decoded.assign(m_lines.size(), DecodedLine{});
}

void Store::TrackShownLines() {
    m_tracking = true;
    MarkShown();
}

int Store::ShownCount() const { return m_tracking ? m_shownCount : Count(); }

const std::string& Store::ShownLine(int row) const {
    // Follow the shown line forward through the changes: the first change that overwrote or
    // removed it holds its old text; otherwise it still stands, perhaps at another index.
    for (const Change& change : m_changes) {
        switch (change.kind) {
            case Change::Kind::Put:
                if (change.index == row) return change.oldLine;
                break;
            case Change::Kind::Delete:
                if (change.index == row) return change.oldLine;
                if (change.index < row) --row;
                break;
            case Change::Kind::Insert:
                if (change.index <= row) ++row;
                break;
            case Change::Kind::ReplaceAll: return change.oldLines[static_cast<std::size_t>(row)];
        }
    }
    return Get(row);
}

void PadToHundred(Store& store) {
    while (store.Count() < kMailboxCount) store.Add(kPaddingLine);
}

bool HasNoProgram(const Store& store) { return store.Count() < 2; }

}  // namespace tobric
