// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QApplication;

namespace tobric {

// What every run of the windows shares, the program's and the test suites': the application's
// name and version, the built-in fonts and the window font everywhere. No display name: the
// platform would append it to the title of every window, and each window's title is exactly its
// caption.
void SetUpApplication(QApplication& application);

}  // namespace tobric
