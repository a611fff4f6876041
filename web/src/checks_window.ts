// SPDX-License-Identifier: GPL-3.0-or-later
// The Checks window, the page's own (a modal dialog of the page, like the page bar, not a window
// of the machine): a student checks the program in the store against the visible cases of a
// cases file; a teacher grades a class's program files against all of them and takes away
// tobric-run's CSV and JSON for the same files.

import { downloadFile } from './files';
import { startGrading, type CaseInfo, type GradedProgram, type GradingNews } from './grading';
import { bytesOf, messageText, textOf, utf8Bytes } from './text';
import { element } from './windows';

type Feedback = 'full' | 'actual' | 'none';

const caseName = (info: CaseInfo): string => messageText(info.name) || `line ${info.line}`;
const count = (n: number, what: string): string =>
  `${n.toLocaleString('en')} ${what}${n === 1 ? '' : 's'}`;

// Why a case failed, as the student reads it.
function verdict(outcome: { result: string; error: string }, info: CaseInfo): string {
  const said: Record<string, string> = {
    'step limit': `step limit: still running after ${count(info.stepLimit, 'step')}`,
    'no input left': 'no input left: the program asked for more input than the case gives',
    error: `error: ${messageText(outcome.error)}`,
  };
  return said[outcome.result] ?? outcome.result;
}

// The window but for its results. A wide class's table scrolls: the keyboard scrolls it too.
const kChecksMarkup = [
  '<div class="checks-head"><h2 id="checks-title">Checks</h2>',
  '<button class="close" aria-label="Close">\u00d7</button></div>',
  '<p><label>Cases file <input type="file" id="cases-file" accept=".cases,.txt,text/plain"></label>',
  '<span class="chosen">none chosen</span></p>',
  '<section aria-labelledby="check-title"><h3 id="check-title">Check the program</h3>',
  '<button id="check-program">Check the program in the store</button></section>',
  '<section aria-labelledby="grade-title"><h3 id="grade-title">Grade a class</h3><p>',
  '<label>Program files <input type="file" id="program-files" accept=".txt,text/plain" multiple>',
  '</label><label>Or a folder of them <input type="file" id="program-folder" webkitdirectory>',
  '</label></p><button id="grade-programs">Grade every case of every program</button>',
  '<span class="downloads"></span></section>',
  '<p class="checks-progress"><span id="checks-status" role="status"></span>',
  '<progress aria-label="Cases done" hidden></progress><button hidden>Stop</button></p>',
  '<div class="checks-results" tabindex="0" role="region" aria-label="Results"></div>',
].join('');

export class ChecksWindow {
  private readonly dialog: HTMLDialogElement;
  private readonly casesLabel: HTMLElement;
  private readonly status: HTMLElement;
  private readonly progress: HTMLProgressElement;
  private readonly stopButton: HTMLButtonElement;
  private readonly results: HTMLElement;
  private readonly downloads: HTMLElement;
  private cases: Uint8Array | null = null; // the chosen cases file's bytes
  private programs: GradedProgram[] = [];
  private stop: (() => void) | null = null;
  private opener: HTMLElement | null = null;

  constructor(
    parent: HTMLElement,
    private readonly storeBytes: () => Uint8Array | string,
  ) {
    this.dialog = element('dialog', 'checks', parent);
    this.dialog.id = 'checks';
    this.dialog.setAttribute('aria-labelledby', 'checks-title');
    this.dialog.innerHTML = kChecksMarkup;
    this.dialog.addEventListener('close', () => this.opener?.focus());
    const find = <E extends HTMLElement>(selector: string): E =>
      this.dialog.querySelector(selector)!;
    find('.close').addEventListener('click', () => this.dialog.close());
    const casesInput = find<HTMLInputElement>('#cases-file');
    this.casesLabel = find('.chosen');
    casesInput.addEventListener('change', async () => {
      const file = casesInput.files?.[0];
      if (file) this.useCases(file.name, new Uint8Array(await file.arrayBuffer()));
    });
    find('#check-program').addEventListener('click', () => this.checkStore());
    for (const input of this.dialog.querySelectorAll<HTMLInputElement>('[id^="program-"]'))
      input.addEventListener('change', () => void this.takePrograms(input));
    find('#grade-programs').addEventListener('click', () => this.gradeClass());
    this.downloads = find('.downloads');
    this.status = find('#checks-status');
    this.progress = find('progress');
    this.stopButton = find('.checks-progress button');
    this.stopButton.addEventListener('click', () => this.finish('Stopped.'));
    this.results = find('.checks-results');
  }

