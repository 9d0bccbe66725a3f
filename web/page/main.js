// SPDX-License-Identifier: GPL-3.0-or-later
// Zirkulon's window in the page. The game itself is C++ compiled to
// WebAssembly (zirkulon.js, zirkulon.wasm); it builds the window through
// `page`, draws, sets captions and opens boxes. This script shows the window,
// scaled to fit the viewport, and raises its events one at a time.
//
// The build makes one script, page.js, of this file and the body of
// startPage: window.js (the window, its state and its drawing), input.js
// (the events), boxes.js and game.js (what the game calls, and the start),
// in that order. They share startPage's scope.
'use strict';

// "decimal\ngroup" as the browser's language writes 1234567.5. A language
// tag that Intl refuses (WebKit reports "C" on a system where no language is
// set) gives way to the browser's default locale, then to German.
function readNumberFormat(language = navigator.language) {
  for (const tag of [language, undefined, 'de']) {
    try {
      const parts = new Intl.NumberFormat(tag).formatToParts(1234567.5);
      const part = (type) => parts.find((p) => p.type === type)?.value ?? '';
      return `${part('decimal') || '.'}\n${part('group')}`;
    } catch (error) {
      // RangeError: not a language tag Intl takes
    }
  }
  return ',\n.';
}

// Started as a worker (see readNumberFormatAside), this script only reads
// the number format, away from the page's main thread, and ends.
if (typeof document === 'undefined') {
  postMessage(readNumberFormat());
  close();
} else {
  startPage();
}
