// SPDX-License-Identifier: GPL-3.0-or-later
import './style.css';
import { loadCore } from './core';
import { examples, type Example } from './examples';
import { kMostLinkLength, programLink, readLink } from './links';
import { ChecksWindow } from './checks_window';
import { buildMainWindow, type ProgramPort } from './main_window';
import { kUpdateReady, startOffline } from './offline';
import { PageBar } from './page_bar';
import { bytesOf, messageText } from './text';

// `?embed`: the window alone, for a frame in a course page.
const embedded = new URLSearchParams(location.search).has('embed');

loadCore().then(
  (core) => {
    if (embedded) document.body.classList.add('embedded');
    const port = buildMainWindow(core);
    const desktop = document.getElementById('desktop')!;
    const checks = new ChecksWindow(document.body, () => port.saved());
    const bar: PageBar = new PageBar(
      desktop,
      {
        openExample: (example) => openExample(port, example),
        copyLink: (): Promise<void> => copyLink(port, bar, checks.casesBytes()),
        openChecks: (opener) => checks.open(opener),
      },
      [
        `Tobric Computer ${core.version}, the simulator of a small decimal model computer, in a web ` +
          'page that works offline. It keeps nothing of yours: a program leaves it only when you save ' +
          'it or copy a link, and a link carries the program in its part after "#", which your ' +
          'browser sends to no server.',
        'Free software under the GNU General Public License, version 3 or later; its fonts are under ' +
          'the SIL Open Font License 1.1. Its source code is yours to have under that licence: ' +
          `${import.meta.env.VITE_TOBRIC_SOURCE || 'ask whoever published this page for it'}.`,
      ],
    );
    bar.root.hidden = embedded;
    startOffline({
      updateReady: () => bar.say(kUpdateReady),
      installable: (install) => bar.offerInstall(install),
    });
    const say = (message: string): void => {
      bar.say(message);
      if (embedded && message) bar.root.hidden = false; // a damaged link is said even in a frame
    };
    const follow = (): Promise<void> => openLink(port, checks, location.hash.slice(1), say);
    void follow();
    window.addEventListener('hashchange', () => void follow());
  },
  (error) => {
    document.getElementById('desktop')!.textContent = `Tobric Computer could not start: ${error}`;
  },
);

function openExample(port: ProgramPort, example: Example): void {
  port.load(`${example.name}.txt`, bytesOf(example.text));
}

// A link's program is loaded whole as Load loads a file, or not at all, with the reason said.
// Its cases file, if it carries one, goes to the Checks window.
async function openLink(
  port: ProgramPort,
  checks: ChecksWindow,
  fragment: string,
  say: (message: string) => void,
): Promise<void> {
  const { program: linked, cases } = await readLink(fragment);
  if (linked.kind === 'error') return say(linked.message);
  if (linked.kind !== 'none' && document.querySelector('.page-part[inert]'))
    return say('Close the open box or the editor, then open the link again.');
  const example =
    linked.kind === 'example' ? examples.find(({ name }) => name === linked.name) : undefined;
  if (linked.kind === 'example' && !example)
    return say(`There is no example called \u201c${linked.name}\u201d. Nothing was loaded.`);
  if (linked.kind === 'program') port.load('link.txt', linked.bytes);
  if (example) openExample(port, example);
  if (cases) checks.useCases('the one the link carries', cases);
  if (linked.kind !== 'none' || cases)
    say(cases ? 'This link carries checks: press Check to run them.' : '');
}

// The link carries the Checks window's cases file too, when it holds one.
async function copyLink(port: ProgramPort, bar: PageBar, cases: Uint8Array | null): Promise<void> {
  const saved = port.saved();
  if (typeof saved === 'string') return bar.say(messageText(saved));
  const link = `${location.href.replace(/#.*$/, '')}#${await programLink(saved, cases)}`;
  if (link.length > kMostLinkLength)
    return bar.say('This program is too long for a link: save it to a file and hand that out.');
  const done = `Link copied: ${link.length.toLocaleString('en')} characters.`;
  try {
    await navigator.clipboard.writeText(link);
    bar.say(done);
  } catch {
    bar.offerLink('Copy this link with Ctrl+C:', link);
  }
}
