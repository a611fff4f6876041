// SPDX-License-Identifier: GPL-3.0-or-later
// The main window, laid out as the desktop's, and its handlers. Each handler hands the machine
// one event; where the command asks a question (IN, Edit and Insert, a file), the page shows it
// and hands the answer in when the user gives it (web/README.md).

import type { Answer, Core, Machine, Outcome, Page, Question, Report } from './core';
import { aboutBox, splashWindow } from './companions';
import { EditorWindow } from './editor_window';
import { chooseFileToOpen, chooseFileToSave, loadProgramBytes, savedProgramBytes } from './files';
import { drawSoon } from './frame';
import { inputPrompt, kApplicationTitle, reportError, showNotice } from './dialogs';
import { MailboxDisplay } from './mailbox_display';
import { OutputBasket } from './output_basket';
import { Countdown } from './scheduler';
import { speedBar } from './speed_bar';
import { box, label, nameGroup, outOfTabOrder, panel, panelButton, picture, setCaption } from './controls';
import { splitLines, toLatin1 } from './text';
import { element, openWindow } from './windows';

// What the page around the window asks of it: to load a program as Load does, and the store's
// bytes as Save writes them.
export interface ProgramPort {
  load(name: string, bytes: Uint8Array): void;
  saved(): Uint8Array | string;
}

