#pragma once

#include <QFont>

namespace tobric {

// The window font: the toolkit's dialog font at 11 px.
QFont WindowFont();
// The headings of the control column: Comic Neue bold, 13 px.
QFont HeadingFont();
// The calculator display: the DSEG7 seven-segment face at 48 px.
QFont CalculatorFont();
// Makes the window font the application's, so prompts and message boxes share it.
void UseWindowFontEverywhere();

}  // namespace tobric
