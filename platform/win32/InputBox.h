// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

#include <string>

namespace zirkulon::win32 {

// The modal input box over `owner`, a dialog of its own titled "Zirkulon":
// the prompt, an edit field that holds the keyboard focus with the default
// text selected, and "OK" and "Abbrechen". The text entered on OK (or Enter);
// the empty text on "Abbrechen", Escape or closing.
std::wstring inputBox(HWND owner, const std::wstring& prompt, const std::wstring& defaultText);

} // namespace zirkulon::win32
