// SPDX-License-Identifier: GPL-3.0-or-later
// The grading worker: one job, every program against every case in order, each case's outcome
// told as it ends, then tobric-run's CSV and JSON for the whole job.

import type { CaseInfo, CaseOutcome, GradingJob, GradingNews } from './grading';

interface Grader {
  parse(cases: string, visibleOnly: boolean): string; // '' or the error naming its line
  feedback(): 'full' | 'actual' | 'none';
  cases(): CaseInfo[];
  gradeCase(name: string, bytes: string, index: number): CaseOutcome;
  csv(): string;
  json(): string;
}

const tell = (news: GradingNews): void => postMessage(news);

addEventListener('message', (event: MessageEvent<GradingJob>) => {
  grade(event.data).catch((error) =>
    tell({ kind: 'error', message: `The grader failed: ${error}` }),
  );
});

async function grade(job: GradingJob): Promise<void> {
  const module = await import(/* @vite-ignore */ job.script);
  // Its default place for the module, beside its script, means nothing for a data: address.
  const core = await module.default({ locateFile: () => job.wasm });
  const grader = new core.Grader() as Grader;
  const error = grader.parse(job.cases, job.visibleOnly);
  if (error) return tell({ kind: 'error', message: `The cases file cannot be used: ${error}` });
  const cases = grader.cases();
  tell({ kind: 'cases', feedback: grader.feedback(), cases });
  job.programs.forEach(({ name, bytes }, program) => {
    for (let index = 0; index < cases.length; ++index)
      tell({ kind: 'case', program, index, outcome: grader.gradeCase(name, bytes, index) });
  });
  tell({ kind: 'done', csv: grader.csv(), json: grader.json() });
}
