// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's own texts (mailbox lines, prompts, file names shown in messages) are single-byte
// strings. They cross into the widgets as Latin-1, so every byte 0x00-0xFF maps to the character
// of the same code and comes back unchanged. A character the user types that has no Latin-1 code
// comes back as "?".

#include <QByteArray>
#include <QString>
#include <string>
#include <string_view>

namespace tobric {

inline QString ToQt(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string FromQt(const QString& text) { return text.toLatin1().toStdString(); }

}  // namespace tobric
