// SPDX-License-Identifier: GPL-3.0-or-later
// Part of startPage (see main.js): the number format, what the game calls,
// and the start: loading the game, keeping the site offline, failing clearly.

// The game asks for the number format when a text first needs a separator.
// A page's first use of Intl takes tens of milliseconds (hundreds on a slow
// tablet), so once the game is on screen a worker reads it aside; it is read
// here only where the game asks first, or no worker can start.
let format = null;
function numberFormat() {
  format ??= readNumberFormat();
  return format;
}
function readNumberFormatAside() {
  if (format !== null || singleFile) {
    return;
  }
  try {
    const worker = new Worker('page.js');
    worker.addEventListener('message', (event) => {
      format ??= event.data;
    });
  } catch (error) {
    console.error(error); // then it is read when the game asks
  }
}

// ---- what the game calls ---------------------------------------------------

const page = {
  setDesign(d) {
    design = { ...d, innerPixels: d.innerWidth / d.twipsPerPixel };
    inner.style.setProperty('--inner-size', `${design.innerPixels}px`);
    canvas.style.backgroundColor = css(d.surfaceColour);
    canvas.setAttribute('aria-label', d.surfaceName);
    inner.style.setProperty('--surface-ink', css(d.inkColour));
    canvas.hidden = false;
    this.fontFamily = `"${d.font}", "${d.substitute}"`;
    this.fontSize = `${d.pointSize}pt`;
    fit();
  },
  addLabel(index, name, left, top, width, height, description) {
    const pixels = (twips) => `${Math.trunc(twips / design.twipsPerPixel)}px`;
    const label = element('div', { id: name, className: 'label' });
    label.setAttribute('role', 'status');
    label.setAttribute('aria-label', description);
    Object.assign(label.style, {
      left: pixels(left),
      top: pixels(top),
      width: pixels(width),
      height: pixels(height),
      fontFamily: this.fontFamily,
      fontSize: this.fontSize,
    });
    labels[index] = label;
    inner.append(label);
  },
  addMenuItem(index, name, caption) {
    const item = element('button', { id: name, type: 'button', textContent: caption });
    item.setAttribute('role', 'menuitem');
    item.setAttribute('tabindex', index === 0 ? '0' : '-1');
    item.addEventListener('click', () => raise('zirkulon_menu', [index]));
    menubar.append(item);
  },
  // A key the game names (KeyboardEvent.key): its code, whether it turns the
  // blue leg, and whether it acts on its first press only.
  addKey(name, code, turns, once) {
    keys[name] = { code, turns, once };
  },
  setCaption(label, text) {
    if (label < 0) {
      // The caption as it is; the tab names the program too.
      captionElement.textContent = text;
      document.title = text === design.title ? text : `${text} – ${design.title}`;
    } else {
      labels[label].textContent = text;
    }
  },
  // What a handler drew: the whole picture (null where it drew nothing) and
  // the area that changed, in scale units; and the slider's value, whole
  // degrees and the same in words, where it changed.
  // The commands are kept, in a buffer that lives as long as the page, and
  // the area drawn at once: the canvas shows it with the next frame.
  update(commands, area, degrees, text) {
    if (commands !== null) {
      if (picture === null || picture.length < commands.length) {
        picture = new Float64Array(Math.max(256, commands.length));
      }
      picture.set(commands);
      pictureLength = commands.length;
      paint(area);
    }
    if (text !== null) {
      canvas.setAttribute('aria-valuenow', String(degrees));
      canvas.setAttribute('aria-valuetext', text);
    }
  },
  // Calls the game back after `milliseconds`, or once the handler that is
  // running then has returned.
  wakeAfter(milliseconds) {
    const wake = () => {
      if (busy) {
        setTimeout(wake, milliseconds);
      } else if (!unloaded) {
        Module.ccall('zirkulon_woken', null, [], []);
      }
    };
    setTimeout(wake, milliseconds);
  },
  unload() {
    unloaded = true;
  },
  messageBox(text, title) {
    return openBox(title, text);
  },
  inputBox(prompt, defaultText) {
    return openBox(design.title, prompt, element('input', {
      type: 'text', value: defaultText, autocomplete: 'off', spellcheck: false,
    }));
  },
  numberFormat,
};

