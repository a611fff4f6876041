// SPDX-License-Identifier: GPL-3.0-or-later
// The input prompt, the notice and the error report. The page cannot wait inside a call: each
// box calls back when it closes, and the command that asked goes on from there (web/README.md).

import type { Rect } from './controls';
import { messageText } from './text';
import { windows } from './window_description';
import { element, openWindow, place } from './windows';

const kTypingLimit = 255;
const kEditHeight = 22; // the desktop line edit's own height, one more than the main window's

// a × b ÷ c rounded to the nearest integer, halves away from zero.
function mulDivRound(a: number, b: number, c: number): number {
  const q = (a * b) / c;
  return Math.sign(q) * Math.round(Math.abs(q));
}

// The desktop's average character: the alphabet's advance over 52, rounded down, and the font's
// height, its ascent and descent without the gap between lines.
function averageCharSize(): { x: number; y: number } {
  const metrics = windowFontContext().measureText(
    'ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz',
  );
  // A browser without the font's box on a canvas (Firefox before 116) takes the face's own 12 px.
  const height = metrics.fontBoundingBoxAscent + metrics.fontBoundingBoxDescent;
  return {
    x: Math.floor(metrics.width / 52),
    y: Number.isFinite(height) ? Math.round(height) : 12,
  };
}

// A canvas set in the window face, named as the style sheet names it: a computed `font` shorthand
// is empty in some browsers.
function windowFontContext(): CanvasRenderingContext2D {
  const context = document.createElement('canvas').getContext('2d')!;
  context.font = getComputedStyle(document.documentElement)
    .getPropertyValue('--window-font')
    .trim();
  return context;
}

function pushButton(parent: HTMLElement, caption: string, ...rect: Rect): HTMLButtonElement {
  const button = element('button', 'push', parent, caption);
  place(button, ...rect);
  return button;
}

// InputPrompt: the edited text on OK (Enter), the default on Cancel, Esc or the close box.
export function inputPrompt(
  caption: string,
  prompt: string,
  defaultText: string,
  answered: (answer: string) => void,
): void {
  const { x, y } = averageCharSize();
  const width = mulDivRound(180, x, 4);
  const finish = (answer: string): void => {
    if (!box.frame.isConnected) return;
    box.close();
    answered(answer);
  };
  const box = openWindow('', caption, width, 100, {
    modal: true,
    onClose: () => finish(defaultText),
  });
  box.frame.classList.add('prompt');
  const label = element('div', 'dialog-text', box.client, prompt);
  place(label, mulDivRound(8, x, 4), mulDivRound(8, y, 8));
  label.style.maxWidth = `${mulDivRound(164, x, 4)}px`;
  const labelHeight = label.getBoundingClientRect().height;
  const edit = element('input', 'box', box.client);
  edit.value = defaultText;
  edit.maxLength = Math.max(kTypingLimit, defaultText.length);
  edit.addEventListener('input', () => {
    edit.maxLength = Math.max(kTypingLimit, edit.value.length);
  });
  edit.setAttribute('aria-label', prompt);
  const editTop = mulDivRound(8, y, 8) + labelHeight + 5;
  place(edit, mulDivRound(8, x, 4), editTop, mulDivRound(164, x, 4), kEditHeight);
  const buttonTop = editTop + kEditHeight + 15;
  const buttonWidth = mulDivRound(50, x, 4);
  const buttonHeight = mulDivRound(14, y, 8);
  // OK and Cancel side by side, in dialog units from the left.
  const button = (caption: string, left: number): HTMLButtonElement =>
    pushButton(box.client, caption, mulDivRound(left, x, 4), buttonTop, buttonWidth, buttonHeight);
  const [ok, cancel] = [button(windows().okCaption, 38), button(windows().cancelCaption, 92)];
  ok.classList.add('default');
  box.client.style.height = `${buttonTop + buttonHeight + 13}px`;
  ok.addEventListener('click', () => finish(edit.value));
  cancel.addEventListener('click', () => finish(defaultText));
  box.frame.addEventListener('keydown', (event) => {
    if (event.key === 'Escape') finish(defaultText);
    else if (event.key === 'Enter' && document.activeElement !== cancel) finish(edit.value);
    else return;
    event.preventDefault();
  });
  edit.focus();
  edit.select();
}

