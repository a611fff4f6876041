// SPDX-License-Identifier: GPL-3.0-or-later
// The single file (build/tobric.html) beside the folder it is made from (build/web/): its size
// beside the sum of the folder's files, and the time from the start of the navigation to the first
// frame that shows the main window in headless Chromium, opened from the disk beside the folder
// served over http on the loopback, in turn, each in a fresh context (nothing cached).
// Build first (scripts/web-build); usage, in web/: node bench/single_file.mjs [FOLDER FILE]
import { chromium } from '@playwright/test';
import { spawn } from 'node:child_process';
import { readdirSync, statSync } from 'node:fs';
import { loadavg } from 'node:os';
import { join, resolve } from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';

const build = fileURLToPath(new URL('../../build/', import.meta.url));
const [folder, singleFile] = process.argv.length > 3 ? process.argv.slice(2) : [join(build, 'web'), join(build, 'tobric.html')];
const rounds = 10;
const port = 8617;

const folderBytes = (path) => readdirSync(path, { withFileTypes: true }).reduce((sum, entry) =>
  sum + (entry.isDirectory() ? folderBytes(join(path, entry.name)) : statSync(join(path, entry.name)).size), 0);
const kB = (bytes) => `${(bytes / 1000).toFixed(0)} kB`;
console.log(`size: single file ${kB(statSync(singleFile).size)}, folder ${kB(folderBytes(folder))}`);

const server = spawn('python3', ['-m', 'http.server', String(port), '--bind', '127.0.0.1', '--directory', folder],
  { stdio: 'ignore' });
const browser = await chromium.launch({ executablePath: '/usr/bin/chromium' });
try {
  const folderUrl = `http://127.0.0.1:${port}/`;
  for (let tries = 0; !(await fetch(folderUrl).then((answer) => answer.ok, () => false)); tries++) {
    if (tries === 50) throw new Error('the folder is not served');
    await new Promise((done) => setTimeout(done, 100));
  }
  const shown = async (url) => {
    const context = await browser.newContext();
    const page = await context.newPage();
    await page.goto(url, { waitUntil: 'commit' });
    const handle = await page.waitForFunction(
      () => document.getElementById('Form1')?.checkVisibility() && performance.now(), null,
      { polling: 'raf', timeout: 30_000 });
    const ms = await handle.jsonValue();
    await context.close();
    return ms;
  };
  const times = { 'single file from disk': [], 'folder over http': [] };
  for (let round = 0; round < rounds; round++) {
    times['single file from disk'].push(await shown(pathToFileURL(resolve(singleFile)).href));
    times['folder over http'].push(await shown(folderUrl));
  }
  for (const [name, ms] of Object.entries(times)) {
    ms.sort((a, b) => a - b);
    console.log(`open, ${name}: median ${ms[rounds >> 1].toFixed(0)} ms, best ${ms[0].toFixed(0)} ms (${rounds} rounds)`);
  }
  console.log(`load average ${loadavg().map((load) => load.toFixed(2)).join(' ')}`);
} finally {
  await browser.close();
  server.kill();
}
