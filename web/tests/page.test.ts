// SPDX-License-Identifier: GPL-3.0-or-later
// The page in Chromium, driven as a user drives it.
import AxeBuilder from '@axe-core/playwright';
import { expect, test, type Page } from '@playwright/test';
import { readFileSync, readdirSync } from 'node:fs';

const example = (name: string): Buffer =>
  readFileSync(new URL(`../../examples/${name}`, import.meta.url));
const rows = (page: Page) => page.locator('#mailboxshow > div');
const prompt = (page: Page, title: string) => page.getByRole('dialog', { name: title });

async function load(page: Page, name: string, bytes: Buffer): Promise<void> {
  const chooser = page.waitForEvent('filechooser');
  await page.locator('#loadmenu').click();
  await (await chooser).setFiles({ name, mimeType: 'text/plain', buffer: bytes });
  await expect(rows(page)).toHaveCount(100);
}

// Run from mailbox 00, each IN answered in its prompt, until the run stops.
async function runAnswering(page: Page, answers: readonly string[]): Promise<void> {
  await page.locator('#ScrollBar1').press('Home');
  await page.locator('#runmenu').click();
  for (const answer of answers) {
    const field = prompt(page, 'Message').getByRole('textbox');
    await field.fill(answer);
    await field.press('Enter');
  }
  await expect(page.locator('#Form1')).not.toHaveAttribute('data-timer', 'enabled');
}

// What axe-core finds wrong for a screen reader's user, one line per rule and element.
async function accessibilityFaults(page: Page): Promise<string[]> {
  const { violations } = await new AxeBuilder({ page }).analyze();
  return violations.flatMap((rule) =>
    rule.nodes.map((node) => `${rule.id}: ${node.target.join(' ')}`),
  );
}

// A press where the user sees a control, whatever covers it: the modal shade over a disabled window.
async function pressAt(page: Page, selector: string): Promise<void> {
  const area = (await page.locator(selector).boundingBox())!;
  await page.mouse.click(area.x + area.width / 2, area.y + area.height / 2);
}

test.beforeEach(async ({ page }) => {
  await page.goto('./');
  await expect(page.locator('#Form1')).toBeVisible();
});

test('a loaded program runs, IN answered in the prompt, and puts out the sum', async ({ page }) => {
  await load(page, 'add_two_numbers.txt', example('add_two_numbers.txt'));
  await expect(rows(page).nth(3)).toHaveText('03 STA 08');
  await page.locator('#ScrollBar1').press('Home');
  await page.locator('#runmenu').click();
  for (const value of ['17', '5']) {
    await expect(prompt(page, 'Message')).toContainText('Enter a value into the in basket');
    await page.keyboard.type(value);
    await page.keyboard.press('Enter');
  }
  await expect(page.locator('#outbasket input')).toHaveValue('22');
  await expect(page.locator('#inbasket')).toHaveValue('5');
  await expect(page.locator('#opcodetext')).toHaveValue('HLT');
});

test('a step that fails is reported in a modal box with the period rule', async ({ page }) => {
  await load(page, 'bad.txt', Buffer.from('LDA XY\r\nHLT\r\n'));
  await page.locator('#stepmenu').click();
  const report = page.locator('.error-report');
  await expect(report.locator('.title')).toContainText('Tobric Computer for Windows');
  await expect(report).toContainText("'XY' is not a valid integer value.");
  await expect(page.locator('#Form1')).toHaveJSProperty('inert', true);
  await report.getByRole('button', { name: 'OK' }).click();
  await expect(page.locator('#Form1')).toHaveJSProperty('inert', false);
});

test('Insert Command renumbers the addresses at and after the new line', async ({ page }) => {
  await load(page, 'add_two_numbers.txt', example('add_two_numbers.txt'));
  await rows(page).nth(4).click();
  await rows(page).nth(4).click({ button: 'right' });
  await page.getByRole('menuitem', { name: 'Insert Command' }).click();
  await expect(prompt(page, 'Insert Command').getByRole('textbox')).toHaveValue('DAT 00');
  await page.keyboard.type('out');
  await page.keyboard.press('Enter');
  await expect(rows(page)).toHaveCount(101);
  await expect(rows(page).nth(3)).toHaveText('03 STA 9');
  await expect(rows(page).nth(4)).toHaveText('04 OUT');
  await expect(rows(page).nth(6)).toHaveText('06 ADD 9');
});

test('Save writes every line with CR LF, padded to 100 mailboxes', async ({ page }) => {
  // Without the File System Access API the page offers a download.
  await page.evaluate(() => Object.assign(window, { showSaveFilePicker: undefined }));
  await load(page, 'echo.txt', Buffer.from('IN\nOUT\r\nJMP 00\r\r\xe9', 'latin1'));
  const download = page.waitForEvent('download');
  await page.locator('#savemenu').click();
  const saved = readFileSync(await (await download).path());
  const lines = ['IN', 'OUT', 'JMP 00', '', '\xe9'].concat(Array(95).fill('DAT 00'));
  expect(saved).toEqual(Buffer.from(lines.map((line) => `${line}\r\n`).join(''), 'latin1'));
});

