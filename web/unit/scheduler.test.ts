// SPDX-License-Identifier: GPL-3.0-or-later
// The execution timer's countdown keeps its pace in a simulated browser that delivers ticks late:
// a fake clock, setTimeout and MessageChannel stand in for the page's while a run is simulated.
import { ok } from 'node:assert/strict';
import { test } from 'node:test';
import { Countdown } from '../src/scheduler';

interface Browser {
  timerDelay?: number; // ms every setTimeout calls back late
  clockGrain?: number; // performance.now() moves in steps of this many ms
  frames?: [number, number]; // every so many ms the page draws a frame taking so many ms
  hold?: [number, number]; // the page runs nothing from one time to the other (a background tab)
  stepTime?: number; // ms each tick takes
}

const kMessageTime = 0.02; // ms a message to the page itself takes to come back
const kFrame = 1000 / 60;

// The page's one thread: tasks run one at a time, in the order they fall due, none while the page
// draws a frame or is held up.
class FakePage {
  time = 0;
  private tasks: { due: number; run: () => void }[] = [];

  constructor(private readonly browser: Browser) {}

  now(): number {
    const grain = this.browser.clockGrain;
    return grain ? Math.floor(this.time / grain) * grain : this.time;
  }

  post(delay: number, run: () => void): void {
    this.tasks.push({ due: this.time + delay, run });
  }

  runUntil(end: number): void {
    for (;;) {
      const next = this.tasks.reduce(
        (first, task) => (task.due < first.due ? task : first),
        this.tasks[0],
      );
      if (!next) return;
      const start = this.freeFrom(Math.max(this.time, next.due));
      if (start >= end) return;
      this.tasks.splice(this.tasks.indexOf(next), 1);
      this.time = start;
      next.run();
    }
  }

  private freeFrom(time: number): number {
    const { hold, frames } = this.browser;
    if (hold && time >= hold[0] && time < hold[1]) time = hold[1];
    if (frames) {
      const frameStart = Math.floor(time / frames[0]) * frames[0];
      time = Math.max(time, frameStart + frames[1]);
    }
    return time;
  }
}

// The ticks over the span, the page's globals replaced meanwhile. A step disables the timer first
// and re-arms it last, as the machine's step does through the page; otherwise the countdown
// repeats untouched.
function ticksOver(span: number, interval: number, stepping: boolean, browser: Browser): number {
  const page = new FakePage(browser);
  class FakeChannel {
    readonly port1: { onmessage?: (event: { data: unknown }) => void } = {};
    readonly port2 = {
      postMessage: (data: unknown) =>
        page.post(kMessageTime, () => this.port1.onmessage?.({ data })),
    };
  }
  const fakes: Record<string, unknown> = {
    performance: { now: () => page.now() },
    setTimeout: (run: () => void, delay: number) =>
      page.post(delay + (browser.timerDelay ?? 0), run),
    MessageChannel: FakeChannel,
  };
  const originals = Object.keys(fakes).map((name) => ({
    name,
    was: Object.getOwnPropertyDescriptor(globalThis, name)!,
  }));
  for (const [name, value] of Object.entries(fakes))
    Object.defineProperty(globalThis, name, { value, configurable: true, writable: true });
  try {
    let ticks = 0;
    const countdown = new Countdown(() => {
      if (stepping) countdown.stop();
      ++ticks;
      page.time += browser.stepTime ?? 0;
      if (stepping) countdown.start(interval);
    });
    countdown.start(interval);
    page.runUntil(span);
    return ticks;
  } finally {
    for (const { name, was } of originals) Object.defineProperty(globalThis, name, was);
  }
}

// A repeating countdown delivers at most four late ticks at once, so it keeps an interval of 1 ms
// only where ticks come at most 4 ms late. Each case: its name, the browser, the intervals to run
// with a step that re-arms the timer as a run does, and those to run with the countdown repeating
// untouched.
const kCases: [string, Browser, number[], number[]][] = [
  ['timers 4 ms late', { timerDelay: 4 }, [1, 10, 100], [1, 10, 100]],
  ['timers 12 ms late', { timerDelay: 12 }, [10, 100], [10, 100]],
  ['a 16 ms clock', { clockGrain: 16 }, [1, 10, 100], [10, 100]],
  ['5 ms frames at 60 Hz', { frames: [kFrame, 5] }, [1, 10, 100], [10, 100]],
  ['30 ms frames at 10 Hz', { frames: [100, 30] }, [10], [10]],
  ['0.4 ms steps', { stepTime: 0.4 }, [1, 10, 100], [1, 10, 100]],
  ['5 ms frames, 0.4 ms steps', { frames: [kFrame, 5], stepTime: 0.4 }, [1, 10], [10]],
  ['a 5 s hold', { hold: [1000, 6000] }, [1, 10, 100], [1, 10, 100]],
];

const kTicks = 500; // ticks each run is long enough for, besides any hold

for (const [name, browser, steps, repeats] of kCases) {
  const runs = [
    ...steps.map((interval) => ({ interval, stepping: true })),
    ...repeats.map((interval) => ({ interval, stepping: false })),
  ];
  for (const { interval, stepping } of runs) {
    test(`${name}, every ${interval} ms, ${stepping ? 'a step re-arming' : 'repeating'}`, () => {
      const held = browser.hold ? browser.hold[1] - browser.hold[0] : 0;
      const span = (browser.hold?.[1] ?? 0) + kTicks * interval;
      // A step's own time adds to its interval; a repeating countdown keeps the interval itself.
      const period = interval + (stepping ? (browser.stepTime ?? 0) : 0);
      const expected = (span - held) / period;
      // After a hold the ticks the page was woken too late for come at once, but at most four
      // intervals' worth or 20 ms' worth, never the whole hold's.
      const madeUp = held ? Math.max(4, 20 / interval) : 0;
      const slack = expected / 100 + 1;
      const [least, most] = [Math.ceil(expected - slack), Math.floor(expected + slack + madeUp)];
      const count = ticksOver(span, interval, stepping, browser);
      ok(
        count >= least && count <= most,
        `${count} ticks in ${span} ms; ${least} to ${most} expected`,
      );
    });
  }
}
