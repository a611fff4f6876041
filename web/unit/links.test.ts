// SPDX-License-Identifier: GPL-3.0-or-later
// Links that carry a program: what a fragment's parameters give, and the bytes a link made by
// Copy Link gives back, at the edges the browser's own tests do not reach.
import { deepEqual } from 'node:assert/strict';
import { test } from 'node:test';
import { kMostLinkLength, kMostProgramBytes, programLink, readLink } from '../src/links';
import { splitLines, toLatin1 } from '../src/text';

const kDamaged = 'This link is damaged: its program cannot be read. Nothing was loaded.';
const kTooLong = 'This link\u2019s program is too long to load. Nothing was loaded.';
const kCasesDamaged = 'This link is damaged: its checks cannot be read. Nothing was loaded.';

const bytes = (text: string): Uint8Array => Uint8Array.from(text, (c) => c.charCodeAt(0));
const loaded = (text: string) => ({
  program: { kind: 'program', bytes: bytes(text) },
  cases: null,
});
const error = (message: string) => ({ program: { kind: 'error', message }, cases: null });

// Bytes that deflate poorly, so that their base64 passes the 32 KiB its encoder takes at a time.
function noise(length: number): Uint8Array {
  let seed = 1;
  return Uint8Array.from(
    { length },
    () => (seed = (Math.imul(seed, 1103515245) + 12345) >>> 0) >>> 24,
  );
}

const kRoundTrips: { name: string; program: Uint8Array; cases: Uint8Array | null }[] = [
  { name: 'an empty program', program: new Uint8Array(), cases: null },
  { name: 'every byte', program: Uint8Array.from({ length: 256 }, (_, b) => b), cases: null },
  { name: '100 KB of noise, with cases', program: noise(100_000), cases: noise(50_000) },
  { name: 'a program with empty cases', program: bytes('IN\r\nOUT\r\n'), cases: new Uint8Array() },
];

for (const { name, program, cases } of kRoundTrips) {
  test(`a link keeps its bytes: ${name}`, async () => {
    deepEqual(await readLink(await programLink(program, cases)), {
      program: { kind: 'program', bytes: program },
      cases,
    });
  });
}

const kFragments: [string, () => string | Promise<string>, unknown][] = [
  ['no parameters', () => 'top', { program: { kind: 'none' }, cases: null }],
  ['readable lines', () => 'lines=IN%0AOUT', loaded('IN\nOUT')],
  ['Latin-1 and wider', () => 'lines=caf%C3%A9%E2%82%AC', loaded('caf\xe9?')],
  ['a value holding "="', () => 'lines=A%3D=B', loaded('A==B')],
  ['a bad escape', () => 'lines=%E9', error(kDamaged)],
  ['the first parameter of a kind', () => 'x=1&lines=A&lines=B', loaded('A')],
  ['the first of the program parameters', () => 'lines=A&example=echo', loaded('A')],
  [
    'an example by name',
    () => 'example=count%5Fdown',
    { program: { kind: 'example', name: 'count_down' }, cases: null },
  ],
  [
    'cases alone',
    async () => `x=1&${await programLink(bytes('1 -> 1'))}`.replace('program=', 'cases='),
    { program: { kind: 'none' }, cases: bytes('1 -> 1') },
  ],
  ['damaged cases', () => 'example=echo&cases=A', error(kCasesDamaged)],
  ['base64 one letter too long', () => 'program=AAAAA', error(kDamaged)],
  [
    'the longest link',
    () => `lines=${'A'.repeat(kMostLinkLength - 6)}`,
    loaded('A'.repeat(kMostLinkLength - 6)),
  ],
  ['a link a byte longer', () => `lines=${'A'.repeat(kMostLinkLength - 5)}`, error(kTooLong)],
  [
    'a program inflating to the most',
    async () => programLink(new Uint8Array(kMostProgramBytes)),
    { program: { kind: 'program', bytes: new Uint8Array(kMostProgramBytes) }, cases: null },
  ],
  [
    'a program inflating past the most',
    async () => programLink(new Uint8Array(kMostProgramBytes + 1)),
    error(kTooLong),
  ],
  [
    'cases inflating past the most',
    async () =>
      `example=echo&${await programLink(new Uint8Array(kMostProgramBytes + 1))}`.replace(
        'program=',
        'cases=',
      ),
    error(kTooLong),
  ],
];

for (const [name, fragment, expected] of kFragments) {
  test(`a link's fragment: ${name}`, async () => {
    deepEqual(await readLink(await fragment()), expected);
  });
}

const kSplits: [string, string[]][] = [
  ['', []],
  ['0:', ['']],
  ['3:a:b2:10', ['a:b', '10']],
  ['12:0123456789ab1:x', ['0123456789ab', 'x']],
];

test("the core's lines are split by their lengths, whatever they hold", () => {
  for (const [text, lines] of kSplits) deepEqual(splitLines(text), lines, text);
});

test('typed text becomes Latin-1, one "?" for each UTF-16 unit without a code', () => {
  deepEqual(toLatin1('\x00~\xa0\xff\u0100\u20ac\u{1f600}'), '\x00~\xa0\xff????');
});
