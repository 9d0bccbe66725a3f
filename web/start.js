// SPDX-License-Identifier: GPL-3.0-or-later
// Starts compiling the game's WebAssembly while it streams in, from the top
// of the page's head: the browser fetches the page's other files meanwhile,
// and page.js later hands the compiled module to the game. Loaded as a plain
// script, which runs as soon as it has arrived (an async one would wait
// until the page has been read, and so would page.js).
'use strict';

window.zirkulonWasm = WebAssembly.compileStreaming(fetch('zirkulon.wasm', { credentials: 'same-origin' }));
window.zirkulonWasm.catch(() => {}); // reported once the game instantiates it
