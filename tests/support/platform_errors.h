// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The platform's own error codes for the failures the file tests provoke, so that one expectation
// reads the same on every platform: the reason in a message is the platform's text for its code.

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#endif

namespace tobric_test {

#ifdef _WIN32
inline constexpr int kNoSuchFile = ERROR_FILE_NOT_FOUND;
inline constexpr int kNoSuchFolder = ERROR_PATH_NOT_FOUND;
inline constexpr int kIsAFolder = ERROR_ACCESS_DENIED;  // Windows' answer to a folder as a file
#else
inline constexpr int kNoSuchFile = ENOENT;
inline constexpr int kNoSuchFolder = ENOENT;
inline constexpr int kIsAFolder = EISDIR;
#endif

}  // namespace tobric_test
