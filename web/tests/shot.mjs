// SPDX-License-Identifier: GPL-3.0-or-later
// A picture of the page's main window as the desktop's docs/main-window.png shows it: the
// count-down example loaded and stepped nine times (once round its loop), mailbox 04 selected, the splash gone.
// Run by scripts/web-screenshot, which serves build/web; usage: node tests/shot.mjs URL OUTPUT.png
import { chromium } from '@playwright/test';
import { readFileSync } from 'node:fs';

const [url, output] = process.argv.slice(2);
// Playwright hides scroll bars by default; the picture shows them, as a browser does.
const browser = await chromium.launch({ executablePath: '/usr/bin/chromium', ignoreDefaultArgs: ['--hide-scrollbars'] });
const page = await browser.newPage({ viewport: { width: 800, height: 600 } });
await page.goto(url);
await page.locator('#Form2').click();
const chooser = page.waitForEvent('filechooser');
await page.locator('#loadmenu').click();
await (await chooser).setFiles({ name: 'count_down.txt', mimeType: 'text/plain',
  buffer: readFileSync(new URL('../../examples/count_down.txt', import.meta.url)) });
const rows = page.locator('#mailboxshow > div');
await rows.nth(99).waitFor();
for (let i = 0; i < 9; ++i) await page.locator('#stepmenu').click();
// The displays are drawn with the next frame.
await page.waitForFunction(() => document.querySelector('#pctext').value === '4'
  && document.querySelector('#outbasket input').value === '4', null, { timeout: 10_000 });
await rows.nth(4).click();
await page.locator('#pctext').focus(); // where the focus stands when the window opens
await page.locator('#Form1 .client').screenshot({ path: output });
await browser.close();
