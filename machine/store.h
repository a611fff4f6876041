// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The mailbox store: the machine's memory and its program at once, an ordered list of text lines
// with mailbox i being line i. Numbers live in the lines as text. The operations keep the exact
// edge behaviour programs and the editing commands rely on (see each one).

#include <string>
#include <string_view>
#include <vector>

#include "decoded_line.h"

namespace tobric {

class Store {
public:
    // A new store holds exactly one line, and that line is empty.
    Store();

    int Count() const { return static_cast<int>(m_lines.size()); }
    const std::vector<std::string>& Lines() const {
        WriteOutNumbers();
        return m_lines;
    }

    // Line i; any other index fails with the list-index error carrying i.
    const std::string& Get(int i) const;
    // Line i as the step decodes it (see DecodedLine), worked out on first use after each change
    // of the line; any other index fails as Get does.
    const DecodedLine& Decoded(int i) const {
        if (static_cast<unsigned>(i) < m_decoded.size() &&
            m_decoded[static_cast<unsigned>(i)].known)
            return m_decoded[static_cast<unsigned>(i)];
        return DecodeNow(i);
    }
    // Line i's entry as far as it is worked out: one not yet worked out, or any index outside
    // the store, gives an entry with every flag false (see DecodedLine). Decodes nothing, throws
    // nothing: the step's usual paths, with Decoded behind them.
    const DecodedLine& Known(int i) const {
        return static_cast<unsigned>(i) < m_decoded.size() ? m_decoded[static_cast<unsigned>(i)]
                                                           : kNothingKnown;
    }
    // Replaces line i; i = Count() or i = -1 appends; any other index fails with the insert
    // error and changes nothing.
    void Put(int i, std::string text);
    // Put(i, "DAT " + std::to_string(n)): STA, on every pass of a counting loop. Where no
    // display watches the store, only the decode cache takes the number, and the text is written
    // out when someone reads it (every reader of text sees it as Put would have left it).
    void PutNumber(int i, std::int32_t n) {
        // The journal keeps the old text, so a watched store writes the text now.
        if (m_tracking || static_cast<unsigned>(i) >= m_lines.size()) return PutNumberText(i, n);
        m_decoded[static_cast<unsigned>(i)] = NumberOnly(n);
        if (!m_textLags[static_cast<unsigned>(i)]) {
            m_textLags[static_cast<unsigned>(i)] = true;
            m_lagging.push_back(i);
        }
    }
    // Inserts before line i for 0 <= i <= Count(); i = -1 appends; otherwise the insert error.
    void Insert(int i, std::string text);
    // Removes line i; an index outside the store does nothing.
    void Delete(int i);
    void Add(std::string text) { Insert(-1, std::move(text)); }
    void ReplaceAll(std::vector<std::string> lines);

    // The mailbox display shows the store as it stood at its last rebuild, also after a command
    // that failed half-way and so never rebuilt it (a failed Insert leaves the display one line
    // short). Once a display asks for it, the store journals each change until the next
    // MarkShown(): the cost follows the changes made, never the store's size, and a store that no
    // display watches (the runner's) journals nothing.
    void TrackShownLines();
    // The lines as they stand now are the ones shown. Nothing to do where no display watches:
    // STA marks on every pass.
    void MarkShown() {
        if (!m_tracking) return;
        m_changes.clear();
        m_shownCount = Count();
    }
    int ShownCount() const;
    // Line `row` as it stood at the last MarkShown(), for 0 <= row < ShownCount().
    const std::string& ShownLine(int row) const;

private:
    // The batch of steps stores through PutNumberQuietly.
    friend class Machine;

    // PutNumber where it changes only the decode cache of a line whose text already lags: done and
    // true, or false having changed nothing. No call, for the runner's batch of steps.
    bool PutNumberQuietly(int i, std::int32_t n) {
        // No line lags while a display watches, so a lagging line says there is none.
        if (static_cast<unsigned>(i) >= m_decoded.size() || !m_textLags[static_cast<unsigned>(i)])
            return false;
        m_decoded[static_cast<unsigned>(i)] = NumberOnly(n);
        return true;
    }

    // One change since the last MarkShown(), with what it overwrote or removed.
    struct Change {
        enum class Kind { Put, Insert, Delete, ReplaceAll } kind;
        int index = 0;
        std::string oldLine;                // Put, Delete
        std::vector<std::string> oldLines;  // ReplaceAll
    };

    const DecodedLine& DecodeNow(int i) const;
    void PutNumberText(int i, std::int32_t n);
    // Writes the text of every line PutNumber left lagging; every change but PutNumber's starts
    // here, so while any line lags the store's shape stays as it is.
    void WriteOutNumbers() const;

    static constexpr DecodedLine kNothingKnown{};

    // Mutable only for the write-out of lagging numbers (PutNumber), which readers do.
    mutable std::vector<std::string> m_lines;
    // One entry per line, kept beside it by every change: cleared where a line is written,
    // inserted and erased with the lines so no entry ever describes a line it did not decode.
    mutable std::vector<DecodedLine> m_decoded;
    // The lines whose text lags the number their entry holds (PutNumber): a flag per line, and
    // the lines flagged since the last write-out. All flags are clear whenever lines are inserted
    // or removed, so a change of shape only adds or drops clear flags at the end.
    mutable std::vector<bool> m_textLags;
    mutable std::vector<int> m_lagging;
    bool m_tracking = false;
    int m_shownCount = 0;
    std::vector<Change> m_changes;
};

inline constexpr int kMailboxCount = 100;
inline constexpr const char* kPaddingLine = "DAT 00";

// Appends "DAT 00" lines while the store has fewer than 100 (after Load and the editor's Save).
void PadToHundred(Store& store);

// Fewer than two lines count as no program: run control refuses then.
bool HasNoProgram(const Store& store);

}  // namespace tobric
