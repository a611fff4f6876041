// SPDX-License-Identifier: GPL-3.0-or-later
// The numbered mailbox display: one 16 px row per store line, single selection, and the popup
// menu on a right click or the context-menu key (Shift+F10 too) without changing the selection.
// Each rebuild clears the selection and goes back to the first row.

import { drawSoon } from './frame';
import type { ControlDescription } from './window_description';
import { element, modalOpen, placed, setAttributes } from './windows';

const kRowHeight = 16;

export interface MenuItem {
  caption: string;
  act?: () => void;
}

export class MailboxDisplay {
  readonly root: HTMLElement;
  private rows: HTMLElement[] = [];
  private lines: string[] = [];
  private readonly texts: string[] = []; // what each row shows, kept to write only changed rows
  private scrollToFirst = false;
  private awayFromTop = false; // scrolled since the display last went back to the top
  private selected = -1;
  private menu: HTMLElement | null = null;

  // rowText writes a row as the core does: "07 LDA 05".
  constructor(
    parent: HTMLElement,
    { name, rect, accessibleName }: ControlDescription,
    private readonly items: MenuItem[],
    private readonly rowText: (row: number, line: string) => string,
  ) {
    this.root = placed('div', 'mailboxes', parent, name, rect, undefined, accessibleName);
    setAttributes(this.root, { tabindex: '0', role: 'listbox' });
    // Scroll events come before a frame's drawing: the flag is current when the rows are drawn.
    this.root.addEventListener('scroll', () => (this.awayFromTop = true), { passive: true });
    this.root.addEventListener('mousedown', (event) => {
      if (event.button !== 0) return;
      const row = this.rows.indexOf(event.target as HTMLElement);
      if (row >= 0) this.select(row);
    });
    let fromKeyboard = false;
    this.root.addEventListener('keydown', (event) => {
      fromKeyboard = event.key === 'ContextMenu' || (event.key === 'F10' && event.shiftKey);
      if (!fromKeyboard) this.moveWithKey(event);
    });
    this.root.addEventListener('contextmenu', (event) => {
      event.preventDefault();
      const atDisplay = fromKeyboard || event.button !== 2;
      const at = atDisplay ? this.root.getBoundingClientRect() : event;
      this.openMenu(at.x, at.y);
      fromKeyboard = false;
    });
    const closeOutside = (event: MouseEvent): void => {
      if (this.menu && !this.menu.contains(event.target as Node)) this.closeMenu();
    };
    document.addEventListener('mousedown', closeOutside, true);
  }

  selectedIndex(): number {
    return this.selected;
  }

  // The rows and the selection change at once, as the commands read them; the texts and the
  // scroll back to the first row are drawn with the next frame, since STA rebuilds on every pass
  // of a loop.
  rebuild(lines: string[]): void {
    this.lines = lines;
    while (this.rows.length > lines.length) this.rows.pop()!.remove();
    this.texts.length = this.rows.length;
    while (this.rows.length < lines.length) {
      const row = element('div', '', this.root);
      row.setAttribute('role', 'option');
      this.rows.push(row);
      this.texts.push('');
    }
    this.unselect();
    this.scrollToFirst = true;
    drawSoon(this.drawRows);
  }

  private readonly drawRows = (): void => {
    this.settleScroll();
    this.lines.forEach((line, i) => {
      const text = this.rowText(i, line);
      if (this.texts[i] !== text) this.rows[i].textContent = this.texts[i] = text;
    });
  };

  // A selection made before the frame is drawn comes after the rebuild's scroll to the top. The
  // display is scrolled only when it has left the top: setting the position lays the page out.
  private settleScroll(): void {
    if (!this.scrollToFirst) return;
    this.scrollToFirst = false;
    if (this.awayFromTop) this.root.scrollTop = 0;
    this.awayFromTop = false;
  }

  private unselect(): void {
    this.rows[this.selected]?.classList.remove('selected');
    this.rows[this.selected]?.removeAttribute('aria-selected');
    this.selected = -1;
  }

  private select(row: number): void {
    this.settleScroll();
    this.unselect();
    if (row < 0 || row >= this.rows.length) return;
    this.selected = row;
    this.rows[row].classList.add('selected');
    this.rows[row].setAttribute('aria-selected', 'true');
    this.rows[row].scrollIntoView({ block: 'nearest' });
  }

  private moveWithKey(event: KeyboardEvent): void {
    if (this.rows.length === 0) return;
    this.settleScroll();
    const onScreen = Math.max(1, Math.floor(this.root.clientHeight / kRowHeight));
    const from = this.selected < 0 ? Math.floor(this.root.scrollTop / kRowHeight) : this.selected;
    const moves: Record<string, number> = {
      ArrowUp: this.selected < 0 ? from : from - 1,
      ArrowDown: this.selected < 0 ? from : from + 1,
      PageUp: from - (onScreen - 1),
      PageDown: from + (onScreen - 1),
      Home: 0,
      End: this.rows.length - 1,
    };
    if (!(event.key in moves)) return;
    event.preventDefault();
    this.select(Math.min(this.rows.length - 1, Math.max(0, moves[event.key])));
  }

  private openMenu(x: number, y: number): void {
    if (modalOpen()) return;
    this.closeMenu();
    const menu = placed('div', 'menu', document.body, 'mailboxmenu', [x, y, 0, 0]);
    setAttributes(menu, { role: 'menu', tabindex: '-1' });
    const entries = this.items.map((item) => {
      const entry = element('div', item.act ? '' : 'disabled', menu, item.caption);
      entry.setAttribute('role', 'menuitem');
      if (!item.act) entry.setAttribute('aria-disabled', 'true');
      entry.addEventListener('mouseenter', () => activate(entries.indexOf(entry)));
      entry.addEventListener('click', () => choose(item));
      return entry;
    });
    let active = -1;
    const activate = (i: number): void => {
      entries.forEach((entry, j) => entry.classList.toggle('active', j === i));
      active = i;
    };
    const choose = (item: MenuItem): void => {
      if (!item.act) return;
      this.closeMenu();
      item.act();
    };
    menu.addEventListener('keydown', (event) => {
      event.preventDefault();
      if (event.key === 'ArrowDown') activate((active + 1) % entries.length);
      else if (event.key === 'ArrowUp') activate((active + entries.length - 1) % entries.length);
      else if (event.key === 'Enter' && active >= 0) choose(this.items[active]);
      else if (event.key === 'Escape') {
        this.closeMenu();
        this.root.focus();
      }
    });
    this.menu = menu;
    menu.focus();
  }

  private closeMenu(): void {
    this.menu?.remove();
    this.menu = null;
  }
}
