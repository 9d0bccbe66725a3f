// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "numerics/NumberText.h"

#include <windows.h>

#include <string>

// What the program takes from Windows besides its window, and its input box.
namespace zirkulon::win32 {

// Runs the window's message loop until the window is gone; the exit code.
// The repeats of a held key that acts on its first press only go nowhere,
// while the keys that turn the blue leg repeat as the keyboard does.
int runMessageLoop();

// How the user's Windows locale writes numbers.
NumberFormat userNumberFormat();

// The modal input box over `owner`, a dialog of its own titled "Zirkulon":
// the prompt, an edit field with the focus and the default text selected,
// "OK" and "Abbrechen". The text entered on OK (or Enter), else the empty one.
std::wstring inputBox(HWND owner, const std::wstring& prompt, const std::wstring& defaultText);

} // namespace zirkulon::win32
