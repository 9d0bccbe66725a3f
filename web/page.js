// SPDX-License-Identifier: GPL-3.0-or-later
// Zirkulon's window in the page. The game itself is C++ compiled to
// WebAssembly (zirkulon.js, zirkulon.wasm); it builds the window from its
// design through `page`, sets captions, lines and arcs, and opens boxes.
// This script draws the window, scales it to fit the viewport, and raises the
// window's events: menu clicks, presses and moves of the left mouse button, a
// pen or one finger, and the keys that turn the blue leg, one event at a time.
'use strict';

// "decimal\ngroup" as the browser's language writes 1234567.5.
function readNumberFormat() {
  const parts = new Intl.NumberFormat(navigator.language).formatToParts(1234567.5);
  const part = (type) => parts.find((p) => p.type === type)?.value ?? '';
  return `${part('decimal') || '.'}\n${part('group')}`;
}

// Started as a worker (see readNumberFormatAside), this script only reads
// the number format, away from the page's main thread, and ends.
if (typeof document === 'undefined') {
  postMessage(readNumberFormat());
  close();
} else {
  startPage();
}

function startPage() {
  const windowElement = document.getElementById('window');
  const inner = document.getElementById('inner');
  const menubar = document.getElementById('menubar');
  const canvas = document.getElementById('surface');
  const captionElement = document.getElementById('caption');
  const loading = document.getElementById('loading');
  // The whole game in one file (zirkulon.html), opened from a disk: no
  // worker can start from there, and everything is inside already.
  const singleFile = document.documentElement.hasAttribute('data-single-file');

  // The game's WebAssembly compiles as it streams in, from the first thing
  // this script does, rather than once zirkulon.js has been fetched and run;
  // zirkulon.js then only instantiates it. The single-file page brings the
  // bytes along instead.
  const compiled = typeof WebAssembly !== 'object' || singleFile ? null
    : WebAssembly.compileStreaming(fetch('zirkulon.wasm', { credentials: 'same-origin' }));
  compiled?.catch(() => {}); // reported when the game instantiates it

  let design = null;        // sizes in window pixels, set by the game
  const labels = [];        // LWinkel, LKlicks, LTreffer
  const lines = [null, null]; // Schenkel1, Schenkel2 in scale units
  let arcs = [];            // drawn since the last clear
  let scale = 1;            // CSS pixels per window pixel
  let paintPending = false;
  let ready = false;        // the game has loaded
  let busy = false;         // a handler is running, perhaps waiting for a box
  let unloaded = false;     // "Ende" was chosen
  let activePointer = null; // the pointer that turns the leg

  // ---- drawing ----------------------------------------------------------

  function schedulePaint() {
    if (!paintPending) {
      paintPending = true;
      requestAnimationFrame(paint);
    }
  }

  // Paints the surface, its arcs and the legs from the state above, at the
  // canvas's own resolution, so that nothing is blown up from a smaller picture.
  function paint() {
    paintPending = false;
    if (design === null) {
      return;
    }
    const ctx = canvas.getContext('2d');
    const k = canvas.width / design.innerPixels;
    const twips = design.twipsPerPixel;
    ctx.setTransform(k, 0, 0, k, 0, 0);
    ctx.fillStyle = design.surfaceColour;
    ctx.fillRect(0, 0, design.innerPixels, design.innerPixels);

    ctx.strokeStyle = design.arcColour;
    ctx.lineWidth = design.arcWidth;
    for (const arc of arcs) {
      const cx = arc.x / twips;
      const cy = arc.y / twips;
      const r = arc.radius / twips;
      // Angles run counter-clockwise on the screen, the canvas's clockwise.
      const from = -arc.start;
      const to = -(arc.start + arc.sweep);
      ctx.beginPath();
      if (arc.radiusToStart) {
        ctx.moveTo(cx, cy);
      } else {
        ctx.moveTo(cx + r * Math.cos(from), cy + r * Math.sin(from));
      }
      ctx.arc(cx, cy, r, from, to, true);
      if (arc.radiusToEnd) {
        ctx.lineTo(cx, cy);
      }
      ctx.stroke();
    }

    ctx.lineWidth = design.legWidth;
    ctx.lineCap = 'butt';
    lines.forEach((line, i) => {
      if (line === null) {
        return;
      }
      ctx.strokeStyle = design.legColours[i];
      ctx.beginPath();
      ctx.moveTo(line.x1 / twips, line.y1 / twips);
      ctx.lineTo(line.x2 / twips, line.y2 / twips);
      ctx.stroke();
    });
  }

  // Scales the whole window to fit the viewport, keeping its proportions, and
  // gives the canvas one pixel per device pixel at that scale. The window has
  // its final size before the game has loaded, so nothing jumps when it starts.
  function fit() {
    const width = windowElement.offsetWidth;
    const height = windowElement.offsetHeight;
    if (width === 0 || height === 0) {
      return;
    }
    scale = Math.min(innerWidth / width, innerHeight / height);
    windowElement.style.transform = `scale(${scale})`;
    if (design === null) {
      return;
    }
    const pixels = Math.max(1, Math.round(design.innerPixels * scale * devicePixelRatio));
    if (canvas.width !== pixels) {
      canvas.width = pixels;
      canvas.height = pixels;
    }
    schedulePaint(); // before the next frame, with whatever the game has set by then
  }
  addEventListener('resize', fit);
  fit();

  // ---- events -------------------------------------------------------------

  // Runs one exported entry point of the game, unless a handler is running
  // already (a box is open) or the game has ended.
  function raise(name, types, args) {
    if (!ready || busy || unloaded) {
      return;
    }
    busy = true;
    const finished = () => {
      busy = false;
      if (unloaded) {
        end();
      }
    };
    try {
      Promise.resolve(Module.ccall(name, null, types, args, { async: true }))
        .then(finished, (error) => {
          console.error(error);
          finished();
        });
    } catch (error) {
      console.error(error);
      finished();
    }
  }

  // The pointer in window pixels from the inner area's top left corner.
  function position(event) {
    const box = canvas.getBoundingClientRect();
    return [
      (event.clientX - box.left) * design.innerPixels / box.width,
      (event.clientY - box.top) * design.innerPixels / box.height,
    ];
  }

  // Buttons as the game counts them: 1 left, 2 right, 4 middle. A pen's tip
  // and a finger are the left button.
  const buttonBits = [1, 4, 2]; // by PointerEvent.button 0, 1, 2
  function shiftOf(event) {
    return (event.shiftKey ? 1 : 0) | (event.ctrlKey ? 2 : 0) | (event.altKey ? 4 : 0);
  }
  function press(event, button) {
    raise('zirkulon_pointer', ['number', 'number', 'number', 'number', 'number'],
      [1, button, shiftOf(event), ...position(event)]);
  }

  canvas.addEventListener('pointerdown', (event) => {
    if (activePointer !== null && event.pointerId !== activePointer) {
      return; // a second finger
    }
    const button = buttonBits[event.button] ?? 0;
    if (button === 0) {
      return;
    }
    event.preventDefault();
    // The keys go on from where the pointer left the leg; a pointer shows no focus ring.
    canvas.focus({ preventScroll: true, focusVisible: false });
    activePointer = event.pointerId;
    try {
      canvas.setPointerCapture(event.pointerId); // the drag goes on outside the window
    } catch (error) {
      console.error(error);
    }
    press(event, button);
  });

  canvas.addEventListener('pointermove', (event) => {
    if (event.pointerId !== activePointer) {
      return;
    }
    // Another button pressed while one is held comes as a move; the game
    // sees it as the press of that one button. One released while another is
    // held comes as a move too, and a release is no event of the game.
    const changed = buttonBits[event.button] ?? 0;
    if (changed !== 0) {
      if ((event.buttons & changed) !== 0) {
        press(event, changed);
      }
      return;
    }
    if ((event.buttons & 7) === 0) {
      return;
    }
    raise('zirkulon_pointer', ['number', 'number', 'number', 'number', 'number'],
      [0, event.buttons & 7, shiftOf(event), ...position(event)]);
  });

  const release = (event) => {
    if (event.pointerId === activePointer && (event.buttons & 7) === 0) {
      activePointer = null;
    }
  };
  canvas.addEventListener('pointerup', release);
  canvas.addEventListener('pointercancel', (event) => {
    if (event.pointerId === activePointer) {
      activePointer = null;
    }
  });
  canvas.addEventListener('contextmenu', (event) => event.preventDefault());

  // The keys that turn the blue leg, as the slider pattern has them, by their
  // Windows virtual-key codes. A held key repeats, and so does the turning.
  const turningKeys = {
    PageUp: 33, PageDown: 34, End: 35, Home: 36,
    ArrowLeft: 37, ArrowUp: 38, ArrowRight: 39, ArrowDown: 40,
  };
  canvas.addEventListener('keydown', (event) => {
    const code = turningKeys[event.key];
    if (code === undefined || event.ctrlKey || event.altKey || event.metaKey) {
      return; // the browser's own shortcuts stay
    }
    event.preventDefault(); // the page does not scroll
    raise('zirkulon_key', ['number', 'number'], [code, shiftOf(event)]);
  });

  // Menu commands and box buttons act on the first press of a key, never on
  // its repeats: a held Enter would otherwise close each box it opens and
  // choose the command again, spending attempt after attempt. (A button acts
  // on Enter as it goes down and on Space as it comes up, which a held key
  // does only once.)
  document.addEventListener('keydown', (event) => {
    if (event.repeat && event.target !== canvas &&
        (event.key === 'Enter' || event.key === ' ' || event.key === 'Escape')) {
      event.preventDefault();
    }
  }, true);

  // The menu bar: Left and Right move between its commands, as a menu bar does.
  menubar.addEventListener('keydown', (event) => {
    const items = [...menubar.children];
    const at = items.indexOf(document.activeElement);
    const step = { ArrowRight: 1, ArrowLeft: -1 }[event.key];
    if (at < 0 || step === undefined) {
      return;
    }
    event.preventDefault();
    const next = items[(at + step + items.length) % items.length];
    items.forEach((item) => item.setAttribute('tabindex', item === next ? '0' : '-1'));
    next.focus();
  });

  // "Ende": the page cannot close its tab, so the window goes and the page
  // says that the game has ended, with a way to start it again.
  function end() {
    windowElement.hidden = true;
    document.title = 'Zirkulon ist beendet';
    const ended = document.getElementById('ended');
    ended.hidden = false;
    ended.querySelector('a').focus();
  }

  // ---- boxes ----------------------------------------------------------------

  function element(tag, properties) {
    return Object.assign(document.createElement(tag), properties);
  }

  // A modal box; resolves with what the player answered when it is closed:
  // the text entered after OK, or '' after Abbrechen, Escape or closing.
  function openBox(title, text, input) {
    return new Promise((resolve) => {
      const dialog = element('dialog');
      dialog.setAttribute('aria-labelledby', 'box-title');
      dialog.setAttribute('aria-describedby', 'box-text');
      const form = element('form', { method: 'dialog' });
      const ok = element('button', { type: 'submit', value: 'ok', textContent: design.okCaption });
      const buttons = element('div', { className: 'buttons' });
      buttons.append(ok);
      form.append(element('p', { id: 'box-text', textContent: text }));
      if (input !== undefined) {
        input.setAttribute('aria-labelledby', 'box-text');
        form.append(input);
        buttons.append(element('button', {
          type: 'submit', value: 'cancel', formNoValidate: true, textContent: design.cancelCaption,
        }));
      }
      form.append(buttons);
      dialog.append(element('h2', { id: 'box-title', textContent: title }), form);
      dialog.addEventListener('close', () => {
        const answer = dialog.returnValue === 'ok' && input !== undefined ? input.value : '';
        dialog.remove();
        resolve(answer);
      });
      document.body.append(dialog);
      dialog.showModal();
      if (input !== undefined) {
        input.focus();
        input.select();
      } else {
        ok.focus({ preventScroll: true });
      }
      // A box taller than the viewport opens at its title and first line; OK
      // has the focus all the same and is reached by scrolling.
      dialog.scrollTop = 0;
    });
  }

  // The game asks for the number format only when a text first needs a
  // separator: a typed number or a fraction, never its first picture. The
  // first use of Intl in a page takes tens of milliseconds (hundreds on a
  // slow tablet), so once the game is on screen a worker reads the format
  // aside; should the game ask before the worker has answered, or where no
  // worker can start (the single-file page), it is read here and then.
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
      const pixels = `${design.innerPixels}px`;
      inner.style.width = pixels;
      inner.style.height = pixels;
      canvas.style.width = pixels;
      canvas.style.height = pixels;
      canvas.style.backgroundColor = d.surfaceColour;
      canvas.setAttribute('aria-label', d.surfaceName);
      // The game builds its window, loads and poses its first task in one go,
      // so the notice gives way to the drawing surface within one frame.
      loading.remove();
      canvas.hidden = false;
      this.fontFamily = `"${d.font}", "${d.substitute}"`;
      this.fontSize = `${d.pointSize}pt`;
      fit();
    },
    addLabel(index, name, left, top, width, height, description) {
      const twips = design.twipsPerPixel;
      const label = element('div', { id: name, className: 'label' });
      label.setAttribute('role', 'status');
      label.setAttribute('aria-label', description);
      Object.assign(label.style, {
        left: `${Math.trunc(left / twips)}px`,
        top: `${Math.trunc(top / twips)}px`,
        width: `${Math.trunc(width / twips)}px`,
        height: `${Math.trunc(height / twips)}px`,
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
      item.addEventListener('click', () => raise('zirkulon_menu', ['number'], [index]));
      menubar.append(item);
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
    setLine(which, x1, y1, x2, y2) {
      lines[which] = { x1, y1, x2, y2 };
      schedulePaint();
    },
    clear() {
      arcs = [];
      schedulePaint();
    },
    addArc(x, y, radius, start, sweep, radiusToStart, radiusToEnd) {
      arcs.push({ x, y, radius, start, sweep, radiusToStart, radiusToEnd });
      schedulePaint();
    },
    // The slider's value: whole degrees, and the same in words.
    describeAngle(degrees, text) {
      canvas.setAttribute('aria-valuenow', String(degrees));
      canvas.setAttribute('aria-valuetext', text);
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
    numberFormat() {
      return numberFormat();
    },
  };

  // Keeps the site for offline play; registered once the game has shown its
  // first picture, so that filling the cache does not hold up the start.
  // The single-file page (zirkulon.html) has everything inside and no worker.
  function keepOffline() {
    if ('serviceWorker' in navigator && !singleFile) {
      navigator.serviceWorker.register('sw.js').catch((error) => console.error(error));
    }
  }

  // Runs `task` once the browser is idle, or within two seconds at the latest
  // (after a short wait where it cannot tell).
  function whenIdle(task) {
    if ('requestIdleCallback' in window) {
      requestIdleCallback(task, { timeout: 2000 });
    } else {
      setTimeout(task, 200);
    }
  }

  // When the game cannot start, the window says so in place of the notice.
  let failed = false;
  function cannotStart(text) {
    if (ready || failed) {
      return;
    }
    failed = true;
    const again = element('p');
    again.append(element('a', { href: './', textContent: 'Seite neu laden' }));
    loading.replaceChildren(element('p', { textContent: text }), again);
    canvas.hidden = true;
    inner.append(loading);
  }
  const notLoaded = 'Zirkulon konnte nicht geladen werden. Bitte prüfe die Verbindung zum '
    + 'Internet und lade die Seite neu.';
  if (typeof WebAssembly !== 'object') {
    cannotStart('Zirkulon kann in diesem Browser nicht starten, weil er kein WebAssembly kann. '
      + 'Bitte öffne Zirkulon in einem neueren Browser.');
  }
  // The game's script or its WebAssembly did not arrive: a download that
  // fails outright rejects a promise that nothing handles, one that arrives
  // broken aborts the start.
  document.querySelector('script[src="zirkulon.js"]')
    ?.addEventListener('error', () => cannotStart(notLoaded));
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
      ready = true;
      // What can wait waits until the first picture is on the screen and the
      // browser has a moment to spare.
      requestAnimationFrame(() => whenIdle(() => {
        readNumberFormatAside();
        keepOffline();
      }));
    }],
    onAbort: () => cannotStart(notLoaded),
    printErr: (text) => console.error(text),
  };
}
