// SPDX-License-Identifier: GPL-3.0-or-later
// Part of startPage (see main.js): the window's events, from the pointer, the
// keys and the menu bar, raised one at a time.

// ---- events -------------------------------------------------------------

// Runs one exported entry point of the game with its numbers, unless a
// handler is running already (a box is open) or the game has ended.
async function raise(name, args) {
  if (!ready || busy || unloaded) {
    return;
  }
  busy = true;
  try {
    const waiting = Module.ccall(name, null, args.map(() => 'number'), args);
    if (waiting instanceof Promise) {
      await waiting; // the handler waits for a box until it is closed
    }
  } catch (error) {
    console.error(error);
  }
  busy = false;
  if (unloaded) {
    end();
  }
}

// The canvas's box on the screen, kept while a pointer turns the leg:
// asking for it on every move cost more than the rest of the move's script.
// Whatever can move the canvas meanwhile (a resize, a scroll) forgets it.
let dragBox = null;
const forgetBox = () => {
  dragBox = null;
};
addEventListener('resize', forgetBox);
addEventListener('scroll', forgetBox, true);

// The pointer in window pixels from the inner area's top left corner.
function position(event) {
  dragBox ??= canvas.getBoundingClientRect();
  const box = dragBox;
  return [
    (event.clientX - box.left) * design.innerPixels / box.width,
    (event.clientY - box.top) * design.innerPixels / box.height,
  ];
}

// A pointer event, as the game takes it: the button that changed (-1 for a
// move), the buttons held, the shift keys, and where.
function pointer(event, changed) {
  raise('zirkulon_pointer',
    [changed, event.buttons, event.shiftKey, event.ctrlKey, event.altKey, ...position(event)]);
}

canvas.addEventListener('pointerdown', (event) => {
  if (activePointer !== null && event.pointerId !== activePointer || event.button > 2) {
    return; // a second finger, or a mouse's back or forward button
  }
  event.preventDefault();
  // The keys go on from where the pointer left the leg; a pointer shows no focus ring.
  canvas.focus({ preventScroll: true, focusVisible: false });
  activePointer = event.pointerId;
  forgetBox();
  try {
    canvas.setPointerCapture(event.pointerId); // the drag goes on outside the window
  } catch (error) {
    console.error(error);
  }
  pointer(event, event.button);
});

// Another button pressed or released while one is held comes as a move
// with the button that changed. A move with no button held changes nothing,
// and does not reach the game.
canvas.addEventListener('pointermove', (event) => {
  if (event.pointerId === activePointer && (event.button >= 0 || event.buttons !== 0)) {
    pointer(event, event.button);
  }
});

// The drag ends with the last button released, or when the browser takes
// the pointer over (a finger that starts to scroll, say).
const release = (event) => {
  if (event.pointerId === activePointer && (event.buttons === 0 || event.type === 'pointercancel')) {
    activePointer = null;
    forgetBox();
  }
};
canvas.addEventListener('pointerup', release);
canvas.addEventListener('pointercancel', release);
canvas.addEventListener('contextmenu', (event) => event.preventDefault());

// The keys that turn the blue leg, as the game names them (page.addKey). A
// held key repeats, and so does the turning. With Ctrl, Alt or Meta they
// belong to the browser's own shortcuts.
canvas.addEventListener('keydown', (event) => {
  const key = keys[event.key];
  if (!key?.turns || event.ctrlKey || event.altKey || event.metaKey) {
    return;
  }
  event.preventDefault(); // the page does not scroll
  raise('zirkulon_key', [key.code, event.shiftKey, event.ctrlKey, event.altKey]);
});

// The keys that act on their first press only (page.addKey) have their
// repeats dropped, wherever they would go: a held Enter would otherwise close
// each box it opens and choose the command again, spending attempt after
// attempt.
document.addEventListener('keydown', (event) => {
  if (event.repeat && keys[event.key]?.once) {
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
