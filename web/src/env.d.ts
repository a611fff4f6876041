// SPDX-License-Identifier: GPL-3.0-or-later
/// <reference types="vite/client" />
// Set when the page is built (scripts/web-build): where this copy's source code is.
interface ImportMetaEnv {
  readonly VITE_TOBRIC_SOURCE?: string;
}