export function buildMainWindow(core: Core): ProgramPort {
  const form = openWindow('Form1', kApplicationTitle, 633, 434, { modal: false, closeBox: true, onClose: () => exit() });
  const client = form.client;
  let machine: Machine;
  const report = (text: Report): void => reportError(text);
  // A command's outcome: nothing, an error to report, or a question to show; the answer goes
  // back to the command, which may report in turn.
  const settle = (outcome: Outcome): void => {
    if (outcome === null || typeof outcome === 'string') return report(outcome);
    ask(outcome, (answer) => answerNow(outcome, answer));
  };
  const answerNow = (question: Question, answer: Answer): Report => {
    const outcome = machine.answer(question.id, answer);
    if (outcome === null || typeof outcome === 'string') return outcome;
    settle(outcome);
    return null;
  };
  const ask = (question: Question, answered: (answer: Answer) => Report): void => {
    if (question.kind === 'line')
      inputPrompt(question.caption, question.text, question.defaultText, (text) => report(answered(toLatin1(text))));
    else if (question.kind === 'openFile')
      chooseFileToOpen(core.FS, (name, done) => { report(answered(name)); done(); });
    else
      chooseFileToSave(core.FS, answered).then(report, (error) => report(String(error)));
  };
  // Load and Save of bytes the page holds: the file's name is the answer, given at once.
  const answeredAtOnce = (outcome: Outcome, answer: Answer): Report =>
    outcome === null || typeof outcome === 'string' ? outcome : answerNow(outcome, answer);
  const countdown = new Countdown(() => settle(machine.tick()));

  // Control column.
  const column = panel(client, [0, 120, 177, 308], 'Panel2');
  nameGroup(column, 'Controls');
  const strip = picture(column, [2, 2, 20, 304], 'Image1', 'image_strip', 'About Tobric Computer');
  strip.setAttribute('role', 'button'); // pressed to show the about box, as on the desktop
  outOfTabOrder(strip);
  strip.addEventListener('mousedown', (event) => event.preventDefault());
  strip.addEventListener('click', () => showAbout());
  for (const [name, top, caption] of [['Panel1', 0, 'Tobric Controls'], ['Panel3', 176, 'Utilities']] as const)
    panel(column, [24, top, 153, 33], name, caption).classList.add('heading');
  const commands: [string, number, number, string, string, () => void][] = [
    ['runmenu', 37, 33, '&Run', 'glyph_run', () => report(machine.run())],
    ['stepmenu', 68, 33, 'S&tep', 'glyph_step', () => settle(machine.step())],
    ['menuhalt', 99, 31, '&Halt/Continue', 'glyph_halt', () => report(machine.haltOrContinue())],
    ['resetmenu', 128, 33, 'R&eset', 'glyph_reset', () => report(machine.reset())],
    ['savemenu', 213, 34, '&Save Program', 'glyph_save', () => settle(machine.save())],
    ['loadmenu', 245, 34, '&Load Program', 'glyph_load', () => settle(machine.load())],
    ['menuExit', 277, 31, 'E&xit Tobric', 'glyph_exit', () => exit()],
  ];
  for (const [name, top, height, caption, glyph, press] of commands)
    panelButton(column, [24, top, 153, height], name, ' '.repeat(10) + caption, press, glyph);

  // Calculator.
  const calculator = panel(client, [208, 120, 249, 297], 'Panel4');
  nameGroup(calculator, 'Calculator keypad');
  const display = panel(calculator, [16, 16, 217, 57], 'calculatorValueText', '0 ', 'right');
  display.classList.add('lowered', 'calculator');
  // Read as the desktop offers it: a name with the shown number as its value.
  display.setAttribute('role', 'textbox');
  display.setAttribute('aria-readonly', 'true');
  display.setAttribute('aria-label', 'Calculator');
  const keys: [string, [number, number, number, number], string, () => Report][] = [
    ['ccalc', [16, 80, 105, 33], 'C', () => machine.pressClear()],
    ['cecalc', [120, 80, 113, 33], 'CE', () => machine.pressClearEntry()],
    ['addcalc', [176, 120, 49, 81], '+', () => machine.pressPlus()],
    ['subcalc', [176, 200, 49, 81], '-', () => machine.pressMinus()],
    ['no0calc', [24, 240, 73, 41], '0', () => machine.pressDigit(0)],
    ['equalscalc', [96, 240, 73, 41], '=', () => machine.pressEquals()],
  ];
  [7, 8, 9, 4, 5, 6, 1, 2, 3].forEach((digit, i) => keys.splice(2 + i, 0,
    [`no${digit}calc`, [24 + 48 * (i % 3), 120 + 40 * Math.floor(i / 3), 49, 41], String(digit), () => machine.pressDigit(digit)]));
  for (const [name, rect, caption, press] of keys)
    panelButton(calculator, rect, name, caption, () => report(press()));

  // Registers.
  const registers = panel(client, [8, 8, 473, 105], 'Panel5');
  nameGroup(registers, 'Registers');
  label(registers, 264, 8, 'Label1', 'IN Basket:');
  const inbasket = box(registers, [320, 8, 121, 21], 'inbasket', 'IN Basket');
  inbasket.disabled = true;
  label(registers, 8, 24, 'Label2', 'OUT Basket:');
  label(registers, 232, 32, 'Label3', 'Program Counter:');
  const pctext = box(registers, [320, 32, 121, 21], 'pctext', 'Program Counter');
  // Made in the desktop's Tab order: the memory data register before the instruction.
  label(registers, 208, 80, 'mdrtextc', 'Memory Data Register:');
  const mdrtext = box(registers, [320, 80, 121, 21], 'mdrtext', 'Memory Data Register');
  label(registers, 264, 56, 'Instruction', 'Instruction');
  const opcodetext = box(registers, [320, 56, 121, 21], 'opcodetext', 'Instruction');
  label(registers, 8, 64, 'speed', 'Speed:');
  // The starting position fires nothing: the timer keeps its own 1000 ms until the bar moves.
  speedBar(registers, 48, 64, 153, (position) => report(machine.changeSpeed(position)));
  picture(registers, [48, 80, 32, 17], 'Image10', 'speed_fast', 'Fast');
  picture(registers, [168, 80, 32, 17], 'Image3', 'speed_slow', 'Slow');
  const outbasket = new OutputBasket(registers, 72, 16, 145, 37);

  // Mailboxes and their popup commands, which act on the row selected when they run.
  const mailboxes = new MailboxDisplay(client, 512, 0, 121, 434, [
    { caption: 'Edit this Mailbox', act: () => settle(machine.editThisMailbox()) },
    { caption: 'Insert Command', act: () => settle(machine.insertCommand()) },
    { caption: 'Delete Command', act: () => report(machine.deleteCommand()) },
    { caption: 'Edit Program in Editor', act: () => editor.open() },
  ]);

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
  const stops = ['#pctext', '#mdrtext', '#opcodetext', '#ScrollBar1', '#outbasket input', '#mailboxshow']
    .map((selector) => client.querySelector(selector) as HTMLElement);
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
  const showAbout = aboutBox(core.versionShort);
  const editor = new EditorWindow(machine, form.frame, report);
  setTimeout(showSplash, 1);
  return {
    load: (name, bytes) => report(loadProgramBytes(core.FS, name, bytes, (path) => answeredAtOnce(machine.load(), path))),
    saved: () => savedProgramBytes(core.FS, (path) => answeredAtOnce(machine.save(), path)),
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
