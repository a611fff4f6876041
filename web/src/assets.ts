// SPDX-License-Identifier: GPL-3.0-or-later
// Where the page finds a file of its own (the core, a picture). The folder fetches it beside the
// page; the single file (single_file.mjs) carries every such file as a data: address in a table
// it writes before the page's script, since a page opened from a disk may fetch nothing.

const embedded = (globalThis as { tobricFiles?: Record<string, string> }).tobricFiles;

export function assetUrl(path: string): string {
  if (!embedded) return new URL(path, document.baseURI).href;
  const url = embedded[path];
  // Loud, so that a file the builder left out is found at once rather than missing quietly.
  if (url === undefined) throw new Error(`${path} is not in the page`);
  return url;
}
