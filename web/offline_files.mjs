// SPDX-License-Identifier: GPL-3.0-or-later
// Makes the built page work offline and installable: writes the web app manifest into its folder
// and the service worker, sw.js, from sw.template.js with the list of every file in the
// folder and a version made from their contents, so each build that changes a file is a new cache.
// Usage: node offline_files.mjs FOLDER (after vite has built the page into FOLDER)
import { createHash } from 'node:crypto';
import { readFileSync, readdirSync, statSync, writeFileSync } from 'node:fs';
import { join, sep } from 'node:path';

const folder = process.argv[2];

// Written here, not beside index.html, where vite would take it for an asset of its own and move it
// into assets/, away from the files its addresses name. They are relative: the page may be served
// from any folder.
writeFileSync(join(folder, 'manifest.webmanifest'), `${JSON.stringify({
  name: 'Tobric Computer',
  short_name: 'Tobric',
  description: 'Write, run and step programs on a small decimal teaching computer',
  start_url: './',
  display: 'standalone',
  background_color: '#5a6a7a',
  theme_color: '#5a6a7a',
  icons: [{ src: 'art/tobric_icon.svg', sizes: 'any', type: 'image/svg+xml' }],
}, null, 2)}\n`);

const files = readdirSync(folder, { recursive: true })
  .map((path) => path.split(sep).join('/'))
  .filter((path) => path !== 'sw.js' && statSync(join(folder, path)).isFile())
  .sort();
const hash = createHash('sha256');
for (const path of files) hash.update(`${path}\0`).update(readFileSync(join(folder, path)));
const version = hash.digest('hex').slice(0, 16);

const worker = readFileSync(new URL('sw.template.js', import.meta.url), 'utf8');
const body = worker.indexOf('\n\n') + 2; // after the heading comment
writeFileSync(join(folder, 'sw.js'), `${worker.slice(0, body)}const version = '${version}';\n` +
  `const files = ${JSON.stringify(['./', ...files])};\n${worker.slice(body)}`);
