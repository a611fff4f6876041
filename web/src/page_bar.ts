// SPDX-License-Identifier: GPL-3.0-or-later
// The page bar: a slim strip above the window, outside it, with what only a page needs: the
// bundled examples, Checks, Copy Link, Install where the browser offers it, and a word about the
// page.
// Its messages go to a status line that screen readers read out.

import { examples, type Example } from './examples';
import { element } from './windows';

export interface PageBarActions {
  openExample(example: Example): void;
  copyLink(): Promise<void>;
  openChecks(opener: HTMLElement): void;
}

export class PageBar {
  readonly root: HTMLElement;
  private readonly status: HTMLElement;
  private readonly linkField: HTMLInputElement;
  private readonly installButton: HTMLButtonElement;

  constructor(parent: HTMLElement, before: HTMLElement, actions: PageBarActions, about: string[]) {
    this.root = element('nav', 'pagebar page-part');
    this.root.id = 'pagebar';
    this.root.setAttribute('aria-label', 'Page');
    parent.insertBefore(this.root, before);
    examplesMenu(this.root, actions.openExample);
    const check = element('button', '', this.root, 'Check');
    check.id = 'open-checks';
    check.setAttribute('aria-haspopup', 'dialog');
    check.addEventListener('click', () => actions.openChecks(check));
    const copy = element('button', '', this.root, 'Copy Link');
    copy.id = 'copy-link';
    copy.addEventListener('click', () => void actions.copyLink());
    this.installButton = element('button', '', this.root, 'Install');
    this.installButton.id = 'install';
    this.installButton.hidden = true;
    const aboutButton = element('button', '', this.root, 'About this page');
    aboutButton.id = 'about-page';
    this.status = element('p', 'status', this.root);
    this.status.id = 'pagebar-status';
    this.status.setAttribute('role', 'status');
    this.linkField = element('input', 'link', this.root);
    this.linkField.id = 'link-field';
    this.linkField.readOnly = true;
    this.linkField.hidden = true;
    this.linkField.setAttribute('aria-label', 'Link to this program');
    const panel = element('div', 'about-page page-part', parent);
    parent.insertBefore(panel, before);
    panel.id = 'about-page-text';
    panel.hidden = true;
    for (const paragraph of about) element('p', '', panel, paragraph);
    aboutButton.setAttribute('aria-expanded', 'false');
    aboutButton.setAttribute('aria-controls', panel.id);
    aboutButton.addEventListener('click', () => {
      panel.hidden = !panel.hidden;
      aboutButton.setAttribute('aria-expanded', String(!panel.hidden));
    });
  }

  say(message: string): void {
    this.linkField.hidden = true;
    this.status.textContent = message;
  }

  // A link the browser would not let the page copy: shown selected, for the user to copy.
  offerLink(message: string, link: string): void {
    this.say(message);
    this.linkField.hidden = false;
    this.linkField.value = link;
    this.linkField.focus();
    this.linkField.select();
  }

  offerInstall(install: () => Promise<void>): void {
    this.installButton.hidden = false;
    this.installButton.onclick = () => {
      this.installButton.hidden = true;
      void install();
    };
  }
}

// A menu button: Enter, Space or Down opens the menu at its first item, Up at its last; the arrows,
// Home and End move, Enter or Space choose, Esc closes back to the button, Tab closes.
function examplesMenu(parent: HTMLElement, choose: (example: Example) => void): void {
  const button = element('button', 'menu-button', parent, 'Examples');
  button.id = 'examples-button';
  button.setAttribute('aria-haspopup', 'menu');
  button.setAttribute('aria-expanded', 'false');
  const menu = element('ul', 'examples-menu', parent);
  menu.id = 'examples-menu';
  menu.setAttribute('role', 'menu');
  menu.setAttribute('aria-label', 'Examples');
  button.setAttribute('aria-controls', menu.id);
  menu.hidden = true;
  const items: HTMLElement[] = examples.map((example) => {
    const item = element('li', '', menu, example.title);
    item.setAttribute('role', 'menuitem');
    item.tabIndex = -1;
    item.dataset.example = example.name;
    item.addEventListener('click', () => {
      close(false);
      choose(example);
    });
    return item;
  });
  const open = (at: number): void => {
    menu.hidden = false;
    button.setAttribute('aria-expanded', 'true');
    items[(at + items.length) % items.length].focus();
  };
  const close = (backToButton: boolean): void => {
    menu.hidden = true;
    button.setAttribute('aria-expanded', 'false');
    if (backToButton) button.focus();
  };
  button.addEventListener('click', () => (menu.hidden ? open(0) : close(false)));
  button.addEventListener('keydown', (event) => {
    if (event.key === 'ArrowDown' || event.key === 'ArrowUp') {
      event.preventDefault();
      open(event.key === 'ArrowDown' ? 0 : -1);
    }
  });
  menu.addEventListener('keydown', (event) => {
    const at = items.indexOf(document.activeElement as HTMLElement);
    const moves: Record<string, number> = { ArrowDown: at + 1, ArrowUp: at - 1, Home: 0, End: -1 };
    if (event.key in moves) items[(moves[event.key] + items.length) % items.length].focus();
    else if (event.key === 'Enter' || event.key === ' ') items[at]?.click();
    else if (event.key === 'Escape') close(true);
    else if (event.key === 'Tab') return close(false);
    else return;
    event.preventDefault();
  });
  document.addEventListener('mousedown', (event) => {
    if (!menu.hidden && !menu.contains(event.target as Node) && event.target !== button)
      close(false);
  });
}
