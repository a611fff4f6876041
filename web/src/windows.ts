// SPDX-License-Identifier: GPL-3.0-or-later
// Windows on the page: a frame with a title bar and a client area. A modal window leaves no other
// window usable (they turn inert) until it closes; a non-modal one disables nothing.

const desktop = (): HTMLElement => document.getElementById('desktop')!;
const modals: HTMLElement[] = [];
let topZ = 10;

export function element<K extends keyof HTMLElementTagNameMap>(
  tag: K, className: string, parent?: HTMLElement, text?: string,
): HTMLElementTagNameMap[K] {
  const made = document.createElement(tag);
  if (className) made.className = className;
  if (text !== undefined) made.textContent = text;
  parent?.appendChild(made);
  return made;
}

export function place(target: HTMLElement, left: number, top: number, width?: number, height?: number): void {
  target.style.left = `${left}px`;
  target.style.top = `${top}px`;
  if (width !== undefined) target.style.width = `${width}px`;
  if (height !== undefined) target.style.height = `${height}px`;
}

export interface PageWindow {
  frame: HTMLElement;
  client: HTMLElement;
  close(): void;
}

// A window whose client area is `width` by `height`, centred over the main window (or the page)
// and stepped `offset` title bars down and right.
export function openWindow(id: string, title: string, width: number, height: number,
  options: { modal: boolean; closeBox: boolean; onClose?: () => void; offset?: number }): PageWindow {
  const frame = element('div', 'window');
  if (id) frame.id = id;
  frame.setAttribute('role', 'dialog');
  frame.setAttribute('aria-label', title);
  const bar = element('div', 'title', frame, title);
  const client = element('div', 'client', frame);
  place(client, 0, 0, width, height);
  client.style.position = 'relative';
  frame.style.width = `${width + 2}px`;
  const owner = document.getElementById('Form1');
  const area = owner ? owner.getBoundingClientRect() : new DOMRect(0, 0, window.innerWidth, window.innerHeight);
  const step = 23 * (options.offset ?? 0);
  place(frame, Math.max(0, Math.round(area.left + (area.width - width) / 2) + step + window.scrollX),
    Math.max(0, Math.round(area.top + (area.height - height - 23) / 2) + step + window.scrollY));
  frame.style.zIndex = String(++topZ);
  let shade: HTMLElement | null = null;
  if (options.modal) {
    shade = element('div', 'modal-shade', desktop());
    shade.style.zIndex = String(topZ);
    frame.style.zIndex = String(++topZ);
  }
  desktop().appendChild(frame);
  const pageWindow: PageWindow = {
    frame, client,
    close() {
      if (!frame.isConnected) return;
      frame.remove();
      shade?.remove();
      const at = modals.indexOf(frame);
      if (at >= 0) modals.splice(at, 1);
      updateInert();
    },
  };
  if (options.closeBox) {
    const close = element('button', 'close', bar, '\u2715');
    close.tabIndex = -1;
    close.setAttribute('aria-label', 'Close');
    close.addEventListener('click', () => { pageWindow.close(); options.onClose?.(); });
  }
  frame.addEventListener('mousedown', () => {
    if (!options.modal && modals.length === 0) frame.style.zIndex = String(++topZ);
  });
  if (options.modal) modals.push(frame);
  updateInert();
  return pageWindow;
}

function updateInert(): void {
  const top = modals[modals.length - 1];
  for (const child of Array.from(desktop().children) as HTMLElement[]) {
    if (child.classList.contains('modal-shade')) continue;
    child.inert = top !== undefined && child !== top;
  }
}

export function modalOpen(): boolean {
  return modals.length > 0;
}
