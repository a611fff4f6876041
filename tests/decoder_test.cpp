// SPDX-License-Identifier: GPL-3.0-or-later
// Decoding one mailbox line into the current mnemonic and operand, both in/out.

#include "machine/decoder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>

#include "machine/errors.h"
#include "machine/mnemonic.h"
#include "support/machine_test.h"

namespace {

using tobric::DecodeLine;
using tobric::Mnemonic;
using tobric_test::ErrorFrom;
using enum Mnemonic;

struct Decoded {
    friend void PrintTo(const Decoded& row, std::ostream* os) { *os << row.name; }
    const char* name;
    std::string line;
    Mnemonic mnemonicBefore;
    std::int32_t operandBefore;
    Mnemonic mnemonic;
    std::int32_t operand;
};

class DecodeLineDecodes : public ::testing::TestWithParam<Decoded> {};

TEST_P(DecodeLineDecodes, MnemonicAndOperand) {
    const Decoded& row = GetParam();
    Mnemonic mnemonic = row.mnemonicBefore;
    std::int32_t operand = row.operandBefore;
    DecodeLine(row.line, mnemonic, operand);
    EXPECT_EQ(tobric::MnemonicText(mnemonic), tobric::MnemonicText(row.mnemonic));
    EXPECT_EQ(operand, row.operand);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, DecodeLineDecodes,
    ::testing::Values(
        // Each mnemonic in its conventional form.
        Decoded{"In", "IN", None, 33, In, 33}, Decoded{"Out", "OUT", None, 33, Out, 33},
        Decoded{"Lda", "LDA 05", None, 33, Lda, 5}, Decoded{"Sta", "STA 10", None, 33, Sta, 10},
        Decoded{"Add", "ADD 07", None, 33, Add, 7}, Decoded{"Sub", "SUB 06", None, 33, Sub, 6},
        Decoded{"Jmp", "JMP 12", None, 33, Jmp, 12}, Decoded{"Skp", "SKP", None, 33, Skp, 33},
        Decoded{"Skn", "SKN", None, 33, Skn, 33}, Decoded{"Skz", "SKZ", None, 33, Skz, 33},
        Decoded{"Hlt", "HLT", None, 33, Hlt, 33}, Decoded{"Dat", "DAT 00", None, 33, Dat, 0},
        Decoded{"Comment", "* LDA 05", Lda, 33, Comment, 33},
        // Only the leading characters count, in either case.
        Decoded{"LowerCase", "lda 05", None, 0, Lda, 5},
        Decoded{"MixedCaseSkip", "sKz", None, 4, Skz, 4},
        Decoded{"LoadReadsBlankAndZero", "LOAD 05", None, 9, Lda, 0},
        Decoded{"Inp", "INP", None, 1, In, 1}, Decoded{"Input", "INPUT", None, 1, In, 1},
        Decoded{"Halt", "HALT", None, 1, Hlt, 1}, Decoded{"Data", "DATA 7", None, 1, Dat, 7},
        Decoded{"OutIgnoresItsOperand", "OUT 05", None, 77, Out, 77},
        // Positions 5 and 6 only.
        Decoded{"ThreeDigitsGiveTwo", "LDA 123", None, 0, Lda, 12},
        Decoded{"OneDigit", "LDA 5", None, 0, Lda, 5},
        Decoded{"TwoBlanksThenDigit", "LDA  7", None, 0, Lda, 7},
        Decoded{"Negative", "LDA -5", None, 0, Lda, -5},
        Decoded{"Hexadecimal", "JMP $A", None, 0, Jmp, 10},
        Decoded{"LowerCaseHexadecimal", "jmp xa", None, 0, Jmp, 10},
        Decoded{"FourthCharacterIgnored", "LDAX05", None, 0, Lda, 5},
        Decoded{"SeventhOnIgnored", "LDA 05 junk", None, 0, Lda, 5},
        // No mnemonic named: the incoming one stays, and reads this line's operand if it takes one.
        Decoded{"UnknownCarriesAdd", "XYZ 09", Add, 7, Add, 9},
        Decoded{"SkipCarriesHlt", "SKIP", Hlt, 8, Hlt, 8},
        Decoded{"SkipCarriesLda", "SKIP 12", Lda, 8, Lda, 1},
        Decoded{"SAloneCarriesOut", "S", Out, 8, Out, 8},
        Decoded{"SkAloneCarriesIn", "SK", In, 8, In, 8},
        Decoded{"OtherSecondCharacter", "SX 05", Jmp, 8, Jmp, 5},
        Decoded{"HighByteFirst", std::string{'\xE9'} + "AB 42", Sub, 8, Sub, 42},
        Decoded{"EmptyMnemonicReadsOperand", "123456", None, 8, None, 56}),
    [](const ::testing::TestParamInfo<Decoded>& row) { return std::string(row.param.name); });

struct Refused {
    friend void PrintTo(const Refused& row, std::ostream* os) { *os << row.name; }
    const char* name;
    std::string line;
    Mnemonic mnemonicBefore;
    Mnemonic mnemonicAfter;   // already decoded when the operand fails
    std::string operandText;  // as the conversion error quotes it
};

class DecodeLineRefuses : public ::testing::TestWithParam<Refused> {};

TEST_P(DecodeLineRefuses, OperandWithConversionErrorAndKeepsTheOldOperand) {
    const Refused& row = GetParam();
    Mnemonic mnemonic = row.mnemonicBefore;
    std::int32_t operand = 55;
    const tobric::MachineError error = ErrorFrom([&] { DecodeLine(row.line, mnemonic, operand); });
    EXPECT_EQ(error.kind(), tobric::ErrorKind::Conversion);
    EXPECT_EQ(error.message(), "'" + row.operandText + "' is not a valid integer value");
    EXPECT_EQ(tobric::MnemonicText(mnemonic), tobric::MnemonicText(row.mnemonicAfter));
    EXPECT_EQ(operand, 55);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, DecodeLineRefuses,
    ::testing::Values(Refused{"NoOperand", "LDA", Hlt, Lda, ""},
                      Refused{"UpperCasedInMessage", "lda 5x", Hlt, Lda, "5X"},
                      Refused{"TrailingBlank", "LDA 5 ", Hlt, Lda, "5 "},
                      Refused{"OneCharacter", "sta x", Hlt, Sta, "X"},
                      Refused{"Tab", "ADD \t5", Hlt, Add, "\t5"},
                      Refused{"InnerBlankOfData", "DAT 4 2", Hlt, Dat, "4 "},
                      Refused{"DecimalPoint", "sub 1.5", Hlt, Sub, "1."},
                      Refused{"StAlone", "ST", Hlt, Sta, ""},
                      Refused{"CarriedAddNeedsOperand", "SKIP", Add, Add, ""},
                      Refused{"EmptyMnemonicNeedsOperand", "?", None, None, ""}),
    [](const ::testing::TestParamInfo<Refused>& row) { return std::string(row.param.name); });

TEST(DecodeLineEmpty, FailsAndLeavesBothOutputsAlone) {
    Mnemonic mnemonic = Sta;
    std::int32_t operand = 42;
    const tobric::MachineError error = ErrorFrom([&] { DecodeLine("", mnemonic, operand); });
    EXPECT_EQ(error.kind(), tobric::ErrorKind::EmptyLine);
    EXPECT_EQ(error.message(), "The mailbox line is empty: there is no instruction to obey");
    EXPECT_EQ(mnemonic, Sta);
    EXPECT_EQ(operand, 42);
}

}  // namespace
