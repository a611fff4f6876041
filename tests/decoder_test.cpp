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

struct Decoded {
    // Test output shows a row by its name.
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

constexpr Mnemonic kNone = Mnemonic::None;

INSTANTIATE_TEST_SUITE_P(
    Lines, DecodeLineDecodes,
    ::testing::Values(
        // Each mnemonic in its conventional form.
        Decoded{"In", "IN", kNone, 33, Mnemonic::In, 33},
        Decoded{"Out", "OUT", kNone, 33, Mnemonic::Out, 33},
        Decoded{"Lda", "LDA 05", kNone, 33, Mnemonic::Lda, 5},
        Decoded{"Sta", "STA 10", kNone, 33, Mnemonic::Sta, 10},
        Decoded{"Add", "ADD 07", kNone, 33, Mnemonic::Add, 7},
        Decoded{"Sub", "SUB 06", kNone, 33, Mnemonic::Sub, 6},
        Decoded{"Jmp", "JMP 12", kNone, 33, Mnemonic::Jmp, 12},
        Decoded{"Skp", "SKP", kNone, 33, Mnemonic::Skp, 33},
        Decoded{"Skn", "SKN", kNone, 33, Mnemonic::Skn, 33},
        Decoded{"Skz", "SKZ", kNone, 33, Mnemonic::Skz, 33},
        Decoded{"Hlt", "HLT", kNone, 33, Mnemonic::Hlt, 33},
        Decoded{"Dat", "DAT 00", kNone, 33, Mnemonic::Dat, 0},
        Decoded{"Comment", "* LDA 05", Mnemonic::Lda, 33, Mnemonic::Comment, 33},
        // Only the leading characters count, in either case.
        Decoded{"LowerCase", "lda 05", kNone, 0, Mnemonic::Lda, 5},
        Decoded{"MixedCaseSkip", "sKz", kNone, 4, Mnemonic::Skz, 4},
        Decoded{"LoadReadsBlankAndZero", "LOAD 05", kNone, 9, Mnemonic::Lda, 0},
        Decoded{"Inp", "INP", kNone, 1, Mnemonic::In, 1},
        Decoded{"Input", "INPUT", kNone, 1, Mnemonic::In, 1},
        Decoded{"Halt", "HALT", kNone, 1, Mnemonic::Hlt, 1},
        Decoded{"Data", "DATA 7", kNone, 1, Mnemonic::Dat, 7},
        Decoded{"OutIgnoresItsOperand", "OUT 05", kNone, 77, Mnemonic::Out, 77},
        // Positions 5 and 6 only.
        Decoded{"ThreeDigitsGiveTwo", "LDA 123", kNone, 0, Mnemonic::Lda, 12},
        Decoded{"OneDigit", "LDA 5", kNone, 0, Mnemonic::Lda, 5},
        Decoded{"TwoBlanksThenDigit", "LDA  7", kNone, 0, Mnemonic::Lda, 7},
        Decoded{"Negative", "LDA -5", kNone, 0, Mnemonic::Lda, -5},
        Decoded{"Hexadecimal", "JMP $A", kNone, 0, Mnemonic::Jmp, 10},
        Decoded{"LowerCaseHexadecimal", "jmp xa", kNone, 0, Mnemonic::Jmp, 10},
        Decoded{"FourthCharacterIgnored", "LDAX05", kNone, 0, Mnemonic::Lda, 5},
        Decoded{"SeventhOnIgnored", "LDA 05 junk", kNone, 0, Mnemonic::Lda, 5},
        // No mnemonic named: the incoming one stays, and reads this line's operand if it takes one.
        Decoded{"UnknownCarriesAdd", "XYZ 09", Mnemonic::Add, 7, Mnemonic::Add, 9},
        Decoded{"SkipCarriesHlt", "SKIP", Mnemonic::Hlt, 8, Mnemonic::Hlt, 8},
        Decoded{"SkipCarriesLda", "SKIP 12", Mnemonic::Lda, 8, Mnemonic::Lda, 1},
        Decoded{"SAloneCarriesOut", "S", Mnemonic::Out, 8, Mnemonic::Out, 8},
        Decoded{"SkAloneCarriesIn", "SK", Mnemonic::In, 8, Mnemonic::In, 8},
        Decoded{"OtherSecondCharacter", "SX 05", Mnemonic::Jmp, 8, Mnemonic::Jmp, 5},
        Decoded{"HighByteFirst", std::string{'\xE9'} + "AB 42", Mnemonic::Sub, 8, Mnemonic::Sub,
                42},
        Decoded{"EmptyMnemonicReadsOperand", "123456", kNone, 8, kNone, 56}),
    [](const ::testing::TestParamInfo<Decoded>& row) { return std::string(row.param.name); });

struct Refused {
    // Test output shows a row by its name.
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
    ::testing::Values(Refused{"NoOperand", "LDA", Mnemonic::Hlt, Mnemonic::Lda, ""},
                      Refused{"UpperCasedInMessage", "lda 5x", Mnemonic::Hlt, Mnemonic::Lda, "5X"},
                      Refused{"TrailingBlank", "LDA 5 ", Mnemonic::Hlt, Mnemonic::Lda, "5 "},
                      Refused{"OneCharacter", "sta x", Mnemonic::Hlt, Mnemonic::Sta, "X"},
                      Refused{"Tab", "ADD \t5", Mnemonic::Hlt, Mnemonic::Add, "\t5"},
                      Refused{"InnerBlankOfData", "DAT 4 2", Mnemonic::Hlt, Mnemonic::Dat, "4 "},
                      Refused{"DecimalPoint", "sub 1.5", Mnemonic::Hlt, Mnemonic::Sub, "1."},
                      Refused{"StAlone", "ST", Mnemonic::Hlt, Mnemonic::Sta, ""},
                      Refused{"CarriedAddNeedsOperand", "SKIP", Mnemonic::Add, Mnemonic::Add, ""},
                      Refused{"EmptyMnemonicNeedsOperand", "?", Mnemonic::None, Mnemonic::None,
                              ""}),
    [](const ::testing::TestParamInfo<Refused>& row) { return std::string(row.param.name); });

TEST(DecodeLineEmpty, FailsAndLeavesBothOutputsAlone) {
    Mnemonic mnemonic = Mnemonic::Sta;
    std::int32_t operand = 42;
    const tobric::MachineError error = ErrorFrom([&] { DecodeLine("", mnemonic, operand); });
    EXPECT_EQ(error.kind(), tobric::ErrorKind::EmptyLine);
    EXPECT_EQ(error.message(), "The mailbox line is empty: there is no instruction to obey");
    EXPECT_EQ(mnemonic, Mnemonic::Sta);
    EXPECT_EQ(operand, 42);
}

}  // namespace
