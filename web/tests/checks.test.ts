// SPDX-License-Identifier: GPL-3.0-or-later
// The Checks window against tobric-run (the native build scripts/web-check makes): a student's
// check shows its verdicts on the visible cases, a class's grading writes its CSV and JSON.
import AxeBuilder from '@axe-core/playwright';
import { expect, test, type Page } from '@playwright/test';
import { spawnSync } from 'node:child_process';
import { mkdirSync, mkdtempSync, readFileSync, readdirSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { fileURLToPath } from 'node:url';
import { deflateRawSync } from 'node:zlib';

const tobricRun =
  process.env.TOBRIC_RUN ??
  fileURLToPath(new URL('../../build/dev/tools/tobric-run', import.meta.url));
const examples = fileURLToPath(new URL('../../examples/', import.meta.url));

// Every kind of verdict and option: points, a hidden case, a case's own step limit, feedback.
const kMixedCases = `# faults
feedback: actual
3,4 -> 7  [points 2]  # small
-10,4 -> -6  # negative
5,5 -> 10  [hidden, points 3]  # hidden one
1,2 -> 3  [steps 3]
`;
const kSilentCases = 'feedback: none\n3,4 -> 7 # small\n2,2 -> 5 [points 4]\n';
const kFaulty: Record<string, string> = {
  'wrong.txt': 'IN\r\nSTA 08\r\nIN\r\nSUB 08\r\nOUT\r\nHLT\r\n', // subtracts
  'endless.txt': 'IN\r\nIN\r\nJMP 02\r\n', // never halts
  'greedy.txt': 'IN\r\nOUT\r\nJMP 00\r\n', // asks for input past the case's
  'broken.txt': 'IN\r\nLDA XY\r\nHLT\r\n', // a step fails
};

interface JsonCase {
  name: string;
  line: number;
  points: number;
  hidden: boolean;
  inputs: string[];
  expected: number[];
  actual: number[];
  result: string;
  score: number;
  error: string;
}
interface JsonReport {
  feedback: string;
  programs: { cases: JsonCase[] }[];
}

// tobric-run's grading of the programs (named as given, from `folder`): its JSON and CSV.
function graded(folder: string, cases: string, programs: string[]): { json: Buffer; csv: Buffer } {
  const run = spawnSync(
    tobricRun,
    ['--cases', cases, '--format', 'json', '--csv', 'tobric-run.csv', ...programs],
    { cwd: folder },
  );
  if (run.error || ![0, 1].includes(run.status!))
    throw new Error(`tobric-run: ${run.error ?? run.stderr}`);
  const csv = readFileSync(join(folder, 'tobric-run.csv'));
  rmSync(join(folder, 'tobric-run.csv'));
  return { json: run.stdout, csv };
}

// What the student's table must show of a case, as the file's feedback level allows.
function shownRow(report: JsonReport, c: JsonCase): string[] {
  const shown = (allowed: boolean, list: unknown[]): string =>
    allowed ? list.join(', ') : 'not shown';
  const why = c.result === 'error' ? `error: ${c.error}` : c.result;
  return [
    c.name || `line ${c.line}`,
    shown(report.feedback !== 'none', c.inputs),
    shown(report.feedback === 'full', c.expected),
    shown(report.feedback !== 'none', c.actual),
    why,
    `${c.score} of ${c.points}`,
  ];
}

let folder: string;
test.beforeAll(() => {
  folder = mkdtempSync(join(tmpdir(), 'tobric-checks-'));
  writeFileSync(join(folder, 'mixed.cases'), kMixedCases);
  writeFileSync(join(folder, 'silent.cases'), kSilentCases);
  for (const [name, text] of Object.entries(kFaulty)) writeFileSync(join(folder, name), text);
});
test.afterAll(() => rmSync(folder, { recursive: true }));

const accessibilityFaults = async (page: Page): Promise<string[]> =>
  (await new AxeBuilder({ page }).analyze()).violations.flatMap((rule) =>
    rule.nodes.map((node) => `${rule.id}: ${node.target.join(' ')}`),
  );

test('a student\u2019s check gives tobric-run\u2019s verdicts on the visible cases', async ({
  page,
}) => {
  test.setTimeout(60_000);
  type Check = [program: string, folder: string, cases: string];
  const checks: Check[] = [
    ...readdirSync(examples)
      .filter((name) => name.endsWith('.txt'))
      .map((name): Check => [name, examples, join(examples, name.replace(/\.txt$/, '.cases'))]),
    ...Object.keys(kFaulty).map((name): Check => [name, folder, join(folder, 'mixed.cases')]),
    ['add_two_numbers.txt', examples, join(folder, 'mixed.cases')],
    ['wrong.txt', folder, join(folder, 'silent.cases')],
  ];
  await page.goto('./');
  await expect(page.locator('#Form1')).toBeVisible();
  // From the keyboard: the dialog takes the focus, and gives it back on Esc.
  await page.locator('#open-checks').focus();
  await page.keyboard.press('Enter');
  const dialog = page.getByRole('dialog', { name: 'Checks' });
  await expect(dialog).toBeVisible();
  await expect(page.locator('#checks :focus')).toHaveCount(1);
  await page.locator('#cases-file').setInputFiles(checks[0][2]);
  await expect(page.locator('#checks .chosen')).toHaveText(checks[0][2].replace(/^.*\//, ''));
  for (const [name, programFolder, cases] of checks) {
    const bytes = readFileSync(join(programFolder, name));
    // The program and the cases file come in a link, as a teacher hands them out.
    const link = `program=${deflateRawSync(bytes).toString('base64url')}&cases=${deflateRawSync(readFileSync(cases)).toString('base64url')}`;
    await page.evaluate((hash) => {
      document.getElementById('pagebar-status')!.textContent = '';
      location.hash = hash;
    }, link);
    await expect(page.locator('#pagebar-status')).toHaveText(/carries checks/);
    await page.locator('#check-program').click();
    await expect(page.locator('#checks-status'), name).toHaveText(/^Passed /, { timeout: 20_000 });
    const report = JSON.parse(
      graded(programFolder, cases, [name]).json.toString('utf8'),
    ) as JsonReport;
    const visible = report.programs[0].cases.filter((c) => !c.hidden);
    const rows = await page
      .locator('#checks tbody tr')
      .evaluateAll((trs) => trs.map((tr) => Array.from(tr.children, (cell) => cell.textContent!)));
    expect(
      rows.map((row) =>
        row.map((cell, at) =>
          at === 4 ? cell.replace(/^(step limit|no input left):.*/, '$1') : cell,
        ),
      ),
      `${name} against ${cases}`,
    ).toEqual(visible.map((c) => shownRow(report, c)));
    const passed = visible.filter((c) => c.result === 'pass').length;
    const score = visible.reduce((sum, c) => sum + c.score, 0);
    const most = visible.reduce((sum, c) => sum + c.points, 0);
    await expect(page.locator('#checks tfoot')).toHaveText(
      `Total${passed} of ${visible.length} passed${score} of ${most}`,
    );
  }
  // A cases file that cannot be used is refused with tobric-run's words, naming its line.
  writeFileSync(join(folder, 'bad.cases'), '3,4 -> 7\n1 -> 2 [points many]\n');
  const refusal = spawnSync(tobricRun, ['--cases', 'bad.cases', 'wrong.txt'], {
    cwd: folder,
  }).stderr.toString();
  await page.locator('#cases-file').setInputFiles(join(folder, 'bad.cases'));
  await expect(page.locator('#checks .chosen')).toHaveText('bad.cases');
  await page.locator('#check-program').click();
  await expect(page.locator('#checks-status')).toHaveText(
    `The cases file cannot be used: ${refusal.replace(/^tobric-run: bad\.cases: /, '').trim()}`,
  );
  await expect(page.locator('#checks table')).toHaveCount(0); // nor the last check's table left standing
  expect(await accessibilityFaults(page)).toEqual([]);
  await page.keyboard.press('Escape');
  await expect(dialog).toBeHidden();
  await expect(page.locator('#open-checks')).toBeFocused();
});

test('grading a class\u2019s folder writes tobric-run\u2019s CSV and JSON byte for byte', async ({
  page,
}) => {
  // Named by their paths within the folder, in the names' order: a comma, a quote and a letter
  // beyond ASCII in a name, a program in a sub-folder, a file that is not a program.
  const names = [...Object.keys(kFaulty), 'Zoë, "B".txt', 'late/add_two_numbers.txt'].sort();
  const classFolder = join(folder, 'class');
  mkdirSync(join(classFolder, 'late'), { recursive: true });
  for (const name of names) {
    writeFileSync(
      join(classFolder, name),
      name.includes('/')
        ? readFileSync(join(examples, 'add_two_numbers.txt'))
        : (kFaulty[name] ?? 'IN\r\nSTA 09\r\nIN\r\nADD 09\r\nOUT\r\nHLT\r\n'),
    );
  }
  writeFileSync(join(classFolder, 'notes.md'), 'not a program');
  await page.goto('./');
  await page.locator('#open-checks').click();
  await page.locator('#cases-file').setInputFiles(join(folder, 'mixed.cases'));
  await page.locator('#program-folder').setInputFiles(classFolder);
  await expect(page.locator('#checks-status')).toHaveText(`${names.length} programs chosen.`);
  await page.locator('#grade-programs').click();
  await expect(page.locator('#checks-status')).toHaveText(/^Graded /, { timeout: 20_000 });
  await expect(page.locator('#checks thead th')).toHaveText([
    'Program',
    'small',
    'negative',
    'hidden one (hidden)',
    'line 6',
    'Passed',
    'Score',
  ]);
  await expect(page.locator('#checks tbody th')).toHaveText(names);
  expect(await accessibilityFaults(page)).toEqual([]);
  const expected = graded(classFolder, join(folder, 'mixed.cases'), names);
  for (const [label, bytes] of [
    ['Download the CSV', expected.csv],
    ['Download the JSON', expected.json],
  ] as const) {
    const download = page.waitForEvent('download');
    await page.getByRole('button', { name: label }).click();
    expect(readFileSync(await (await download).path()).toString('latin1'), label).toBe(
      bytes.toString('latin1'),
    );
  }
});
