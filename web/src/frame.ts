// SPDX-License-Identifier: GPL-3.0-or-later
// Displays drawn once per animation frame. A run at full pace changes the registers, the
// calculator and (through STA) the mailboxes on every step, far more often than a screen shows
// them; each display keeps its state exact at once and hands in a function that draws the latest
// of it, which runs once before the next frame is painted.

const pending = new Set<() => void>();

export function drawSoon(draw: () => void): void {
  if (pending.size === 0) requestAnimationFrame(drawPending);
  pending.add(draw);
}

function drawPending(): void {
  const draws = Array.from(pending);
  pending.clear();
  for (const draw of draws) draw();
}

// A display of the latest values it is given, drawn with the next frame.
export function drawnLatest<Values extends unknown[]>(
  draw: (...values: Values) => void,
): (...values: Values) => void {
  let latest: Values;
  const drawLatest = (): void => draw(...latest);
  return (...values) => {
    latest = values;
    drawSoon(drawLatest);
  };
}
