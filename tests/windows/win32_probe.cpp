// SPDX-License-Identifier: GPL-3.0-or-later
// Reads Zirkulon's windows back through Win32, as a screen reader would, for
// the end-to-end test under Wine. One line per item, UTF-8, tab-separated:
//
//   win32_probe window        "caption\t<text>", "origin\t<x> <y>" (the inner
//                             area's top left corner on the screen), then
//                             "<class>\t<text>" for each child window
//   win32_probe box           the open box (a dialog): "title\t<text>", then
//                             "<class>\t<text>" for each of its controls
//   win32_probe version FILE  "<name>\t<value>" from the file's version record
//   win32_probe redraw        has the drawing surface repaint itself whole
//   win32_probe held-enter    posts Enter to the open box's focused control
//                             as Windows repeats a held key (lParam bit 30)
//
// Exits with 1 when there is no such window.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string utf8(const std::wstring& text) {
    if (text.empty()) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    std::string out(static_cast<std::size_t>(WideCharToMultiByte(CP_UTF8, 0, text.data(), size,
                                                                 nullptr, 0, nullptr, nullptr)),
                    '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), size, out.data(), static_cast<int>(out.size()),
                        nullptr, nullptr);
    return out;
}

std::wstring textOf(HWND window) {
    wchar_t text[1024];
    const auto length = SendMessageW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
    return std::wstring(text, static_cast<std::size_t>(length));
}

std::wstring classOf(HWND window) {
    wchar_t name[256];
    return std::wstring(name, static_cast<std::size_t>(GetClassNameW(window, name, 256)));
}

void print(const std::wstring& key, const std::wstring& value) {
    std::printf("%s\t%s\n", utf8(key).c_str(), utf8(value).c_str());
}

void printChildren(HWND parent) {
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM) -> BOOL {
            print(classOf(child), textOf(child));
            return TRUE;
        },
        0);
}

// A visible dialog of the standard dialog class: a message box or the input box.
HWND openBox() {
    HWND found = nullptr;
    EnumWindows(
        [](HWND window, LPARAM result) -> BOOL {
            if (IsWindowVisible(window) && classOf(window) == L"#32770") {
                *reinterpret_cast<HWND*>(result) = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// Has the drawing surface repaint itself whole, at once.
int redraw() {
    const HWND form = FindWindowW(L"ZirkulonAusgabe", nullptr);
    const HWND surface =
        form == nullptr ? nullptr : FindWindowExW(form, nullptr, L"ZirkulonSurface", nullptr);
    if (surface == nullptr) {
        return 1;
    }
    RedrawWindow(surface, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    return 0;
}

int heldEnter() {
    const HWND box = openBox();
    GUITHREADINFO thread{};
    thread.cbSize = sizeof thread;
    if (box == nullptr || !GetGUIThreadInfo(GetWindowThreadProcessId(box, nullptr), &thread) ||
        thread.hwndFocus == nullptr) {
        return 1;
    }
    const LPARAM repeated = (LPARAM{1} << 30) | 1;
    return PostMessageW(thread.hwndFocus, WM_KEYDOWN, VK_RETURN, repeated) ? 0 : 1;
}

int version(const wchar_t* file) {
    DWORD ignored = 0;
    std::vector<char> data(GetFileVersionInfoSizeW(file, &ignored));
    if (data.empty() ||
        !GetFileVersionInfoW(file, 0, static_cast<DWORD>(data.size()), data.data())) {
        return 1;
    }
    WORD* translation = nullptr;
    UINT size = 0;
    if (!VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation",
                        reinterpret_cast<void**>(&translation), &size) ||
        size < 4) {
        return 1;
    }
    wchar_t block[32];
    swprintf(block, 32, L"%04x%04x", translation[0], translation[1]);
    print(L"Translation", block);
    for (const wchar_t* name :
         {L"FileVersion", L"ProductVersion", L"ProductName", L"InternalName"}) {
        const std::wstring path = std::wstring(L"\\StringFileInfo\\") + block + L"\\" + name;
        wchar_t* value = nullptr;
        if (VerQueryValueW(data.data(), path.c_str(), reinterpret_cast<void**>(&value), &size)) {
            print(name, value);
        }
    }
    return 0;
}

} // namespace

int wmain(int argc, wchar_t* argv[]) {
    _setmode(_fileno(stdout), _O_BINARY);
    const std::wstring what = argc > 1 ? argv[1] : L"";
    if (what == L"window") {
        const HWND form = FindWindowW(L"ZirkulonAusgabe", nullptr);
        if (form == nullptr || !IsWindowVisible(form)) {
            return 1;
        }
        print(L"caption", textOf(form));
        POINT origin{0, 0};
        ClientToScreen(form, &origin);
        std::printf("origin\t%ld %ld\n", origin.x, origin.y);
        printChildren(form);
        return 0;
    }
    if (what == L"box") {
        const HWND box = openBox();
        if (box == nullptr) {
            return 1;
        }
        print(L"title", textOf(box));
        printChildren(box);
        return 0;
    }
    if (what == L"version" && argc > 2) {
        return version(argv[2]);
    }
    if (what == L"redraw") {
        return redraw();
    }
    if (what == L"held-enter") {
        return heldEnter();
    }
    std::fputs("usage: win32_probe window | box | version FILE | redraw | held-enter\n", stderr);
    return 2;
}
