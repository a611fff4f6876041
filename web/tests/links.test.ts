// SPDX-License-Identifier: GPL-3.0-or-later
// The page around the window: the Examples menu, links that carry a program, the window alone.
import AxeBuilder from '@axe-core/playwright';
import { expect, test, type Page } from '@playwright/test';
import { readFileSync, readdirSync } from 'node:fs';
import { deflateRawSync } from 'node:zlib';

const folder = new URL('../../examples/', import.meta.url);
const rows = (page: Page) => page.locator('#mailboxshow > div');
const store = (page: Page) => rows(page).allTextContents();

async function load(page: Page, bytes: Buffer): Promise<void> {
  const chooser = page.waitForEvent('filechooser');
  await page.locator('#loadmenu').click();
  await (await chooser).setFiles({ name: 'program.txt', mimeType: 'text/plain', buffer: bytes });
}

// The store as Save writes it: the bytes of a download.
async function saved(page: Page): Promise<Buffer> {
  await page.evaluate(() => Object.assign(window, { showSaveFilePicker: undefined }));
  const download = page.waitForEvent('download');
  await page.locator('#savemenu').click();
  return readFileSync(await (await download).path());
}

// Every byte from 0x01 to 0xFF but the line breaks, spread over `count` lines ending in CR LF.
function everyByte(count: number): Buffer {
  const bytes = Array.from({ length: 255 }, (_, i) => i + 1).filter(
    (b) => b !== 0x0a && b !== 0x0d,
  );
  const lines = Array.from({ length: count }, (_, line) =>
    Buffer.from(bytes.filter((_, i) => i % count === line || count > bytes.length)),
  );
  return Buffer.concat(lines.flatMap((line) => [line, Buffer.from('\r\n')]));
}

// The page with no program; the tests that open a link open only that.
async function openPage(page: Page): Promise<void> {
  await page.goto('./');
  await expect(page.locator('#Form1')).toBeVisible();
}

test('every example in the menu loads the same store as Load of its file', async ({ page }) => {
  await openPage(page);
  const button = page.getByRole('button', { name: 'Examples' });
  const items = page.getByRole('menuitem');
  const files = readdirSync(folder).filter((name) => name.endsWith('.txt'));
  await button.click();
  await expect(items).toHaveCount(files.length);
  expect(await new AxeBuilder({ page }).analyze().then((result) => result.violations)).toEqual([]);
  await page.keyboard.press('Escape');
  await expect(button).toBeFocused();
  for (let at = 0; at < files.length; ++at) {
    // From the keyboard: Down opens the menu at its first item.
    await button.press('ArrowDown');
    for (let step = 0; step < at; ++step) await page.keyboard.press('ArrowDown');
    const name = await items.nth(at).getAttribute('data-example');
    const title = (await items.nth(at).textContent())!;
    await page.keyboard.press('Enter');
    await expect(items.first()).toBeHidden();
    // The rows are drawn on the next frame: until then they show the example before.
    await expect(rows(page).first()).toHaveText(/^00 \*/);
    await expect(rows(page).first()).toContainText(title);
    const fromMenu = await store(page);
    await load(page, readFileSync(new URL(`${name}.txt`, folder)));
    await expect.poll(() => store(page), name!).toEqual(fromMenu);
    await page.locator('#ScrollBar1').focus(); // the menu's button is pressed afresh each time
  }
});

// Copy Link, then the link in a fresh page: the store saved there is the store saved here. The
// readable form a teacher's script makes gives the same store.
for (const count of [1, 100, 5000]) {
  test(`a store of ${count} lines with every byte survives a link`, async ({ page, context }) => {
    test.setTimeout(90_000);
    await openPage(page);
    await context.grantPermissions(['clipboard-read', 'clipboard-write']);
    const program = everyByte(count);
    await load(page, program);
    await expect(rows(page)).toHaveCount(Math.max(count, 100));
    const original = await saved(page);
    await page.getByRole('button', { name: 'Copy Link' }).click();
    await expect(page.getByRole('status')).toContainText('Link copied');
    const link = await page.evaluate(() => navigator.clipboard.readText());
    expect(link).toMatch(/^http:\/\/127\.0\.0\.1:8615\/#program=[A-Za-z0-9_-]+$/);
    const lines = program.toString('latin1').replace(/\r\n/g, '\n');
    // The readable form grows past what an address may hold long before 5,000 such lines.
    for (const address of count > 100 ? [link] : [link, `./#lines=${encodeURIComponent(lines)}`]) {
      const fresh = await context.newPage();
      await fresh.goto(address);
      await expect(rows(fresh)).toHaveCount(Math.max(count, 100));
      expect((await saved(fresh)).equals(original), address.slice(0, 40)).toBe(true);
      await fresh.close();
    }
  });
}

// A damaged link, or one whose program is too long, changes nothing and says why.
const damaged: [string, string | RegExp][] = [
  ['program=not*base64', 'damaged'],
  ['program=AAAA', 'damaged'],
  ['program=', 'damaged'],
  [
    `program=${deflateRawSync(Buffer.from('IN\r\nOUT\r\nHLT\r\n')).toString('base64url').slice(0, -2)}`,
    'damaged',
  ],
  ['lines=IN%0AOUT%E0%A4%A', 'damaged'],
  [`program=${deflateRawSync(Buffer.alloc(9_000_000, 'A')).toString('base64url')}`, 'too long'],
  ['example=no_such_example', 'There is no example called \u201cno_such_example\u201d'],
  ['example=echo&cases=not*base64', 'its checks cannot be read'],
];
test('a damaged link changes nothing and says why', async ({ page }) => {
  await page.goto('./#example=count_down');
  await expect(rows(page).nth(2)).toHaveText('02 LDA 10');
  const before = await store(page);
  const follow = (hash: string) => page.evaluate((to) => (location.hash = to), hash);
  for (const [fragment, reason] of damaged) {
    await follow(fragment);
    await expect(page.getByRole('status'), fragment.slice(0, 30)).toContainText(reason);
    expect(await store(page)).toEqual(before);
    await follow('');
  }
  // A good link after them loads at once.
  await follow('lines=IN%0AOUT%0AHLT');
  await expect(rows(page).nth(1)).toHaveText('01 OUT');
  await expect(page.getByRole('status')).toHaveText('');
});

test('?embed shows the window alone, at its own size', async ({ page }) => {
  await page.setViewportSize({ width: 635, height: 458 });
  await page.goto('./?embed#example=echo');
  await expect(rows(page).nth(2)).toHaveText('02 IN');
  await expect(page.locator('#pagebar')).toBeHidden();
  const frame = (await page.locator('#Form1').boundingBox())!;
  expect([frame.x, frame.y, frame.width, frame.height]).toEqual([0, 0, 635, 458]);
  expect(
    await page.evaluate(() => [
      document.documentElement.scrollWidth,
      document.documentElement.scrollHeight,
    ]),
  ).toEqual([635, 458]);
});
