// SPDX-License-Identifier: GPL-3.0-or-later
#include "window_description.h"

#include <string_view>

#include "tobric/version.h"

namespace tobric {
namespace {

using enum ControlKind;
using enum Action;

// clang-format off
// Name, parent, kind, rectangle, caption, glyph, accessible name, Tab place, action, digit,
// disabled.
constexpr Control kMainControls[] = {
    {"Panel2", "", Panel, {0, 120, 177, 308}, "", "", "Controls"},
    {"Image1", "Panel2", Picture, {2, 2, 20, 304}, "", "image_strip", "About Tobric Computer", 0, ShowAbout},
    {"Panel1", "Panel2", Heading, {24, 0, 153, 33}, "Tobric Controls"},
    {"Panel3", "Panel2", Heading, {24, 176, 153, 33}, "Utilities"},
    {"runmenu", "Panel2", CommandButton, {24, 37, 153, 33}, "&Run", "glyph_run", "", 0, Run},
    {"stepmenu", "Panel2", CommandButton, {24, 68, 153, 33}, "S&tep", "glyph_step", "", 0, Step},
    {"menuhalt", "Panel2", CommandButton, {24, 99, 153, 31}, "&Halt/Continue", "glyph_halt", "", 0, HaltContinue},
    {"resetmenu", "Panel2", CommandButton, {24, 128, 153, 33}, "R&eset", "glyph_reset", "", 0, Reset},
    {"savemenu", "Panel2", CommandButton, {24, 213, 153, 34}, "&Save Program", "glyph_save", "", 0, SaveProgram},
    {"loadmenu", "Panel2", CommandButton, {24, 245, 153, 34}, "&Load Program", "glyph_load", "", 0, LoadProgram},
    {"menuExit", "Panel2", CommandButton, {24, 277, 153, 31}, "E&xit Tobric", "glyph_exit", "", 0, Exit},

    {"Panel4", "", Panel, {208, 120, 249, 297}, "", "", "Calculator keypad"},
    {"calculatorValueText", "Panel4", Display, {16, 16, 217, 57}, "0 ", "", "Calculator"},
    {"ccalc", "Panel4", Key, {16, 80, 105, 33}, "C", "", "", 0, Clear},
    {"cecalc", "Panel4", Key, {120, 80, 113, 33}, "CE", "", "", 0, ClearEntry},
    {"no7calc", "Panel4", Key, {24, 120, 49, 41}, "7", "", "", 0, Digit, 7},
    {"no8calc", "Panel4", Key, {72, 120, 49, 41}, "8", "", "", 0, Digit, 8},
    {"no9calc", "Panel4", Key, {120, 120, 49, 41}, "9", "", "", 0, Digit, 9},
    {"no4calc", "Panel4", Key, {24, 160, 49, 41}, "4", "", "", 0, Digit, 4},
    {"no5calc", "Panel4", Key, {72, 160, 49, 41}, "5", "", "", 0, Digit, 5},
    {"no6calc", "Panel4", Key, {120, 160, 49, 41}, "6", "", "", 0, Digit, 6},
    {"no1calc", "Panel4", Key, {24, 200, 49, 41}, "1", "", "", 0, Digit, 1},
    {"no2calc", "Panel4", Key, {72, 200, 49, 41}, "2", "", "", 0, Digit, 2},
    {"no3calc", "Panel4", Key, {120, 200, 49, 41}, "3", "", "", 0, Digit, 3},
    {"no0calc", "Panel4", Key, {24, 240, 73, 41}, "0", "", "", 0, Digit, 0},
    {"equalscalc", "Panel4", Key, {96, 240, 73, 41}, "=", "", "", 0, Equals},
    {"addcalc", "Panel4", Key, {176, 120, 49, 81}, "+", "", "", 0, Plus},
    {"subcalc", "Panel4", Key, {176, 200, 49, 81}, "-", "", "", 0, Minus},

    {"Panel5", "", Panel, {8, 8, 473, 105}, "", "", "Registers"},
    {"Label1", "Panel5", Label, {264, 8, 0, 0}, "IN Basket:"},
    {"inbasket", "Panel5", ReadOnlyBox, {320, 8, 121, 21}, "", "", "IN Basket", 0, None, 0, true},
    {"Label2", "Panel5", Label, {8, 24, 0, 0}, "OUT Basket:"},
    {"Label3", "Panel5", Label, {232, 32, 0, 0}, "Program Counter:"},
    {"pctext", "Panel5", ReadOnlyBox, {320, 32, 121, 21}, "", "", "Program Counter", 1},
    {"Instruction", "Panel5", Label, {264, 56, 0, 0}, "Instruction"},
    {"opcodetext", "Panel5", ReadOnlyBox, {320, 56, 121, 21}, "", "", "Instruction", 3},
    {"mdrtextc", "Panel5", Label, {208, 80, 0, 0}, "Memory Data Register:"},
    {"mdrtext", "Panel5", ReadOnlyBox, {320, 80, 121, 21}, "", "", "Memory Data Register", 2},
    {"speed", "Panel5", Label, {8, 64, 0, 0}, "Speed:"},
    {"ScrollBar1", "Panel5", SpeedBar, {48, 64, 153, 16}, "", "", "Speed", 4},
    {"Image10", "Panel5", Picture, {48, 80, 32, 17}, "", "speed_fast", "Fast"},
    {"Image3", "Panel5", Picture, {168, 80, 32, 17}, "", "speed_slow", "Slow"},
    {"outbasket", "Panel5", OutputBasket, {72, 16, 145, 37}, "", "", "OUT Basket", 5},

    {"mailboxshow", "", MailboxDisplay, {512, 0, 121, 434}, "", "", "Mailboxes", 6},
};

constexpr Control kAboutControls[] = {
    {"Panel1", "", LoweredPanel, {0, 0, 129, 105}},
    {"Image1", "Panel1", Picture, {8, 8, 113, 89}, "", "about"},
    {"Label2", "", Text, {0, 112, 129, 33}, "ver {version} "},
    {"Label1", "", Text, {136, 0, 89, 145}, "{title}"},
    {"Label3", "", Text, {0, 152, 225, 81},
     "A teaching simulator of a small decimal computer. Version {version}. Free software under "
     "the GNU General Public License, version 3 or later."},
    {"Button1", "", PushButton, {72, 240, 81, 25}, "OK", "", "", 1, CloseAbout},
};

// 149 wide in a 150-wide window: a one-pixel column of background shows at the right.
constexpr Control kSplashControls[] = {
    {"Image1", "", Picture, {0, 0, 149, 153}, "", "splash", "Tobric Computer", 0, CloseSplash},
};

constexpr Control kEditorControls[] = {
    {"tobriceditor", "", ProgramText, {0, 0, 425, 241}, "", "", "Program text", 1},
    {"Button1", "", PushButton, {0, 248, 89, 25}, "&Save Changes", "", "", 2, SaveChanges},
    {"Button2", "", PushButton, {96, 248, 89, 25}, "Cancel Changes", "", "", 3, CancelChanges},
    {"Button3", "", PushButton, {192, 248, 75, 25}, "&Clear All", "", "", 4, ClearAll},
    {"Label1", "", Label, {280, 248, 0, 0}, "Line:"},
    {"lineno", "", TextBox, {304, 248, 121, 21}, "", "", "Line", 5},
};
// clang-format on

constexpr MenuItem kMailboxMenu[] = {
    {"Edit this Mailbox", EditMailbox},
    {"Insert Command", InsertCommand},
    {"Delete Command", DeleteCommand},
    {"Edit Program in Editor", OpenEditor},
};

constexpr WindowDescription kMainWindow{"Form1", kApplicationTitle, 633, 434, kMainControls};
constexpr WindowDescription kAboutBox{"aboutfrm", "About", 229, 273, kAboutControls};
constexpr WindowDescription kSplashWindow{"Form2", "About", 150, 153, kSplashControls};
constexpr WindowDescription kEditorWindow{"Form4", "Edit Tobric Program", 427, 273,
                                          kEditorControls};

void ReplaceAll(std::string& text, std::string_view field, std::string_view value) {
    for (auto at = text.find(field); at != std::string::npos;
         at = text.find(field, at + value.size()))
        text.replace(at, field.size(), value);
}

}  // namespace

const WindowDescription& MainWindowDescription() { return kMainWindow; }
const WindowDescription& AboutBoxDescription() { return kAboutBox; }
const WindowDescription& SplashWindowDescription() { return kSplashWindow; }
const WindowDescription& EditorWindowDescription() { return kEditorWindow; }
std::span<const MenuItem> MailboxMenuItems() { return kMailboxMenu; }

std::string Caption(const Control& control) {
    std::string caption = control.caption;
    ReplaceAll(caption, "{version}", kVersionShort);
    ReplaceAll(caption, "{title}", kApplicationTitle);
    return caption;
}

}  // namespace tobric