test('several notices stay open; buttons are pressed as a screen reader does', async ({ page }) => {
  await page.locator('#runmenu').click();
  // Chromium's press action: a press and a release with no click count, then a click of one.
  const step = page.locator('#Form1').getByRole('button', { name: 'Step', exact: true });
  for (const type of ['mousedown', 'mouseup'])
    await step.dispatchEvent(type, { button: 0, detail: 0 });
  await step.dispatchEvent('click', { button: 0, detail: 1 });
  const notices = page.getByRole('dialog', { name: 'Compiler Message' });
  await expect(notices).toHaveCount(2);
  await expect(notices.first()).toContainText('There is no program loaded');
  // A third; with the first closed, a fourth takes the first's free place, not one past the third.
  await page.locator('#runmenu').click();
  await expect(notices).toHaveCount(3);
  const firstPlace = await notices.first().boundingBox();
  await notices.first().getByRole('button', { name: 'OK' }).dispatchEvent('click'); // under the others
  await page.locator('#runmenu').click();
  await expect(notices).toHaveCount(3);
  expect(await notices.last().boundingBox()).toEqual(firstPlace);
  for (let open = 3; open > 0; --open)
    await notices.first().getByRole('button', { name: 'OK' }).dispatchEvent('click');
  await expect(notices).toHaveCount(0);
  // The seven commands, fifteen keys, the image strip and the close box are buttons, but Tab
  // goes round the six stops alone.
  await expect(page.locator('#Form1').getByRole('button')).toHaveCount(24);
  await page.locator('#pctext').focus();
  const visited: string[] = [];
  for (let i = 0; i < 6; ++i) {
    await page.keyboard.press('Tab');
    visited.push(await page.evaluate(() => document.activeElement!.closest('[id]')!.id));
  }
  expect(visited.join(' ')).toBe('mdrtext opcodetext ScrollBar1 outbasket mailboxshow pctext');
});

test("the editor's Save Changes puts its lines in the store, padded to 100", async ({ page }) => {
  await load(page, 'add_two_numbers.txt', example('add_two_numbers.txt'));
  await rows(page).nth(2).click({ button: 'right' });
  await page.getByRole('menuitem', { name: 'Edit Program in Editor' }).click();
  const editor = page.locator('#tobriceditor');
  await expect(editor).toHaveValue(/^\* Add two numbers[^\n]*\n[^\n]*\nIN\nSTA 08\nIN\n/);
  await expect(page.locator('#Form1')).toHaveJSProperty('inert', true);
  // Every id names one element, whichever windows repeat a control's name.
  expect(
    await page.evaluate(() =>
      Array.from(document.querySelectorAll('[id]'), (e) => e.id).filter(
        (id, i, ids) => ids.indexOf(id) !== i,
      ),
    ),
  ).toEqual([]);
  await editor.fill('in\n\nJMP 00\n');
  await page.getByRole('button', { name: 'Save Changes' }).click();
  await expect(page.locator('#Form4')).toBeHidden();
  await expect(page.locator('#Form1')).toHaveJSProperty('inert', false);
  await expect(rows(page)).toHaveCount(100);
  for (const [at, text] of ['00 in', '01', '02 JMP 00', '03 DAT 00'].entries())
    await expect(rows(page).nth(at)).toHaveText(text);
});

