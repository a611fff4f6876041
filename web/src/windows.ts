// SPDX-License-Identifier: GPL-3.0-or-later
// Windows on the page: a frame with a title bar and a client area. A modal window leaves no other
// window usable (they turn inert) until it closes; a non-modal one disables nothing. While a
// window is unusable, the keyboard stays where it was: in the modal box on top, or in the window
// that disabled another (the editor over the main window).

import type { Rect } from './controls';

const desktop = (): HTMLElement => document.getElementById('desktop')!;
const modals: PageWindow[] = [];
let topZ = 10;

export function element<K extends keyof HTMLElementTagNameMap>(
  tag: K,
  className: string,
  parent?: HTMLElement,
  text?: string,
): HTMLElementTagNameMap[K] {
  const made = document.createElement(tag);
  if (className) made.className = className;
  if (text !== undefined) made.textContent = text;
  parent?.appendChild(made);
  return made;
}

export function setAttributes(target: Element, attributes: Record<string, string>): void {
  for (const [name, value] of Object.entries(attributes)) target.setAttribute(name, value);
}

// Sets the element's left and top, and its width and height where they are given, in pixels.
export function place(target: HTMLElement, ...box: number[]): void {
  box.forEach((n, i) => target.style.setProperty(['left', 'top', 'width', 'height'][i], `${n}px`));
}

// An element of the kind's class at its place; a rectangle without a size leaves it its own.
export function placed<K extends keyof HTMLElementTagNameMap>(
  tag: K,
  kind: string,
  parent: HTMLElement,
  id: string,
  rect: Rect,
  text?: string,
  accessibleName = '',
): HTMLElementTagNameMap[K] {
  const made = element(tag, kind, parent, text);
  made.id = id;
  place(made, ...(rect[2] ? rect : rect.slice(0, 2)));
  if (accessibleName) made.setAttribute('aria-label', accessibleName);
  return made;
}

export interface PageWindow {
  frame: HTMLElement;
  client: HTMLElement;
  close(): void;
  show(): void; // visible and in front of the windows of its layer
  hide(): void; // keeps its place and contents for the next showing
  raise(): void;
}

export interface WindowOptions {
  modal?: boolean;
  onClose?: () => void; // the close box's; frameless windows have none
  offset?: number;
  hidden?: boolean; // created hidden, placed when first shown; its close box only calls onClose
  frameless?: boolean; // no border and no title bar
  topmost?: boolean; // above every ordinary window
  centreOn?: 'owner' | 'screen'; // the main window's outer frame (the default), or the page
  role?: 'dialog' | 'alertdialog'; // an error report is an alert
}

// Stacking bands: ordinary windows, then the ones kept on top, then the modal boxes.
const kTopmostBand = 1_000_000;
const kModalBand = 2_000_000;
// Each disabled window with the window it was disabled for, which holds the keyboard meanwhile.
const disabled = new Map<HTMLElement, PageWindow>();
const lastFocus = new WeakMap<HTMLElement, HTMLElement>();
const kFocusable = 'input, button, textarea, select, [tabindex]';

// A window whose client area is `width` by `height`, its outer frame centred over the main window
// (or the page), halves rounded toward zero and never above or left of the page, and stepped
// `offset` title bars down and right.
export function openWindow(
  id: string,
  title: string,
  width: number,
  height: number,
  options: WindowOptions,
): PageWindow {
  const frame = element('div', options.frameless ? 'window frameless' : 'window');
  if (id) frame.id = id;
  setAttributes(frame, { role: options.role ?? 'dialog', 'aria-label': title });
  if (options.modal) frame.setAttribute('aria-modal', 'true');
  frame.addEventListener('focusin', (event) => lastFocus.set(frame, event.target as HTMLElement));
  const bar = options.frameless ? null : element('div', 'title', frame, title);
  const client = element('div', 'client', frame);
  place(client, 0, 0, width, height);
  client.style.position = 'relative';
  frame.style.width = `${width + (options.frameless ? 0 : 2)}px`;
  const band = options.modal ? kModalBand : options.topmost ? kTopmostBand : 0;
  let centred = false;
  const centre = (): void => {
    centred = true;
    // The screen is what the page shows of the desktop, below the page bar where there is one.
    const origin = desktop().getBoundingClientRect();
    const top = Math.max(0, origin.top);
    const owner = options.centreOn === 'screen' ? null : document.getElementById('Form1');
    const area =
      owner && owner !== frame
        ? owner.getBoundingClientRect()
        : new DOMRect(0, top, window.innerWidth, window.innerHeight - top);
    const step = 23 * (options.offset ?? 0);
    const middle = (start: number, size: number, outer: number, from: number): number =>
      Math.max(0, Math.trunc(start + (size - outer) / 2) + step - from);
    place(
      frame,
      middle(area.left, area.width, frame.offsetWidth, origin.left),
      middle(area.top, area.height, frame.offsetHeight, origin.top),
    );
  };
  const raise = (): void => {
    frame.style.zIndex = String(band + ++topZ);
  };
  const shade = options.modal ? element('div', 'modal-shade', desktop()) : null;
  if (shade) shade.style.zIndex = String(band + ++topZ);
  raise();
  frame.hidden = options.hidden ?? false;
  desktop().appendChild(frame);
  if (!frame.hidden) centre();
  const pageWindow: PageWindow = {
    frame,
    client,
    raise,
    close() {
      if (!frame.isConnected) return;
      frame.remove();
      shade?.remove();
      const at = modals.indexOf(pageWindow);
      if (at >= 0) modals.splice(at, 1);
      updateInert();
    },
    show() {
      frame.hidden = false;
      if (!centred) centre();
      raise();
    },
    hide() {
      frame.hidden = true;
    },
  };
  if (bar) {
    const close = element('button', 'close', bar, '\u2715');
    setAttributes(close, { tabindex: '-1', 'aria-label': 'Close' });
    close.addEventListener('click', () => {
      if (!options.hidden) pageWindow.close();
      options.onClose?.();
    });
    dragByTitle(frame, bar);
  }
  frame.addEventListener('mousedown', () => {
    if (!options.modal && modals.length === 0) raise();
  });
  if (options.modal) {
    modals.push(pageWindow);
    frame.addEventListener('keydown', (event) => {
      if (event.key === 'Tab') tabAround(frame, event);
    });
  }
  updateInert();
  return pageWindow;
}

