// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>

#include "fonts.h"
#include "tobric/version.h"

namespace tobric {

// What every run of the windows shares, the program's and the test suites': the application's
// name and version, the built-in fonts and the window font everywhere. No display name: the
// platform would append it to the title of every window, and each window's title is exactly its
// caption.
inline void SetUpApplication(QApplication& application) {
    application.setApplicationName(QString::fromLatin1(kApplicationTitle));
    application.setApplicationVersion(QString::fromLatin1(kVersion));
    application.setDesktopFileName(QStringLiteral("tobric"));
    QApplication::setFont(WindowFont());  // prompts and message boxes share it
}

}  // namespace tobric
