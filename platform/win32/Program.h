// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "numerics/NumberText.h"

// What the program takes from Windows besides its window.
namespace zirkulon::win32 {

// Runs the window's message loop until the window is gone; the exit code.
// The repeats of a held key that acts on its first press only go nowhere,
// while the keys that turn the blue leg repeat as the keyboard does.
int runMessageLoop();

// How the user's Windows locale writes numbers.
NumberFormat userNumberFormat();

} // namespace zirkulon::win32
