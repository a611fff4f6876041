// SPDX-License-Identifier: GPL-3.0-or-later
// The windows' description (ui/window_description.h) for the page, which builds its windows from
// it as the desktop builds its own; and the mailbox display's row text. Kinds and actions cross
// as their names.

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <cstdint>
#include <string>
#include <vector>

#include "machine/display_text.h"
#include "ui/window_description.h"

namespace tobric {
namespace {

using emscripten::val;

#define TOBRIC_NAME_CASE(name) \
    case decltype(value)::name: return #name;

std::string Name(ControlKind value) {
    switch (value) { TOBRIC_CONTROL_KINDS(TOBRIC_NAME_CASE) }
    return "";
}

std::string Name(Action value) {
    switch (value) { TOBRIC_ACTIONS(TOBRIC_NAME_CASE) }
    return "";
}

val ControlObject(const Control& control) {
    val made = val::object();
    made.set("name", std::string(control.name));
    made.set("parent", std::string(control.parent));
    made.set("kind", Name(control.kind));
    const auto& [left, top, width, height] = control.rect;
    made.set("rect", val::array(std::vector{left, top, width, height}));
    made.set("caption", Caption(control));
    made.set("glyph", std::string(control.glyph));
    made.set("accessibleName", std::string(control.accessibleName));
    made.set("tabPlace", control.tabPlace);
    made.set("action", Name(control.action));
    made.set("digit", control.digit);
    made.set("disabled", control.disabled);
    return made;
}

val WindowObject(const WindowDescription& window) {
    val made = val::object();
    made.set("name", std::string(window.name));
    made.set("title", std::string(window.title));
    made.set("width", window.width);
    made.set("height", window.height);
    val controls = val::array();
    for (const Control& control : window.controls)
        controls.call<void>("push", ControlObject(control));
    made.set("controls", controls);
    return made;
}

val WindowsObject() {
    val made = val::object();
    made.set("main", WindowObject(MainWindowDescription()));
    made.set("about", WindowObject(AboutBoxDescription()));
    made.set("splash", WindowObject(SplashWindowDescription()));
    made.set("editor", WindowObject(EditorWindowDescription()));
    val items = val::array();
    for (const MenuItem& item : MailboxMenuItems()) {
        val entry = val::object();
        entry.set("caption", std::string(item.caption));
        entry.set("action", Name(item.action));
        items.call<void>("push", entry);
    }
    made.set("mailboxMenu", items);
    val speed = val::object();
    speed.set("minimum", kSpeedBar.minimum);
    speed.set("maximum", kSpeedBar.maximum);
    speed.set("singleStep", kSpeedBar.singleStep);
    speed.set("pageStep", kSpeedBar.pageStep);
    speed.set("start", kSpeedBar.start);
    made.set("speedBar", speed);
    made.set("commandCaptionIndent", kCommandCaptionIndent);
    made.set("noticeCaption", std::string(kNoticeCaption));
    made.set("okCaption", std::string(kOkCaption));
    made.set("cancelCaption", std::string(kCancelCaption));
    return made;
}

std::string RowText(int row, const std::string& line) {
    return MailboxRowText(static_cast<std::uint16_t>(row), line);
}

}  // namespace
}  // namespace tobric

EMSCRIPTEN_BINDINGS(tobric_window) {
    emscripten::function("windows", &tobric::WindowsObject);
    emscripten::function("mailboxRowText", &tobric::RowText);
}
