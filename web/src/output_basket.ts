// SPDX-License-Identifier: GPL-3.0-or-later
// The OUT basket: a field that shows the latest output and a drop-down list of every output, which
// opens at the current one. The keys are the desktop drop-down's: Up and Down in the field step
// through the outputs; Alt+Down or F4 opens the list, where the arrows move, Enter takes the
// highlighted output and Esc, F4 or Alt+Up closes it. To a screen reader it is a combo box: the
// focus stays in the field and the highlighted option is its active descendant.

import { drawSoon } from './frame';
import type { ControlDescription } from './window_description';
import { element, placed, setAttributes } from './windows';

const kRowsAPage = 10; // the list's 290 px of 29 px rows

export class OutputBasket {
  private readonly field: HTMLInputElement;
  private readonly list: HTMLElement;
  private readonly outputs: number[] = [];
  private current = -1; // the output the field shows, -1 before the first
  private highlighted = -1; // the open list's highlighted row

  readonly root: HTMLElement;

  constructor(parent: HTMLElement, { name, rect, accessibleName }: ControlDescription) {
    const root = (this.root = placed('div', 'outbasket', parent, name, rect));
    const listId = `${name}-list`;
    this.field = element('input', '', root);
    setAttributes(this.field, { role: 'combobox', 'aria-label': accessibleName });
    setAttributes(this.field, { 'aria-autocomplete': 'none', 'aria-controls': listId });
    this.field.setAttribute('aria-expanded', 'false');
    const drop = element('div', 'drop', root); // its arrow is drawn by the style sheet
    this.list = element('div', 'list', root);
    Object.assign(this.list, { id: listId, hidden: true, tabIndex: -1 });
    this.list.style.top = `${rect[3]}px`;
    setAttributes(this.list, { role: 'listbox', 'aria-label': accessibleName });
    drop.addEventListener('mousedown', (event) => {
      event.preventDefault();
      this.field.focus();
      if (this.list.hidden) this.open();
      else this.close();
    });
    // A click picks a row without taking the focus from the field.
    this.list.addEventListener('mousedown', (event) => {
      event.preventDefault();
      const item = (event.target as HTMLElement).closest('[role="option"]');
      const row = Array.prototype.indexOf.call(this.list.children, item);
      if (row >= 0) this.choose(row);
    });
    document.addEventListener('mousedown', (event) => {
      if (!root.contains(event.target as Node)) this.close();
    });
    this.field.addEventListener('blur', () => this.close());
    this.field.addEventListener('keydown', (event) => {
      if (this.handleKey(event)) event.preventDefault();
    });
  }

  // The list is exact at once; the field and an open list are drawn with the next frame.
  show(n: number): void {
    this.outputs.push(n);
    this.current = this.outputs.length - 1;
    drawSoon(this.draw);
  }

  private readonly draw = (): void => {
    this.showInField(this.current);
    if (!this.list.hidden) this.fill(this.outputs.length - 1);
  };

  private handleKey(event: KeyboardEvent): boolean {
    const alt = event.altKey && !event.ctrlKey && !event.metaKey;
    const plain = !event.altKey && !event.ctrlKey && !event.metaKey;
    const open = !this.list.hidden;
    if ((event.key === 'F4' && plain) || (alt && event.key === (open ? 'ArrowUp' : 'ArrowDown'))) {
      if (open) this.close();
      else this.open();
      return true;
    }
    if (!plain) return false;
    const moves: Record<string, number> = {
      ArrowUp: -1,
      ArrowDown: 1,
      PageUp: -kRowsAPage,
      PageDown: kRowsAPage,
    };
    if (open) {
      if (event.key === 'Enter') this.choose(this.highlighted);
      else if (event.key === 'Escape') this.close();
      else if (event.key === 'Home') this.highlight(0);
      else if (event.key === 'End') this.highlight(this.outputs.length - 1);
      else if (event.key in moves) this.highlight(this.highlighted + moves[event.key]);
      else return false; // Tab leaves the field, and its blur closes the list
      return true;
    }
    // A closed list: the arrows step the field through the outputs, as the desktop's do.
    if (!(event.key in moves) || this.outputs.length === 0) return false;
    this.current = clamp(this.current + moves[event.key], this.outputs.length);
    this.showInField(this.current);
    return true;
  }

  private open(): void {
    if (this.outputs.length === 0) return;
    this.list.hidden = false;
    this.field.setAttribute('aria-expanded', 'true');
    this.fill(this.current);
  }

  private close(): void {
    if (this.list.hidden) return;
    this.list.hidden = true;
    this.list.replaceChildren();
    this.highlighted = -1;
    this.field.setAttribute('aria-expanded', 'false');
    this.field.removeAttribute('aria-activedescendant');
  }

  private choose(row: number): void {
    if (row >= 0) {
      this.current = row;
      this.showInField(row);
    }
    this.close();
  }

  private fill(highlighted: number): void {
    this.list.replaceChildren(
      ...this.outputs.map((n, row) => {
        const item = element('div', '', undefined, String(n));
        item.id = `outbasket-option-${row}`;
        setAttributes(item, { role: 'option', 'aria-selected': 'false' });
        return item;
      }),
    );
    this.highlight(highlighted);
  }

  private highlight(row: number): void {
    const rows = this.list.children;
    rows[this.highlighted]?.classList.remove('current');
    rows[this.highlighted]?.setAttribute('aria-selected', 'false');
    this.highlighted = clamp(row, rows.length);
    const item = rows[this.highlighted] as HTMLElement | undefined;
    if (!item) return;
    item.classList.add('current');
    item.setAttribute('aria-selected', 'true');
    item.scrollIntoView({ block: 'nearest' });
    this.field.setAttribute('aria-activedescendant', item.id);
  }

  // A long number shrinks the field's font until the whole of it fits.
  private showInField(row: number): void {
    this.field.value = row >= 0 ? String(this.outputs[row]) : '';
    let size = 24;
    this.field.style.fontSize = `${size}px`;
    while (size > 8 && this.field.scrollWidth > this.field.clientWidth)
      this.field.style.fontSize = `${--size}px`;
    this.field.scrollLeft = 0;
  }
}

function clamp(row: number, count: number): number {
  return Math.min(Math.max(row, 0), count - 1);
}
