// SPDX-License-Identifier: GPL-3.0-or-later
// Links that carry a program in the address's fragment, which no browser sends to a server:
//   #program=  the program file's bytes, deflated (the browser's own CompressionStream) and set
//              in URL-safe base64 without padding: what Copy Link makes;
//   #lines=    the program's lines separated by line feeds, percent-encoded as JavaScript's
//              encodeURIComponent does: what a teacher's script can make by hand;
//   #example=  the name of a bundled example;
//   #cases=    a cases file's bytes for the Checks window, deflated and set as #program= is.
// A fragment may hold several of them separated by "&" (#example=echo&cases=...); the first of
// program, lines and example is the program. Its bytes are a program file's, loaded as Load
// loads a file.

import { bytesOf, textOf, toLatin1 } from './text';

export interface LinkContents {
  program: LinkedProgram;
  cases: Uint8Array | null;
}

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
const kCasesDamaged = 'This link is damaged: its checks cannot be read. Nothing was loaded.';

// The link's fragment for a program, and the cases file the Checks window holds, if any.
export async function programLink(
  bytes: Uint8Array,
  cases: Uint8Array | null = null,
): Promise<string> {
  const link = `program=${await deflated(bytes)}`;
  return cases ? `${link}&cases=${await deflated(cases)}` : link;
}

// What a fragment (without its "#") carries: its program, and a cases file.
export async function readLink(fragment: string): Promise<LinkContents> {
  const parameters = new Map<string, string>();
  for (const part of fragment.split('&')) {
    const equals = part.indexOf('=');
    const key = part.slice(0, equals);
    if (equals >= 0 && !parameters.has(key)) parameters.set(key, part.slice(equals + 1));
  }
  const programKey = [...parameters.keys()].find((key) =>
    ['program', 'lines', 'example'].includes(key),
  );
  const casesValue = parameters.get('cases');
  if (!programKey && casesValue === undefined) return { program: { kind: 'none' }, cases: null };
  if (fragment.length > kMostLinkLength)
    return { program: { kind: 'error', message: kTooLong }, cases: null };
  const program: LinkedProgram = programKey
    ? await readProgram(programKey, parameters.get(programKey)!)
    : { kind: 'none' };
  if (casesValue === undefined || program.kind === 'error') return { program, cases: null };
  const cases = await inflated(casesValue);
  if (typeof cases !== 'string') return { program, cases };
  const message = cases === kTooLong ? kTooLong : kCasesDamaged;
  return { program: { kind: 'error', message }, cases: null };
}

async function readProgram(key: string, value: string): Promise<LinkedProgram> {
  if (key === 'example') return { kind: 'example', name: safeDecode(value) ?? value };
  if (key === 'lines') {
    const text = safeDecode(value);
    if (text === null) return { kind: 'error', message: kDamaged };
    if (text.length > kMostProgramBytes) return { kind: 'error', message: kTooLong };
    // A character with no single-byte code becomes "?", as when it is typed.
    return { kind: 'program', bytes: bytesOf(toLatin1(text)) };
  }
  const bytes = await inflated(value);
  return typeof bytes === 'string' ? { kind: 'error', message: bytes } : { kind: 'program', bytes };
}

async function deflated(bytes: Uint8Array): Promise<string> {
  return toBase64Url((await transform(bytes, new CompressionStream('deflate-raw')))!);
}

// The bytes a #program= value carries, or why it cannot be read.
async function inflated(value: string): Promise<Uint8Array | string> {
  const compressed = fromBase64Url(value);
  if (compressed === null) return kDamaged;
  try {
    const stream = new DecompressionStream('deflate-raw');
    return (await transform(compressed, stream, kMostProgramBytes)) ?? kTooLong;
  } catch {
    return kDamaged;
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
async function transform(
  bytes: Uint8Array,
  stream: CompressionStream | DecompressionStream,
  most = Infinity,
): Promise<Uint8Array | null> {
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
  return new Uint8Array(await new Blob(parts).arrayBuffer());
}

function toBase64Url(bytes: Uint8Array): string {
  return btoa(textOf(bytes)).replace(/\+/g, '-').replace(/\//g, '_').replace(/=+$/, '');
}

function fromBase64Url(text: string): Uint8Array | null {
  if (!/^[A-Za-z0-9_-]*$/.test(text) || text.length % 4 === 1) return null;
  return bytesOf(atob(text.replace(/-/g, '+').replace(/_/g, '/')));
}