// The cases tobric-run checks every example against, played through the page from a fresh start
// each: the same IN answers must give the same OUT numbers.
test('every example puts out what its cases expect', async ({ page }) => {
  test.setTimeout(180_000);
  const folder = new URL('../../examples/', import.meta.url);
  const numbers = (side: string): string[] =>
    side
      .split(',')
      .map((n) => n.trim())
      .filter((n) => n !== '');
  let played = 0;
  for (const cases of readdirSync(folder).filter((name) => name.endsWith('.cases'))) {
    const program = cases.replace(/\.cases$/, '.txt');
    for (const line of readFileSync(new URL(cases, folder), 'utf8').split('\n')) {
      const sides = line.replace(/#.*/, '').split('->');
      if (sides.length !== 2) continue;
      const [answers, expected] = sides.map(numbers);
      if (played++) await page.goto('./'); // the first case has the page beforeEach opened
      await load(page, program, example(program));
      await runAnswering(page, answers);
      const drop = page.locator('#outbasket .drop');
      await drop.click();
      const outputs = await page.locator('#outbasket .list [role=option]').allTextContents();
      expect(outputs, `${program} given ${answers.join(',')}`).toEqual(expected);
    }
  }
});

// Each modal box, and the editor, once open, takes presses on the disabled main window (Exit beside
// the box, a key under a box) without losing the keyboard: the keys still reach the box. None has
// an accessibility fault.
const modalBoxes: {
  box: string;
  program: string;
  open: (page: Page) => Promise<void>;
  keys: string[];
  closed: (page: Page) => Promise<void>;
  holder?: string;
  presses?: string[];
}[] = [
  {
    box: 'the IN prompt',
    program: 'IN\r\nOUT\r\nHLT\r\n',
    open: (page) => page.locator('#stepmenu').click(),
    keys: ['4', '2', 'Enter'],
    closed: (page) => expect(page.locator('#inbasket')).toHaveValue('42'),
  },
  {
    box: 'the Edit prompt',
    program: 'IN\r\nHLT\r\n',
    open: async (page) => {
      await rows(page).nth(1).click();
      await rows(page).nth(1).click({ button: 'right' });
      await page.getByRole('menuitem', { name: 'Edit this Mailbox' }).click();
    },
    keys: ['O', 'U', 'T', 'Tab', 'Tab', 'Tab', 'Enter'], // Tab goes round the prompt, back to its field
    closed: (page) => expect(rows(page).nth(1)).toHaveText('01 OUT'),
  },
  {
    box: 'an error report',
    program: 'LDA XY\r\nHLT\r\n',
    open: (page) => page.locator('#stepmenu').click(),
    keys: ['Enter'],
    closed: (page) => expect(page.getByRole('alertdialog')).toHaveCount(0),
  },
  {
    box: 'the editor',
    program: 'HLT\r\n',
    holder: '#Form4',
    presses: ['#menuExit'], // the text is under
    open: async (page) => {
      await rows(page).nth(0).click({ button: 'right' });
      await page.getByRole('menuitem', { name: 'Edit Program in Editor' }).click();
    },
    keys: ['O', 'U', 'T', 'Enter', 'Alt+KeyS'],
    closed: (page) => expect(rows(page).nth(0)).toHaveText('00 OUT'),
  },
];
for (const {
  box,
  program,
  open,
  keys,
  closed,
  holder = '[aria-modal="true"]',
  presses = ['#menuExit', '#no7calc'],
} of modalBoxes) {
  test(`${box} keeps the keyboard after a press on the disabled window`, async ({ page }) => {
    await load(page, 'program.txt', Buffer.from(program));
    await open(page);
    const modal = page.locator(holder);
    await expect(modal).toBeVisible();
    for (const control of presses) {
      await pressAt(page, control);
      expect(await modal.evaluate((frame) => frame.contains(document.activeElement)), control).toBe(
        true,
      );
    }
    await expect(page.locator('#calculatorValueText')).toHaveText('0');
    expect(await accessibilityFaults(page)).toEqual([]);
    for (const key of keys) await page.keyboard.press(key);
    await closed(page);
    await expect(modal).toBeHidden();
    await expect(page.locator('#Form1')).toHaveJSProperty('inert', false);
  });
}

test("the OUT basket's list opens and is walked by keyboard, as a combo box", async ({ page }) => {
  const countDown = Buffer.from('IN\r\nOUT\r\nSUB 06\r\nSKZ\r\nJMP 01\r\nHLT\r\nDAT 1\r\n');
  await load(page, 'count.txt', countDown);
  await runAnswering(page, ['3']);
  const basket = page.getByRole('combobox', { name: 'OUT Basket' });
  const options = page.locator('#outbasket-list').getByRole('option');
  await basket.focus();
  for (const [key, expanded, highlighted, shown] of [
    ['Alt+ArrowDown', true, '1', '1'], // opens at the latest output
    ['ArrowUp', true, '2', '1'],
    ['Home', true, '3', '1'],
    ['Enter', false, null, '3'],
    ['ArrowDown', false, null, '2'], // the closed list's arrows step the field
    ['F4', true, '2', '2'],
    ['ArrowDown', true, '1', '2'],
    ['Escape', false, null, '2'],
  ] as const) {
    await basket.press(key);
    await expect(basket, key).toHaveAttribute('aria-expanded', String(expanded));
    await expect(basket, key).toHaveValue(shown);
    if (highlighted === null) {
      await expect(options, key).toHaveCount(0);
      continue;
    }
    await expect(options, key).toHaveCount(3);
    const active = await basket.getAttribute('aria-activedescendant');
    await expect(page.locator(`#${active}`), key).toHaveText(highlighted);
    await expect(options.and(page.getByRole('option', { selected: true })), key).toHaveText(
      highlighted,
    );
  }
  await basket.press('Alt+ArrowDown');
  expect(await accessibilityFaults(page)).toEqual([]);
});
