// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/win32/Program.h"

#include "platform/Window.h"
#include "platform/win32/Win32.h"

namespace zirkulon::win32 {

namespace {

// A key as it goes down, or the character it types; every key a box or the
// menu acts on has the same code as its character.
bool actsOnce(const MSG& message) {
    const WPARAM key = message.wParam;
    if (message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN) {
        return actsOnFirstPressOnly(static_cast<std::int16_t>(key));
    }
    return (message.message == WM_CHAR || message.message == WM_SYSCHAR) &&
           (key == KeyReturn || key == KeySpace || key == KeyEscape);
}

LRESULT CALLBACK dropRepeats(int code, WPARAM removal, LPARAM lParam) {
    auto& message = *reinterpret_cast<MSG*>(lParam);
    const bool repeated = (message.lParam & (LPARAM{1} << 30)) != 0;
    if (code == HC_ACTION && removal == PM_REMOVE && repeated && actsOnce(message)) {
        message.message = WM_NULL;
    }
    return CallNextHookEx(nullptr, code, removal, lParam);
}

} // namespace

int runMessageLoop() {
    const HHOOK filter =
        SetWindowsHookExW(WH_GETMESSAGE, &dropRepeats, nullptr, GetCurrentThreadId());
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    UnhookWindowsHookEx(filter);
    return static_cast<int>(message.wParam);
}

NumberFormat userNumberFormat() {
    const auto read = [](LCTYPE what, const char* otherwise) {
        wchar_t text[16];
        const int length = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, what, text, 16);
        return length > 1 ? utf8(std::wstring_view(text, static_cast<std::size_t>(length - 1)))
                          : std::string(otherwise);
    };
    return {read(LOCALE_SDECIMAL, "."), read(LOCALE_STHOUSAND, ",")};
}

} // namespace zirkulon::win32
