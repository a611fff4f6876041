// SPDX-License-Identifier: GPL-3.0-or-later
// The input prompt, the notice and the error report. The page cannot wait inside a call: each
// box calls back when it closes, and the command that asked goes on from there (web/README.md).

import { messageText } from './text';
import { element, openWindow, place } from './windows';

export const kApplicationTitle = 'Tobric Computer for Windows';
const kNoticeCaption = 'Compiler Message';
const kTypingLimit = 255;

// a × b ÷ c rounded to the nearest integer, halves away from zero.
function mulDivRound(a: number, b: number, c: number): number {
  const q = (a * b) / c;
  return Math.sign(q) * Math.round(Math.abs(q));
}

function averageCharSize(): { x: number; y: number } {
  const probe = element('span', '', document.body, 'ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz');
  probe.style.cssText = 'position:absolute;visibility:hidden;white-space:pre;line-height:13px';
  const box = probe.getBoundingClientRect();
  probe.remove();
  return { x: Math.floor(box.width / 52), y: Math.round(box.height) };
}

export function pushButton(parent: HTMLElement, caption: string, left: number, top: number, width: number,
  height: number): HTMLButtonElement {
  const button = element('button', 'push', parent, caption);
  place(button, left, top, width, height);
  return button;
}

// InputPrompt: the edited text on OK (Enter), the default on Cancel, Esc or the close box.
export function inputPrompt(caption: string, prompt: string, defaultText: string,
  answered: (answer: string) => void): void {
  const { x, y } = averageCharSize();
  const width = mulDivRound(180, x, 4);
  let done = false;
  const finish = (answer: string): void => {
    if (done) return;
    done = true;
    box.close();
    answered(answer);
  };
  const box = openWindow('', caption, width, 100, { modal: true, closeBox: true, onClose: () => finish(defaultText) });
  box.frame.classList.add('prompt');
  const label = element('div', 'dialog-text', box.client, prompt);
  place(label, mulDivRound(8, x, 4), mulDivRound(8, y, 8));
  label.style.maxWidth = `${mulDivRound(164, x, 4)}px`;
  const labelHeight = label.getBoundingClientRect().height;
  const edit = element('input', 'box', box.client);
  edit.value = defaultText;
  edit.maxLength = Math.max(kTypingLimit, defaultText.length);
  edit.addEventListener('input', () => { edit.maxLength = Math.max(kTypingLimit, edit.value.length); });
  edit.setAttribute('aria-label', prompt);
  const editTop = mulDivRound(8, y, 8) + labelHeight + 5;
  place(edit, mulDivRound(8, x, 4), editTop, mulDivRound(164, x, 4));
  const buttonTop = editTop + 21 + 15;
  const buttonWidth = mulDivRound(50, x, 4);
  const buttonHeight = mulDivRound(14, y, 8);
  const ok = pushButton(box.client, 'OK', mulDivRound(38, x, 4), buttonTop, buttonWidth, buttonHeight);
  ok.classList.add('default');
  const cancel = pushButton(box.client, 'Cancel', mulDivRound(92, x, 4), buttonTop, buttonWidth, buttonHeight);
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

// A box with a message and one OK button; `icon` leaves room for the stop sign on its left.
function messageBox(title: string, text: string, modal: boolean, icon: boolean, offset: number,
  closed: () => void): HTMLElement {
  const measure = element('div', 'dialog-text', document.body, text);
  measure.style.cssText += ';visibility:hidden;max-width:400px';
  const size = measure.getBoundingClientRect();
  measure.remove();
  const textLeft = icon ? 64 : 16;
  const width = Math.max(180, Math.ceil(size.width) + textLeft + 16);
  const buttonTop = Math.max(icon ? 52 : 0, Math.ceil(size.height) + 32);
  let done = false;
  const finish = (): void => {
    if (done) return;
    done = true;
    box.close();
    closed();
  };
  const box = openWindow('', title, width, buttonTop + 40, { modal, closeBox: true, onClose: finish, offset });
  if (icon) place(element('div', 'stop-icon', box.client, '\u2715'), 16, 16);
  const body = element('div', 'dialog-text', box.client, text);
  body.setAttribute('role', 'alert');
  place(body, textLeft, 16);
  body.style.maxWidth = '400px';
  const ok = pushButton(box.client, 'OK', width - 91, buttonTop, 75, 23);
  ok.classList.add('default');
  ok.addEventListener('click', finish);
  box.frame.addEventListener('keydown', (event) => {
    if (event.key !== 'Escape' && event.key !== 'Enter') return;
    event.preventDefault();
    finish();
  });
  ok.focus();
  return box.frame;
}

// ShowNotice: non-modal; several may be open, each a title bar's height from the last free place.
const noticePlaces = new Set<number>();
export function showNotice(text: string): void {
  let placeIndex = 0;
  while (noticePlaces.has(placeIndex)) ++placeIndex;
  noticePlaces.add(placeIndex);
  const frame = messageBox(kNoticeCaption, text, false, false, placeIndex, () => noticePlaces.delete(placeIndex));
  frame.classList.add('notice');
}

// ReportError: modal, captioned with the application title; the text has had its period rule.
export function reportError(report: string | null): void {
  if (report === null) return;
  const focus = document.activeElement as HTMLElement | null;
  const frame = messageBox(kApplicationTitle, messageText(report), true, true, 0, () => focus?.focus());
  frame.classList.add('error-report');
}
