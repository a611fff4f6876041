#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Reads Tobric Computer through the AT-SPI bridge as a screen reader would, and drives it the way
# a blind user could: loads a program through the file dialog, steps it with the Step button's
# press action, presses keypad keys, moves the selection in the mailbox display and opens its
# popup menu. Run by scripts/screen-reader-check, which starts the program; prints what it finds
# and exits 1 on the first thing that is not as it should be.
import os
import sys
import tempfile
import time

import pyatspi
from gi.repository import GLib

heard = []    # (event, role, name, detail) of the state changes a reader is told of
focused = []  # what gained the focus, latest last


def pump(seconds):
    end = time.time() + seconds
    while time.time() < end:
        GLib.MainContext.default().iteration(False)
        time.sleep(0.01)


def find(acc, role=None, name=None):
    if acc is None:
        return None
    if (role is None or acc.getRoleName() == role) and (name is None or acc.name == name):
        return acc
    if acc.getRoleName() == "list" and acc.childCount > 20:
        return None  # the mailbox rows: asked for one by one, never walked
    for child in acc:
        found = find(child, role, name)
        if found:
            return found
    return None


def actions(acc):
    try:
        action = acc.queryAction()
        return [action.getName(i) for i in range(action.nActions)]
    except NotImplementedError:
        return []


def text(acc):
    try:
        shown = acc.queryText()
        return shown.getText(0, shown.characterCount)
    except NotImplementedError:
        return None


def show(acc, depth=0):
    line = f"{'  ' * depth}[{acc.getRoleName()}] {acc.name!r}"
    if actions(acc):
        line += f" actions={actions(acc)}"
    if text(acc) not in (None, "", acc.name):
        line += f" text={text(acc)!r}"
    print(line)
    if acc.getRoleName() == "list" and acc.childCount > 20:
        print(f"{'  ' * (depth + 1)}... {acc.childCount} rows")
        return
    for child in acc:
        if child:
            show(child, depth + 1)


def expect(what, actual, wanted):
    print(f"{'ok  ' if actual == wanted else 'FAIL'} {what}: {actual!r}")
    if actual != wanted:
        sys.exit(1)


def press(acc):
    acc.queryAction().doAction(actions(acc).index("Press"))
    pump(0.5)


def key(keysym):
    pyatspi.Registry.generateKeyboardEvent(keysym, None, pyatspi.KEY_SYM)
    pump(0.5)


def load(app, window, program):
    press(find(window, "push button", "Load Program"))
    dialog = find(app, "dialog", "Open")
    find(dialog, "text", "File name:").queryEditableText().setTextContents(program)
    pump(0.5)
    press(find(dialog, "push button", "Open"))


def listen(event):
    try:
        heard.append((event.type, event.source.getRoleName(), event.source.name, event.detail1))
    except GLib.Error:
        return  # gone before we asked: a closed menu's items
    if event.type == "object:state-changed:focused" and event.detail1:
        focused.append(event.source)


def main():
    app = None
    for _ in range(100):
        app = next((a for a in pyatspi.Registry.getDesktop(0) if a and a.name.startswith("Tobric")), None)
        if app:
            break
        time.sleep(0.1)
    if not app:
        sys.exit("Tobric Computer is not on the accessibility bus")
    window = find(app, "frame", "Tobric Computer for Windows")
    show(window)

    program = os.path.join(tempfile.mkdtemp(), "forty_two.txt")
    with open(program, "w") as f:
        f.write("LDA 04\r\nADD 05\r\nOUT\r\nHLT\r\nDAT 40\r\nDAT 02\r\n")
    load(app, window, program)

    mailboxes = find(window, "list", "Mailboxes")
    expect("mailbox rows", mailboxes.childCount, 100)
    expect("row 0", (mailboxes[0].getRoleName(), mailboxes[0].name), ("list item", "00 LDA 04"))
    expect("row 99", mailboxes[99].name, "99 DAT 00")

    step = find(window, "push button", "Step")
    for _ in range(3):
        step.queryAction().doAction(0)
        pump(0.5)
    expect("Instruction after three steps", text(find(window, "text", "Instruction")), "OUT")
    expect("Program Counter", text(find(window, "text", "Program Counter")), "2")
    expect("Calculator", text(find(window, "label", "Calculator")), "42")
    basket = find(window, "combo box", "OUT Basket")
    expect("OUT Basket keeps its name", basket.name, "OUT Basket")
    expect("OUT Basket field", text(basket[1]), "42")

    for caption in ("C", "7"):
        press(find(window, "push button", caption))
    expect("Calculator after C, 7", text(find(window, "label", "Calculator")), "7")

    # A blind user's way through the rows: focus on the display, arrow keys, the menu key.
    pyatspi.Registry.registerEventListener(listen, "object:state-changed:focused",
                                           "object:state-changed:selected")
    mailboxes.queryComponent().grabFocus()
    pump(0.5)
    key(0xFF54)  # Down
    key(0xFF54)
    print("events:", heard)
    expect("row 1 heard as focused",
           ("object:state-changed:focused", "list item", "01 ADD 05", 1) in heard, True)
    expect("row 1 selected", mailboxes[1].getState().contains(pyatspi.STATE_SELECTED), True)
    # Qt leaves popup menus out of the application's windows: a reader meets the menu through
    # the focus moving onto its items.
    key(0xFF67)  # Menu
    key(0xFF54)  # Down
    item = focused[-1]
    expect("focus after Menu, Down", (item.getRoleName(), item.name), ("menu item", "Edit this Mailbox"))
    menu = item.parent
    show(menu)
    expect("menu items", [(entry.getRoleName(), entry.name) for entry in menu],
           [("menu item", "Edit this Mailbox"), ("menu item", "Insert Command"),
            ("menu item", "Delete Command"), ("menu item", "Edit Program in Editor")])
    key(0xFF1B)  # Escape
    pyatspi.Registry.deregisterEventListener(listen, "object:state-changed:focused",
                                             "object:state-changed:selected")

    # A rebuild (here a second load) replaces the rows: the old ones are gone, the new ones read.
    old_row = mailboxes[1]
    with open(program, "w") as f:
        f.write("IN\r\nHLT\r\n")
    load(app, window, program)
    try:
        gone = old_row.getRoleName() != "list item"
    except GLib.Error:
        gone = True
    expect("a row from before the rebuild is gone", gone, True)
    expect("row 1 after the rebuild", mailboxes[1].name, "01 HLT")


main()
