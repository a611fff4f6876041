// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>

namespace tobric {

// The window's faces are built into the program: the first call of any of these registers them.
// The window font: Liberation Sans at 11 px, set 5% tighter.
QFont WindowFont();
// The headings of the control column: Comic Neue bold, 13 px.
QFont HeadingFont();
// The calculator display: the DSEG7 seven-segment face at 48 px.
QFont CalculatorFont();

}  // namespace tobric
