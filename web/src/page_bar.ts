// SPDX-License-Identifier: GPL-3.0-or-later
// The page bar: a slim strip above the window, outside it, with what only a page needs: the
// bundled examples, Checks, Copy Link, Install where the browser offers it, and a word about the
// page.
// Its messages go to a status line that screen readers read out.

import { examples, type Example } from './examples';
import { element, setAttributes } from './windows';

export interface PageBarActions {
  openExample(example: Example): void;
  copyLink(): Promise<void>;
  openChecks(opener: HTMLElement): void;
}

// The bar and the panel that tells about the page, its paragraphs left out.
const kBarMarkup = [
  '<nav class="pagebar page-part" id="pagebar" aria-label="Page">',
  '<button class="menu-button" id="examples-button" aria-haspopup="menu" aria-expanded="false"',
  ' aria-controls="examples-menu">Examples</button>',
  '<ul class="examples-menu" id="examples-menu" role="menu" aria-label="Examples" hidden></ul>',
  '<button id="open-checks" aria-haspopup="dialog">Check</button>',
  '<button id="copy-link">Copy Link</button><button id="install" hidden>Install</button>',
  '<button id="about-page" aria-expanded="false" aria-controls="about-page-text">',
  'About this page</button><p class="status" id="pagebar-status" role="status"></p>',
  '<input class="link" id="link-field" readonly hidden aria-label="Link to this program"></nav>',
  '<div class="about-page page-part" id="about-page-text" hidden></div>',
].join('');

export class PageBar {
  readonly root: HTMLElement;
  private readonly status: HTMLElement;
  private readonly linkField: HTMLInputElement;
  private readonly installButton: HTMLButtonElement;

  constructor(before: HTMLElement, actions: PageBarActions, about: string[]) {
    before.insertAdjacentHTML('beforebegin', kBarMarkup);
    const find = <E extends HTMLElement>(id: string): E => document.getElementById(id) as E;
    this.root = find('pagebar');
    examplesMenu([find('examples-button'), find('examples-menu')], actions.openExample);
    const check = find('open-checks');
    check.addEventListener('click', () => actions.openChecks(check));
    find('copy-link').addEventListener('click', () => void actions.copyLink());
    this.installButton = find('install');
    this.status = find('pagebar-status');
    this.linkField = find('link-field');
    const panel = find('about-page-text');
    for (const paragraph of about) element('p', '', panel, paragraph);
    const aboutButton = find('about-page');
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
function examplesMenu([button, menu]: HTMLElement[], choose: (example: Example) => void): void {
  const items: HTMLElement[] = examples.map((example) => {
    const item = element('li', '', menu, example.title);
    setAttributes(item, { role: 'menuitem', tabindex: '-1' });
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
