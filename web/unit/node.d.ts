// SPDX-License-Identifier: GPL-3.0-or-later
// The little of Node's own modules the unit tests use: the page's packages bring no Node types.
declare module 'node:test' {
  export function test(name: string, run: () => void): void;
}
declare module 'node:assert/strict' {
  export function ok(value: unknown, message?: string): asserts value;
}
