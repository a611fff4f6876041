// SPDX-License-Identifier: GPL-3.0-or-later
// The page offline and installed as an app. startOffline, called once the page's bar is built,
// registers the service worker (sw.js, written at build time), which keeps the page's files,
// so from the second opening on the page opens and works with no network. Then:
// - updateReady(): a new version has been fetched and waits; the bar says kUpdateReady. A page
//   never mixes two versions: the new one takes effect once every window of the page is closed,
//   at the next opening (a reload alone keeps the old one).
// - installable(install): the browser offers to install the page as an app; the bar shows an
//   Install button whose press calls install(), which settles once the user has answered the
//   browser. The offer may come again if the user declines.
// An offer made before the call is kept for it. From file:// (the single-file edition) no worker
// can register and nothing is offered: this does nothing. An embedded page registers too: the
// cache only opens the same files sooner.

export const kUpdateReady =
  'A new version is ready: it takes effect the next time the page is opened.';

export interface OfflineEvents {
  updateReady(): void;
  installable(install: () => Promise<void>): void;
}

interface InstallPromptEvent extends Event {
  prompt(): Promise<unknown>;
}

let offer: InstallPromptEvent | null = null;
let offered = (): void => {};
window.addEventListener('beforeinstallprompt', (event) => {
  event.preventDefault(); // the bar's button offers it, not the browser's own bar
  offer = event as InstallPromptEvent;
  offered();
});

export function startOffline(events: OfflineEvents): void {
  if (!/^https?:$/.test(location.protocol) || !('serviceWorker' in navigator)) return;
  offered = () => {
    const prompt = offer!;
    events.installable(() => prompt.prompt().then(() => {}));
  };
  if (offer) offered();
  navigator.serviceWorker.register('sw.js').then(
    (registration) => {
      // A worker installed while an older one is active waits for the next opening.
      const reportWhenWaiting = (worker: ServiceWorker | null): void => {
        if (!worker || !registration.active) return;
        if (worker.state === 'installed') events.updateReady();
        else
          worker.addEventListener(
            'statechange',
            () => worker.state === 'installed' && events.updateReady(),
          );
      };
      reportWhenWaiting(registration.waiting ?? registration.installing);
      registration.addEventListener('updatefound', () =>
        reportWhenWaiting(registration.installing),
      );
    },
    () => {},
  ); // without the worker the page still works, online only
}
