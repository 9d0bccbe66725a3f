// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <string_view>
#include <type_traits>

namespace zirkulon::win32 {

// The game's texts are UTF-8; Windows takes UTF-16.
inline std::wstring wide(std::string_view utf8) {
    std::wstring text;
    if (const int size = static_cast<int>(utf8.size()); size > 0) {
        text.resize(static_cast<std::size_t>(
            MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0)));
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, text.data(),
                            static_cast<int>(text.size()));
    }
    return text;
}

inline std::string utf8(std::wstring_view utf16) {
    std::string text;
    if (const int size = static_cast<int>(utf16.size()); size > 0) {
        text.resize(static_cast<std::size_t>(
            WideCharToMultiByte(CP_UTF8, 0, utf16.data(), size, nullptr, 0, nullptr, nullptr)));
        WideCharToMultiByte(CP_UTF8, 0, utf16.data(), size, text.data(),
                            static_cast<int>(text.size()), nullptr, nullptr);
    }
    return text;
}

inline COLORREF colour(auto rgb) {
    return RGB(rgb.red, rgb.green, rgb.blue);
}

// GDI objects and memory device contexts that free themselves.
struct GdiDeleter {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
    void operator()(HDC dc) const { DeleteDC(dc); }
};
template <typename Handle>
using GdiObject = std::unique_ptr<std::remove_pointer_t<Handle>, GdiDeleter>;
using MemoryDc = GdiObject<HDC>;

// An object selected into a device context for a scope.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~Selection() { SelectObject(dc_, previous_); }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// Registers a window class with the arrow cursor; a second time does nothing.
inline void registerClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure,
                          HICON icon = nullptr) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = icon;
    windowClass.hIconSm = icon;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = name;
    RegisterClassExW(&windowClass);
}

// The window procedure of a class whose windows each belong to the object
// passed last to CreateWindowExW: from WM_NCCREATE until the object clears it,
// the window's user data holds the object, whose `window` learns the handle
// and whose `answer` answers every message; otherwise DefWindowProcW answers.
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
