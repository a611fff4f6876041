// SPDX-License-Identifier: GPL-3.0-or-later
// The OUT basket: a field that shows the latest output and a drop-down list of every output, which
// opens at the latest one.

import { drawSoon } from './frame';
import { element, place } from './windows';

export class OutputBasket {
  private readonly field: HTMLInputElement;
  private readonly list: HTMLElement;
  private readonly outputs: number[] = [];
  private shown = 0; // the output the field shows

  constructor(parent: HTMLElement, left: number, top: number, width: number, height: number) {
    const root = element('div', 'outbasket', parent);
    root.id = 'outbasket';
    place(root, left, top, width, height);
    this.field = element('input', '', root);
    this.field.setAttribute('aria-label', 'OUT Basket');
    const drop = element('div', 'drop', root); // its arrow is drawn by the style sheet
    this.list = element('div', 'list', root);
    this.list.style.top = `${height}px`;
    this.list.hidden = true;
    this.list.setAttribute('role', 'listbox');
    drop.addEventListener('mousedown', (event) => {
      event.preventDefault();
      this.toggle();
    });
    document.addEventListener('mousedown', (event) => {
      if (!root.contains(event.target as Node)) this.list.hidden = true;
    });
  }

  // The list is exact at once; the field and an open list are drawn with the next frame.
  show(n: number): void {
    this.outputs.push(n);
    this.shown = n;
    drawSoon(this.draw);
  }

  private readonly draw = (): void => {
    this.field.value = String(this.shown);
    // A long number shrinks the field's font until the whole of it fits.
    let size = 24;
    this.field.style.fontSize = `${size}px`;
    while (size > 8 && this.field.scrollWidth > this.field.clientWidth) this.field.style.fontSize = `${--size}px`;
    this.field.scrollLeft = 0;
    if (!this.list.hidden) this.fill();
  };

  private toggle(): void {
    this.list.hidden = !this.list.hidden;
    if (!this.list.hidden) this.fill();
  }

  private fill(): void {
    this.list.replaceChildren(...this.outputs.map((n, row) => {
      const item = element('div', row === this.outputs.length - 1 ? 'current' : '', undefined, String(n));
      item.setAttribute('role', 'option');
      item.addEventListener('mousedown', () => {
        this.shown = n;
        this.field.value = String(n);
        this.list.hidden = true;
      });
      return item;
    }));
    this.list.lastElementChild?.scrollIntoView({ block: 'nearest' });
  }
}
