// SPDX-License-Identifier: GPL-3.0-or-later
// The windows' description (ui/window_description.h, through web/window_bindings.cpp): the same
// tables the desktop builds its windows from. Kinds and actions arrive as their names.

import type { Rect } from './controls';

// The kinds of ui/window_description.h: drawn as panels (controls.ts), made as plain elements,
// and made by their window.
type PanelKind = 'Panel' | 'LoweredPanel' | 'Heading' | 'CommandButton' | 'Key' | 'Display';
type PlainKind = 'Label' | 'Text' | 'ReadOnlyBox' | 'Picture' | 'PushButton' | 'TextBox';
type WindowsOwnKind = 'SpeedBar' | 'OutputBasket' | 'MailboxDisplay';
export type ControlKind = PanelKind | PlainKind | 'ProgramText' | WindowsOwnKind;

// Its actions: the main window's commands, its keypad's, its popup menu's, the other windows'.
type CommandAction = 'Run' | 'Step' | 'HaltContinue' | 'Reset' | 'SaveProgram' | 'LoadProgram';
type KeyAction = 'Digit' | 'Plus' | 'Minus' | 'Equals' | 'Clear' | 'ClearEntry';
type MenuAction = 'EditMailbox' | 'InsertCommand' | 'DeleteCommand' | 'OpenEditor';
type OtherAction = 'CloseAbout' | 'CloseSplash' | 'SaveChanges' | 'CancelChanges' | 'ClearAll';
export type Action =
  'None' | CommandAction | 'Exit' | 'ShowAbout' | KeyAction | MenuAction | OtherAction;

export interface ControlDescription {
  name: string;
  parent: string; // '' for the window itself
  kind: ControlKind;
  rect: Rect; // a label's width and height are 0: it takes its text's
  caption: string; // '&' before the letter Alt takes
  glyph: string;
  accessibleName: string;
  tabPlace: number; // 1 for the first Tab stop, 0 for none
  action: Action;
  digit: number;
  disabled: boolean;
}

export interface WindowDescription {
  name: string;
  title: string;
  width: number;
  height: number;
  controls: ControlDescription[];
}

export interface SpeedBarRange {
  minimum: number;
  maximum: number;
  singleStep: number;
  pageStep: number;
  start: number;
}

export interface Windows {
  main: WindowDescription;
  about: WindowDescription;
  splash: WindowDescription;
  editor: WindowDescription;
  mailboxMenu: { caption: string; action: Action }[];
  speedBar: SpeedBarRange;
  commandCaptionIndent: number;
  noticeCaption: string;
  okCaption: string;
  cancelCaption: string;
}

let described: Windows | undefined;

// Read once from the core, before any window is made.
export function describeWindows(core: { windows(): Windows }): Windows {
  return (described = core.windows());
}

export function windows(): Windows {
  return described!;
}