let messageCount = 0;

// Laid out as the desktop's message box: 11 px margins and 6 px spacing; the text after a 15 px
// indent, or after the 32 px stop sign and 7 px; the 80 x 24 OK button below at the right. The
// box is as wide as the text unwrapped, or its title plus 50. Wider than the soft limit (half the
// screen, at most 500 px), the text wraps at that width or its longest word's; beyond the hard
// limit (the screen up to 1024 px, else 480 px less, at most 1000) it wraps anywhere. An error
// report (`icon`) is modal and shows the stop sign; a notice is neither.
function messageBox(
  title: string,
  text: string,
  icon: boolean,
  offset: number,
  closed: () => void,
): void {
  const textLeft = icon ? 62 : 32;
  const softLimit = Math.min(Math.trunc(screen.availWidth / 2), 500);
  const hardLimit =
    screen.availWidth <= 1024 ? screen.availWidth : Math.min(screen.availWidth - 480, 1000);
  const measure = element('div', 'dialog-text', document.body, text);
  measure.style.cssText = 'visibility:hidden;white-space:pre';
  const textWidth = Math.ceil(measure.getBoundingClientRect().width);
  measure.style.whiteSpace = '';
  measure.style.width = 'min-content';
  const longestWord = Math.ceil(measure.getBoundingClientRect().width);
  const titleWidth = Math.min(
    Math.round(windowFontContext().measureText(title).width) + 50,
    hardLimit,
  );
  let width = Math.max(textLeft + textWidth + 11, 80 + 22);
  if (width > softLimit)
    width = Math.min(Math.max(softLimit, textLeft + longestWord + 11), hardLimit);
  width = Math.max(width, titleWidth); // the title widens the box after the limits, as on the desktop
  if (textLeft + longestWord + 11 > width) measure.style.overflowWrap = 'anywhere';
  measure.style.width = `${width - textLeft - 11}px`;
  const textHeight = measure.getBoundingClientRect().height;
  measure.remove();
  const buttonTop = 11 + Math.max(textHeight + 6, icon ? 32 : 1) + 6;
  const finish = (): void => {
    if (!box.frame.isConnected) return;
    box.close();
    closed();
  };
  // A report of a failure is an alert dialog, described by its text; a notice's text is the alert.
  const box = openWindow('', title, width, buttonTop + 24 + 11, {
    modal: icon,
    onClose: finish,
    offset,
    role: icon ? 'alertdialog' : 'dialog',
  });
  box.frame.classList.add(icon ? 'error-report' : 'notice');
  if (icon) place(element('div', 'stop-icon', box.client), 11, 11);
  const body = element('div', 'dialog-text', box.client, text);
  body.id = `message-${++messageCount}`;
  if (icon) box.frame.setAttribute('aria-describedby', body.id);
  else body.setAttribute('role', 'alert');
  place(body, textLeft, 11, width - textLeft - 11);
  body.style.overflowWrap = measure.style.overflowWrap;
  const ok = pushButton(box.client, windows().okCaption, width - 11 - 80, buttonTop, 80, 24);
  ok.classList.add('default', 'return');
  ok.addEventListener('click', finish);
  box.frame.addEventListener('keydown', (event) => {
    if (event.key !== 'Escape' && event.key !== 'Enter') return;
    event.preventDefault();
    finish();
  });
  ok.focus();
}

// ShowNotice: non-modal; several may be open, each a title bar's height from the last free place.
const noticePlaces = new Set<number>();
export function showNotice(text: string): void {
  let placeIndex = 0;
  while (noticePlaces.has(placeIndex)) ++placeIndex;
  noticePlaces.add(placeIndex);
  messageBox(windows().noticeCaption, text, false, placeIndex, () =>
    noticePlaces.delete(placeIndex),
  );
}

// ReportError: modal, captioned with the application title; the text has had its period rule.
export function reportError(report: string | null): void {
  if (report === null) return;
  const focus = document.activeElement as HTMLElement | null;
  messageBox(windows().main.title, messageText(report), true, 0, () => focus?.focus());
}
