// SPDX-License-Identifier: GPL-3.0-or-later
#include "named_input.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "machine/errors.h"
#include "machine/file_system.h"

namespace tobric {

std::string ReadNamedInput(const std::string& name) {
    if (name != kStandardInputName) return ReadFileBytes(name);
    const char* const shown = "standard input";
    FileData data(shown, 0);
    char buffer[1 << 16];
    for (;;) {
        const std::size_t got = std::fread(buffer, 1, sizeof buffer, stdin);
        if (got > 0 && !data.Append(std::string_view(buffer, got))) break;
        if (got < sizeof buffer) {
            if (std::ferror(stdin)) throw FileOpenError(shown, std::strerror(errno));
            break;
        }
    }
    return data.Take();
}

}  // namespace tobric
