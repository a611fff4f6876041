// SPDX-License-Identifier: GPL-3.0-or-later
// The page's lint rules: typescript-eslint's recommended set, without type information (which
// would more than double the time scripts/format-check takes), and CONTRIBUTING's names.
import js from '@eslint/js';
import tseslint from 'typescript-eslint';

export default tseslint.config(
  { ignores: ['node_modules/**', 'dist/**'] },
  {
    files: ['**/*.ts'],
    extends: [js.configs.recommended, ...tseslint.configs.recommended],
    rules: {
      // The machine's texts are bytes: a range from \x00 in a pattern is meant.
      'no-control-regex': 'off',
      '@typescript-eslint/naming-convention': [
        'error',
        { selector: 'typeLike', format: ['PascalCase'] },
        { selector: ['function', 'method', 'accessor', 'classProperty'], format: ['camelCase'] },
        // Tables keyed by the window description's actions take its names (Run, HaltContinue).
        { selector: 'objectLiteralMethod', format: ['camelCase', 'PascalCase'] },
        // Module-level constants are kPascalCase, which camelCase's letters already allow.
        { selector: 'variable', format: ['camelCase'] },
        // A parameter a callback must take but does not use is named _ or _name.
        { selector: 'parameter', format: ['camelCase'], leadingUnderscore: 'allow' },
      ],
    },
  },
);
