// SPDX-License-Identifier: GPL-3.0-or-later
// The splash window and the about box, the main window's two small companions.

import { describedWindow } from './described_controls';
import { windows } from './window_description';
import { type PageWindow } from './windows';

// The splash window: a borderless picture over the main window, gone five seconds after it was
// made or on a click on it, whichever comes first. Gives what shows it, once, after the main
// window stands.
export function splashWindow(mainWindow: PageWindow): () => void {
  const { window: splash } = describedWindow(
    windows().splash,
    { hidden: true, frameless: true },
    { CloseSplash: () => timer1Timer() },
  );
  const timer1 = setTimeout(() => timer1Timer(), 5000);
  const timer1Timer = (): void => {
    splash.hide();
    mainWindow.raise();
    clearTimeout(timer1);
  };
  return () => splash.show();
}

// The about box: non-modal, kept on top, one of it; OK, Enter, Esc or its close box hide it, and
// it shows again where it was left.
export function aboutBox(): () => void {
  const { window: box, made } = describedWindow(
    windows().about,
    { hidden: true, topmost: true, centreOn: 'screen', onClose: () => box.hide() },
    { CloseAbout: () => box.hide() },
  );
  made.Label2.className = 'about-version';
  made.Label1.className = 'about-title';
  made.Label3.className = 'about-notice';
  const ok = made.Button1;
  ok.classList.add('default');
  // OK is the only place for the keyboard: it keeps the focus whatever is clicked in the box.
  box.client.addEventListener('mousedown', (event) => {
    if (event.target !== ok) event.preventDefault();
  });
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
