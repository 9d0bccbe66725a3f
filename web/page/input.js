// SPDX-License-Identifier: GPL-3.0-or-later
// Part of startPage (see main.js): the window's events, from the pointer, the
// keys and the menu bar, raised one at a time.

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
  forgetBox();
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
    forgetBox();
  }
};
canvas.addEventListener('pointerup', release);
canvas.addEventListener('pointercancel', (event) => {
  if (event.pointerId === activePointer) {
    activePointer = null;
    forgetBox();
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
