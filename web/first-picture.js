// SPDX-License-Identifier: GPL-3.0-or-later
// Linked in front of the game for a run under Node at build time: the game
// builds its window and poses its first task exactly as in the page, and
// this stands in for the page, records what the game draws on the way (its
// design, its picture and the angle it shows, in order) and prints the
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
  update: (commands, area, degrees, text) => {
    drawing.push(['update', commands && Array.from(commands), area, degrees, text]);
  },
  // Labels, menu and captions come with the game itself: the target it poses
  // differs every time; so do its keys.
  addLabel() {},
  addMenuItem() {},
  addKey() {},
  setCaption() {},
  wakeAfter() {},
  unload() {},
  numberFormat: () => '.\n',
  messageBox: noBoxAtTheStart,
  inputBox: noBoxAtTheStart,
};
Module.postRun = [() => {
  process.stdout.write(JSON.stringify(drawing));
}];
