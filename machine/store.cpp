// SPDX-License-Identifier: GPL-3.0-or-later
#include "store.h"

#include <utility>

#include "errors.h"

namespace tobric {

Store::Store() : m_lines(1), m_decoded(1), m_textLags(1) {}

const std::string& Store::Get(int i) const {
    if (i < 0 || i >= Count()) throw ListIndexError(i);
    if (m_textLags[static_cast<std::size_t>(i)]) WriteOutNumbers();
    return m_lines[static_cast<std::size_t>(i)];
}

void Store::WriteOutNumbers() const {
    for (const int i : m_lagging) {
        const auto at = static_cast<std::size_t>(i);
        if (!m_textLags[at]) continue;
        m_lines[at] = "DAT " + std::to_string(m_decoded[at].value);
        m_textLags[at] = false;
    }
    m_lagging.clear();
}

void Store::PutNumberText(int i, std::int32_t n) { Put(i, "DAT " + std::to_string(n)); }

const DecodedLine& Store::DecodeNow(int i) const {
    const std::string& line = Get(i);  // throws for an index outside the store
    DecodedLine& decoded = m_decoded[static_cast<std::size_t>(i)];
    decoded = DecodeOnce(line);
    return decoded;
}

void Store::Put(int i, std::string text) {
    WriteOutNumbers();
    if (i >= 0 && i < Count()) {
        std::string& line = m_lines[static_cast<std::size_t>(i)];
        m_decoded[static_cast<std::size_t>(i)] = DecodedLine{};  // every flag false again
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
    WriteOutNumbers();
    m_lines.insert(m_lines.begin() + i, std::move(text));
    m_decoded.insert(m_decoded.begin() + i, DecodedLine{});
    m_textLags.push_back(false);
    if (m_tracking) m_changes.push_back({Change::Kind::Insert, i, {}, {}});
}

void Store::Delete(int i) {
    if (i < 0 || i >= Count()) return;
    WriteOutNumbers();
    m_textLags.pop_back();
    const auto line = m_lines.begin() + i;
    if (m_tracking) m_changes.push_back({Change::Kind::Delete, i, std::move(*line), {}});
    m_lines.erase(line);
    m_decoded.erase(m_decoded.begin() + i);
}

void Store::ReplaceAll(std::vector<std::string> lines) {
    WriteOutNumbers();
    if (m_tracking)
        m_changes.push_back(
            {Change::Kind::ReplaceAll, 0, {}, std::exchange(m_lines, std::move(lines))});
    else
        m_lines = std::move(lines);
    m_decoded.assign(m_lines.size(), DecodedLine{});
    m_textLags.assign(m_lines.size(), false);
}

void Store::TrackShownLines() {
    WriteOutNumbers();
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
