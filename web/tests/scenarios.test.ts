// SPDX-License-Identifier: GPL-3.0-or-later
// The shared end-to-end scenarios (tests/scenarios/) played through the page. The desktop's
// tests/scenarios_test.cpp plays the same file through the window: both must show the same.
import { expect, test, type Page } from '@playwright/test';
import { readFileSync } from 'node:fs';

type Step = {
  load?: string;
  loadCancelled?: boolean;
  click?: string[];
  speed?: string[];
  menu?: string;
  row?: number;
  editor?: string;
  answer?: string | null;
  prompt?: string;
  default?: string;
  untilHalted?: boolean;
  expect?: Record<string, unknown>;
};
const scenarios = JSON.parse(
  readFileSync(new URL('../../tests/scenarios/main_window.json', import.meta.url), 'utf8'),
) as { name: string; steps: Step[] }[];

const rows = (page: Page) => page.locator('#mailboxshow > div');

// The desktop's test driver answers the boxes as they open and keeps their texts; so does this.
class Boxes {
  notices: string[] = [];
  errors: string[] = [];
  constructor(private readonly page: Page) {}

  // Reads and closes the notices and error reports that take input now.
  async sweep(): Promise<void> {
    const seen = await this.page.evaluate(() =>
      Array.from(document.querySelectorAll<HTMLElement>('.window.notice, .window.error-report'))
        .filter((box) => !box.inert)
        .map((box) => {
          const text = box.querySelector('.dialog-text')!.textContent!;
          box.querySelector<HTMLButtonElement>('button.push')!.click();
          return [box.classList.contains('notice'), text] as const;
        }),
    );
    for (const [notice, text] of seen) (notice ? this.notices : this.errors).push(text);
  }
}

// What the page shows under an expectation's name in the scenario file.
async function shown(page: Page, boxes: Boxes, name: string): Promise<unknown> {
  if (name === 'notices' || name === 'errors') {
    await boxes.sweep();
    return boxes[name];
  }
  if (name === 'calculator') return page.locator('#calculatorValueText .caption').textContent();
  if (name === 'outbasket') return page.locator('#outbasket input').inputValue();
  if (name === 'rowCount') return rows(page).count();
  if (name === 'outList') {
    const drop = page.locator('#outbasket .drop');
    await drop.click();
    const items = await page.locator('#outbasket .list [role=option]').allTextContents();
    await drop.click();
    return items;
  }
  return page.locator(`#${name}`).inputValue();
}

test.beforeEach(async ({ page }) => {
  await page.goto('./');
  await expect(page.locator('#Form1')).toBeVisible();
  // The splash stands over the keypad for five seconds; a click sends it away.
  const splash = page.locator('#Form2');
  await expect(splash).toBeVisible();
  await splash.click();
  await expect(splash).toBeHidden();
});

for (const scenario of scenarios) {
  test(scenario.name, async ({ page }) => {
    const boxes = new Boxes(page);
    for (const step of scenario.steps) {
      await boxes.sweep();
      if (step.load !== undefined) {
        const chooser = page.waitForEvent('filechooser');
        await page.locator('#loadmenu').click();
        const buffer = Buffer.from(step.load, 'latin1');
        await (await chooser).setFiles({ name: 'program.txt', mimeType: 'text/plain', buffer });
        // The file is read asynchronously: loaded once the first mailbox shows its first line.
        await expect(rows(page).first()).toHaveText(`00 ${step.load.split(/\r\n|\r|\n/)[0]}`);
      } else if (step.loadCancelled) {
        const chooser = page.waitForEvent('filechooser');
        await page.locator('#loadmenu').click();
        await chooser;
        await page.locator('#open-file').dispatchEvent('cancel');
      } else if (step.click) {
        for (const name of step.click) await page.locator(`#${name}`).click();
      } else if (step.speed) {
        for (const key of step.speed) await page.locator('#ScrollBar1').press(key);
      } else if (step.menu) {
        await rows(page).nth(step.row!).click();
        await rows(page).nth(step.row!).click({ button: 'right' });
        await page.getByRole('menuitem', { name: step.menu }).click();
      } else if (step.editor !== undefined) {
        // The editor open: its whole text typed over, then Save Changes.
        await page.locator('#tobriceditor').fill(step.editor);
        await page.locator('#Form4-Button1').click();
      } else if (step.answer !== undefined) {
        const prompt = page.locator('.window.prompt').last();
        await expect(prompt).toHaveAttribute('aria-label', step.prompt!);
        const field = prompt.getByRole('textbox');
        await expect(field).toHaveValue(step.default!);
        if (step.answer === null) {
          await prompt.getByRole('button', { name: 'Cancel' }).click();
        } else {
          await field.fill(step.answer);
          await field.press('Enter');
        }
      } else if (step.untilHalted) {
        await expect(page.locator('#Form1')).not.toHaveAttribute('data-timer', 'enabled');
      } else if (step.expect) {
        for (const [name, value] of Object.entries(step.expect)) {
          if (name !== 'rows') {
            await expect.poll(() => shown(page, boxes, name), { message: name }).toEqual(value);
            continue;
          }
          for (const [row, text] of Object.entries(value as Record<string, string>))
            await expect
              .poll(() => rows(page).nth(Number(row)).textContent(), { message: `row ${row}` })
              .toBe(text);
        }
      } else {
        throw new Error(`unknown step: ${JSON.stringify(step)}`);
      }
    }
    await expect(page.locator('.window.prompt')).toHaveCount(0); // no prompt the file did not expect
  });
}
