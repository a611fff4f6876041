#include "display_text.h"

namespace tobric {

std::string MailboxNumberText(int number) {
    return (number < 10 ? "0" : "") + std::to_string(number);
}

std::string MailboxRowText(std::uint16_t row, std::string_view line) {
    std::string text = MailboxNumberText(row);
    text += ' ';
    text += line;
    return text;
}

std::string CalculatorText(std::int32_t value) { return std::to_string(value) + ' '; }

}  // namespace tobric