  open(opener: HTMLElement): void {
    this.opener = opener;
    this.dialog.showModal();
  }

  // The cases file the Checks window works with; a link may carry one too.
  useCases(name: string, bytes: Uint8Array): void {
    this.cases = bytes;
    this.casesLabel.textContent = name;
  }

  casesBytes(): Uint8Array | null {
    return this.cases;
  }

  private async takePrograms(input: HTMLInputElement): Promise<void> {
    const folder = input.webkitdirectory;
    // A folder's programs are named by their paths within it, as tobric-run run in that folder
    // is given them; the order is the names' own, as a shell lists them.
    const files = Array.from(input.files ?? [])
      .map((file) => ({
        file,
        name: folder ? file.webkitRelativePath.replace(/^[^/]*\//, '') : file.name,
      }))
      .filter(({ name }) => !folder || name.toLowerCase().endsWith('.txt'))
      .sort((a, b) => (a.name < b.name ? -1 : a.name > b.name ? 1 : 0));
    this.programs = await Promise.all(
      files.map(async ({ file, name }) => ({
        name: utf8Bytes(name),
        bytes: textOf(new Uint8Array(await file.arrayBuffer())),
      })),
    );
    this.say(`${count(this.programs.length, 'program')} chosen.`);
  }

  private checkStore(): void {
    const saved = this.storeBytes();
    if (typeof saved === 'string') return this.say(messageText(saved));
    let table: ReturnType<ChecksWindow['newTable']>;
    let feedback: Feedback = 'full';
    let infos: CaseInfo[] = [];
    let passed = 0;
    let score = 0;
    this.run([{ name: 'program.txt', bytes: textOf(saved) }], true, (news) => {
      if (news.kind === 'cases') {
        ({ feedback, cases: infos } = news);
        const headers = 'Case Inputs Expected Output Result Points'.split(' ');
        table = this.newTable('Checks of the program in the store', headers);
      } else if (news.kind === 'case') {
        const info = infos[news.index];
        const shown = (level: boolean, list: number[] | string[]): string =>
          level ? list.join(', ') : 'not shown';
        row(table.body, caseName(info), [
          shown(feedback !== 'none', info.answers.map(messageText)),
          shown(feedback === 'full', info.expected),
          shown(feedback !== 'none', news.outcome.actual),
          verdict(news.outcome, info),
          `${news.outcome.passed ? info.points : 0} of ${info.points}`,
        ]);
        passed += news.outcome.passed ? 1 : 0;
        score += news.outcome.passed ? info.points : 0;
      } else if (news.kind === 'done') {
        const most = infos.reduce((sum, info) => sum + info.points, 0);
        const total = [`${passed} of ${infos.length} passed`, `${score} of ${most}`];
        row(table.foot, 'Total', ['', '', '', ...total]);
        return `Passed ${passed} of ${count(infos.length, 'case')}; ${score} of ${count(most, 'point')}.`;
      }
      return null;
    });
  }

  private gradeClass(): void {
    if (this.programs.length === 0)
      return this.say('Choose the program files or their folder first.');
    const programs = this.programs;
    let table: ReturnType<ChecksWindow['newTable']>;
    let infos: CaseInfo[] = [];
    const scores = programs.map(() => ({ passed: 0, score: 0, cells: [] as HTMLElement[] }));
    this.run(programs, false, (news) => {
      if (news.kind === 'cases') {
        infos = news.cases;
        table = this.newTable('Grades', [
          'Program',
          ...infos.map((info) => caseName(info) + (info.hidden ? ' (hidden)' : '')),
          'Passed',
          'Score',
        ]);
        programs.forEach((program, at) => {
          const cells = Array<string>(infos.length + 2).fill(''); // the cases', Passed and Score
          scores[at].cells = row(table.body, messageText(program.name), cells);
        });
      } else if (news.kind === 'case') {
        const info = infos[news.index];
        const mark = scores[news.program];
        mark.cells[news.index].textContent = verdict(news.outcome, info);
        mark.passed += news.outcome.passed ? 1 : 0;
        mark.score += news.outcome.passed ? info.points : 0;
        const most = infos.reduce((sum, each) => sum + each.points, 0);
        mark.cells[infos.length].textContent = `${mark.passed} of ${infos.length}`;
        mark.cells[infos.length + 1].textContent = `${mark.score} of ${most}`;
      } else if (news.kind === 'done') {
        this.offerDownload('grades.csv', news.csv, 'Download the CSV');
        this.offerDownload('grades.json', news.json, 'Download the JSON');
        return `Graded ${count(programs.length, 'program')} on ${count(infos.length, 'case')}.`;
      }
      return null;
    });
  }

  // Runs a job, telling `news` of it; what `news` gives back when the job is done is said.
  private run(
    programs: GradedProgram[],
    visibleOnly: boolean,
    news: (news: GradingNews) => string | null,
  ): void {
    if (!this.cases) return this.say('Choose a cases file first.');
    this.stop?.();
    this.downloads.replaceChildren();
    this.results.replaceChildren();
    const total = () => programs.length * casesCount;
    let casesCount = 0;
    let done = 0;
    let said = 0;
    this.progress.hidden = false;
    this.progress.value = 0;
    this.stopButton.hidden = false;
    this.say('Running\u2026');
    const stop = startGrading({ cases: textOf(this.cases), visibleOnly, programs }, (event) => {
      if (this.stop !== stop) return; // a job stopped, or one before it
      if (event.kind === 'error') return this.finish(messageText(event.message));
      const ended = news(event);
      if (event.kind === 'cases') {
        casesCount = event.cases.length;
        if (casesCount === 0)
          this.finish(`The cases file holds no ${visibleOnly ? 'visible ' : ''}cases.`);
      } else if (event.kind === 'case') {
        this.progress.value = ++done / total();
        // Said at most once a second: each case would be more than a screen reader can read.
        if (performance.now() - said > 1000) {
          said = performance.now();
          this.say(`Running: ${done} of ${count(total(), 'case')} done.`);
        }
      } else {
        this.finish(ended ?? '');
      }
    });
    this.stop = stop;
  }

  private finish(message: string): void {
    this.stop?.();
    this.stop = null;
    this.progress.hidden = true;
    this.stopButton.hidden = true;
    this.say(message);
  }

  private say(message: string): void {
    this.status.textContent = message;
  }

  private newTable(caption: string, headers: string[]): { body: HTMLElement; foot: HTMLElement } {
    const table = element('table', '');
    element('caption', '', table, caption);
    const head = element('tr', '', element('thead', '', table));
    for (const header of headers) element('th', '', head, header).scope = 'col';
    this.results.replaceChildren(table);
    return { body: element('tbody', '', table), foot: element('tfoot', '', table) };
  }

  private offerDownload(name: string, text: string, label: string): void {
    const button = element('button', '', this.downloads, label);
    button.addEventListener('click', () => downloadFile(name, bytesOf(text)));
  }
}

// A row headed by its first cell; gives back the others.
function row(body: HTMLElement, header: string, cells: string[]): HTMLElement[] {
  const tr = element('tr', '', body);
  element('th', '', tr, header).scope = 'row';
  return cells.map((text) => element('td', '', tr, text));
}
