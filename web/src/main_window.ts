// SPDX-License-Identifier: GPL-3.0-or-later
// The main window, laid out as the desktop's, and its handlers. Each handler hands the machine
// one event; where the machine will want an answer (the IN prompt, Edit and Insert, a file), the
// page asks first and hands the answer in with the command (web/README.md).

import type { Core, Machine, Page, Report } from './core';
import { aboutBox, splashWindow } from './companions';
import { EditorWindow } from './editor_window';
import { chooseFileToOpen, chooseFileToSave, loadProgramBytes, savedProgramBytes } from './files';
import { drawSoon } from './frame';
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

const kCommandPrompt = 'Enter Tobric Assembly Command';

// What the page around the window asks of it: to load a program as Load does, and the store's
// bytes as Save writes them.
export interface ProgramPort {
  load(name: string, bytes: Uint8Array): void;
  saved(): Uint8Array | string;
}

export function buildMainWindow(core: Core): ProgramPort {
  const described = describeWindows(core);
  const { name, title, width, height } = described.main;
  const form = openWindow(name, title, width, height, { modal: false, closeBox: true, onClose: () => exit() });
  const client = form.client;
  let machine: Machine;
  const report = (text: Report): void => reportError(text);

  // The IN prompt: the step's first act (the timer disabled) is done before the prompt shows,
  // the step itself on the answer.
  const obeyStep = (obey: (answer: string | null) => Report): void => {
    if (!machine.nextStepAsksIn()) return report(obey(null));
    machine.stopTimer();
    inputPrompt('Message', 'Enter a value into the in basket', '0', (answer) => report(obey(toLatin1(answer))));
  };
  const countdown = new Countdown(() => obeyStep((answer) => machine.tick(answer)));

  // What each control and popup item does; the other windows' actions are theirs.
  const actions: Record<Action, ((digit: number) => void) | null> = {
    Run: () => report(machine.run()),
    Step: () => {
      if (machine.hasNoProgram()) return report(machine.step(null));
      obeyStep((answer) => machine.step(answer));
    },
    HaltContinue: () => report(machine.haltOrContinue()),
    Reset: () => report(machine.reset()),
    SaveProgram: () => {
      chooseFileToSave(core.FS, (name) => machine.save(name)).then(report, (error) => report(String(error)));
    },
    LoadProgram: () => {
      chooseFileToOpen(core.FS, (name, done) => { report(machine.load(name)); done(); });
    },
    Exit: () => exit(),
    ShowAbout: () => showAbout(),
    Digit: (digit) => report(machine.pressDigit(digit)),
    Plus: () => report(machine.pressPlus()),
    Minus: () => report(machine.pressMinus()),
    Equals: () => report(machine.pressEquals()),
    Clear: () => report(machine.pressClear()),
    ClearEntry: () => report(machine.pressClearEntry()),
    // The popup commands act on the row selected when they run.
    EditMailbox: () => {
      const selected = mailboxes.selectedIndex();
      if (selected === -1) return;
      const current = machine.editDefault(selected);
      if (current.error !== undefined) return report(current.error);
      inputPrompt('Edit Mailbox', kCommandPrompt, current.line!, (answer) => report(machine.editThisMailbox(toLatin1(answer))));
    },
    InsertCommand: () => {
      if (mailboxes.selectedIndex() === -1) return;
      inputPrompt('Insert Command', kCommandPrompt, 'DAT 00', (answer) => report(machine.insertCommand(toLatin1(answer))));
    },
    DeleteCommand: () => report(machine.deleteCommand()),
    OpenEditor: () => editor.open(),
    None: null, CloseAbout: null, CloseSplash: null, SaveChanges: null, CancelChanges: null, ClearAll: null,
  };
  const handler = (action: Action, digit: number): (() => void) | null => {
    const act = actions[action];
    return act && (() => act(digit));
  };

  let mailboxes!: MailboxDisplay;
  let outbasket!: OutputBasket;
  const made = buildControls(client, described.main, true, described.commandCaptionIndent,
    (control) => handler(control.action, control.digit), (control, parent) => {
      switch (control.kind) {
        // The starting position fires nothing: the timer keeps its own 1000 ms until the bar moves.
        case 'SpeedBar': return speedBar(parent, control, described.speedBar,
          (position) => report(machine.changeSpeed(position)));
        case 'OutputBasket': return (outbasket = new OutputBasket(parent, control)).root;
        case 'MailboxDisplay': return (mailboxes = new MailboxDisplay(parent, control,
          described.mailboxMenu.map(({ caption, action }) => ({ caption, act: handler(action, 0) ?? undefined })),
          core.mailboxRowText)).root;
        default: return null;
      }
    });
  const strip = made.Image1;
  strip.setAttribute('role', 'button'); // pressed to show the about box, as on the desktop
  outOfTabOrder(strip);
  strip.addEventListener('mousedown', (event) => event.preventDefault());
  const display = made.calculatorValueText;
  const [inbasket, pctext, mdrtext, opcodetext] = ['inbasket', 'pctext', 'mdrtext', 'opcodetext']
    .map((id) => made[id] as HTMLInputElement);

  // The register boxes, the calculator and the IN basket show the latest of each step once a frame.
  let registerTexts: string[] = [];
  let calculatorText = '';
  let inBasketText = '';
  const drawRegisters = (): void => { [pctext.value, mdrtext.value, opcodetext.value] = registerTexts; };
  const drawCalculator = (): void => setCaption(display, calculatorText);
  const drawInBasket = (): void => { inbasket.value = inBasketText; };
  const page: Page = {
    showMailboxes: (lines) => mailboxes.rebuild(splitLines(lines)),
    showRegisters: (programCounter, operand, mnemonic) => {
      registerTexts = [String(programCounter), String(operand), mnemonic];
      drawSoon(drawRegisters);
    },
    showCalculator: (text) => { calculatorText = text; drawSoon(drawCalculator); },
    showOutput: (n) => outbasket.show(n),
    showInBasket: (n) => { inBasketText = String(n); drawSoon(drawInBasket); },
    showNotice,
    selectedIndex: () => mailboxes.selectedIndex(),
    // The frame carries the timer's state, which tests wait on as the desktop's wait on its timer.
    startCountdown: (interval) => { countdown.start(interval); form.frame.dataset.timer = 'enabled'; },
    stopCountdown: () => { countdown.stop(); form.frame.dataset.timer = 'disabled'; },
  };
  machine = new core.Machine(page);
  pctext.focus();
  // Tab and Shift+Tab go round the window's stops and wrap around, as on the desktop.
  const stops = described.main.controls.filter((control) => control.tabPlace > 0)
    .sort((a, b) => a.tabPlace - b.tabPlace).map(({ name }) => made[name])
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
    load: (name, bytes) => report(loadProgramBytes(core.FS, name, bytes, (path) => machine.load(path))),
    saved: () => savedProgramBytes(core.FS, (path) => machine.save(path)),
  };

  // Exit ends the program at once, whatever is open; a page cannot close itself, so it is left
  // blank but for a way back.
  function exit(): void {
    countdown.stop();
    const desktop = document.getElementById('desktop')!;
    desktop.replaceChildren();
    element('div', 'ended', desktop, 'Tobric Computer has ended. Reload the page to start it again.');
  }
}
