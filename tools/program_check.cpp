// SPDX-License-Identifier: GPL-3.0-or-later
#include "program_check.h"

#include <algorithm>
#include <optional>

#include "machine/decoder.h"
#include "machine/parse_integer.h"
#include "machine/program_file.h"
#include "machine/registers.h"
#include "machine/store.h"
#include "trimmed.h"

namespace tobric {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The machine's conversion skips spaces only: any other character is text it reads.
constexpr std::string_view kSpace = " ";

// A data line: LDA, ADD and SUB read everything from position 5 on as its number.
void CheckData(int mailbox, const std::string& line, std::vector<Finding>& findings) {
    if (line.size() <= 4 || Trimmed(std::string_view(line).substr(4), kSpace).empty()) {
        findings.push_back({mailbox, "DAT without a value: the machine stops here with an error"});
    } else if (!TryParseInteger(std::string_view(line).substr(4, 2))) {
        findings.push_back({mailbox, "the value '" + line.substr(4) +
                                         "' does not start with a number: "
                                         "the machine stops here with an error"});
    } else if (!TryParseInteger(std::string_view(line).substr(4))) {
        findings.push_back({mailbox, "the value '" + line.substr(4) +
                                         "' is no number: "
                                         "LDA, ADD or SUB of this mailbox stops with an error"});
    }
}

// An instruction whose operand is a mailbox address; the machine reads positions 5 and 6 only.
void CheckAddress(int mailbox, const std::string& line, Mnemonic mnemonic, int lastMailbox,
                  std::vector<Finding>& findings) {
    const std::string upper = UpperCased(line);
    const std::string name(MnemonicText(mnemonic));
    const std::string_view rest = upper.size() > 4 ? std::string_view(upper).substr(4) : "";
    const std::size_t start = rest.find_first_not_of(' ');
    if (start == std::string_view::npos) {
        findings.push_back(
            {mailbox, name + " without an operand: the machine stops here with an error"});
        return;
    }
    const std::string_view read = rest.substr(0, 2);
    const std::optional<std::int32_t> operand = TryParseInteger(read);
    if (!operand) {
        findings.push_back({mailbox, "the operand '" + std::string(read) +
                                         "' is no number: the machine stops here with an error"});
        return;
    }
    // The operand word as written, up to the next blank.
    const std::size_t end = std::min(rest.find(' ', start), rest.size());
    const std::string_view word = rest.substr(start, end - start);
    const auto digits = std::count_if(word.begin(), word.end(), IsDigit);
    if (digits >= 3 && word.find_first_not_of("+-0123456789") == std::string_view::npos)
        findings.push_back({mailbox, "the operand " + std::string(word) + " has " +
                                         std::to_string(digits) +
                                         " digits: only the first two are read, so this is " +
                                         name + " " + std::to_string(*operand)});
    const std::string_view after = Trimmed(std::string_view(line).substr(4 + end), kSpace);
    if (!after.empty())
        findings.push_back(
            {mailbox, "text after the operand is not read: '" + std::string(after) + "'"});
    if (AddressOf(*operand) > lastMailbox)
        findings.push_back({mailbox, name + " " + std::to_string(*operand) + " names mailbox " +
                                         std::to_string(AddressOf(*operand)) +
                                         ", beyond the last mailbox " +
                                         std::to_string(lastMailbox)});
}

}  // namespace

std::vector<Finding> CheckProgram(const std::vector<std::string>& lines) {
    std::vector<Finding> findings;
    const int lastMailbox = std::max<int>(kMailboxCount, static_cast<int>(lines.size())) - 1;
    bool halts = false;
    Mnemonic previous = Mnemonic::None;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int mailbox = static_cast<int>(i);
        const std::string& line = lines[i];
        if (line.empty()) {
            findings.push_back({mailbox, "empty line: the machine stops here with an error"});
            continue;
        }
        // The window loads the mark as part of the line, so it stays in the mailbox: say why the
        // line then names no instruction.
        if (i == 0 && line.starts_with(kUtf8ByteOrderMark))
            findings.push_back(
                {mailbox, "starts with a UTF-8 byte-order mark: save the file without it"});
        Mnemonic mnemonic = previous;
        if (!NamedMnemonic(line, mnemonic)) {
            findings.push_back(
                {mailbox, "'" + line + "' names no instruction: " +
                              (previous == Mnemonic::None
                                   ? std::string("the machine reads it as an operand only")
                                   : "the machine repeats the previous instruction, " +
                                         std::string(MnemonicText(previous)))});
        }
        previous = mnemonic;
        halts = halts || mnemonic == Mnemonic::Hlt;
        if (mnemonic == Mnemonic::Dat) CheckData(mailbox, line, findings);
        if (TakesAddress(mnemonic)) CheckAddress(mailbox, line, mnemonic, lastMailbox, findings);
    }
    if (!halts) findings.push_back({-1, "no HLT anywhere: the program never stops by itself"});
    return findings;
}

}  // namespace tobric
