// SPDX-License-Identifier: GPL-3.0-or-later
import { defineConfig } from 'vite';

// scripts/web-build puts the WebAssembly core, the pictures and the fonts into one folder that is
// copied into the page as it is; relative paths let the page work from any folder of any server.
export default defineConfig({
  base: './',
  publicDir: process.env.TOBRIC_WEB_ASSETS,
  worker: { format: 'es' }, // the grading worker is a module worker
  build: { outDir: process.env.TOBRIC_WEB_OUT ?? 'dist', emptyOutDir: true, target: 'es2022' },
});
