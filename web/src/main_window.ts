// SPDX-License-Identifier: GPL-3.0-or-later
// The main window, laid out as the desktop's, and its handlers. Each handler hands the machine
// one event; where the command asks a question (IN, Edit and Insert, a file), the page shows it
// and hands the answer in when the user gives it (web/README.md).

import type { Answer, Core, Outcome, Page, Question, Report } from './core';
import { aboutBox, splashWindow } from './companions';
import { EditorWindow } from './editor_window';
import { chooseFileToOpen, chooseFileToSave, loadProgramBytes, savedProgramBytes } from './files';
import { drawnLatest } from './frame';
import { buildControls } from './described_controls';
import { inputPrompt, reportError, showNotice } from './dialogs';
import { MailboxDisplay } from './mailbox_display';
import { OutputBasket } from './output_basket';
import { Countdown } from './scheduler';
import { speedBar } from './speed_bar';
import { outOfTabOrder, setCaption } from './controls';
import { splitLines, toLatin1 } from './text';
import { describeWindows, type Action } from './window_description';
import { element, openWindow } from './windows';

// What the page around the window asks of it: to load a program as Load does, and the store's
// bytes as Save writes them.
export interface ProgramPort {
  load(name: string, bytes: Uint8Array): void;
  saved(): Uint8Array | string;
}

