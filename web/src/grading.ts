// SPDX-License-Identifier: GPL-3.0-or-later
// Grading in a worker of its own (grading_worker.ts), so the page stays responsive through a
// class's worth of programs looping into the step limit, and Stop ends it at once. The worker
// runs tobric-run's own grading, compiled to WebAssembly (web/grader_bindings.cpp). Every text
// crosses as bytes, one character each: program names as their UTF-8 bytes, as tobric-run is
// given them on a command line.

import workerUrl from './grading_worker.ts?worker&url';
import { assetUrl } from './assets';

export interface GradedProgram {
  name: string; // UTF-8 bytes, one character each
  bytes: string; // the program file's bytes
}

export interface GradingJob {
  script: string; // where the grader's script and WebAssembly module are
  wasm: string;
  cases: string; // the cases file's bytes
  visibleOnly: boolean; // a student's check: the hidden cases neither run nor shown
  programs: GradedProgram[];
}

export interface CaseInfo {
  name: string;
  line: number;
  points: number;
  hidden: boolean;
  answers: string[];
  expected: number[];
  stepLimit: number;
}

export interface CaseOutcome {
  result: string; // pass, wrong output, error, step limit, no input left
  passed: boolean;
  actual: number[];
  error: string;
}

export type GradingNews =
  | { kind: 'error'; message: string }
  | { kind: 'cases'; feedback: 'full' | 'actual' | 'none'; cases: CaseInfo[] }
  | { kind: 'case'; program: number; index: number; outcome: CaseOutcome }
  | { kind: 'done'; csv: string; json: string };

// Starts a job; `news` hears of it until it is done or fails. Gives back what stops it.
export function startGrading(
  job: Omit<GradingJob, 'script' | 'wasm'>,
  news: (news: GradingNews) => void,
): () => void {
  const worker = newWorker();
  const stop = (): void => worker.terminate();
  worker.addEventListener('message', (event: MessageEvent<GradingNews>) => {
    if (event.data.kind === 'done' || event.data.kind === 'error') stop();
    news(event.data);
  });
  worker.addEventListener('error', (event) => {
    stop();
    const message = `The grader could not start: ${event.message || 'its script failed'}`;
    news({ kind: 'error', message });
  });
  worker.postMessage({
    ...job,
    script: assetUrl('core/tobric_grader.js'),
    wasm: assetUrl('core/tobric_grader.wasm'),
  });
  return stop;
}

// The folder's worker is a file beside the page. The single file carries its script in its table,
// under the same path, as a data: address, which a page opened from a disk runs as it is (Chromium
// runs no module worker from a blob: address there).
function newWorker(): Worker {
  const url = assetUrl(`assets/${workerUrl.slice(workerUrl.lastIndexOf('/') + 1)}`);
  return new Worker(url.startsWith('data:') ? url : workerUrl, { type: 'module' });
}
