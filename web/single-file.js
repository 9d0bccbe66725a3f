// SPDX-License-Identifier: GPL-3.0-or-later
// Makes zirkulon.html from the built site: one file with the page, its
// script, style, font, icon and the game's WebAssembly inside, for a USB
// stick, a network drive or a learning platform. It opens from the file
// system with no server and no network. Its Content-Security-Policy allows
// exactly the scripts and the style inside it, by their hashes, data: for the
// font and the icon, and nothing else; it keeps no service worker. The
// licence notices of what is inside come first, as a comment.
//
//   node single-file.js SITE_DIR OUTPUT
'use strict';

const crypto = require('crypto');
const fs = require('fs');
const path = require('path');

const [site, output] = process.argv.slice(2);
const read = (name) => fs.readFileSync(path.join(site, name));
const text = (name) => read(name).toString('utf8');
const dataUri = (type, name) => `data:${type};base64,${read(name).toString('base64')}`;
const hash = (content) => `'sha256-${crypto.createHash('sha256').update(content, 'utf8').digest('base64')}'`;

// Replaces exactly one occurrence, so that a change to the page that this
// script does not know of stops the build instead of slipping through.
function once(whole, from, to) {
  const at = whole.indexOf(from);
  if (at < 0 || whole.indexOf(from, at + 1) >= 0) {
    throw new Error(`single-file.js: expected "${from}" once in the page`);
  }
  return whole.slice(0, at) + to + whole.slice(at + from.length);
}
const safeInScript = (code) => {
  if (/<\/script/i.test(code)) {
    throw new Error('single-file.js: a script contains "</script"');
  }
  return code;
};

const style = once(text('zirkulon.css'), 'url("ComicNeue-Regular.woff2")',
  `url("${dataUri('font/woff2', 'ComicNeue-Regular.woff2')}")`);
// The game's module reads its WebAssembly from here rather than fetching it.
const wasm = `Module.wasmBinary = Uint8Array.from(atob('${read('zirkulon.wasm').toString('base64')}'),`
  + ' (c) => c.charCodeAt(0));';
const scripts = [safeInScript(text('page.js')), wasm, safeInScript(text('zirkulon.js'))];

const policy = ["default-src 'none'", `script-src ${scripts.map(hash).join(' ')} 'wasm-unsafe-eval'`,
  `style-src ${hash(style)}`, 'font-src data:', 'img-src data:', "base-uri 'none'",
  "form-action 'none'"].join('; ');

// The notices that must go wherever the game and its font go, at the top.
const notices = [text('LICENSES.txt'), text('ComicNeue-LICENSE.txt')].join('\n');
if (/<!--|--!?>/.test(notices)) {
  throw new Error('single-file.js: a licence text would end its comment');
}

let page = text('index.html');
page = once(page, '<html lang="de">', `<!--\n${notices}-->\n<html lang="de" data-single-file>`);
// A file has no headers to bring its policy: a meta tag does, before anything
// it governs.
page = once(page, '<meta charset="utf-8">\n',
  `<meta charset="utf-8">\n<meta http-equiv="Content-Security-Policy" content="${policy}">\n`);
page = once(page, '<link rel="manifest" href="manifest.webmanifest">\n', '');
page = once(page, '<link rel="apple-touch-icon" href="icon-192.png">\n', '');
page = once(page, '<link rel="icon" href="icon-192.png">', `<link rel="icon" href="${dataUri('image/png', 'icon-192.png')}">`);
page = once(page, '<link rel="stylesheet" href="zirkulon.css">', `<style>${style}</style>`);
page = once(page, '<link rel="preload" href="zirkulon.wasm" as="fetch" type="application/wasm" '
  + 'crossorigin>\n', '');
page = once(page, '<script src="page.js" defer blocking="render"></script>\n', '');
// Starting again reloads this file, wherever it lies.
page = once(page, '<a href="./">', '<a href="">');
// The scripts run where the deferred ones would: after the document.
page = once(page, '</body>', `${scripts.map((code) => `<script>${code}</script>\n`).join('')}</body>`);
fs.writeFileSync(output, page);
