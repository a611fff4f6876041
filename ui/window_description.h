// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The windows as both editions show them: each window's name, title and size, and each control's
// name, place, caption, picture, accessible name, Tab place and what pressing it does. The
// desktop builds its widgets from these tables and the browser edition its elements (through
// web/window_bindings.cpp), so the two cannot drift apart. No toolkit here: the WebAssembly build
// compiles it too.

#include <span>
#include <string>

namespace tobric {

// Each kind and action once, for the enumerations and for their names (the page takes names).
// Panel: a bevelled group; Heading: a panel with a caption in the heading face; CommandButton: a
// panel button with a glyph, its caption after it; Key: a panel button; Display: the calculator's
// sunken number; Label: text sized to itself; Text: text wrapped in its rectangle.
// clang-format off
#define TOBRIC_CONTROL_KINDS(X)                                                                  \
    X(Panel) X(LoweredPanel) X(Heading) X(CommandButton) X(Key) X(Display) X(Label) X(Text)       \
    X(ReadOnlyBox) X(SpeedBar) X(Picture) X(OutputBasket) X(MailboxDisplay) X(PushButton)        \
    X(TextBox) X(ProgramText)
// What a control does when pressed, or a popup menu item; Digit's digit is Control::digit.
#define TOBRIC_ACTIONS(X)                                                                        \
    X(None) X(Run) X(Step) X(HaltContinue) X(Reset) X(SaveProgram) X(LoadProgram) X(Exit)       \
    X(ShowAbout) X(Digit) X(Plus) X(Minus) X(Equals) X(Clear) X(ClearEntry) X(EditMailbox)      \
    X(InsertCommand) X(DeleteCommand) X(OpenEditor) X(CloseAbout) X(CloseSplash) X(SaveChanges) \
    X(CancelChanges) X(ClearAll)
// clang-format on
#define TOBRIC_ENUMERATOR(name) name,
enum class ControlKind { TOBRIC_CONTROL_KINDS(TOBRIC_ENUMERATOR) };
enum class Action { TOBRIC_ACTIONS(TOBRIC_ENUMERATOR) };
#undef TOBRIC_ENUMERATOR

struct Rect {
    int left, top, width, height;  // a label's width and height are 0: it takes its text's
};

struct Control {
    const char* name;
    const char* parent;  // "" for the window itself
    ControlKind kind;
    Rect rect;
    const char* caption = "";  // "&" before the letter Alt takes; Caption() fills in the fields
    const char* glyph = "";    // a picture under art/, without ".svg"
    const char* accessibleName = "";
    int tabPlace = 0;  // 1 for the first Tab stop, 0 for none
    Action action = Action::None;
    int digit = 0;
    bool disabled = false;
};

struct WindowDescription {
    const char* name;
    const char* title;
    int width, height;
    std::span<const Control> controls;  // in the order they are made
};

struct MenuItem {
    const char* caption;
    Action action;
};

struct SpeedBarRange {
    int minimum, maximum, singleStep, pageStep, start;
};

const WindowDescription& MainWindowDescription();
const WindowDescription& AboutBoxDescription();
const WindowDescription& SplashWindowDescription();
const WindowDescription& EditorWindowDescription();

// The mailbox display's popup menu.
std::span<const MenuItem> MailboxMenuItems();

inline constexpr SpeedBarRange kSpeedBar{1, 1000, 10, 100, 500};
// Blanks before a command button's caption put it to the right of the glyph.
inline constexpr int kCommandCaptionIndent = 10;
// The program's own one-button message.
inline constexpr const char* kNoticeCaption = "Compiler Message";
// The buttons of the one-line prompt (and the message boxes' one button).
inline constexpr const char* kOkCaption = "OK";
inline constexpr const char* kCancelCaption = "Cancel";

// The control's caption with the version and the application title filled in.
std::string Caption(const Control& control);

}  // namespace tobric
