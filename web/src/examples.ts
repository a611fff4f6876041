// SPDX-License-Identifier: GPL-3.0-or-later
// The example programs of examples/, built into the page, each under its file's name without
// ".txt" and titled by its first line ("* Count down: puts 5, 4, ..." is "Count down").

export interface Example {
  name: string;
  title: string;
  text: string; // the file's text: every example is plain ASCII
}

const files = import.meta.glob('../../examples/*.txt', {
  query: '?raw',
  import: 'default',
  eager: true,
});

export const examples: Example[] = Object.entries(files)
  .map(([path, text]) => {
    const name = path.replace(/^.*\//, '').replace(/\.txt$/, '');
    const title = /^\*\s*([^:\r\n]+)/.exec(text as string)?.[1].trim() ?? name;
    return { name, title, text: text as string };
  })
  .sort((a, b) => a.title.localeCompare(b.title));
