// SPDX-License-Identifier: GPL-3.0-or-later
// The page's service worker. offline_files.mjs writes it into the built folder as sw.js, with the
// `version` and the `files` of the page below this comment. It keeps those files, and only
// those, in a cache of that version and answers the page from it, so the page opens and works with
// no network. A new build waits until every window of the old one is closed (the page never mixes
// two builds), then deletes the old build's cache.

const scope = self.registration.scope;
const prefix = `tobric ${scope} `; // a copy in another folder of the same server keeps its own
const cacheName = prefix + version;
const kept = new Set(files.map((file) => new URL(file, scope).href));

async function keep(cache, file) {
  // Past the browser's HTTP cache, which may still hold a file of the build before.
  const response = await fetch(file, { cache: 'no-cache' });
  if (!response.ok) throw new Error(`${file}: ${response.status}`);
  // A server may redirect index.html to its folder; a page cannot be answered with a redirect.
  await cache.put(file, response.redirected ? new Response(response.body, response) : response);
}

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(cacheName)
    .then((cache) => Promise.all(files.map((file) => keep(cache, file)))));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys().then((names) => Promise.all(names
    .filter((name) => name.startsWith(prefix) && name !== cacheName)
    .map((name) => caches.delete(name)))));
});

self.addEventListener('fetch', (event) => {
  const url = new URL(event.request.url);
  url.hash = '';
  if (event.request.mode === 'navigate') url.search = ''; // the page opened with a query
  if (event.request.method !== 'GET' || !kept.has(url.href)) return;
  event.respondWith(caches.open(cacheName)
    .then((cache) => cache.match(url.href))
    .then((response) => response ?? fetch(event.request)));
});
