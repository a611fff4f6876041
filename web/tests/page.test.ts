// SPDX-License-Identifier: GPL-3.0-or-later
// The page in Chromium, driven as a user drives it.
import { expect, test, type Page } from '@playwright/test';
import { readFileSync, readdirSync } from 'node:fs';

const example = (name: string): Buffer => readFileSync(new URL(`../../examples/${name}`, import.meta.url));
const rows = (page: Page) => page.locator('#mailboxshow > div');
const prompt = (page: Page, title: string) => page.getByRole('dialog', { name: title });

async function load(page: Page, name: string, bytes: Buffer): Promise<void> {
  const chooser = page.waitForEvent('filechooser');
  await page.locator('#loadmenu').click();
  await (await chooser).setFiles({ name, mimeType: 'text/plain', buffer: bytes });
  await expect(rows(page)).toHaveCount(100);
}

test.beforeEach(async ({ page }) => {
  await page.goto('./');
  await expect(page.locator('#Form1')).toBeVisible();
});

test('a loaded program runs with IN answered in the prompt and puts out the sum', async ({ page }) => {
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

test('notices stay open several at once; buttons are pressed as a screen reader does', async ({ page }) => {
  await page.locator('#runmenu').click();
  // Chromium's press action: a press and a release with no click count, then a click of one.
  const step = page.locator('#Form1').getByRole('button', { name: 'Step', exact: true });
  for (const type of ['mousedown', 'mouseup']) await step.dispatchEvent(type, { button: 0, detail: 0 });
  await step.dispatchEvent('click', { button: 0, detail: 1 });
  const notices = page.getByRole('dialog', { name: 'Compiler Message' });
  await expect(notices).toHaveCount(2);
  await expect(notices.first()).toContainText('There is no program loaded');
  // The seven commands, fifteen keys, the image strip and the close box are buttons, but Tab
  // goes round the six stops alone.
  await expect(page.locator('#Form1').getByRole('button')).toHaveCount(24);
  await page.locator('#pctext').focus();
  const visited: string[] = [];
  for (let i = 0; i < 6; ++i) {
    await page.keyboard.press('Tab');
    visited.push(await page.evaluate(() => document.activeElement!.closest('[id]')!.id));
  }
  expect(visited).toEqual(['mdrtext', 'opcodetext', 'ScrollBar1', 'outbasket', 'mailboxshow', 'pctext']);
});

test("the editor's Save Changes replaces the store with its lines, padded to 100", async ({ page }) => {
  await load(page, 'add_two_numbers.txt', example('add_two_numbers.txt'));
  await rows(page).nth(2).click({ button: 'right' });
  await page.getByRole('menuitem', { name: 'Edit Program in Editor' }).click();
  const editor = page.locator('#tobriceditor');
  await expect(editor).toHaveValue(/^\* Add two numbers[^\n]*\n[^\n]*\nIN\nSTA 08\nIN\n/);
  await expect(page.locator('#Form1')).toHaveJSProperty('inert', true);
  // Every id names one element, whichever windows repeat a control's name.
  expect(await page.evaluate(() => Array.from(document.querySelectorAll('[id]'), (e) => e.id)
    .filter((id, i, ids) => ids.indexOf(id) !== i))).toEqual([]);
  await editor.fill('in\n\nJMP 00\n');
  await page.getByRole('button', { name: 'Save Changes' }).click();
  await expect(page.locator('#Form4')).toBeHidden();
  await expect(page.locator('#Form1')).toHaveJSProperty('inert', false);
  await expect(rows(page)).toHaveCount(100);
  await expect(rows(page).nth(0)).toHaveText('00 in');
  await expect(rows(page).nth(1)).toHaveText('01');
  await expect(rows(page).nth(2)).toHaveText('02 JMP 00');
  await expect(rows(page).nth(3)).toHaveText('03 DAT 00');
});

// The cases tobric-run checks every example against, played through the page from a fresh start
// each: the same IN answers must give the same OUT numbers.
test('every example puts out what its cases expect', async ({ page }) => {
  test.setTimeout(180_000);
  const folder = new URL('../../examples/', import.meta.url);
  const numbers = (side: string): string[] => side.split(',').map((n) => n.trim()).filter((n) => n !== '');
  for (const cases of readdirSync(folder).filter((name) => name.endsWith('.cases'))) {
    const program = cases.replace(/\.cases$/, '.txt');
    for (const line of readFileSync(new URL(cases, folder), 'utf8').split('\n')) {
      const sides = line.replace(/#.*/, '').split('->');
      if (sides.length !== 2) continue;
      const [answers, expected] = sides.map(numbers);
      await page.goto('./');
      await load(page, program, example(program));
      await page.locator('#ScrollBar1').press('Home');
      await page.locator('#runmenu').click();
      for (const answer of answers) {
        const field = prompt(page, 'Message').getByRole('textbox');
        await field.fill(answer);
        await field.press('Enter');
      }
      await expect(page.locator('#Form1')).not.toHaveAttribute('data-timer', 'enabled');
      const drop = page.locator('#outbasket .drop');
      await drop.click();
      const outputs = await page.locator('#outbasket .list [role=option]').allTextContents();
      expect(outputs, `${program} given ${answers.join(',')}`).toEqual(expected);
    }
  }
});
