// SPDX-License-Identifier: GPL-3.0-or-later
// The execution timer's clock. Browsers hold a nested setTimeout back to at least 4 ms, which
// would cap a run at 250 steps a second: the last stretch before each tick is waited out with
// messages to the page itself, which come back at once, against performance.now().

const kTimeoutSlack = 6; // ms left to the deadline below which setTimeout is no longer trusted
// Late ticks delivered in one go, and the intervals a re-armed countdown makes up, but at least
// kMostMadeUp ms at any interval: a frame drawn on a busy machine.
const kMostTicksAtOnce = 4;
const kMostMadeUp = 20;

export class Countdown {
  private deadline = 0;
  private interval = 0;
  private armed = false;
  private generation = 0;
  private ticking = false; // inside onTick
  private lateness = 0; // how long after its deadline the tick in progress came
  private readonly channel = new MessageChannel();

  constructor(private readonly onTick: () => void) {
    this.channel.port1.onmessage = (event) => this.check(event.data as number);
  }

  // A full interval from now, as a timer that is enabled or given a new interval starts one. The
  // step re-arms the timer at the end of each tick: that countdown is shortened by how late the
  // browser delivered the tick (it was drawing a frame, say), so that a run keeps its interval
  // plus the step's own time on average.
  start(interval: number): void {
    const credit = this.ticking && interval === this.interval ? this.lateness : 0;
    this.interval = interval;
    this.deadline = performance.now() + interval - credit;
    this.armed = true;
    this.wait(++this.generation);
  }

  stop(): void {
    this.armed = false;
    ++this.generation;
  }

  private wait(generation: number): void {
    const left = this.deadline - performance.now();
    if (left > kTimeoutSlack) setTimeout(() => this.check(generation), left - kTimeoutSlack);
    else this.channel.port2.postMessage(generation);
  }

  private check(generation: number): void {
    if (!this.armed || generation !== this.generation) return;
    let now = performance.now();
    if (now < this.deadline) return this.wait(generation);
    // A repeating timer. Ticks the page was woken too late for come now, a few at most, so that a
    // run keeps its pace on average where the browser's clock is coarse; a page held up longer
    // (a background tab) starts afresh instead of rushing.
    for (let burst = 0; now >= this.deadline && burst < kMostTicksAtOnce; ++burst) {
      const mostMadeUp = Math.max(kMostTicksAtOnce * this.interval, kMostMadeUp);
      this.lateness = Math.min(now - this.deadline, mostMadeUp);
      this.deadline += this.interval;
      this.ticking = true;
      try {
        this.onTick();
      } finally {
        this.ticking = false;
      }
      // The tick may have stopped the timer (HLT, the IN prompt) or started it afresh.
      if (!this.armed || generation !== this.generation) return;
      now = performance.now();
    }
    if (this.deadline < now) this.deadline = now + this.interval;
    this.wait(generation);
  }
}
