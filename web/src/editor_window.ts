// SPDX-License-Identifier: GPL-3.0-or-later
// The program editor: the whole program as plain text, one mailbox line per text line, written
// back to the store in one go by Save Changes. The main window takes no input while it is open;
// a running program goes on behind it.

import type { Machine, Report } from './core';
import { describedWindow } from './described_controls';
import { splitLines, toLatin1 } from './text';
import { windows } from './window_description';
import { disableWindow, element, enableWindow, type PageWindow } from './windows';

const kRowHeight = 13;
const kMargin = 4;
const kScrollBarWidth = 14; // the desktop's, which its text box always shows

export class EditorWindow {
  private readonly window: PageWindow;
  private readonly text: HTMLTextAreaElement;
  private lastFocus: HTMLElement;
  private returnFocus: HTMLElement | null = null;

  constructor(
    private readonly machine: Machine,
    private readonly mainWindow: HTMLElement,
    private readonly report: (report: Report) => void,
  ) {
    const { window, made } = describedWindow(
      windows().editor,
      { hidden: true, topmost: true, centreOn: 'screen', onClose: () => this.cancel() },
      {
        SaveChanges: () => this.save(),
        CancelChanges: () => this.cancel(),
        ClearAll: () => (this.text.value = ''),
      },
    );
    this.window = window;
    this.text = made.tobriceditor as HTMLTextAreaElement;
    // Nothing reads this box; it is there for the user's own notes.
    const lineno = made.lineno;

    this.window.frame.addEventListener('keydown', (event) => {
      const alt = event.altKey && !event.ctrlKey && !event.metaKey;
      if (alt && event.code === 'KeyS') this.save();
      else if (alt && event.code === 'KeyC') this.text.value = '';
      // In the text box Escape and Enter are the text box's.
      else if (event.key === 'Escape' && event.target !== this.text) this.cancel();
      else if (event.key === 'Enter' && event.target === lineno) this.save();
      else return;
      event.preventDefault();
    });
    this.lastFocus = this.text;
    this.window.frame.addEventListener('focusin', (event) => {
      this.lastFocus = event.target as HTMLElement;
    });
  }

  // Edit Program in Editor: the store's lines, each followed by a line break; the display is
  // rebuilt, which clears its selection.
  open(): void {
    this.text.value = [...splitLines(this.machine.storeLines()), ''].join('\n');
    this.text.setSelectionRange(0, 0);
    this.text.scrollTop = 0;
    this.returnFocus = document.activeElement as HTMLElement | null;
    this.window.show();
    this.keepTextWidth();
    disableWindow(this.mainWindow, this.window);
    this.lastFocus.focus();
    this.report(this.machine.showMailboxes());
  }

  private save(): void {
    enableWindow(this.mainWindow);
    // A store that cannot take a line stops here: the editor stays open beside the main window.
    const report = this.machine.replaceProgram(this.displayedLines());
    if (report !== null) return this.report(report);
    this.close();
  }

  private cancel(): void {
    enableWindow(this.mainWindow);
    this.close();
  }

  private close(): void {
    this.window.hide();
    this.returnFocus?.focus();
  }

  // Where scroll bars float over the text (Chromebooks, Macs) or are wider than the desktop's
  // (a browser that draws its own), the right margin makes up the difference, so the text wraps
  // at the desktop's width all the same.
  private keepTextWidth(): void {
    this.text.style.paddingRight = '';
    const bar = this.text.offsetWidth - this.text.clientWidth - 2; // less the 1 px frame
    if (bar !== kScrollBarWidth)
      this.text.style.paddingRight = `${Math.max(0, kMargin + kScrollBarWidth - bar)}px`;
  }

  // The lines as the text box shows them: a wrapped line gives one line per row, a break at the
  // very end starts no further line, and an empty text has none. A hidden copy of the text at the
  // box's text width, in its face, tells where the rows break.
  private displayedLines(): string[] {
    const blocks = this.text.value.split('\n');
    if (blocks[blocks.length - 1] === '') blocks.pop();
    const mirror = element('div', 'editor-mirror', this.window.client);
    const { paddingLeft, paddingRight } = getComputedStyle(this.text);
    const width = this.text.clientWidth - parseFloat(paddingLeft) - parseFloat(paddingRight);
    mirror.style.width = `${width}px`;
    const shown = blocks.map((block) => element('div', '', mirror, block));
    const lines = blocks.flatMap((block, i) =>
      (shown[i].offsetHeight > kRowHeight * 1.5 ? rowsOf(shown[i]) : [block]).map(toLatin1),
    );
    mirror.remove();
    return lines;
  }
}

// The pieces of a wrapped block, one per row: a row starts where a character stands lower than
// the one before it. Blanks at a break stay at the end of the row they follow.
function rowsOf(block: HTMLElement): string[] {
  const node = block.firstChild as Text;
  const text = node.data;
  const range = document.createRange();
  const pieces: string[] = [];
  let start = 0;
  let rowTop = Number.NEGATIVE_INFINITY;
  for (let i = 0; i < text.length; ++i) {
    range.setStart(node, i);
    range.setEnd(node, i + 1);
    const rects = range.getClientRects();
    if (rects.length === 0) continue;
    const top = rects[0].top;
    if (i > start && top > rowTop + kRowHeight / 2) {
      pieces.push(text.slice(start, i));
      start = i;
    }
    if (i === start) rowTop = top;
  }
  pieces.push(text.slice(start));
  return pieces;
}