export function buildMainWindow(core: Core): ProgramPort {
  const described = describeWindows(core);
  const { name, title, width, height } = described.main;
  const form = openWindow(name, title, width, height, { onClose: () => exit() });
  const report = (text: Report): void => reportError(text);
  // A command's outcome: nothing, an error to report, or a question to show; the answer goes
  // back to the command, which may report in turn.
  const settled = (outcome: Outcome): Report => {
    if (outcome === null || typeof outcome === 'string') return outcome;
    ask(outcome, (answer) => settled(machine.answer(outcome.id, answer)));
    return null;
  };
  const settle = (outcome: Outcome): void => report(settled(outcome));
  const ask = (question: Question, answered: (answer: Answer) => Report): void => {
    if (question.kind === 'line')
      inputPrompt(question.caption, question.text, question.defaultText, (text) =>
        report(answered(toLatin1(text))),
      );
    else if (question.kind === 'openFile')
      chooseFileToOpen(core.FS, (name, done) => {
        report(answered(name));
        done();
      });
    else chooseFileToSave(core.FS, answered).then(report, (error) => report(String(error)));
  };
  // Load and Save of bytes the page holds: the file's name is the answer, given at once.
  const answeredAtOnce = (outcome: Outcome, answer: Answer): Report =>
    settled(typeof outcome === 'object' && outcome ? machine.answer(outcome.id, answer) : outcome);
  const countdown = new Countdown(() => settle(machine.tick()));

  // What each control and popup item does; the other windows' actions are theirs.
  const actions: Partial<Record<Action, (digit: number) => void>> = {
    Run: () => report(machine.run()),
    Step: () => settle(machine.step()),
    HaltContinue: () => report(machine.haltOrContinue()),
    Reset: () => report(machine.reset()),
    SaveProgram: () => settle(machine.save()),
    LoadProgram: () => settle(machine.load()),
    Exit: () => exit(),
    ShowAbout: () => showAbout(),
    Digit: (digit) => report(machine.pressDigit(digit)),
    Plus: () => report(machine.pressPlus()),
    Minus: () => report(machine.pressMinus()),
    Equals: () => report(machine.pressEquals()),
    Clear: () => report(machine.pressClear()),
    ClearEntry: () => report(machine.pressClearEntry()),
    // The popup commands act on the row selected when they run.
    EditMailbox: () => settle(machine.editThisMailbox()),
    InsertCommand: () => settle(machine.insertCommand()),
    DeleteCommand: () => report(machine.deleteCommand()),
    OpenEditor: () => editor.open(),
  };
  const handler = (action: Action, digit: number): (() => void) | null => {
    const act = actions[action];
    return act ? () => act(digit) : null;
  };

  let mailboxes!: MailboxDisplay;
  let outbasket!: OutputBasket;
  const made = buildControls(
    form.client,
    described.main,
    true,
    described.commandCaptionIndent,
    (control) => handler(control.action, control.digit),
    (control, parent) => {
      switch (control.kind) {
        // The starting position fires nothing: the timer keeps its own 1000 ms until the bar moves.
        case 'SpeedBar':
          return speedBar(parent, control, described.speedBar, (position) =>
            report(machine.changeSpeed(position)),
          );
        case 'OutputBasket':
          return (outbasket = new OutputBasket(parent, control)).root;
        case 'MailboxDisplay':
          return (mailboxes = new MailboxDisplay(
            parent,
            control,
            described.mailboxMenu.map(({ caption, action }) => ({
              caption,
              act: handler(action, 0) ?? undefined,
            })),
            core.mailboxRowText,
          )).root;
        default:
          return null;
      }
    },
  );
  const strip = made.Image1;
  strip.setAttribute('role', 'button'); // pressed to show the about box, as on the desktop
  outOfTabOrder(strip);
  strip.addEventListener('mousedown', (event) => event.preventDefault());
  const display = made.calculatorValueText;
  const { inbasket, pctext, mdrtext, opcodetext } = made as Record<string, HTMLInputElement>;

  // The register boxes, the calculator and the IN basket show the latest of each step once a frame.
  const page: Page = {
    showMailboxes: (lines) => mailboxes.rebuild(splitLines(lines)),
    showRegisters: drawnLatest((...registers: [number, number, string]) => {
      [pctext.value, mdrtext.value, opcodetext.value] = registers.map(String);
    }),
    showCalculator: drawnLatest((text: string) => setCaption(display, text)),
    showOutput: (n) => outbasket.show(n),
    showInBasket: drawnLatest((n: number) => (inbasket.value = String(n))),
    showNotice,
    selectedIndex: () => mailboxes.selectedIndex(),
    // The frame carries the timer's state, which tests wait on as the desktop's wait on its timer.
    startCountdown: (interval) => {
      countdown.start(interval);
      form.frame.dataset.timer = 'enabled';
    },
    stopCountdown: () => {
      countdown.stop();
      form.frame.dataset.timer = 'disabled';
    },
  };
  // Made last: every handler above runs only on an event, after this.
  const machine = new core.Machine(page);
  pctext.focus();
  // Tab and Shift+Tab go round the window's stops and wrap around, as on the desktop.
  const stops = described.main.controls
    .filter((control) => control.tabPlace > 0)
    .sort((a, b) => a.tabPlace - b.tabPlace)
    .map(({ name }) => made[name])
    .map((stop) => (stop.matches('input, [tabindex]') ? stop : stop.querySelector('input')!));
  form.frame.addEventListener('keydown', (event) => {
    const at = stops.indexOf(document.activeElement as HTMLElement);
    const end = event.shiftKey ? 0 : stops.length - 1;
    if (event.key !== 'Tab' || at !== end) return;
    event.preventDefault();
    stops[stops.length - 1 - end].focus();
  });

  // The other windows, made hidden in the desktop's order; the splash shows once the main
  // window stands.
  const showSplash = splashWindow(form);
  const showAbout = aboutBox();
  const editor = new EditorWindow(machine, form.frame, report);
  setTimeout(showSplash, 1);
  return {
    load: (name, bytes) =>
      report(
        loadProgramBytes(core.FS, name, bytes, (path) => answeredAtOnce(machine.load(), path)),
      ),
    saved: () => savedProgramBytes(core.FS, (path) => answeredAtOnce(machine.save(), path)),
  };

  // Exit ends the program at once, whatever is open; a page cannot close itself, so it is left
  // blank but for a way back.
  function exit(): void {
    countdown.stop();
    const ended = 'Tobric Computer has ended. Reload the page to start it again.';
    document.getElementById('desktop')!.replaceChildren(element('div', 'ended', undefined, ended));
  }
}
