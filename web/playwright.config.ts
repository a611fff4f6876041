// SPDX-License-Identifier: GPL-3.0-or-later
// The page as built in build/web/, served as a teacher would serve it, in Debian's Chromium.
import { defineConfig } from '@playwright/test';

export default defineConfig({
  testDir: 'tests',
  timeout: 30_000,
  expect: { timeout: 10_000 }, // a busy machine can take seconds to start a run
  workers: 1,
  reporter: 'line',
  use: {
    baseURL: 'http://127.0.0.1:8615/',
    headless: true,
    actionTimeout: 5_000,
    // Scroll bars as a browser on a desk shows them: headless Chromium hides them, which widens
    // every box that scrolls, the editor's text among them.
    launchOptions: {
      executablePath: '/usr/bin/chromium',
      ignoreDefaultArgs: ['--hide-scrollbars'],
    },
  },
  webServer: {
    command: 'python3 -m http.server 8615 --bind 127.0.0.1 --directory ../build/web',
    url: 'http://127.0.0.1:8615/',
    timeout: 20_000,
    reuseExistingServer: false,
    stderr: 'ignore',
  },
});
