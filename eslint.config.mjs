// ESLint for the page's script, its service worker and the program's side of the bridge, and for
// the tools and tests written in JavaScript. `make lint` runs it.
import js from '@eslint/js';
import globals from 'globals';

export default [
  { ignores: ['**/node_modules/', 'build*/'] },
  js.configs.recommended,
  {
    rules: {
      'max-len': ['error', { code: 120, ignoreUrls: true }],
      'no-unused-vars': ['error', { args: 'after-used', caughtErrors: 'none' }],
      eqeqeq: ['error', 'smart'],
      'prefer-const': 'error',
      'no-var': 'error',
    },
  },
  { files: ['platform/web/page/*.js'], languageOptions: { globals: globals.browser } },
  { files: ['platform/web/sw.js'], languageOptions: { sourceType: 'script', globals: globals.serviceworker } },
  {
    // Put before the compiler's own code in vexo.js, in its scope, on a worker or the page's thread.
    files: ['platform/web/program.js'],
    languageOptions: {
      sourceType: 'script',
      ecmaVersion: 2015,
      globals: { ...globals.browser, ...globals.worker, Module: 'writable', ccall: 'readonly' },
    },
    rules: { 'no-var': 'off' },
  },
  { files: ['**/*.mjs', 'eslint.config.mjs'], languageOptions: { globals: globals.node } },
  // The browser tests also hand functions to the page, to run there.
  {
    files: ['tests/web/*.mjs', 'scripts/web/*.mjs'],
    languageOptions: { globals: { ...globals.node, ...globals.browser, axe: 'readonly', vexoPage: 'readonly' } },
  },
];
