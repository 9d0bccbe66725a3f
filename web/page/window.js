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
let context = null;       // the canvas's, asked for once
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
  context ??= canvas.getContext('2d');
  const ctx = context;
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
