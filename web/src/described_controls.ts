// SPDX-License-Identifier: GPL-3.0-or-later
// The page's elements for the windows' description (window_description.ts), made as the desktop
// makes its widgets (ui/described_controls.cpp).

import { assetUrl } from './assets';
import { captionText, panel, panelButton } from './controls';
import type { Action, ControlDescription, WindowDescription } from './window_description';
import { openWindow, placed, setAttributes, type PageWindow, type WindowOptions } from './windows';

// What pressing a control does, or nothing.
export type Handler = (control: ControlDescription) => (() => void) | null;
// Makes the kinds that need more than the description, or gives null for the others.
export type MakeSpecial = (control: ControlDescription, parent: HTMLElement) => HTMLElement | null;

// Numbered names (Button1, Label2) recur from window to window: but for the main window's, their
// ids put the window's name first.
function idOf(window: WindowDescription, control: ControlDescription, main: boolean): string {
  return !main && /\d$/.test(control.name) ? `${window.name}-${control.name}` : control.name;
}

function make(
  control: ControlDescription,
  parent: HTMLElement,
  id: string,
  press: (() => void) | null,
  indent: number,
): HTMLElement {
  const { rect, caption, accessibleName } = control;
  const pressed = press ?? ((): void => {});
  switch (control.kind) {
    case 'Panel': {
      const made = panel(parent, rect, id);
      // A panel that holds others, named as the desktop names it.
      if (accessibleName) setAttributes(made, { role: 'group', 'aria-label': accessibleName });
      return made;
    }
    case 'LoweredPanel':
      return withClasses(panel(parent, rect, id), 'lowered');
    case 'Heading':
      return withClasses(panel(parent, rect, id, caption), 'heading');
    case 'CommandButton':
      return panelButton(parent, rect, id, ' '.repeat(indent) + caption, pressed, control.glyph);
    case 'Key':
      return panelButton(parent, rect, id, caption, pressed);
    case 'Display': {
      const made = withClasses(panel(parent, rect, id, caption, 'right'), 'lowered', 'calculator');
      // Read as the desktop offers it: a name with the shown number as its value.
      setAttributes(made, { role: 'textbox', 'aria-readonly': 'true' });
      made.setAttribute('aria-label', accessibleName);
      return made;
    }
    case 'Label':
      return placed('div', 'label', parent, id, rect, caption);
    case 'Text':
      return placed('div', 'text', parent, id, rect, caption);
    case 'ReadOnlyBox': {
      const made = placed('input', 'box', parent, id, rect, undefined, accessibleName);
      made.readOnly = true;
      made.disabled = control.disabled;
      return made;
    }
    case 'Picture': {
      const made = placed('img', 'picture', parent, id, rect);
      Object.assign(made, { src: assetUrl(`art/${control.glyph}.svg`), alt: accessibleName });
      made.draggable = false;
      if (press) made.addEventListener('click', press);
      return made;
    }
    case 'PushButton': {
      const made = placed('button', 'push', parent, id, rect);
      made.replaceChildren(captionText(caption));
      made.addEventListener('click', pressed);
      return made;
    }
    case 'TextBox':
      return placed('input', 'box', parent, id, rect, undefined, accessibleName);
    case 'ProgramText': {
      const made = placed('textarea', 'editor-text', parent, id, rect, undefined, accessibleName);
      made.spellcheck = false;
      return made;
    }
    case 'SpeedBar':
    case 'OutputBasket':
    case 'MailboxDisplay':
      throw new Error(`${control.name} is made by its window`);
  }
}

function withClasses(made: HTMLElement, ...classes: string[]): HTMLElement {
  made.classList.add(...classes);
  return made;
}

// Makes the window's controls in its client area, each in its parent, in the description's order
// but for the Tab stops: the page's Tab order is its elements' order, so each stop, with the label
// just before it, follows the stop before it in the same parent. Gives the elements by name.
export function buildControls(
  client: HTMLElement,
  window: WindowDescription,
  main: boolean,
  indent: number,
  handler: Handler,
  makeSpecial: MakeSpecial = () => null,
): Record<string, HTMLElement> {
  const made: Record<string, HTMLElement> = {};
  const stops: ControlDescription[] = [];
  for (const control of window.controls) {
    const parent = control.parent ? made[control.parent] : client;
    made[control.name] =
      makeSpecial(control, parent) ??
      make(control, parent, idOf(window, control, main), handler(control), indent);
    if (control.tabPlace > 0) stops.push(control);
  }
  stops
    .sort((a, b) => a.tabPlace - b.tabPlace)
    .forEach((stop, i) => {
      const before = i > 0 ? made[stops[i - 1].name] : null;
      const moved = made[stop.name];
      if (
        !before ||
        before.parentElement !== moved.parentElement ||
        before.compareDocumentPosition(moved) & Node.DOCUMENT_POSITION_FOLLOWING
      )
        return;
      const previous = window.controls[window.controls.indexOf(stop) - 1];
      before.after(...(previous?.kind === 'Label' ? [made[previous.name], moved] : [moved]));
    });
  return made;
}

// A window other than the main one with its controls, which act as `actions` gives: by action
// name.
export function describedWindow(
  description: WindowDescription,
  options: WindowOptions,
  actions: Partial<Record<Action, () => void>>,
): { window: PageWindow; made: Record<string, HTMLElement> } {
  const { name, title, width, height } = description;
  const window = openWindow(name, title, width, height, options);
  const handler: Handler = (control) => actions[control.action] ?? null;
  return { window, made: buildControls(window.client, description, false, 0, handler) };
}
