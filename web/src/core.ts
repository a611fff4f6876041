// SPDX-License-Identifier: GPL-3.0-or-later
// The WebAssembly machine (web/bindings.cpp) as the page sees it. Texts cross as Latin-1: one
// character per byte. Every command answers null, or the text its error report shows; one that
// needs an answer from the user answers its question instead, and goes on when answered.

import { assetUrl } from './assets';
import type { Windows } from './window_description';

export type Report = string | null;

// A line's text, or a file's name in the core's file system; null when the user cancelled.
export type Answer = string | null;

export interface Question {
  id: number;
  kind: 'line' | 'openFile' | 'saveFile';
  caption: string;
  text: string;
  defaultText: string;
}

export type Outcome = Report | Question;

// The commands that only report, the keypad's, and those that may ask (bindings.cpp's Do, Ask).
type Reporting = 'run' | 'haltOrContinue' | 'reset' | 'deleteCommand' | 'showMailboxes';
type Keypad = 'pressPlus' | 'pressMinus' | 'pressEquals' | 'pressClear' | 'pressClearEntry';
type Asking = 'tick' | 'step' | 'load' | 'save' | 'editThisMailbox' | 'insertCommand';

export type Machine = Record<Reporting | Keypad, () => Report> &
  Record<Asking, () => Outcome> & {
    changeSpeed(position: number): Report;
    pressDigit(digit: number): Report;
    answer(id: number, answer: Answer): Outcome;
    storeLines(): string; // each line after its length and a colon
    replaceProgram(lines: string[]): Report;
  };

// What the machine calls back: the machine view and the execution timer's clock.
export interface Page {
  showMailboxes(lines: string): void; // each line after its length and a colon
  showRegisters(programCounter: number, operand: number, mnemonic: string): void;
  showCalculator(text: string): void;
  showOutput(n: number): void;
  showInBasket(n: number): void;
  showNotice(text: string): void;
  selectedIndex(): number;
  startCountdown(interval: number): void;
  stopCountdown(): void;
}

export interface FileSystem {
  mkdirTree(path: string): void;
  writeFile(path: string, data: Uint8Array): void;
  readFile(path: string): Uint8Array;
  unlink(path: string): void;
}

export interface Core {
  windows(): Windows;
  mailboxRowText(row: number, line: string): string; // "07 LDA 05"
  Machine: new (page: Page) => Machine;
  versionShort: string;
  version: string;
  FS: FileSystem;
}

// The core's own files are found through locateFile: its default, a path beside its script,
// means nothing when the script is a data: address.
export async function loadCore(): Promise<Core> {
  const module = await import(/* @vite-ignore */ assetUrl('core/tobric_core.js'));
  return (await module.default({ locateFile: (file: string) => assetUrl(`core/${file}`) })) as Core;
}
