// SPDX-License-Identifier: GPL-3.0-or-later
#include "display_text.h"

namespace tobric {

std::string MailboxNumberText(int number) {
    // Appended, not "0" + text: GCC 12 at -O3 sees a false overlap in the latter (-Wrestrict).
    std::string text;
    if (number < 10) text = '0';
    text += std::to_string(number);
    return text;
}

std::string MailboxRowText(std::uint16_t row, std::string_view line) {
    std::string text = MailboxNumberText(row);
    text += ' ';
    text += line;
    return text;
}

std::string CalculatorText(std::int32_t value) { return std::to_string(value) + ' '; }

}  // namespace tobric
