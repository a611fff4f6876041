// SPDX-License-Identifier: GPL-3.0-or-later
import './style.css';
import { loadCore } from './core';
import { buildMainWindow } from './main_window';

loadCore().then(buildMainWindow, (error) => {
  document.getElementById('desktop')!.textContent = `Tobric Computer could not start: ${error}`;
});
