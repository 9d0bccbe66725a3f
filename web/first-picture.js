// SPDX-License-Identifier: GPL-3.0-or-later
// Linked in front of the game for a run under Node at build time: the game
// builds its window and poses its first task exactly as in the page, and
// this stands in for the page, records what the game draws on the way (its
// design, lines and arcs, and the angle they show, in order) and prints the
// record as JSON. The page replays it before the game has even loaded (see
// game.js), so the game's first picture is on the screen as soon as the
// page's script has run.
'use strict';

const drawing = [];
const record = (call) => (...args) => {
  drawing.push([call, ...args]);
};
const noBoxAtTheStart = () => {
  throw new Error('the game opened a box while it started');
};

Module.page = {
  setDesign: record('setDesign'),
  setLine: record('setLine'),
  clear: record('clear'),
  addArc: record('addArc'),
  describeAngle: record('describeAngle'),
  // Labels, menu and captions come with the game itself: the target it poses
  // differs every time.
  addLabel() {},
  addMenuItem() {},
  setCaption() {},
  unload() {},
  numberFormat: () => '.\n',
  messageBox: noBoxAtTheStart,
  inputBox: noBoxAtTheStart,
};
Module.postRun = [() => {
  process.stdout.write(JSON.stringify(drawing));
}];
