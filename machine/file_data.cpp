// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>

#include "errors.h"
#include "file_system.h"

namespace tobric {

FileData::FileData(std::string shownName, std::size_t expectedSize) : m_name(std::move(shownName)) {
    // A sparse file may claim a gigabyte and end at its first byte: reserve no more than allowed.
    m_data.reserve(std::min(expectedSize, kMaxFileBytes));
}

bool FileData::Append(std::string_view bytes) {
    const std::size_t nul = bytes.find('\0');
    const std::string_view kept = bytes.substr(0, nul);
    if (m_data.size() + kept.size() > kMaxFileBytes) throw FileOpenError(m_name, kTooLargeReason);
    m_data.append(kept);
    return nul == std::string_view::npos;
}

}  // namespace tobric
