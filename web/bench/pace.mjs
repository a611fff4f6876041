// SPDX-License-Identifier: GPL-3.0-or-later
// The pace of a run in headless Chromium at speed-bar positions 100, 10 and 1, each beside a bare
// ticker in the same page: the same scheduler (src/scheduler.ts), stopped and started afresh on
// every tick as the step re-arms the timer, with no machine. Run by scripts/web-bench, which
// serves build/web; usage: node bench/pace.mjs URL
import { chromium } from '@playwright/test';
import { readFileSync } from 'node:fs';
import { loadavg } from 'node:os';
import ts from 'typescript';

const url = process.argv[2] ?? 'http://127.0.0.1:8616/';
const seconds = { 100: 5, 10: 3, 1: 3 };
// An endless loop of three steps (ADD, STA, JMP) that counts its passes in mailbox 05.
const loop = ['LDA 05', 'ADD 06', 'STA 05', 'JMP 01', 'HLT', 'DAT 0', 'DAT 1'].join('\r\n');
const kStepsPerPass = 3;

const browser = await chromium.launch({ executablePath: '/usr/bin/chromium' });
const page = await browser.newPage({ viewport: { width: 800, height: 600 } });
await page.goto(url);
const chooser = page.waitForEvent('filechooser');
await page.locator('#loadmenu').click();
await (await chooser).setFiles({ name: 'loop.txt', mimeType: 'text/plain', buffer: Buffer.from(loop) });
await page.locator('#mailboxshow > div').nth(6).waitFor();

// Mailbox 05 is read in the page each time the display changes, with the time: what counts is
// what the user sees drawn, and a display drawn once a frame shows several passes at a time.
await page.evaluate(() => {
  const marks = [];
  const count = () => Number(document.querySelectorAll('#mailboxshow > div')[5].textContent.split(' ').pop());
  new MutationObserver(() => marks.push([performance.now(), count()]))
    .observe(document.getElementById('mailboxshow'), { subtree: true, childList: true, characterData: true });
  Object.assign(window, { paceMarks: marks });
});
const passesOver = (ms) => page.evaluate(async (ms) => {
  window.paceMarks.length = 0;
  await new Promise((done) => setTimeout(done, ms));
  const marks = window.paceMarks;
  if (marks.length < 2) return 0;
  const [[t0, n0], [t1, n1]] = [marks[0], marks[marks.length - 1]];
  return ((n1 - n0) * 1000) / (t1 - t0);
}, ms);

// The bare ticker: the page's own scheduler, compiled from the same source.
const source = readFileSync(new URL('../src/scheduler.ts', import.meta.url), 'utf8');
const compilerOptions = { target: ts.ScriptTarget.ES2022, module: ts.ModuleKind.ESNext };
const scheduler = ts.transpileModule(source, { compilerOptions }).outputText;
const bareTicksOver = (interval, ms) => page.evaluate(async ([code, interval, ms]) => {
  const { Countdown } = await import(URL.createObjectURL(new Blob([code], { type: 'text/javascript' })));
  const marks = [];
  const countdown = new Countdown(() => {
    countdown.stop();
    marks.push(performance.now());
    countdown.start(interval);
  });
  countdown.start(interval);
  await new Promise((done) => setTimeout(done, ms));
  countdown.stop();
  return marks.length < 2 ? 0 : ((marks.length - 1) * 1000) / (marks[marks.length - 1] - marks[0]);
}, [scheduler, interval, ms]);

const bar = page.locator('#ScrollBar1');
const keys = { 100: ['PageUp', 'PageUp', 'PageUp', 'PageUp'], 10: Array(9).fill('ArrowLeft'), 1: ['Home'] };
console.log(`load average before: ${loadavg().map((n) => n.toFixed(2)).join(' ')}`);
await page.locator('#runmenu').click();
const results = [];
for (const position of [100, 10, 1]) {
  for (const key of keys[position]) await bar.press(key);
  await page.waitForTimeout(300); // the new interval settles
  const run = kStepsPerPass * (await passesOver(seconds[position] * 1000));
  // The run is halted while the bare ticker counts, so that the two never share the page.
  await page.locator('#menuhalt').click();
  const bare = await bareTicksOver(position, seconds[position] * 1000);
  await page.locator('#menuhalt').click();
  results.push({ position, run, bare });
  console.log(`position ${String(position).padStart(3)}: ${run.toFixed(0).padStart(5)} steps/s; `
    + `bare ticker ${bare.toFixed(0).padStart(5)} ticks/s; run/bare ${(run / bare).toFixed(2)}; `
    + `ideal ${1000 / position}/s`);
}
console.log(`load average after: ${loadavg().map((n) => n.toFixed(2)).join(' ')}`);
await browser.close();
const first = results.find((r) => r.position === 1);
if (first.run < 900) console.log(`position 1 is below the goal of 900 steps/s`);
