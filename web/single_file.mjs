// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the page as one file that opens from a disk or a USB stick, with no server: a page opened
// through file:// may fetch nothing and run no module script from a file. The page's script and
// styles go inline; every file the script asks for through assetUrl() (src/assets.ts) goes into a
// table of data: addresses written before it; the styles' fonts and the page's icon become data:
// addresses where they stand; its manifest is left out.
// Run by scripts/web-build; usage: node single_file.mjs FOLDER FILE
import { existsSync, readFileSync, readdirSync, writeFileSync } from 'node:fs';
import { dirname, extname, join, relative } from 'node:path';

const [folder, target] = process.argv.slice(2);
if (!folder || !target) throw new Error('usage: node single_file.mjs FOLDER FILE');

// The folders whose files the page's script asks for by path (the grader among the core's).
const kAskedFor = ['core', 'art'];
const kTypes = {
  '.js': 'text/javascript', '.wasm': 'application/wasm', '.svg': 'image/svg+xml',
  '.ttf': 'font/ttf', '.otf': 'font/otf',
};

function dataUrl(path) {
  if (!existsSync(path)) throw new Error(`${relative(folder, path)} is not in ${folder}`);
  const type = kTypes[extname(path)];
  if (!type) throw new Error(`no type known for ${path}`);
  return `data:${type};base64,${readFileSync(path).toString('base64')}`;
}

// A script or style sheet goes between tags that its own text must not close, nor hide the
// closing tag of (after "<!--", "<script" makes the parser pass over the next "</script>").
function inline(text, tag) {
  // In a module these can only stand in a string, a template, a regular expression or a comment,
  // where `<\/` means `</` and `\x3C` means `<`.
  const safe = tag !== 'script' ? text
    : text.replace(/<\/(script)/gi, '<\\/$1').replace(/<!--/g, '\\x3C!--');
  if (new RegExp(`</${tag}|<!--`, 'i').test(safe)) throw new Error(`the page's ${tag} would end early`);
  return safe;
}

const page = join(folder, 'index.html');
let html = readFileSync(page, 'utf8');
const table = {};
for (const asked of kAskedFor)
  for (const file of readdirSync(join(folder, asked)))
    table[`${asked}/${file}`] = dataUrl(join(folder, asked, file));
// And the workers' scripts: every script vite wrote but the page's own, which goes inline.
const pageScript = /<script type="module"[^>]*src="\.?\/?([^"]+)"/.exec(html)?.[1];
for (const file of readdirSync(join(folder, 'assets'))) {
  const path = `assets/${file}`;
  if (file.endsWith('.js') && path !== pageScript) table[path] = dataUrl(join(folder, path));
}

// One pass over the page's tags, so that nothing inlined is read again as a tag.
const kTags = new RegExp([
  /<link rel="stylesheet"[^>]*href="([^"]+)"[^>]*>/, // a style sheet
  /<script type="module"[^>]*src="([^"]+)"[^>]*><\/script>/, // the page's module
  /<link rel="manifest"[^>]*>\n?/, // a page opened from a disk is never installed: left out
  /(<[a-z]+\s[^>]*(?:src|href)=")(?![a-z]+:|#)([^"]+)"/, // anything else named by path: the icon
].map((part) => part.source).join('|'), 'gi');
html = html.replace(kTags, (_, sheetPath, scriptPath, tagStart, path) => {
  if (sheetPath) {
    // Every url() of a file of the folder (the fonts) as a data: address.
    const sheet = join(folder, sheetPath);
    const css = readFileSync(sheet, 'utf8').replace(/url\((['"]?)(?!data:|#|%23)([^'")]+)\1\)/g,
      (__, quote, url) => `url(${dataUrl(join(dirname(sheet), url))})`);
    return `<style>${inline(css, 'style')}</style>`;
  }
  if (scriptPath) {
    return `<script>globalThis.tobricFiles=${JSON.stringify(table)};</script>\n` +
      `<script type="module">${inline(readFileSync(join(folder, scriptPath), 'utf8'), 'script')}</script>`;
  }
  if (tagStart) return `${tagStart}${dataUrl(join(folder, path))}"`;
  return '';
});
if (!html.includes('globalThis.tobricFiles')) throw new Error(`no module script found in ${page}`);

// Handed out by mail and on course sites, whose attachments are often limited: kept well short.
const kMostBytes = 1_500_000;
if (Buffer.byteLength(html) > kMostBytes) {
  throw new Error(`the single file would be ${Buffer.byteLength(html)} bytes, more than ${kMostBytes}`);
}
writeFileSync(target, html);
