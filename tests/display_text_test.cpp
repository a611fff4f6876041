// SPDX-License-Identifier: GPL-3.0-or-later
// How numbers and store lines are written into the displays.

#include "machine/display_text.h"

#include <gtest/gtest.h>

namespace {

TEST(DisplayText, MailboxRowIsNumberBlankAndLineCalculatorIsNumberAndBlank) {
    EXPECT_EQ(tobric::MailboxRowText(0, ""), "00 ");
    EXPECT_EQ(tobric::MailboxRowText(9, "HLT"), "09 HLT");
    EXPECT_EQ(tobric::MailboxRowText(10, "DAT 3"), "10 DAT 3");
    EXPECT_EQ(tobric::MailboxRowText(100, "DAT 00"), "100 DAT 00");
    EXPECT_EQ(tobric::MailboxRowText(65535, " lda 5"), "65535  lda 5");
    EXPECT_EQ(tobric::CalculatorText(0), "0 ");
    EXPECT_EQ(tobric::CalculatorText(42), "42 ");
    EXPECT_EQ(tobric::CalculatorText(-2147483647 - 1), "-2147483648 ");
}

}  // namespace
