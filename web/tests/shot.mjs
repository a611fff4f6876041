// SPDX-License-Identifier: GPL-3.0-or-later
// A picture of the page's main window with the count-down example loaded and stepped, for a look
// beside the desktop's (scripts/screenshot), and the pace of a run at speed-bar position 1.
// Usage, with the page served from build/web on port 8615: node tests/shot.mjs OUTPUT.png
import { chromium } from '@playwright/test';
import { readFileSync } from 'node:fs';

const browser = await chromium.launch({ executablePath: '/usr/bin/chromium' });
const page = await browser.newPage({ viewport: { width: 800, height: 600 } });
await page.goto('http://127.0.0.1:8615/');
const chooser = page.waitForEvent('filechooser');
await page.locator('#loadmenu').click();
await (await chooser).setFiles({ name: 'count_down.txt', mimeType: 'text/plain',
  buffer: readFileSync(new URL('../../examples/count_down.txt', import.meta.url)) });
for (let i = 0; i < 5; ++i) await page.locator('#stepmenu').click();
await page.locator('#mailboxshow > div').nth(4).click();
await page.locator('#Form1 .client').screenshot({ path: process.argv[2] ?? 'page.png' });

// Pace: an endless loop of STA and JMP at position 1, counted through the program counter box.
await page.reload();
const loop = ['LDA 05', 'ADD 06', 'STA 05', 'JMP 01', 'HLT', 'DAT 0', 'DAT 1'].join('\r\n');
const again = page.waitForEvent('filechooser');
await page.locator('#loadmenu').click();
await (await again).setFiles({ name: 'loop.txt', mimeType: 'text/plain', buffer: Buffer.from(loop) });
await page.locator('#ScrollBar1').press('Home');
await page.locator('#runmenu').click();
await page.waitForTimeout(500);
const count = () => page.locator('#mailboxshow > div').nth(5).textContent();
const before = Number((await count()).split(' ')[2]);
await page.waitForTimeout(3000);
const after = Number((await count()).split(' ')[2]);
console.log(`position 1: ${((after - before) * 3) / 3} steps/s (${(after - before) / 3} loop passes/s of 3 steps)`);
await browser.close();
