// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Arc.h"
#include "platform/Delivery.h"
#include "platform/LineStore.h"
#include "platform/win32/Accessible.h"
#include "platform/win32/Gdi.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace zirkulon::win32 {

// The window's inner area: a child window that is the drawing surface with
// its arcs, the two legs over it and the labels, its own child windows, over
// those. It paints from this state alone, so covering the window or a box
// never loses the arc. The left, right and middle buttons and the pointer
// over it raise the mouse events, the turning keys the key event; it is a
// slider from 0 to 360 degrees to assistive technology.
class Surface {
public:
    Surface(HWND parent, EventDelivery& deliver);
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    HWND handle() const { return hwnd_; }

    const LineShape& line(Line which) const { return lines_[which]; }
    void setLine(Line which, const LineShape& shape);
    void clear();
    void addArc(const Arc& arc);
    void describe(const std::wstring& text);

    // Window pixels at the monitor's DPI to scale units and back.
    float toScaleUnits(int pixels) const;
    int toPixels(float scaleUnits) const;

private:
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void paint(HDC target, const RECT& area) const;
    void mouse(UINT message, WPARAM wParam, LPARAM lParam);
    void invalidate(const RECT& area);
    RECT around(const LineShape& shape) const;
    RECT around(const Arc& arc) const;
    int penPixels(int designPixels) const;

    HWND hwnd_ = nullptr;
    EventDelivery& deliver_;
    LineStore lines_;
    std::vector<Arc> arcs_;
    std::unique_ptr<SurfaceAnnotation> annotation_;
    std::wstring reading_;
    GdiObject<HBITMAP> buffer_; // the painting, kept between paintings
    SIZE bufferSize_{};
};

} // namespace zirkulon::win32
