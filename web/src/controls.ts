// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's building blocks, at the desktop's pixel positions: bevelled panels with a
// one-line caption and panel buttons.

import { assetUrl } from './assets';
import { element, placed, setAttributes } from './windows';

export type Rect = [left: number, top: number, width: number, height: number];

export function panel(
  parent: HTMLElement,
  rect: Rect,
  name: string,
  caption = '',
  align: 'left' | 'center' | 'right' = 'center',
): HTMLElement {
  const made = placed('div', 'panel', parent, name, rect);
  if (caption || align === 'right') {
    element('div', `caption ${align === 'center' ? '' : align}`, made);
    setCaption(made, caption);
  }
  return made;
}

// "&R" underlines the R, as the desktop's captions show their letter.
export function captionText(caption: string): HTMLSpanElement {
  // One span, so that the leading blanks of a caption are kept by the flex layout.
  const text = document.createElement('span');
  const at = caption.indexOf('&');
  if (at < 0 || at + 1 >= caption.length) {
    text.textContent = caption;
  } else {
    text.append(caption.slice(0, at));
    element('u', '', text, caption[at + 1]);
    text.append(caption.slice(at + 2));
  }
  return text;
}

export function setCaption(target: HTMLElement, caption: string): void {
  (target.querySelector('.caption') as HTMLElement).replaceChildren(captionText(caption));
}

// A panel that acts on a left click released inside it. It is a button to assistive technology,
// with a press action, but takes no focus, like the desktop's: it is never a Tab stop, and a
// click on it leaves the focus where it was.
export function panelButton(
  parent: HTMLElement,
  rect: Rect,
  name: string,
  caption: string,
  press: () => void,
  glyph?: string,
): HTMLElement {
  const button = panel(parent, rect, name, caption, glyph ? 'left' : 'center');
  setAttributes(button, { role: 'button', 'aria-label': caption.replace('&', '').trim() });
  outOfTabOrder(button);
  let pressed = false;
  button.addEventListener('mousedown', (event) => {
    event.preventDefault();
    // The second press of a double-click is no press, so its release is no click either.
    pressed = event.button === 0 && event.detail < 2;
  });
  button.addEventListener('mouseup', (event) => {
    if (event.button !== 0) return;
    const click = pressed;
    pressed = false;
    if (click) press();
  });
  button.addEventListener('mouseleave', () => (pressed = false));
  // Chromium's press action sends a press and a release as a mouse does; a click alone, with no
  // mouse behind it, is a press too.
  button.addEventListener('click', (event) => {
    if (event.detail === 0) press();
  });
  if (glyph) {
    const picture = element('img', 'glyph', button);
    Object.assign(picture, { src: assetUrl(`art/${glyph}.svg`), alt: '', draggable: false });
    // A click on the glyph does nothing: the picture takes it.
    for (const type of ['mousedown', 'mouseup', 'click'])
      picture.addEventListener(type, (event) => event.stopPropagation());
  }
  return button;
}

// Chromium names the action of a button that can take focus "press", of any other "click"; the
// focus the element could take is refused to the mouse and the Tab key never reaches it.
export function outOfTabOrder(button: HTMLElement): void {
  button.tabIndex = -1;
}
