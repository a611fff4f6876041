// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "window_description.h"

namespace tobric {

// The program's own message: caption "Compiler Message", one OK button, no icon, no owner. It
// disables nothing: the main window keeps taking clicks and the execution timer keeps ticking,
// and a further notice opens in a box of its own. Returns when this box is dismissed.
void ShowNoticeBox(const std::string& text);

}  // namespace tobric
