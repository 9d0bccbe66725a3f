// SPDX-License-Identifier: GPL-3.0-or-later
// Part of startPage (see main.js): the window's elements and state, and its
// drawing, scaled to fit the viewport.

const windowElement = document.getElementById('window');
const inner = document.getElementById('inner');
const menubar = document.getElementById('menubar');
const canvas = document.getElementById('surface');
const captionElement = document.getElementById('caption');
const loading = document.getElementById('loading');
// The whole game in one file (zirkulon.html), opened from a disk: no
// worker can start from there, and everything is inside already.
const singleFile = document.documentElement.hasAttribute('data-single-file');

// The game's WebAssembly compiles as it streams in, from the first thing this
// script does; zirkulon.js, fetched later, only instantiates it. The
// single-file page brings the bytes along instead.
const compiled = typeof WebAssembly !== 'object' || singleFile ? null
  : WebAssembly.compileStreaming(fetch('zirkulon.wasm', { credentials: 'same-origin' }));
compiled?.catch(() => {}); // reported when the game instantiates it

let design = null;        // set by the game
const labels = [];        // LWinkel, LKlicks, LTreffer
const keys = {};          // by KeyboardEvent.key: { code, turns, once }
let picture = null;       // the game's drawing commands, the whole picture
let pictureLength = 0;
let blank = true;         // the canvas shows nothing yet, or lost what it showed
let context = null;       // the canvas's, asked for once
let ready = false;        // the game has loaded
let busy = false;         // a handler is running, perhaps waiting for a box
let unloaded = false;     // "Ende" was chosen
let activePointer = null; // the pointer that turns the leg

// ---- drawing ----------------------------------------------------------

const colours = {}; // CSS colours by the game's 0xRRGGBB
const css = (colour) => (colours[colour] ??= `#${colour.toString(16).padStart(6, '0')}`);

// Paints the game's commands (platform/web/WebForm.cpp, PageDrawing) in scale
// units, at the canvas's own resolution, so that nothing is blown up from a
// smaller picture; within `area` only, in whole canvas pixels, unless the
// canvas has lost what it showed.
function paint(area) {
  if (picture === null) {
    return;
  }
  context ??= canvas.getContext('2d');
  const ctx = context;
  const k = canvas.width / design.innerWidth;
  ctx.save();
  if (!blank) {
    const left = Math.max(0, Math.floor(area[0] * k));
    const top = Math.max(0, Math.floor(area[1] * k));
    ctx.beginPath();
    ctx.rect(left, top, Math.ceil(area[2] * k) - left, Math.ceil(area[3] * k) - top);
    ctx.clip();
  }
  blank = false;
  ctx.setTransform(k, 0, 0, k, 0, 0);
  ctx.lineCap = 'butt';
  const p = picture;
  for (let i = 0; i < pictureLength;) {
    switch (p[i]) {
      case 0: // fill: left, top, right, bottom, colour
        ctx.fillStyle = css(p[i + 5]);
        ctx.fillRect(p[i + 1], p[i + 2], p[i + 3] - p[i + 1], p[i + 4] - p[i + 2]);
        i += 6;
        break;
      case 2: // line: x1, y1, x2, y2, width, colour
        ctx.lineWidth = p[i + 5];
        ctx.strokeStyle = css(p[i + 6]);
        ctx.beginPath();
        ctx.moveTo(p[i + 1], p[i + 2]);
        ctx.lineTo(p[i + 3], p[i + 4]);
        ctx.stroke();
        i += 7;
        break;
      case 3: { // arc: centre x, y, radius, start, sweep, radii (1 start, 2 end), width, colour
        const x = p[i + 1];
        const y = p[i + 2];
        const radii = p[i + 6];
        ctx.lineWidth = p[i + 7];
        ctx.strokeStyle = css(p[i + 8]);
        ctx.beginPath();
        if (radii & 1) {
          ctx.moveTo(x, y); // else the arc starts the path
        }
        // Angles run counter-clockwise on the screen, the canvas's clockwise.
        ctx.arc(x, y, p[i + 3], -p[i + 4], -p[i + 4] - p[i + 5], true);
        if (radii & 2) {
          ctx.lineTo(x, y);
        }
        ctx.stroke();
        i += 9;
        break;
      }
      default:
        throw new Error(`unknown drawing command ${p[i]}`);
    }
  }
  ctx.restore();
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
  const scale = Math.min(innerWidth / width, innerHeight / height); // CSS pixels per window pixel
  windowElement.style.transform = `scale(${scale})`;
  if (design === null) {
    return;
  }
  const pixels = Math.max(1, Math.round(design.innerPixels * scale * devicePixelRatio));
  if (canvas.width !== pixels) {
    canvas.width = pixels;
    canvas.height = pixels;
    blank = true;
    paint();
  }
}
addEventListener('resize', fit);
fit();
