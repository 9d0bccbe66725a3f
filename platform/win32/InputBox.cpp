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

// The prompt and the default text come with the template; the answer goes to
// the std::wstring the dialog is given.
INT_PTR CALLBACK dialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        const HWND edit = GetDlgItem(dialog, editId);
        SetFocus(edit);
        SendMessageW(edit, EM_SETSEL, 0, -1);
        return FALSE; // the focus is set
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            auto& answer = *reinterpret_cast<std::wstring*>(GetWindowLongPtrW(dialog, DWLP_USER));
            const HWND edit = GetDlgItem(dialog, editId);
            answer.resize(static_cast<std::size_t>(GetWindowTextLengthW(edit)) + 1);
            answer.resize(static_cast<std::size_t>(
                GetWindowTextW(edit, answer.data(), static_cast<int>(answer.size()))));
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
    box.item(promptId, staticClass, SS_LEFT | SS_NOPREFIX, 7, 7, 226, 24, prompt);
    box.item(editId, editClass, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 7, 34, 226, 14,
             defaultText);
    box.item(IDOK, buttonClass, BS_DEFPUSHBUTTON | WS_TABSTOP, 129, 58, 50, 14,
             wide(design::okCaption));
    box.item(IDCANCEL, buttonClass, BS_PUSHBUTTON | WS_TABSTOP, 183, 58, 50, 14,
             wide(design::cancelCaption));
    std::wstring answer;
    const INT_PTR result = DialogBoxIndirectParamW(
        reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(owner, GWLP_HINSTANCE)), box.get(), owner,
        &dialogProcedure, reinterpret_cast<LPARAM>(&answer));
    return result == IDOK ? answer : std::wstring();
}

} // namespace zirkulon::win32