// The user moves a window by its title bar, as on the desktop; it then stays where it was left.
function dragByTitle(frame: HTMLElement, bar: HTMLElement): void {
  bar.addEventListener('mousedown', (event) => {
    if (event.button !== 0 || event.target !== bar) return;
    event.preventDefault();
    const dx = event.pageX - frame.offsetLeft;
    const dy = event.pageY - frame.offsetTop;
    followMouse((move) => place(frame, Math.max(0, move.pageX - dx), Math.max(0, move.pageY - dy)));
  });
}

// Hands each move of the mouse to `drag` until its button is released.
export function followMouse(drag: (move: MouseEvent) => void): void {
  const drop = (): void => {
    window.removeEventListener('mousemove', drag);
    window.removeEventListener('mouseup', drop);
  };
  window.addEventListener('mousemove', drag);
  window.addEventListener('mouseup', drop);
}

// A disabled window takes no mouse or keyboard input until it is enabled again; `holder`, the
// window it is disabled for, keeps the keyboard meanwhile.
export function disableWindow(frame: HTMLElement, holder: PageWindow): void {
  disabled.set(frame, holder);
  updateInert();
}

export function enableWindow(frame: HTMLElement): void {
  disabled.delete(frame);
  updateInert();
}

function updateInert(): void {
  const top = modals[modals.length - 1]?.frame;
  for (const child of Array.from(desktop().children) as HTMLElement[]) {
    if (child.classList.contains('modal-shade')) continue;
    child.inert = disabled.has(child) || (top !== undefined && child !== top);
  }
  // The page around the window acts on the machine as the window's own commands do: not while
  // a box or the editor holds the keyboard.
  for (const part of Array.from(document.querySelectorAll<HTMLElement>('.page-part')))
    part.inert = keyboardHolder() !== undefined;
}

function keyboardHolder(): PageWindow | undefined {
  return modals[modals.length - 1] ?? [...disabled.values()].find((holder) => !holder.frame.hidden);
}

// As on the desktop, a press on what takes no focus (a label, a box's bare client area) leaves the
// focus where it was; and a press on a window that takes no input, or beside every window, leaves
// the keyboard in the window that holds it, which comes to the front.
function keepKeyboard(event: MouseEvent): void {
  const target = event.target as Element;
  if (target.closest?.('dialog[open]')) return; // the page's own dialog (Checks) holds it
  const inWindow = target.closest?.('.window') as HTMLElement | null;
  if (inWindow && !inWindow.inert) {
    if (!target.closest(kFocusable)) event.preventDefault();
    return;
  }
  const holder = keyboardHolder();
  if (!holder) return;
  event.preventDefault();
  holder.raise();
  if (!holder.frame.contains(document.activeElement)) lastFocus.get(holder.frame)?.focus();
}
document.addEventListener('mousedown', keepKeyboard, true);

// Tab and Shift+Tab go round a modal box's controls and wrap around, as in a desktop dialog.
function tabAround(frame: HTMLElement, event: KeyboardEvent): void {
  const stops = Array.from(frame.querySelectorAll<HTMLElement>(kFocusable)).filter(
    (stop) => stop.tabIndex >= 0 && !(stop as HTMLButtonElement).disabled,
  );
  const at = stops.indexOf(document.activeElement as HTMLElement);
  const next = stops[(at + (event.shiftKey ? -1 : 1) + stops.length) % stops.length];
  event.preventDefault();
  next?.focus();
}

export function modalOpen(): boolean {
  return modals.length > 0;
}
