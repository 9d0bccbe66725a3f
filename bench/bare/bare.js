// SPDX-License-Identifier: GPL-3.0-or-later
// The bare page that web_bench.py measures Zirkulon's page against: a canvas
// of 548 x 548 pixels painted once as soon as the document's scripts run (a
// grey surface, a red leg to the right and a blue leg straight up from the
// centre), and painted again, once per frame, while the left button is held
// and the pointer moves, with the blue leg turned towards the pointer. Nothing
// else: no WebAssembly, no fonts, no scaling.
'use strict';

(() => {
  const canvas = document.getElementById('surface');
  const ctx = canvas.getContext('2d');
  const centre = canvas.width / 2;
  const length = canvas.width * 0.45;
  let blue = [centre, centre - length];
  let pending = false;

  function paint() {
    pending = false;
    ctx.fillStyle = '#efefef';
    ctx.fillRect(0, 0, canvas.width, canvas.height);
    ctx.lineWidth = 2;
    ctx.strokeStyle = '#ff0000';
    ctx.beginPath();
    ctx.moveTo(centre, centre);
    ctx.lineTo(centre + length, centre);
    ctx.stroke();
    ctx.strokeStyle = '#0000ff';
    ctx.beginPath();
    ctx.moveTo(centre, centre);
    ctx.lineTo(blue[0], blue[1]);
    ctx.stroke();
  }

  canvas.addEventListener('pointerdown', (event) => {
    canvas.setPointerCapture(event.pointerId);
  });
  canvas.addEventListener('pointermove', (event) => {
    if ((event.buttons & 1) === 0) {
      return;
    }
    const box = canvas.getBoundingClientRect();
    const dx = (event.clientX - box.left) * canvas.width / box.width - centre;
    const dy = (event.clientY - box.top) * canvas.height / box.height - centre;
    const d = Math.hypot(dx, dy) || 1;
    blue = [centre + dx * length / d, centre + dy * length / d];
    if (!pending) {
      pending = true;
      requestAnimationFrame(paint);
    }
  });

  paint();
})();
