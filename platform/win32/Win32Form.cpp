// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/win32/Win32Form.h"

#include "platform/Design.h"
#include "platform/win32/Program.h"

#include <cstdio>
#include <cwchar>

namespace zirkulon::win32 {

namespace {

constexpr wchar_t className[] = L"ZirkulonAusgabe";
constexpr DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
constexpr UINT firstMenuId = 100;
constexpr int designDpi = 96;

void report(const std::string& message) {
    OutputDebugStringW((L"zirkulon: " + wide(message) + L"\n").c_str());
    std::fprintf(stderr, "zirkulon: %s\n", message.c_str());
}

bool fontInstalled(const std::wstring& face) {
    LOGFONTW query{};
    query.lfCharSet = DEFAULT_CHARSET;
    wcsncpy(query.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    bool found = false;
    const HDC screen = GetDC(nullptr);
    EnumFontFamiliesExW(
        screen, &query,
        [](const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) -> int {
            *reinterpret_cast<bool*>(found) = true;
            return 0;
        },
        reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, screen);
    return found;
}

// Comic Sans MS, 12 points at the window's DPI; Comic Neue where it is missing.
HFONT createLabelFont(UINT dpi) {
    static const std::wstring face = fontInstalled(wide(design::labelFont))
                                         ? wide(design::labelFont)
                                         : wide(design::labelFontSubstitute);
    return CreateFontW(-MulDiv(design::labelPointSize, static_cast<int>(dpi), 72), 0, 0, 0,
                       FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                       face.c_str());
}

} // namespace

Win32Form::Win32Form(HINSTANCE instance) : Form(&report) {
    registerClass(instance, className,
                  &ownedWindowProcedure<Win32Form, &Win32Form::hwnd_, &Win32Form::handle>,
                  LoadIconW(nullptr, IDI_APPLICATION));
    hwnd_ = CreateWindowExW(0, className, wide(design::applicationTitle).c_str(), style,
                            CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr,
                            nullptr, instance, this);
    surface_ = std::make_unique<Surface>(hwnd_, *this);
    const HMENU bar = CreateMenu(); // the window owns it once set
    UINT id = firstMenuId;
    for (const auto& item : design::menu) {
        AppendMenuW(bar, MF_STRING, id++, wide(item.caption).c_str());
    }
    SetMenu(hwnd_, bar);
    for (HWND& label : labels_) {
        // SS_NOTIFY: a label takes the mouse events over it, which the
        // window then does not see.
        label = CreateWindowExW(0, L"STATIC", L"",
                                WS_CHILD | WS_VISIBLE | SS_CENTER | SS_NOTIFY | SS_NOPREFIX, 0, 0,
                                0, 0, surface_->handle(), nullptr, instance, nullptr);
    }
    fitLabels(GetDpiForWindow(hwnd_), FALSE);
    sizeToDesign();
}

Win32Form::~Win32Form() {
    if (IsWindow(hwnd_)) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

void Win32Form::fitLabels(UINT dpi, BOOL redraw) {
    labelFont_.reset(createLabelFont(dpi));
    for (const auto& entry : design::labels) {
        const HWND label = labels_[static_cast<std::size_t>(entry.label)];
        SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(labelFont_.get()), redraw);
        const Pixels p =
            surface_->pixelsOf({static_cast<float>(entry.left), static_cast<float>(entry.top),
                                static_cast<float>(entry.left + entry.width),
                                static_cast<float>(entry.top + entry.height)});
        MoveWindow(label, p.left, p.top, p.right - p.left, p.bottom - p.top, TRUE);
    }
}

// The inner area at its designed size (548 x 548 pixels at 96 dpi) at this
// monitor's DPI; the menu bar takes what it needs above it.
void Win32Form::sizeToDesign() {
    const UINT dpi = GetDpiForWindow(hwnd_);
    const int width =
        MulDiv(design::innerWidth / design::twipsPerPixel, static_cast<int>(dpi), designDpi);
    const int height =
        MulDiv(design::innerHeight / design::twipsPerPixel, static_cast<int>(dpi), designDpi);
    RECT frame{0, 0, width, height};
    AdjustWindowRectExForDpi(&frame, style, TRUE, 0, dpi);
    SetWindowPos(hwnd_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT client;
    GetClientRect(hwnd_, &client);
    if (client.bottom != height || client.right != width) { // a menu bar of two rows
        SetWindowPos(hwnd_, nullptr, 0, 0, frame.right - frame.left + width - client.right,
                     frame.bottom - frame.top + height - client.bottom,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

LRESULT Win32Form::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (HIWORD(wParam) == 0 && LOWORD(wParam) >= firstMenuId) {
            menuChosen(LOWORD(wParam) - firstMenuId);
            return 0;
        }
        break;
    case WM_SIZE:
        if (wParam != SIZE_MINIMIZED && surface_) {
            MoveWindow(surface_->handle(), 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        }
        return 0;
    case WM_SETFOCUS:
        if (surface_) {
            SetFocus(surface_->handle());
        }
        return 0;
    case WM_DPICHANGED: {
        fitLabels(HIWORD(wParam), TRUE);
        const auto* suggested = reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top,
                     suggested->right - suggested->left, suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    case WM_CLOSE:
        stop();
        break;
    case WM_DESTROY:
        stop();
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

void Win32Form::show(int how) {
    ShowWindow(hwnd_, how);
    shown();
    UpdateWindow(hwnd_);
}

void Win32Form::messageBox(const std::string& text, const std::string& title) {
    MessageBoxW(hwnd_, wide(text).c_str(), wide(design::boxTitle(title)).c_str(), MB_OK);
}

std::string Win32Form::inputBox(const std::string& prompt, const std::string& defaultText) {
    return utf8(win32::inputBox(hwnd_, wide(prompt), wide(defaultText)));
}

void Win32Form::setCaption(const std::string& text) {
    SetWindowTextW(hwnd_, wide(text).c_str());
}

void Win32Form::setCaption(Label label, const std::string& text) {
    SetWindowTextW(labels_[static_cast<std::size_t>(label)], wide(text).c_str());
}

void Win32Form::present(const Area& area, bool readingChanged) {
    surface_->repaint(area);
    if (readingChanged) {
        surface_->describe(wide(reading()));
    }
}

// Hidden at once; closed once the running handler has returned.
void Win32Form::unload() {
    stop();
    ShowWindow(hwnd_, SW_HIDE);
    PostMessageW(hwnd_, WM_CLOSE, 0, 0);
}

} // namespace zirkulon::win32