// Keeps the site for offline play; registered once the game has shown its
// first picture, so that filling the cache does not hold up the start.
// The single-file page (zirkulon.html) has everything inside and no worker.
function keepOffline() {
  if ('serviceWorker' in navigator && !singleFile) {
    navigator.serviceWorker.register('sw.js').catch((error) => console.error(error));
  }
}

// Runs `task` once the browser is idle, within two seconds (WebKit cannot tell: soon).
function whenIdle(task) {
  if ('requestIdleCallback' in window) {
    requestIdleCallback(task, { timeout: 2000 });
  } else {
    setTimeout(task, 200);
  }
}

// A link that loads this page again, the single-file page too.
function reloadLink() {
  const again = element('p');
  again.append(element('a', { href: '', textContent: 'Seite neu laden' }));
  return again;
}

// When the game cannot start, the window says so in place of the notice.
let failed = false;
function cannotStart(text) {
  if (ready || failed) {
    return;
  }
  failed = true;
  loading.classList.add('failure');
  loading.replaceChildren(element('p', { textContent: text }), reloadLink());
  canvas.hidden = true;
  inner.append(loading);
}

// A download that neither arrives nor fails, on a network that has stalled,
// would leave the notice there for ever. After ten seconds it says so and
// offers to load the page again; the download goes on meanwhile.
setTimeout(() => {
  if (!failed && loading.isConnected) {
    loading.append(element('p', {
      textContent: 'Das dauert länger als sonst. Vielleicht ist die Verbindung gerade langsam. '
        + 'Wenn sich nichts tut, lade die Seite neu.',
    }), reloadLink());
  }
}, 10_000);
// The game's first picture, as the build recorded the game drawing it
// (web/first-picture.js), before the game has even loaded; the game then
// draws the very same picture and takes over.
for (const [call, ...args] of [/* recorded by the build */]) {
  page[call](...args);
}

const notLoaded = 'Zirkulon konnte nicht geladen werden. Bitte prüfe die Verbindung zum '
  + 'Internet und lade die Seite neu.';
if (typeof WebAssembly !== 'object') {
  cannotStart('Zirkulon kann in diesem Browser nicht starten, weil er kein WebAssembly kann. '
    + 'Bitte öffne Zirkulon in einem neueren Browser.');
}
// The game's script or its WebAssembly did not arrive: a download that
// fails outright rejects a promise that nothing handles, one that arrives
// broken aborts the start (and the script's own failure is below).
addEventListener('unhandledrejection', () => cannotStart(notLoaded));

window.Module = {
  page,
  ...(compiled && {
    instantiateWasm(imports, receive) {
      compiled.then((module) => WebAssembly.instantiate(module, imports))
        .then((instance) => receive(instance), (error) => {
          console.error(error);
          cannotStart(notLoaded);
        });
      return {};
    },
  }),
  postRun: [() => {
    // The game has built its window and posed its first task in one go.
    ready = true;
    loading.remove();
    canvas.removeAttribute('aria-disabled');
    // What can wait waits for the first picture and a moment to spare.
    requestAnimationFrame(() => whenIdle(() => {
      readNumberFormatAside();
      keepOffline();
    }));
  }],
  onAbort: () => cannotStart(notLoaded),
  printErr: (text) => console.error(text),
};

// The game's script, asked for only now that the first picture is drawn;
// the single-file page has it inside already.
if (!singleFile) {
  const script = element('script', { src: 'zirkulon.js' });
  script.addEventListener('error', () => cannotStart(notLoaded));
  document.head.append(script);
}
