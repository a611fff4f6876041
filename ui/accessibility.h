// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a screen reader finds in the windows. Qt describes its standard widgets itself; our panels,
// pictures, OUT basket and mailbox display draw or arrange things their own way, so they get their
// interfaces here: panel buttons, keypad keys and clickable pictures are push buttons with a press
// action, the displays keep fixed names and offer their shown text, and the mailbox display's rows
// are list items made only when a reader asks for them.

class QString;
class QWidget;

namespace tobric {

class MailboxDisplay;

// Makes Qt use the interfaces above; later calls do nothing.
void InstallAccessibility();

// A caption as a reader speaks it: the mnemonic "&" gone ("&&" is one "&"), no padding blanks.
QString CaptionAsRead(const QString& caption);

// Change notices from the displays. Each does nothing while no assistive technology listens.
void AnnounceTextChange(QWidget* display, const QString& before, const QString& after);
void AnnounceValueChange(QWidget* display, const QString& value);
// The selection moved from row `from` (-1 for none) to the display's selected row.
void AnnounceSelectionMove(MailboxDisplay* display, int from);

}  // namespace tobric
