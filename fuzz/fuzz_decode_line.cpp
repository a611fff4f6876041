// SPDX-License-Identifier: GPL-3.0-or-later
// DecodeLine with carried state. The input is:
//   byte 0       the incoming mnemonic (its value modulo 14 picks one of the fourteen)
//   bytes 1-4    the incoming operand, little-endian
//   the rest     the line
// (a shorter input leaves the missing parts at the empty mnemonic, 0 and an empty line).
// The outcome is compared with the decoding rules of reference_rules.h, and the mnemonic helpers
// are checked against the table written there.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "fuzz_support.h"
#include "machine/decoder.h"
#include "machine/errors.h"
#include "machine/mnemonic.h"
#include "machine/parse_integer.h"
#include "reference_rules.h"

using tobric_fuzz::Quoted;
using tobric_fuzz::TextOf;

namespace {

// The mnemonic helpers agree with the table, for every mnemonic there is.
void CheckMnemonicTable() {
    for (const tobric::Mnemonic m : tobric_fuzz::kAllMnemonics) {
        const std::string text = TextOf(m);
        FUZZ_CHECK(tobric::MnemonicText(m) == text, "MnemonicText gave "
                                                        << Quoted(tobric::MnemonicText(m))
                                                        << " for " << Quoted(text));
        FUZZ_CHECK(tobric::TakesOperand(m) == tobric_fuzz::ReferenceTakesOperand(text),
                   "TakesOperand(" << Quoted(text) << ") gave " << tobric::TakesOperand(m));
        FUZZ_CHECK(tobric::TakesAddress(m) == tobric_fuzz::ReferenceTakesAddress(text),
                   "TakesAddress(" << Quoted(text) << ") gave " << tobric::TakesAddress(m));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool kTableChecked = (CheckMnemonicTable(), true);
    (void)kTableChecked;
    if (size > 64) return 0;  // only the first six characters of a line are ever looked at

    const tobric::Mnemonic incomingMnemonic =
        size > 0 ? tobric_fuzz::kAllMnemonics[data[0] % std::size(tobric_fuzz::kAllMnemonics)]
                 : tobric::Mnemonic::None;
    std::uint32_t operandBits = 0;
    for (std::size_t i = 1; i < 5 && i < size; ++i)
        operandBits |= std::uint32_t{data[i]} << (8 * (i - 1));
    const auto incomingOperand = static_cast<std::int32_t>(operandBits);
    const std::string line(size > 5 ? tobric_fuzz::AsText(data + 5, size - 5) : std::string_view());

    std::string expectedMnemonic = TextOf(incomingMnemonic);
    std::int32_t expectedOperand = incomingOperand;
    const tobric_fuzz::DecodeOutcome expected =
        tobric_fuzz::ReferenceDecode(line, expectedMnemonic, expectedOperand);

    tobric::Mnemonic mnemonic = incomingMnemonic;
    std::int32_t operand = incomingOperand;
    const std::string context = "DecodeLine(" + Quoted(line) + ") coming in with " +
                                Quoted(TextOf(incomingMnemonic)) + ", " +
                                std::to_string(incomingOperand) + ": ";
    std::optional<tobric::ErrorKind> failure;
    std::string message;
    try {
        tobric::DecodeLine(line, mnemonic, operand);
    } catch (const tobric::MachineError& error) {
        failure = error.kind();
        message = error.message();
    }
    tobric_fuzz::CheckFailure([&] { return context; }, failure, message, expected.Error(),
                              expected.Message());
    const bool failed = failure.has_value();

    // The same rules, stated directly.
    if (line.empty()) {
        FUZZ_CHECK(mnemonic == incomingMnemonic && operand == incomingOperand,
                   context << "an empty line changed the outputs to " << Quoted(TextOf(mnemonic))
                           << ", " << operand);
    } else {
        const std::string named = tobric_fuzz::NamedMnemonic(tobric_fuzz::Upper(line));
        const tobric::Mnemonic wanted =
            named.empty() ? incomingMnemonic : tobric_fuzz::MnemonicFromText(named);
        FUZZ_CHECK(mnemonic == wanted, context << "mnemonic " << Quoted(TextOf(mnemonic))
                                               << ", expected " << Quoted(TextOf(wanted)));
        if (!tobric::TakesOperand(wanted) || failed)
            FUZZ_CHECK(operand == incomingOperand,
                       context << "operand changed to " << operand << " although "
                               << (failed ? "the conversion failed" : "the mnemonic takes none"));
        if (tobric::TakesOperand(wanted)) {
            // Positions 5 and 6 of the upper-cased line, as far as the line has them.
            const std::string upper = tobric_fuzz::Upper(line);
            const std::string text = upper.size() > 4 ? upper.substr(4, 2) : std::string();
            bool converts = true;
            std::int32_t converted = 0;
            try {
                converted = tobric::ParseInteger(text);
            } catch (const tobric::MachineError&) {
                converts = false;
            }
            FUZZ_CHECK(converts != failed, context << (failed ? "failed" : "succeeded")
                                                   << " although ParseInteger(" << Quoted(text)
                                                   << ") " << (converts ? "converts" : "fails"));
            FUZZ_CHECK(!converts || operand == converted,
                       context << "operand " << operand << ", but ParseInteger(" << Quoted(text)
                               << ") is " << converted);
        }
    }

    // And against the reference decoding as a whole.
    FUZZ_CHECK(TextOf(mnemonic) == expectedMnemonic,
               context << "mnemonic " << Quoted(TextOf(mnemonic)) << ", expected "
                       << Quoted(expectedMnemonic));
    FUZZ_CHECK(operand == expectedOperand,
               context << "operand " << operand << ", expected " << expectedOperand);
    return 0;
}
