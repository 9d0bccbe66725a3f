// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Form.h"
#include "platform/win32/Accessible.h"
#include "platform/win32/Win32.h"

#include <memory>
#include <string>

namespace zirkulon::win32 {

// The window's inner area: a child window that paints the form's picture
// under the labels, its own child windows. Its buttons, pointer, keys, size
// and focus go to the form; to assistive technology it is a slider of degrees.
class Surface {
public:
    Surface(HWND parent, Form& form);
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    HWND handle() const { return hwnd_; }

    // Repaints `area` (scale units) of the picture.
    void repaint(const Area& area);
    // The slider's value in words; the window text too, for what reads that.
    void describe(const std::wstring& text);
    // Tells the form after about `milliseconds` that the time has come.
    void wakeAfter(int milliseconds);

    Pixels pixelsOf(const Area& area) const { return zirkulon::pixelsOf(area, pixelsPerUnit()); }

private:
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void paint();
    void mouse(UINT message, WPARAM wParam, LPARAM lParam);
    double pixelsPerUnit() const;
    float toScaleUnits(int pixels) const;

    HWND hwnd_ = nullptr;
    Form& form_;
    std::unique_ptr<SurfaceAnnotation> annotation_;
    // The picture, drawn off the screen so that a drag does not flicker, and
    // kept so that a painting draws only what changed: a DIB section, which
    // GDI draws on in the program's own memory, in a DC of its own.
    GdiObject<HBITMAP> buffer_;
    MemoryDc bufferDc_;
    SIZE bufferSize_{};
};

} // namespace zirkulon::win32
