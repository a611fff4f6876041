// SPDX-License-Identifier: GPL-3.0-or-later
// The mailbox store's operations at their edges, the padding and no-program rules, and the two
// routines through which the step reads and writes single mailboxes.

#include "machine/store.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "machine/errors.h"
#include "support/machine_test.h"

namespace {

using tobric::ErrorKind;
using tobric::Store;
using tobric_test::ErrorFrom;
using Lines = std::vector<std::string>;

Store StoreOf(Lines lines) {
    Store store;
    store.ReplaceAll(std::move(lines));
    return store;
}

TEST(StoreStart, HoldsOneEmptyLineAndCountsAsNoProgram) {
    const Store store;
    EXPECT_EQ(store.Lines(), Lines{""});
    EXPECT_TRUE(tobric::HasNoProgram(store));
}

TEST(StoreGet, InsideGivesTheLineOutsideFailsWithTheIndexAskedFor) {
    const Store store = StoreOf({"A", "B", "C"});
    EXPECT_EQ(store.Get(0), "A");
    EXPECT_EQ(store.Get(2), "C");
    for (int index : {-1, 3, 4, 65535}) {
        const tobric::MachineError error = ErrorFrom([&] { store.Get(index); });
        EXPECT_EQ(error.kind(), ErrorKind::ListIndex);
        EXPECT_EQ(error.message(), "List index out of bounds (" + std::to_string(index) + ")");
    }
}

TEST(StorePut, ReplacesInsideAndAppendsAtCountOrMinusOne) {
    Store store = StoreOf({"A", "B"});
    store.Put(1, "b");
    EXPECT_EQ(store.Lines(), (Lines{"A", "b"}));
    store.Put(2, "C");
    EXPECT_EQ(store.Lines(), (Lines{"A", "b", "C"}));
    store.Put(-1, "D");
    EXPECT_EQ(store.Lines(), (Lines{"A", "b", "C", "D"}));
}

TEST(StoreInsert, BeforeALineAtTheEndAndAtMinusOne) {
    Store store = StoreOf({"A", "B"});
    store.Insert(0, "first");
    store.Insert(2, "middle");
    store.Insert(4, "end");
    store.Insert(-1, "appended");
    EXPECT_EQ(store.Lines(), (Lines{"first", "A", "middle", "B", "end", "appended"}));
}

TEST(StorePutAndInsert, BeyondCountOrBelowMinusOneFailAndChangeNothing) {
    Store store = StoreOf({"A", "B"});
    for (int index : {3, 4, -2}) {
        for (const bool insert : {false, true}) {
            const tobric::MachineError error =
                ErrorFrom([&] { insert ? store.Insert(index, "X") : store.Put(index, "X"); });
            EXPECT_EQ(error.kind(), ErrorKind::Insert) << index << (insert ? " Insert" : " Put");
            EXPECT_EQ(error.message(), "Unable to insert a line");
        }
    }
    EXPECT_EQ(store.Lines(), (Lines{"A", "B"}));
}

TEST(StoreDelete, RemovesInsideAndIgnoresAnyOtherIndex) {
    Store store = StoreOf({"A", "B", "C"});
    store.Delete(-1);
    store.Delete(3);
    store.Delete(100);
    EXPECT_EQ(store.Lines(), (Lines{"A", "B", "C"}));
    store.Delete(1);
    EXPECT_EQ(store.Lines(), (Lines{"A", "C"}));
    store.Delete(0);
    store.Delete(0);
    EXPECT_EQ(store.Count(), 0);
    store.Delete(0);
    EXPECT_EQ(store.Count(), 0);
}

TEST(StoreWholeList, AddAndReplaceAll) {
    Store store;
    store.Add("A");
    EXPECT_EQ(store.Lines(), (Lines{"", "A"}));
    store.ReplaceAll({});
    EXPECT_EQ(store.Count(), 0);
    store.ReplaceAll({"X", "Y"});
    EXPECT_EQ(store.Lines(), (Lines{"X", "Y"}));
}

// Whatever mix of changes follows a mark, the shown lines are exactly the lines at the mark.
TEST(StoreShownLines, StayAsMarkedThroughAnyChanges) {
    std::mt19937 random(7);
    for (int round = 0; round < 300; ++round) {
        Store store = StoreOf({"A", "B", "C", "D"});
        store.TrackShownLines();
        const int changes = static_cast<int>(random() % 12);
        for (int i = 0; i < changes; ++i) {
            const int index =
                static_cast<int>(random() % static_cast<unsigned>(store.Count() + 2)) - 1;
            const std::string text = "x" + std::to_string(i);
            switch (random() % 5) {
                case 0: store.Put(std::max(index, 0), text); break;
                case 1: store.Insert(std::max(index, 0), text); break;
                case 2: store.Delete(index); break;
                case 3: store.Add(text); break;
                default:
                    if (random() % 4 == 0) store.ReplaceAll({text});
                    break;
            }
        }
        const Lines marked{"A", "B", "C", "D"};
        ASSERT_EQ(store.ShownCount(), 4);
        for (int row = 0; row < 4; ++row)
            ASSERT_EQ(store.ShownLine(row), marked.at(static_cast<std::size_t>(row)))
                << "round " << round;
        const Lines now = store.Lines();
        store.MarkShown();
        ASSERT_EQ(store.ShownCount(), static_cast<int>(now.size()));
        for (int row = 0; row < store.ShownCount(); ++row)
            ASSERT_EQ(store.ShownLine(row), now.at(static_cast<std::size_t>(row)));
    }
}

// The step decodes each line once; whatever mix of changes follows, every line still decodes as
// its text does now, also where Insert and Delete moved lines past entries already decoded. The
// text of a number STA stored is written out only when read: every text read, Lines() too, sees
// the lines as plain Puts would have left them, also after changes of shape while lines lag.
TEST(StoreDecoded, FollowsEveryChange) {
    std::mt19937 random(11);
    const auto number = [&] { return "DAT " + std::to_string(random() % 1000); };
    for (int round = 0; round < 300; ++round) {
        Lines model = {number(), "SKZ", number(), "JMP 7"};
        Store store = StoreOf(model);
        for (int i = 0; i < 8; ++i) {
            if (random() % 2 == 0)
                for (int row = 0; row < store.Count(); ++row) store.Decoded(row);
            const int index =
                static_cast<int>(random() % static_cast<unsigned>(store.Count() + 2)) - 1;
            const auto at = static_cast<std::size_t>(std::max(index, 0));
            const auto put = [&](const std::string& text) {
                if (at < model.size())
                    model[at] = text;
                else
                    model.push_back(text);
            };
            std::string text = number();
            switch (random() % 6) {
                case 0:
                    store.Put(std::max(index, 0), text);
                    put(text);
                    break;
                case 1: {
                    const auto n = static_cast<std::int32_t>(random());  // either sign, any size
                    store.PutNumber(std::max(index, 0), n);
                    put("DAT " + std::to_string(n));
                    break;
                }
                case 2:
                    store.Insert(std::max(index, 0), text);
                    model.insert(model.begin() + static_cast<std::ptrdiff_t>(at), text);
                    break;
                case 3:
                    store.Delete(index);
                    if (index >= 0 && at < model.size())
                        model.erase(model.begin() + static_cast<std::ptrdiff_t>(at));
                    break;
                case 4:
                    store.Add(text);
                    model.push_back(text);
                    break;
                default:
                    model = {text, number()};
                    store.ReplaceAll(model);
                    break;
            }
            if (random() % 3 != 0) continue;  // let numbers lag across further changes
            if (random() % 2 == 0) {
                ASSERT_EQ(store.Lines(), model) << "round " << round;
            }
            for (int row = 0; row < store.Count(); ++row)
                ASSERT_EQ(store.Decoded(row), tobric::DecodeOnce(store.Get(row)))
                    << "round " << round << ", row " << row;
        }
        ASSERT_EQ(store.Lines(), model) << "round " << round;
    }
}

TEST(PaddingRule, FillsUpToOneHundredWithDat00AndNoFurther) {
    for (const Lines& lines :
         {Lines{"IN", "OUT", "HLT"}, Lines{}, Lines(100, "HLT"), Lines(120, "HLT")}) {
        Store store = StoreOf(lines);
        tobric::PadToHundred(store);
        Lines expected = lines;
        expected.resize(std::max<std::size_t>(lines.size(), 100), "DAT 00");
        EXPECT_EQ(store.Lines(), expected) << lines.size() << " lines";
    }
}

TEST(NoProgramRule, FewerThanTwoLines) {
    EXPECT_TRUE(tobric::HasNoProgram(StoreOf({})));
    EXPECT_TRUE(tobric::HasNoProgram(StoreOf({"HLT"})));
    EXPECT_FALSE(tobric::HasNoProgram(StoreOf({"HLT", ""})));
}

// --- MailboxValue and Put, through the machine that owns the store ---------------------------

using MailboxValueTest = tobric_test::MachineTest;

// A line's number is its text from position five; a line of four characters or fewer holds 0.
TEST_F(MailboxValueTest, ConvertsTheTailOrFailsWithIt) {
    LoadProgram({"DAT 1234", "DAT -7", "LDA 05", "DAT 0042", "JMP 3", "DAT $10", "DAT 123456789",
                 "HLT", "IN", "DAT ", "", "DAT 4 2", "DAT 12 3", "DAT 5 "});
    // Each line's number; from "4 2" on, the tails that are no number.
    const Lines values = {"1234", "-7", "5", "42", "3",   "16",   "123456789",
                          "0",    "0",  "0", "0",  "4 2", "12 3", "5 "};
    const auto valueOf = [&](std::uint16_t address) {
        try {
            return std::to_string(machine().MailboxValue(address));
        } catch (const tobric::MachineError& error) {
            return error.message();
        }
    };
    for (std::uint16_t address = 0; address < values.size(); ++address)
        EXPECT_EQ(valueOf(address), address < 11
                                        ? values[address]
                                        : "'" + values[address] + "' is not a valid integer value")
            << "line " << store().Get(address);
    EXPECT_EQ(valueOf(100), "List index out of bounds (100)");
    EXPECT_EQ(valueOf(65535), "List index out of bounds (65535)");
}

using StoreMailboxTest = tobric_test::MachineTest;

TEST_F(StoreMailboxTest, ReplacesTheLineAndRebuildsTheDisplay) {
    LoadProgram({"IN", "HLT"});
    machine().ChangeStore([](tobric::MailboxEditor& editor) { editor.Put(10, "DAT 3"); });
    EXPECT_EQ(store().Get(10), "DAT 3");
    EXPECT_EQ(store().Count(), 100);
    EXPECT_EQ(view.calls, std::vector<std::string>{"ShowMailboxes"});
    EXPECT_EQ(view.shownLines, store().Lines());
}

TEST_F(StoreMailboxTest, BeyondTheStoreFailsWithoutRebuildingTheDisplay) {
    LoadProgram({"IN", "HLT"});
    for (const std::uint16_t address : {std::uint16_t{101}, std::uint16_t{65535}}) {
        const tobric::MachineError error = ErrorFrom(
            [&] { machine().ChangeStore([&](auto& editor) { editor.Put(address, "DAT 1"); }); });
        EXPECT_EQ(error.kind(), ErrorKind::Insert);
    }
    EXPECT_EQ(store().Count(), 100);
    EXPECT_TRUE(view.calls.empty());
}

}  // namespace
