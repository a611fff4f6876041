// SPDX-License-Identifier: GPL-3.0-or-later
// The speed bar: a horizontal scroll bar over its range, arrows by the single step, the track by
// the page step. Left and up lower the position (a faster run), right and down raise it, Page Up
// and Page Down by the page step, Home and End to the ends. Only a change of position is reported.

import type { ControlDescription, SpeedBarRange } from './window_description';
import { element, followMouse, place, placed, setAttributes } from './windows';

// The desktop style's arrow buttons (13 px and the line that parts them from the groove) and the
// shortest handle it draws, which this bar's page step gives.
const kArrow = 14;
const kThumb = 28;

export function speedBar(
  parent: HTMLElement,
  { name, rect, accessibleName }: ControlDescription,
  range: SpeedBarRange,
  changed: (position: number) => void,
): HTMLElement {
  const { minimum: kMin, maximum: kMax, singleStep: kSingle, pageStep: kPage } = range;
  const width = rect[2];
  const bar = placed('div', 'speedbar', parent, name, rect, undefined, accessibleName);
  setAttributes(bar, { tabindex: '0', role: 'scrollbar', 'aria-orientation': 'horizontal' });
  setAttributes(bar, { 'aria-valuemin': String(kMin), 'aria-valuemax': String(kMax) });
  place(element('div', 'arrow less', bar), 0, 0); // the arrows are drawn by the style sheet
  place(element('div', 'arrow more', bar), width - kArrow, 0);
  const thumb = element('div', 'thumb', bar);
  const track = width - 2 * kArrow - kThumb;
  let position = range.start;

  const show = (): void => {
    place(thumb, kArrow + Math.round(((position - kMin) * track) / (kMax - kMin)), 0, kThumb);
    bar.setAttribute('aria-valuenow', String(position));
  };
  const moveTo = (to: number): void => {
    const next = Math.min(kMax, Math.max(kMin, Math.round(to)));
    if (next === position) return;
    position = next;
    show();
    changed(position);
  };
  show();

  bar.addEventListener('mousedown', (event) => {
    if (event.button !== 0) return;
    event.preventDefault();
    bar.focus();
    const x = event.clientX - bar.getBoundingClientRect().left;
    const thumbLeft = thumb.offsetLeft;
    if (x < kArrow) moveTo(position - kSingle);
    else if (x >= width - kArrow) moveTo(position + kSingle);
    else if (x < thumbLeft) moveTo(position - kPage);
    else if (x >= thumbLeft + kThumb) moveTo(position + kPage);
    else {
      const grab = x - thumbLeft;
      followMouse((move) => {
        const at = move.clientX - bar.getBoundingClientRect().left - grab - kArrow;
        moveTo(kMin + (at * (kMax - kMin)) / track);
      });
    }
  });
  bar.addEventListener('keydown', (event) => {
    const moves: Record<string, number> = {
      ArrowLeft: position - kSingle,
      ArrowUp: position - kSingle,
      ArrowRight: position + kSingle,
      ArrowDown: position + kSingle,
      PageUp: position - kPage,
      PageDown: position + kPage,
      Home: kMin,
      End: kMax,
    };
    if (!(event.key in moves)) return;
    event.preventDefault();
    moveTo(moves[event.key]);
  });
  return bar;
}
