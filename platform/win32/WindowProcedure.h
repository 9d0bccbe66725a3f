// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

namespace zirkulon::win32 {

// The window procedure of a class whose windows each belong to one object,
// the last parameter of CreateWindowExW: from WM_NCCREATE on, the window's
// user data holds the object, whose `window` member learns the handle and
// whose `answer` answers every message; before that, and after the object
// has cleared the user data, Windows' default answers.
template <typename Owner, HWND Owner::*window, LRESULT (Owner::*answer)(UINT, WPARAM, LPARAM)>
LRESULT CALLBACK ownedWindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        auto* owner = static_cast<Owner*>(create->lpCreateParams);
        owner->*window = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
    }
    auto* owner = reinterpret_cast<Owner*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    return owner != nullptr ? (owner->*answer)(message, wParam, lParam)
                            : DefWindowProcW(hwnd, message, wParam, lParam);
}

} // namespace zirkulon::win32
