// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How the window writes numbers and store lines into its displays. The headless runner prints
// the same texts, so both live here.

#include <cstdint>
#include <string>
#include <string_view>

namespace tobric {

// A mailbox or row number as the window writes it: a single leading "0" below 10 ("07", "42",
// "100").
std::string MailboxNumberText(int number);

// A row of the mailbox display: the row number as MailboxNumberText writes it, one blank, the
// line as stored. Row numbers count in 16 bits like mailbox addresses.
std::string MailboxRowText(std::uint16_t row, std::string_view line);

// The calculator display: the number followed by one blank, so it stands off the right bevel.
std::string CalculatorText(std::int32_t value);

}  // namespace tobric
