// SPDX-License-Identifier: GPL-3.0-or-later
// ParseInteger on arbitrary bytes, against the conversion rules written out in reference_rules.h:
// the same texts must be accepted with the same values, and every rejection must be the
// conversion error quoting the whole text as it was given.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "fuzz_support.h"
#include "machine/errors.h"
#include "machine/parse_integer.h"
#include "reference_rules.h"

using tobric_fuzz::Quoted;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 256) return 0;  // longer texts only repeat what shorter ones show
    const std::string text(tobric_fuzz::AsText(data, size));
    const std::optional<std::int32_t> expected = tobric_fuzz::ReferenceParse(text);

    try {
        const std::int32_t value = tobric::ParseInteger(text);
        FUZZ_CHECK(expected.has_value(), "ParseInteger accepted " << Quoted(text) << " as " << value
                                                                  << ", which is no number");
        FUZZ_CHECK(value == *expected, "ParseInteger(" << Quoted(text) << ") gave " << value
                                                       << ", expected " << *expected);
    } catch (const tobric::MachineError& error) {
        FUZZ_CHECK(!expected.has_value(), "ParseInteger rejected " << Quoted(text) << " ("
                                                                   << Quoted(error.message())
                                                                   << "), expected " << *expected);
        FUZZ_CHECK(error.kind() == tobric::ErrorKind::Conversion,
                   "ParseInteger(" << Quoted(text) << ") failed with error kind "
                                   << static_cast<int>(error.kind()) << " and message "
                                   << Quoted(error.message()));
        const std::string message = tobric_fuzz::ConversionMessage(text);
        FUZZ_CHECK(error.message() == message, "ParseInteger(" << Quoted(text) << ") failed with "
                                                               << Quoted(error.message())
                                                               << ", expected " << Quoted(message));
    }
    return 0;
}
