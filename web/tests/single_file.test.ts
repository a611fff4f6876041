// SPDX-License-Identifier: GPL-3.0-or-later
// build/tobric.html, the page as one file, opened from a disk with nothing beside it, in Debian's
// Chromium (through Playwright) and Firefox ESR (through puppeteer-core, over WebDriver BiDi),
// its grading worker among what must start from within it.
import { expect, test, type Browser } from '@playwright/test';
import { copyFileSync, mkdtempSync, readFileSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';
import { deflateRawSync } from 'node:zlib';
import puppeteer from 'puppeteer-core';

const singleFile =
  process.env.TOBRIC_SINGLE_FILE ??
  fileURLToPath(new URL('../../build/tobric.html', import.meta.url));
const program = readFileSync(
  new URL('../../examples/add_two_numbers.txt', import.meta.url),
  'latin1',
);
const cases = deflateRawSync(
  readFileSync(new URL('../../examples/add_two_numbers.cases', import.meta.url)),
);
const link = `#lines=${encodeURIComponent(program.replace(/\r\n/g, '\n'))}&cases=${cases.toString('base64url')}`;

// What the test asks of either browser's page.
interface Opened {
  evaluate<T>(read: () => T | Promise<T>): Promise<T>;
  click(selector: string): Promise<void>;
  type(text: string): Promise<void>;
  press(key: string): Promise<void>;
  close(): Promise<void>;
}

async function inChromium(url: string, browser: Browser): Promise<Opened> {
  const page = await browser.newPage();
  await page.goto(url);
  return {
    evaluate: (read) => page.evaluate(read),
    click: (selector) => page.locator(selector).click(),
    type: (text) => page.keyboard.type(text),
    press: (key) => page.keyboard.press(key),
    close: () => page.close(),
  };
}

async function inFirefox(url: string): Promise<Opened> {
  const browser = await puppeteer.launch({
    browser: 'firefox',
    protocol: 'webDriverBiDi',
    executablePath: '/usr/bin/firefox-esr',
    headless: true,
    timeout: 30_000,
  });
  try {
    const page = await browser.newPage();
    page.setDefaultTimeout(10_000);
    await page.goto(url);
    return {
      evaluate: (read) => page.evaluate(read),
      click: (selector) => page.click(selector),
      type: (text) => page.keyboard.type(text),
      press: (key) => page.keyboard.press(key as 'Enter'),
      close: () => browser.close(),
    };
  } catch (error) {
    await browser.close();
    throw error;
  }
}

// Asks the page until it answers `wanted`, for at most ten seconds.
async function until<T>(page: Opened, read: () => T, wanted: T): Promise<void> {
  await expect.poll(() => page.evaluate(read), { timeout: 10_000 }).toEqual(wanted);
}

const browsers = [
  { name: 'Chromium', open: inChromium },
  { name: 'Firefox', open: inFirefox },
];

for (const { name, open } of browsers) {
  test(`the single file opened from a disk in ${name} runs a linked program with IN answered and checks it`, async ({
    browser,
  }) => {
    test.setTimeout(90_000); // Firefox takes seconds to start on a busy machine
    // Alone in a folder, as on a USB stick: a file it named beside it would not be there.
    const folder = mkdtempSync(join(tmpdir(), 'tobric-single-'));
    copyFileSync(singleFile, join(folder, 'tobric.html'));
    const opened = await open(pathToFileURL(join(folder, 'tobric.html')).href + link, browser);
    try {
      await until(opened, () => !!document.getElementById('Form1')?.checkVisibility(), true);
      await until(
        opened,
        () => document.querySelectorAll('#mailboxshow > div')[3]?.textContent,
        '03 STA 08',
      );
      await opened.click('#runmenu');
      for (const value of ['17', '5']) {
        await until(
          opened,
          () => !!document.querySelector('[role="dialog"][aria-label="Message"]'),
          true,
        );
        await opened.type(value);
        await opened.press('Enter');
      }
      await until(
        opened,
        () => document.querySelector<HTMLInputElement>('#outbasket input')?.value,
        '22',
      );
      // Every face the styles name and every picture comes from within the file.
      const faults = await opened.evaluate(async () => {
        const faces = [...document.fonts];
        const loads = await Promise.allSettled(faces.map((face) => face.load()));
        return [
          ...faces.filter((_, at) => loads[at].status === 'rejected').map((face) => face.family),
          ...[...document.images].filter((i) => !i.complete || !i.naturalWidth).map((i) => i.id),
        ].filter(Boolean);
      });
      expect(faults).toEqual([]);
      // The grading worker starts from within the file too, on the cases the link carries.
      await opened.click('#open-checks');
      await opened.click('#check-program');
      await until(
        opened,
        () => document.getElementById('checks-status')?.textContent,
        'Passed 3 of 3 cases; 3 of 3 points.',
      );
    } finally {
      await opened.close();
      rmSync(folder, { recursive: true });
    }
  });
}
