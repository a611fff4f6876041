// SPDX-License-Identifier: GPL-3.0-or-later
// The machine's texts are single bytes. Typed text crosses as Latin-1, as into the desktop's
// widgets: a character without a Latin-1 code becomes "?".

export function toLatin1(text: string): string {
  return text.replace(/[^\x00-\xff]/g, '?');
}

// A file name for the core's own file system: its UTF-8 bytes, one character each.
export function utf8Bytes(text: string): string {
  return String.fromCharCode(...new TextEncoder().encode(text));
}

export function bytesOf(text: string): Uint8Array {
  return Uint8Array.from(text, (c) => c.charCodeAt(0));
}

// The bytes as a text of one character each; a long file in pieces, as the spread has its limits.
export function textOf(bytes: Uint8Array): string {
  let text = '';
  for (let at = 0; at < bytes.length; at += 0x8000)
    text += String.fromCharCode(...bytes.subarray(at, at + 0x8000));
  return text;
}

// Error messages mix program text (bytes) with file names (UTF-8): UTF-8 where it is valid.
export function messageText(message: string): string {
  try {
    return new TextDecoder('utf-8', { fatal: true }).decode(bytesOf(message));
  } catch {
    return message;
  }
}

// The store's lines as the core sends them: each after its length and a colon.
export function splitLines(text: string): string[] {
  const lines: string[] = [];
  for (let at = 0; at < text.length;) {
    const colon = text.indexOf(':', at);
    const length = Number(text.slice(at, colon));
    lines.push(text.substr(colon + 1, length));
    at = colon + 1 + length;
  }
  return lines;
}
