// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/win32/Program.h"

#include "platform/Design.h"
#include "platform/win32/Win32.h"

#include <string_view>
#include <vector>

namespace zirkulon::win32 {

namespace {

constexpr WORD promptId = 100;
constexpr WORD editId = 101;
constexpr WORD buttonClass = 0x0080;
constexpr WORD editClass = 0x0081;
constexpr WORD staticClass = 0x0082;

// A dialog template in memory (DLGTEMPLATE and its DLGITEMTEMPLATEs), so that
// the box needs no resource of the program's: sizes in dialog units, which
// Windows scales with the font and the monitor's DPI.
class DialogTemplate {
public:
    DialogTemplate(std::wstring_view title, short width, short height, WORD items) {
        dword(DS_MODALFRAME | DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU);
        dword(0);
        word(items);
        rectangle(0, 0, width, height);
        word(0); // no menu
        word(0); // the standard dialog class
        text(title);
        word(9); // points
        text(L"Segoe UI");
    }

    void item(WORD id, WORD windowClass, DWORD style, short x, short y, short width, short height,
              std::wstring_view title = {}) {
        if (data_.size() % 2 != 0) {
            word(0); // each item starts on a DWORD
        }
        dword(style | WS_CHILD | WS_VISIBLE);
        dword(0);
        rectangle(x, y, width, height);
        word(id);
        word(0xFFFF); // a class atom follows
        word(windowClass);
        text(title);
        word(0); // no creation data
    }

    const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(data_.data()); }

private:
    void word(WORD value) { data_.push_back(value); }
    void dword(DWORD value) {
        word(LOWORD(value));
        word(HIWORD(value));
    }
    void rectangle(short x, short y, short width, short height) {
        for (short value : {x, y, width, height}) {
            word(static_cast<WORD>(value));
        }
    }
    void text(std::wstring_view value) {
        data_.insert(data_.end(), value.begin(), value.end());
        word(0);
    }

    std::vector<WORD> data_;
};

struct Exchange {
    const std::wstring& prompt;
    const std::wstring& defaultText;
    std::wstring answer;
};

std::wstring windowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

INT_PTR CALLBACK dialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        const auto* exchange = reinterpret_cast<const Exchange*>(lParam);
        SetDlgItemTextW(dialog, promptId, exchange->prompt.c_str());
        const HWND edit = GetDlgItem(dialog, editId);
        SetWindowTextW(edit, exchange->defaultText.c_str());
        SetFocus(edit);
        SendMessageW(edit, EM_SETSEL, 0, -1);
        return FALSE; // the focus is set
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            auto* exchange = reinterpret_cast<Exchange*>(GetWindowLongPtrW(dialog, DWLP_USER));
            exchange->answer = windowText(GetDlgItem(dialog, editId));
            EndDialog(dialog, IDOK);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) { // also Escape and the close button
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

} // namespace

std::wstring inputBox(HWND owner, const std::wstring& prompt, const std::wstring& defaultText) {
    DialogTemplate box(wide(design::applicationTitle), 240, 80, 4);
    box.item(promptId, staticClass, SS_LEFT | SS_NOPREFIX, 7, 7, 226, 24);
    box.item(editId, editClass, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 7, 34, 226, 14);
    box.item(IDOK, buttonClass, BS_DEFPUSHBUTTON | WS_TABSTOP, 129, 58, 50, 14,
             wide(design::okCaption));
    box.item(IDCANCEL, buttonClass, BS_PUSHBUTTON | WS_TABSTOP, 183, 58, 50, 14,
             wide(design::cancelCaption));
    Exchange exchange{prompt, defaultText, {}};
    const INT_PTR result = DialogBoxIndirectParamW(
        reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(owner, GWLP_HINSTANCE)), box.get(), owner,
        &dialogProcedure, reinterpret_cast<LPARAM>(&exchange));
    return result == IDOK ? exchange.answer : std::wstring();
}

} // namespace zirkulon::win32
