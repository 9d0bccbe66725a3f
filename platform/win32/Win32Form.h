// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Form.h"
#include "platform/win32/Surface.h"
#include "platform/win32/Win32.h"

#include <array>
#include <memory>

namespace zirkulon::win32 {

// The game's one window on the plain Win32 API: a top-level window with the
// menu bar over the Surface, whose labels are STATIC child windows, and
// MessageBoxW and the input box as modal boxes. Errors that end a handler,
// caught once per event, go to the debugger's output and to standard error.
class Win32Form final : public Form {
public:
    explicit Win32Form(HINSTANCE instance);
    ~Win32Form() override;
    Win32Form(const Win32Form&) = delete;
    Win32Form& operator=(const Win32Form&) = delete;

    // Shows the window (`how` as wWinMain was given it) and raises the
    // resize event for the first layout.
    void show(int how);

    HWND handle() const { return hwnd_; }

    // Window
    void messageBox(const std::string& text, const std::string& title = {}) override;
    std::string inputBox(const std::string& prompt, const std::string& defaultText) override;
    void setCaption(const std::string& text) override;
    void setCaption(Label label, const std::string& text) override;
    void unload() override;

private:
    void present(const Area& area, bool readingChanged) override;
    void wakeAfter(int milliseconds) override { surface_->wakeAfter(milliseconds); }
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    // The labels' font and places at the window's `dpi`.
    void fitLabels(UINT dpi, BOOL redraw);
    void sizeToDesign();

    HWND hwnd_ = nullptr;
    std::unique_ptr<Surface> surface_;
    std::array<HWND, 3> labels_{}; // children of the surface, which destroys them
    GdiObject<HFONT> labelFont_;
};

} // namespace zirkulon::win32
