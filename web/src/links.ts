// SPDX-License-Identifier: GPL-3.0-or-later
// Links that carry a program in the address's fragment, which no browser sends to a server:
//   #program=  the program file's bytes, deflated (the browser's own CompressionStream) and set
//              in URL-safe base64 without padding: what Copy Link makes;
//   #lines=    the program's lines separated by line feeds, percent-encoded as JavaScript's
//              encodeURIComponent does: what a teacher's script can make by hand;
//   #example=  the name of a bundled example.
// The bytes are a program file's, loaded as Load loads a file.

import { bytesOf, toLatin1 } from './text';

export type LinkedProgram =
  | { kind: 'none' }
  | { kind: 'program'; bytes: Uint8Array }
  | { kind: 'example'; name: string }
  | { kind: 'error'; message: string };

// Far past any store the machine is built for (65,535 lines), and short of a browser's limits.
export const kMostProgramBytes = 8 * 1024 * 1024;
export const kMostLinkLength = 2_000_000; // Chromium's limit for an address is 2 MB

const kDamaged = 'This link is damaged: its program cannot be read. Nothing was loaded.';
const kTooLong = 'This link\u2019s program is too long to load. Nothing was loaded.';

export async function programLink(bytes: Uint8Array): Promise<string> {
  return `program=${toBase64Url((await transform(bytes, new CompressionStream('deflate-raw')))!)}`;
}

// The program a fragment (without its "#") carries.
export async function readLink(fragment: string): Promise<LinkedProgram> {
  const equals = fragment.indexOf('=');
  const key = fragment.slice(0, equals);
  const value = fragment.slice(equals + 1);
  if (equals < 0 || !['program', 'lines', 'example'].includes(key)) return { kind: 'none' };
  if (fragment.length > kMostLinkLength) return { kind: 'error', message: kTooLong };
  if (key === 'example') return { kind: 'example', name: safeDecode(value) ?? value };
  if (key === 'lines') {
    const text = safeDecode(value);
    if (text === null) return { kind: 'error', message: kDamaged };
    if (text.length > kMostProgramBytes) return { kind: 'error', message: kTooLong };
    // A character with no single-byte code becomes "?", as when it is typed.
    return { kind: 'program', bytes: bytesOf(toLatin1(text)) };
  }
  const deflated = fromBase64Url(value);
  if (deflated === null) return { kind: 'error', message: kDamaged };
  try {
    const bytes = await transform(deflated, new DecompressionStream('deflate-raw'), kMostProgramBytes);
    return bytes === null ? { kind: 'error', message: kTooLong } : { kind: 'program', bytes };
  } catch {
    return { kind: 'error', message: kDamaged };
  }
}

function safeDecode(text: string): string | null {
  try {
    return decodeURIComponent(text);
  } catch {
    return null;
  }
}

// The bytes through a compression stream; null once the output passes `most` bytes.
async function transform(bytes: Uint8Array, stream: CompressionStream | DecompressionStream,
  most = Infinity): Promise<Uint8Array | null> {
  const writer = stream.writable.getWriter();
  writer.write(bytes).catch(() => {});
  writer.close().catch(() => {});
  const parts: Uint8Array[] = [];
  let length = 0;
  const reader = stream.readable.getReader();
  for (let part = await reader.read(); !part.done; part = await reader.read()) {
    length += part.value.length;
    if (length > most) {
      await reader.cancel();
      return null;
    }
    parts.push(part.value);
  }
  const whole = new Uint8Array(length);
  let at = 0;
  for (const part of parts) {
    whole.set(part, at);
    at += part.length;
  }
  return whole;
}

function toBase64Url(bytes: Uint8Array): string {
  let binary = '';
  for (let at = 0; at < bytes.length; at += 0x8000) binary += String.fromCharCode(...bytes.subarray(at, at + 0x8000));
  return btoa(binary).replace(/\+/g, '-').replace(/\//g, '_').replace(/=+$/, '');
}

function fromBase64Url(text: string): Uint8Array | null {
  if (!/^[A-Za-z0-9_-]*$/.test(text) || text.length % 4 === 1) return null;
  const binary = atob(text.replace(/-/g, '+').replace(/_/g, '/'));
  return Uint8Array.from(binary, (c) => c.charCodeAt(0));
}
