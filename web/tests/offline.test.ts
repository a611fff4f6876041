// SPDX-License-Identifier: GPL-3.0-or-later
// The page offline and installed. The test server is reached through a server of the test's own,
// which stands for a teacher's: it serves the page from a sub-folder, lets the browser keep
// nothing in its HTTP cache, can change what it serves, and can be stopped.
import { chromium, expect, test as base, type BrowserContext, type Page } from '@playwright/test';
import { createServer } from 'node:http';
import type { AddressInfo } from 'node:net';

const kFolder = '/class/tobric/';

interface TeacherServer {
  folder: string;
  change(edit: (path: string, body: string) => string): void;
  stop(): Promise<void>;
}

async function teacherServer(origin: string): Promise<TeacherServer> {
  let edit = (_path: string, body: string): string => body;
  const server = createServer(async (request, response) => {
    if (!request.url!.startsWith(kFolder)) return response.writeHead(404).end();
    const path = request.url!.slice(kFolder.length);
    const answer = await fetch(new URL(path, origin));
    response.writeHead(answer.status, {
      'content-type': answer.headers.get('content-type') ?? 'application/octet-stream',
      'cache-control': 'no-store',
    });
    const body = Buffer.from(await answer.arrayBuffer()).toString('latin1');
    response.end(Buffer.from(edit(path.replace(/\?.*/, ''), body), 'latin1'));
  });
  await new Promise<void>((listening) => server.listen(0, '127.0.0.1', listening));
  return {
    folder: `http://127.0.0.1:${(server.address() as AddressInfo).port}${kFolder}`,
    change: (next) => {
      edit = next;
    },
    stop: () =>
      new Promise<void>((stopped) => {
        server.close(() => stopped());
        server.closeAllConnections();
      }),
  };
}

const test = base.extend<{ server: TeacherServer }>({
  serviceWorkers: 'allow',
  server: async ({ baseURL }, use) => {
    const server = await teacherServer(baseURL!);
    await use(server);
    await server.stop();
  },
});

// The worker becomes active only once it has kept every file.
async function open(context: BrowserContext, folder: string): Promise<Page> {
  const page = await context.newPage();
  await page.goto(folder);
  await expect(page.locator('#Form1')).toBeVisible();
  await page.evaluate(async () => {
    await navigator.serviceWorker.ready;
  });
  return page;
}

test('after one visit the page opens and runs a program with its server stopped', async ({
  context,
  server,
}) => {
  const page = await open(context, server.folder);
  await server.stop();
  const failed: string[] = [];
  page.on('requestfailed', (request) => failed.push(request.url()));
  await page.reload();
  await expect(page.locator('#Form1')).toBeVisible();
  // Every face the page names, those it has not drawn with yet too.
  await page.evaluate(() => Promise.all([...document.fonts].map((face) => face.load())));
  const chooser = page.waitForEvent('filechooser');
  await page.locator('#loadmenu').click();
  const program = Buffer.from('LDA 03\r\nOUT\r\nHLT\r\nDAT 42\r\n');
  await (await chooser).setFiles({ name: 'p.txt', mimeType: 'text/plain', buffer: program });
  await page.locator('#stepmenu').click();
  await expect(page.locator('#opcodetext')).toHaveValue('LDA');
  await expect(page.locator('#calculatorValueText')).toHaveText('42');
  expect(failed).toEqual([]);
});

test('a new build is said at the next opening and used from the one after', async ({
  context,
  server,
}) => {
  await (await open(context, server.folder)).close();
  // The next build changes the page, so its worker's version too.
  server.change((path, body) =>
    path === 'sw.js'
      ? body.replace(/const version = '/, '$&next ')
      : body.replace('</head>', '<meta name="build" content="next">\n</head>'),
  );
  const next = (page: Page) => page.locator('meta[name=build]');
  const page = await open(context, server.folder);
  await expect(page.locator('#pagebar-status')).toHaveText(/^A new version is ready/);
  await page.reload();
  await expect(next(page)).toHaveCount(0);
  await page.close();
  // The browser hands over once it has seen the last window of the old version go, which may come
  // just after the next opening has begun: an opening after that one has the new version.
  await expect
    .poll(
      async () => {
        const reopened = await open(context, server.folder);
        const found = [
          await next(reopened).count(),
          (await reopened.evaluate(() => caches.keys())).length,
        ];
        await reopened.close();
        return found;
      },
      { timeout: 15_000 },
    )
    .toEqual([1, 1]);
});

// An incognito window is never offered it: the browser keeps a profile of its own here.
test('Chromium offers to install the page from its sub-folder', async ({
  server,
  launchOptions,
  headless,
}) => {
  const profile = test.info().outputPath('profile');
  const context = await chromium.launchPersistentContext(profile, { ...launchOptions, headless });
  try {
    const page = await open(context, server.folder);
    await expect(page.getByRole('button', { name: 'Install' })).toBeVisible();
    const devTools = await context.newCDPSession(page);
    const { url, errors, manifest } = await devTools.send('Page.getAppManifest');
    expect({ url, errors, startUrl: manifest.startUrl, scope: manifest.scope }).toEqual({
      url: `${server.folder}manifest.webmanifest`,
      errors: [],
      startUrl: server.folder,
      scope: server.folder,
    });
    expect((await devTools.send('Page.getInstallabilityErrors')).installabilityErrors).toEqual([]);
  } finally {
    await context.close();
  }
});
