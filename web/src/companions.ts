// SPDX-License-Identifier: GPL-3.0-or-later
// The splash window and the about box, the main window's two small companions.

import { picture, panel } from './controls';
import { kApplicationTitle, pushButton } from './dialogs';
import { element, openWindow, place, type PageWindow } from './windows';

// The splash window: a borderless picture over the main window, gone five seconds after it was
// made or on a click on it, whichever comes first. Gives what shows it, once, after the main
// window stands.
export function splashWindow(mainWindow: PageWindow): () => void {
  const splash = openWindow('Form2', 'About', 150, 153, { modal: false, closeBox: false, hidden: true, frameless: true });
  // 149 wide in a 150-wide window: a one-pixel column of background shows at the right.
  // Ids name the window first: the companions' control names repeat the main window's.
  const image = picture(splash.client, [0, 0, 149, 153], 'Form2-Image1', 'splash', 'Tobric Computer');
  const timer1 = setTimeout(() => timer1Timer(), 5000);
  const timer1Timer = (): void => {
    splash.hide();
    mainWindow.raise();
    clearTimeout(timer1);
  };
  image.addEventListener('click', timer1Timer);
  return () => splash.show();
}

// The about box: non-modal, kept on top, one of it; OK, Enter, Esc or its close box hide it, and
// it shows again where it was left.
export function aboutBox(version: string): () => void {
  const box = openWindow('aboutfrm', 'About', 229, 273, {
    modal: false, closeBox: true, hidden: true, topmost: true, centreOn: 'screen', onClose: () => box.hide(),
  });
  const client = box.client;
  const frame = panel(client, [0, 0, 129, 105], 'aboutfrm-Panel1');
  frame.classList.add('lowered');
  picture(frame, [8, 8, 113, 89], 'aboutfrm-Image1', 'about', '').alt = '';
  const labels: [string, string, [number, number, number, number], string][] = [
    ['Label2', 'about-version', [0, 112, 129, 33], `ver ${version} `],
    ['Label1', 'about-title', [136, 0, 89, 145], kApplicationTitle],
    ['Label3', 'about-notice', [0, 152, 225, 81], `A teaching simulator of a small decimal computer. Version ${version}. `
      + 'Free software under the GNU General Public License, version 3 or later.'],
  ];
  for (const [name, kind, rect, text] of labels) {
    const made = element('div', kind, client, text);
    made.id = `aboutfrm-${name}`;
    place(made, ...rect);
  }
  const ok = pushButton(client, 'OK', 72, 240, 81, 25);
  ok.id = 'aboutfrm-Button1';
  ok.classList.add('default');
  ok.addEventListener('click', () => box.hide());
  // OK is the only place for the keyboard: it keeps the focus whatever is clicked in the box.
  client.addEventListener('mousedown', (event) => { if (event.target !== ok) event.preventDefault(); });
  box.frame.addEventListener('keydown', (event) => {
    if (event.key !== 'Escape' && event.key !== 'Enter') return;
    event.preventDefault();
    box.hide();
  });
  return () => {
    box.show();
    ok.focus();
  };
}
