// SPDX-License-Identifier: GPL-3.0-or-later
// Edit, Insert and Delete on the selected mailbox, and the renumbering of address operands.

#include "editing/mailbox_commands.h"

#include <gtest/gtest.h>

#include "machine/store.h"
#include "support/machine_test.h"

namespace tobric_test {
namespace {

using tobric::ErrorKind;

class MailboxCommandsTest : public MachineTest {
protected:
    // A store of the given lines, padded with "DAT 00" to `size` lines.
    void Fill(Lines lines, int size = 100) {
        while (static_cast<int>(lines.size()) < size) lines.emplace_back("DAT 00");
        StoreExactly(std::move(lines));
    }
    tobric::SelectedIndexSource Selected() {
        return [this] { return selected; };
    }
    Lines Head(int n) const { return {store().Lines().begin(), store().Lines().begin() + n}; }
    void Edit() { machine().Answer(tobric::EditThisMailbox(machine(), Selected())); }
    void Insert() { machine().Answer(tobric::InsertCommand(machine(), Selected())); }
    void Delete() { tobric::DeleteCommand(machine(), Selected()); }

    int selected = -1;
};

TEST_F(MailboxCommandsTest, NothingHappensWithoutSelection) {
    Fill({"LDA 05"});
    Edit();
    Insert();
    Delete();
    EXPECT_TRUE(view.calls.empty());
    EXPECT_EQ(store().Count(), 100);
    EXPECT_EQ(store().Get(0), "LDA 05");
}

TEST_F(MailboxCommandsTest, CancelledEditWritesTheLineBackUpperCased) {
    Fill({"lda 05", "JMP 00"});
    selected = 0;
    Edit();
    ASSERT_EQ(view.calls.size(), 2u);
    EXPECT_EQ(view.calls[0], "InputPrompt Edit Mailbox|Enter Tobric Assembly Command|lda 05");
    EXPECT_EQ(view.calls[1], "ShowMailboxes");
    EXPECT_EQ(store().Get(0), "LDA 05");
}

// One command, E(dit), I(nsert) or D(elete), on a store of 100 lines: the first lines after it,
// the store one longer or shorter and shown as it then is.
TEST_F(MailboxCommandsTest, CommandsRenumberTheAddressesAtOrBeyondTheSelection) {
    const auto check = [&](const char* name, const Lines& lines, int row, char command,
                           const Lines& answers, const Lines& head) {
        SCOPED_TRACE(name);
        Fill(lines);
        selected = row;
        view.answers = {answers.begin(), answers.end()};
        (command == 'E' ? Edit() : command == 'I' ? Insert() : Delete());
        EXPECT_EQ(Head(static_cast<int>(head.size())), head);
        EXPECT_EQ(store().Count(), command == 'E' ? 100 : command == 'I' ? 101 : 99);
        EXPECT_EQ(view.shownLines, store().Lines());
    };
    check("edit renumbers nothing", {"JMP 01", "DAT 00"}, 1, 'E', {"add 07 sum"},
          {"JMP 01", "ADD 07 SUM"});
    check("edit keeps an empty answer", {"JMP 01", "DAT 00"}, 1, 'E', {""}, {"JMP 01", ""});
    check("insert shifts", {"JMP 05", "LDA 02"}, 3, 'I', {"hlt"},
          {"JMP 6", "LDA 02", "DAT 00", "HLT", "DAT 00"});
    check("inserted line renumbered after upper-casing", {}, 3, 'I', {"lda 10"},
          {"DAT 00", "DAT 00", "DAT 00", "LDA 11"});
    check("cancelled insert at 0 shifts every address", {"LDA 00", "JMP -1", "DAT 05", "STA 99"}, 0,
          'I', {}, {"DAT 00", "LDA 1", "JMP -1", "DAT 05", "STA 100"});
    // The mnemonic carried from LDA rewrites the unrecognised line, until the comment.
    check("carried mnemonic", {"LDA 05", "XYZ 12", "* note", "QQQ 12"}, 12, 'I', {"DAT 00"},
          {"LDA 05", "LDA 13", "* note", "QQQ 12"});
    check("delete shifts down", {"LDA 05", "LDA 07", "LDA 04", "DAT 07"}, 5, 'D', {},
          {"LDA 4", "LDA 6", "LDA 04", "DAT 07"});
    check("delete of the line named", {"JMP 00", "ADD 07 total"}, 0, 'D', {}, {"ADD 6"});
    check("reference to 0 goes negative", {"HLT", "JMP 00"}, 0, 'D', {}, {"JMP -1"});
    check("delete of JMP -1", {"JMP -1"}, 0, 'D', {}, {"DAT 00"});
}

TEST_F(MailboxCommandsTest, SelectionGoneAfterThePromptChangesNothing) {
    Fill({"LDA 05"});
    selected = 0;
    view.answers = {"HLT", "HLT"};
    view.onInputPrompt = [this] { selected = -1; };  // a running STA rebuilt the display
    Edit();
    selected = 0;
    view.onInputPrompt = [this] { selected = -1; };
    Insert();
    EXPECT_EQ(store().Get(0), "LDA 05");
    EXPECT_EQ(store().Count(), 100);
    EXPECT_EQ(view.CountOf("ShowMailboxes"), 0);
}

TEST_F(MailboxCommandsTest, LastLineOfALongStoreIsRenumberedToo) {
    Lines lines(100, "DAT 00");
    lines.push_back("JMP 50");
    Fill(lines, 101);
    selected = 3;
    Insert();
    EXPECT_EQ(store().Get(101), "JMP 51");
    Delete();
    EXPECT_EQ(store().Get(100), "JMP 50");
}

TEST_F(MailboxCommandsTest, ThreeDigitOperandsReadBackAsTheirFirstTwoDigits) {
    Fill({"STA 99"});
    selected = 50;
    Insert();
    EXPECT_EQ(store().Get(0), "STA 100");
    selected = 10;
    Insert();
    EXPECT_EQ(store().Get(0), "STA 11");  // positions 5 and 6 of "STA 100" are "10"
}

TEST_F(MailboxCommandsTest, BareDatStopsTheLoopWithWhatWasDoneKept) {
    Fill({"JMP 05", "DAT", "JMP 05"});
    selected = 3;
    const tobric::MachineError error = ErrorFrom([&] { Insert(); });
    EXPECT_EQ(error.kind(), ErrorKind::Conversion);
    EXPECT_EQ(error.message(), "'' is not a valid integer value");
    // The new line is in, line 0 renumbered, everything from the bare DAT on untouched.
    EXPECT_EQ(store().Count(), 101);
    EXPECT_EQ(Head(4), (Lines{"JMP 6", "DAT", "JMP 05", "DAT 00"}));
    EXPECT_EQ(view.CountOf("ShowMailboxes"), 0);
}

TEST_F(MailboxCommandsTest, EmptyLineAndUnrecognisedFirstLineStopRenumbering) {
    Fill({"JMP 05", ""});
    selected = 3;
    EXPECT_EQ(ErrorFrom([&] { Delete(); }).kind(), ErrorKind::EmptyLine);
    EXPECT_EQ(store().Get(0), "JMP 4");
    Fill({"XYZ", "JMP 05"});
    selected = 3;
    EXPECT_EQ(ErrorFrom([&] { Delete(); }).kind(),
              ErrorKind::Conversion);  // the empty starting mnemonic takes an operand
    EXPECT_EQ(store().Get(0), "XYZ");
}

TEST_F(MailboxCommandsTest, StaleSelectionPastTheEndFollowsTheStoreEdges) {
    Fill({"HLT"}, 3);
    selected = 5;
    EXPECT_EQ(ErrorFrom([&] { Edit(); }).message(), "List index out of bounds (5)");
    EXPECT_EQ(ErrorFrom([&] { Insert(); }).message(), "Unable to insert a line");
    Delete();  // removes nothing, still renumbers
    EXPECT_EQ(store().Count(), 3);
}

TEST_F(MailboxCommandsTest, DeletingTheOnlyLineLeavesAnEmptyStore) {
    Fill({"HLT"}, 1);
    selected = 0;
    Delete();
    EXPECT_EQ(store().Count(), 0);
    EXPECT_EQ(view.calls, std::vector<std::string>{"ShowMailboxes"});
}

TEST_F(MailboxCommandsTest, RenumberingTouchesOnlyAddressMnemonics) {
    Fill({"lda 5", "Load 07", "DAT 09", "SUB 3", "OUT 05", "SKZ", "ADD -3", "STA $A"});
    machine().ChangeStore(
        [](tobric::MailboxEditor& store) { tobric::RenumberAddresses(store, 3, +1); });
    // "Load 07" has a blank and a zero at positions 5 and 6: operand 0, below the selection.
    EXPECT_EQ(Head(8),
              (Lines{"LDA 6", "Load 07", "DAT 09", "SUB 4", "OUT 05", "SKZ", "ADD -3", "STA 11"}));
}

}  // namespace
}  // namespace tobric_test
