// SPDX-License-Identifier: GPL-3.0-or-later
// Load and Save. The core reads and writes program files by name, byte for byte; the page passes
// them through a folder of the core's own in-memory file system.

import type { FileSystem } from './core';
import { utf8Bytes } from './text';
import { element } from './windows';

const kFolder = '/chosen';

// Asks for a file to read; `chosen` gets its name in the core's file system, or null on Cancel.
export function chooseFileToOpen(
  fs: FileSystem,
  chosen: (name: string | null, done: () => void) => void,
): void {
  const input = element('input', '', document.body);
  Object.assign(input, { type: 'file', id: 'open-file', accept: '.txt,text/plain', hidden: true });
  const finish = (): void => input.remove();
  input.addEventListener('cancel', () => {
    finish();
    chosen(null, () => {});
  });
  input.addEventListener('change', async () => {
    const file = input.files?.[0];
    finish();
    if (!file) return chosen(null, () => {});
    const path = `${kFolder}/${file.name}`;
    fs.mkdirTree(kFolder);
    fs.writeFile(path, new Uint8Array(await file.arrayBuffer()));
    chosen(utf8Bytes(path), () => fs.unlink(path));
  });
  input.click();
}

interface SaveHandle {
  name: string;
  createWritable(): Promise<{ write(data: Uint8Array): Promise<void>; close(): Promise<void> }>;
}
type SavePicker = (options: { suggestedName: string }) => Promise<SaveHandle>;

// Asks for a file to write (the File System Access API where the browser has it, a download
// otherwise); `save` gets a name in the core's file system, or null on Cancel, and gives back
// the text of an error or null. The bytes the core wrote then go to the chosen file.
export async function chooseFileToSave(
  fs: FileSystem,
  save: (name: string | null) => string | null,
): Promise<string | null> {
  const picker = (window as unknown as { showSaveFilePicker?: SavePicker }).showSaveFilePicker;
  let handle: SaveHandle | null = null;
  if (picker) {
    try {
      handle = await picker({ suggestedName: 'program.txt' });
    } catch (error) {
      if ((error as Error).name === 'AbortError') return save(null);
      throw error;
    }
  }
  const name = handle?.name ?? 'program.txt';
  const bytes = savedProgramBytes(fs, save, name);
  if (typeof bytes === 'string') return bytes;
  if (handle) {
    const writable = await handle.createWritable();
    await writable.write(bytes);
    await writable.close();
  } else {
    downloadFile(name, bytes);
  }
  return null;
}

// Bytes the browser keeps as a download, under a name the user may change.
export function downloadFile(name: string, bytes: Uint8Array): void {
  const link = document.createElement('a');
  link.href = URL.createObjectURL(new Blob([bytes], { type: 'application/octet-stream' }));
  link.download = name;
  link.click();
  setTimeout(() => URL.revokeObjectURL(link.href), 10000);
}

// A program the page hands in (an example, a link) goes where Load reads a chosen file, and is
// loaded as that file would be.
export function loadProgramBytes(
  fs: FileSystem,
  name: string,
  bytes: Uint8Array,
  load: (name: string) => string | null,
): string | null {
  const path = `${kFolder}/${name}`;
  fs.mkdirTree(kFolder);
  fs.writeFile(path, bytes);
  try {
    return load(utf8Bytes(path));
  } finally {
    fs.unlink(path);
  }
}

// The store's bytes as Save writes them into a file of that name, or the text of an error.
export function savedProgramBytes(
  fs: FileSystem,
  save: (name: string) => string | null,
  name = 'link.txt',
): Uint8Array | string {
  const path = `${kFolder}/${name}`;
  fs.mkdirTree(kFolder);
  const report = save(utf8Bytes(path));
  if (report !== null) return report;
  const bytes = fs.readFile(path);
  fs.unlink(path);
  return bytes;
}
