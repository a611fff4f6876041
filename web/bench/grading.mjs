// SPDX-License-Identifier: GPL-3.0-or-later
// The page's grading beside tobric-run's, on one core each, on the grading set of
// bench/step_bench.cpp (BM_GradeFortyProgramsTwentyCases): 40 programs by 20 cases, the even
// programs adding two answers and halting (half of them off by one), the odd ones looping into
// the 1,000,000-step limit. The page (build/tobric.html, opened from the disk in headless
// Chromium) grades them all in its worker, which is one thread; tobric-run (the release build)
// grades them one program per invocation, so that it too uses one core, in the same run.
// Usage: node bench/grading.mjs (after scripts/web-build and the release build of tobric-run)
import { chromium } from '@playwright/test';
import { spawnSync } from 'node:child_process';
import { existsSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { loadavg, tmpdir } from 'node:os';
import { join } from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';

const root = fileURLToPath(new URL('../../', import.meta.url));
const singleFile = join(root, 'build/tobric.html');
const tobricRun = join(root, 'build/release/tools/tobric-run');
for (const [path, how] of [[singleFile, './scripts/web-build'],
  [tobricRun, 'cmake --preset release && cmake --build --preset release --target tobric-run']]) {
  if (!existsSync(path)) throw new Error(`${path} is missing: ${how}`);
}

// The programs of step_bench.cpp's GradedProgram(k), as its LineOf writes their lines.
function program(k) {
  if (k % 2 === 0) {
    return ['IN', 'STA 20', 'IN', 'ADD 20', 'ADD 21', 'OUT', 'HLT', ...Array(14).fill('DAT 0'),
      `DAT ${k % 4 === 0 ? 0 : 1}`];
  }
  if (k % 4 === 1) return ['IN', 'STA 10', 'LDA 10', 'ADD 11', 'STA 10', 'JMP 02', 'HLT', ...Array(4).fill('DAT 0'), 'DAT 1'];
  return ['IN', 'ADD 11', 'SUB 11', 'SKN', 'JMP 01', 'OUT', 'HLT', ...Array(4).fill('DAT 0'), 'DAT 1'];
}

const folder = mkdtempSync(join(tmpdir(), 'tobric-grading-bench-'));
const cases = join(folder, 'sum.cases');
writeFileSync(cases, Array.from({ length: 20 }, (_, c) => `${c},${c + 1} -> ${2 * c + 1}\n`).join(''));
const programs = Array.from({ length: 40 }, (_, k) => {
  const path = join(folder, `program${k}.txt`);
  writeFileSync(path, program(k).map((line) => `${line}\r\n`).join(''));
  return path;
});
const stepsOf = (json) => json.programs.reduce((sum, graded) =>
  sum + graded.cases.reduce((each, c) => each + c.steps, 0), 0);

// Each side three times, in turn, the fastest of each kept: a busy machine slows both.
const kRounds = 3;
try {
  const browser = await chromium.launch({ executablePath: '/usr/bin/chromium' });
  const page = await browser.newPage();
  await page.goto(pathToFileURL(singleFile).href);
  await page.locator('#open-checks').click();
  await page.locator('#cases-file').setInputFiles(cases);
  await page.locator('#program-files').setInputFiles(programs);
  await page.locator('#checks-status').filter({ hasText: '40 programs chosen.' }).waitFor();
  // The page: from pressing Grade to the grades shown, the worker's start included.
  const gradeInPage = () => page.evaluate(() => new Promise((done) => {
    const status = document.getElementById('checks-status');
    const start = performance.now();
    new MutationObserver((_, observer) => {
      if (!status.textContent.startsWith('Graded')) return;
      observer.disconnect();
      done((performance.now() - start) / 1000);
    }).observe(status, { childList: true, characterData: true, subtree: true });
    document.getElementById('grade-programs').click();
  }));
  // tobric-run: one program per invocation, so one thread, the programs one after the other.
  const gradeNatively = () => {
    let steps = 0;
    const start = process.hrtime.bigint();
    for (const path of programs) {
      const run = spawnSync(tobricRun, ['--cases', cases, '--format', 'json', path]);
      if (![0, 1].includes(run.status)) throw new Error(`tobric-run: ${run.stderr}`);
      steps += stepsOf(JSON.parse(run.stdout.toString('utf8')));
    }
    return { seconds: Number(process.hrtime.bigint() - start) / 1e9, steps };
  };
  let pageSeconds = Infinity;
  let nativeSeconds = Infinity;
  let nativeSteps = 0;
  for (let round = 0; round < kRounds; ++round) {
    pageSeconds = Math.min(pageSeconds, await gradeInPage());
    const native = gradeNatively();
    nativeSeconds = Math.min(nativeSeconds, native.seconds);
    nativeSteps = native.steps;
  }
  const download = page.waitForEvent('download');
  await page.getByRole('button', { name: 'Download the JSON' }).click();
  const pageSteps = stepsOf(JSON.parse(readFileSync(await (await download).path(), 'utf8')));
  await browser.close();

  if (pageSteps !== nativeSteps) throw new Error(`the page obeyed ${pageSteps} steps, tobric-run ${nativeSteps}`);
  const rate = (seconds) => `${(pageSteps / seconds / 1e6).toFixed(1)} million steps/s`;
  console.log(`40 programs x 20 cases, ${pageSteps.toLocaleString('en')} steps, the fastest of ${kRounds} rounds ` +
    `(load average ${loadavg()[0].toFixed(2)})`);
  console.log(`  the page's worker: ${pageSeconds.toFixed(2)} s, ${rate(pageSeconds)}`);
  console.log(`  tobric-run, one program per invocation: ${nativeSeconds.toFixed(2)} s, ${rate(nativeSeconds)}`);
  console.log(`  the page at ${(100 * nativeSeconds / pageSeconds).toFixed(0)} % of tobric-run's speed (goal: at least 50 %)`);
} finally {
  rmSync(folder, { recursive: true });
}
