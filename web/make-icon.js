// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the game's own picture as a square PNG icon: the red leg pointing
// right and the blue leg turned up and to the left from the centre, with the
// arc between them, on the light drawing surface.
//
//   node make-icon.js OUTPUT.png SIZE
'use strict';

const fs = require('fs');
const zlib = require('zlib');

const [output, sizeText] = process.argv.slice(2);
const size = Number(sizeText);
if (!output || !(size >= 16 && size <= 4096)) {
  console.error('usage: node make-icon.js OUTPUT.png SIZE');
  process.exit(2);
}

// The picture in units of the icon's side, y downwards. Maskable icons may be
// cut to a circle of 80 % of the side, so everything stays within 0.4 of the
// centre.
const vertex = [0.5, 0.5];
const leg = 0.36;
const blue = 135 * Math.PI / 180;
const legWidth = 0.045;
const arcRadius = 0.15;
const arcWidth = 0.02;
const surface = [239, 239, 239];
const red = [255, 0, 0];
const blueColour = [0, 0, 255];
const ink = [0, 0, 0];

// Distance from p to the segment a-b.
function toSegment(p, a, b) {
  const [dx, dy] = [b[0] - a[0], b[1] - a[1]];
  const t = Math.max(0, Math.min(1, ((p[0] - a[0]) * dx + (p[1] - a[1]) * dy) / (dx * dx + dy * dy)));
  return Math.hypot(p[0] - a[0] - t * dx, p[1] - a[1] - t * dy);
}

// Distance from p to the arc about the vertex from the red leg
// counter-clockwise (on the screen) to the blue one.
function toArc(p) {
  const [dx, dy] = [p[0] - vertex[0], vertex[1] - p[1]];
  const angle = Math.atan2(dy, dx);
  if (angle >= 0 && angle <= blue) {
    return Math.abs(Math.hypot(dx, dy) - arcRadius);
  }
  const ends = [0, blue].map((a) => [vertex[0] + arcRadius * Math.cos(a), vertex[1] - arcRadius * Math.sin(a)]);
  return Math.min(...ends.map((e) => Math.hypot(p[0] - e[0], p[1] - e[1])));
}

// Coverage of a stroke of the given width at distance d, over one pixel.
function cover(d, width) {
  return Math.max(0, Math.min(1, (width / 2 - d) * size + 0.5));
}

const redEnd = [vertex[0] + leg, vertex[1]];
const blueEnd = [vertex[0] + leg * Math.cos(blue), vertex[1] - leg * Math.sin(blue)];
const rows = [];
for (let y = 0; y < size; ++y) {
  const row = Buffer.alloc(1 + size * 3); // filter byte 0, then RGB
  for (let x = 0; x < size; ++x) {
    const p = [(x + 0.5) / size, (y + 0.5) / size];
    let colour = surface;
    const paint = (over, alpha) => {
      colour = colour.map((c, i) => c + (over[i] - c) * alpha);
    };
    paint(ink, cover(toArc(p), arcWidth));
    paint(red, cover(toSegment(p, vertex, redEnd), legWidth));
    paint(blueColour, cover(toSegment(p, vertex, blueEnd), legWidth));
    colour.forEach((c, i) => { row[1 + x * 3 + i] = Math.round(c); });
  }
  rows.push(row);
}

const crcTable = Array.from({ length: 256 }, (_, n) => {
  let c = n;
  for (let k = 0; k < 8; ++k) {
    c = c & 1 ? 0xedb88320 ^ (c >>> 1) : c >>> 1;
  }
  return c >>> 0;
});
function crc32(bytes) {
  let c = 0xffffffff;
  for (const b of bytes) {
    c = crcTable[(c ^ b) & 0xff] ^ (c >>> 8);
  }
  return (c ^ 0xffffffff) >>> 0;
}
function chunk(type, data) {
  const body = Buffer.concat([Buffer.from(type, 'ascii'), data]);
  const framed = Buffer.alloc(body.length + 8);
  framed.writeUInt32BE(data.length, 0);
  body.copy(framed, 4);
  framed.writeUInt32BE(crc32(body), body.length + 4);
  return framed;
}
const header = Buffer.alloc(13);
header.writeUInt32BE(size, 0);
header.writeUInt32BE(size, 4);
header[8] = 8; // bits per channel
header[9] = 2; // RGB
fs.writeFileSync(output, Buffer.concat([
  Buffer.from([0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a]),
  chunk('IHDR', header),
  chunk('IDAT', zlib.deflateSync(Buffer.concat(rows), { level: 9 })),
  chunk('IEND', Buffer.alloc(0)),
]));
