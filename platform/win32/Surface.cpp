// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/win32/Surface.h"

#include "platform/Design.h"

#include <windowsx.h>

#include <cmath>
#include <numbers>

namespace zirkulon::win32 {

namespace {

constexpr wchar_t className[] = L"ZirkulonSurface";
constexpr UINT_PTR wakeTimer = 1;
constexpr double designDpi = 96;

// Paints in scale units at the surface's pixels per twip.
class GdiPainter final : public Painter {
public:
    GdiPainter(HDC dc, double scale) : dc_(dc), scale_(scale) {}

    void fill(const Area& area, design::Rgb rgb) override {
        const RECT r{pixels(area.left), pixels(area.top), pixels(area.right), pixels(area.bottom)};
        SetDCBrushColor(dc_, colour(rgb));
        FillRect(dc_, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    }

    // Windows' own focus rectangle, which follows the user's settings.
    void focusFrame(const Area& area, float, design::Rgb) override {
        const RECT r{pixels(area.left), pixels(area.top), pixels(area.right), pixels(area.bottom)};
        DrawFocusRect(dc_, &r);
    }

    void line(const LineShape& shape, float width, design::Rgb rgb) override {
        const GdiObject<HPEN> pen(makePen(width, rgb));
        const Selection selected(dc_, pen.get());
        MoveToEx(dc_, pixels(shape.X1), pixels(shape.Y1), nullptr);
        LineTo(dc_, pixels(shape.X2), pixels(shape.Y2));
    }

    void arc(const Arc& arc, float width, design::Rgb rgb) override {
        constexpr double toDegrees = 180.0 / std::numbers::pi;
        const GdiObject<HPEN> pen(makePen(width, rgb));
        const Selection selected(dc_, pen.get());
        const int cx = pixels(arc.centreX);
        const int cy = pixels(arc.centreY);
        const int r = pixels(arc.radius);
        if (arc.radiusToStart) {
            MoveToEx(dc_, cx, cy, nullptr);
        } else {
            MoveToEx(dc_, cx + static_cast<int>(std::lround(r * std::cos(arc.start))),
                     cy - static_cast<int>(std::lround(r * std::sin(arc.start))), nullptr);
        }
        // Counter-clockwise on the screen for a positive sweep.
        AngleArc(dc_, cx, cy, static_cast<DWORD>(r), static_cast<FLOAT>(arc.start * toDegrees),
                 static_cast<FLOAT>(arc.sweep * toDegrees));
        if (arc.radiusToEnd) {
            LineTo(dc_, cx, cy);
        }
    }

private:
    int pixels(float scaleUnits) const {
        return static_cast<int>(std::lround(scaleUnits * scale_));
    }

    // A pen one pixel wide is a cosmetic one, which GDI draws far faster
    // than a geometric pen of the same width, arcs most of all.
    HPEN makePen(float width, design::Rgb rgb) const {
        const LOGBRUSH brush{BS_SOLID, colour(rgb), 0};
        const int penPixels = pixels(width);
        if (penPixels <= 1) {
            return ExtCreatePen(PS_COSMETIC | PS_SOLID, 1, &brush, 0, nullptr);
        }
        return ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_FLAT, static_cast<DWORD>(penPixels),
                            &brush, 0, nullptr);
    }

    HDC dc_;
    double scale_;
};

std::int16_t shiftNow() {
    return shiftHeld(GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_CONTROL) < 0,
                     GetKeyState(VK_MENU) < 0);
}

// A mouse message says which buttons, Shift and Ctrl are held; only Alt has
// to be asked for, which under Wine is a call to its server.
std::int16_t buttonsOf(WPARAM keys) {
    return buttonsHeld(keys & MK_LBUTTON, keys & MK_RBUTTON, keys & MK_MBUTTON);
}
std::int16_t shiftOf(WPARAM keys) {
    return shiftHeld(keys & MK_SHIFT, keys & MK_CONTROL, GetKeyState(VK_MENU) < 0);
}

} // namespace

Surface::Surface(HWND parent, Form& form) : form_(form) {
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
    registerClass(instance, className,
                  &ownedWindowProcedure<Surface, &Surface::hwnd_, &Surface::handle>);
    hwnd_ = CreateWindowExW(0, className, wide(design::surfaceDescription).c_str(),
                            WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_TABSTOP, 0, 0, 0, 0,
                            parent, nullptr, instance, this);
    annotation_ = std::make_unique<SurfaceAnnotation>(hwnd_);
}

LRESULT Surface::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1; // painted whole in WM_PAINT
    case WM_PAINT:
        paint();
        return 0;
    case WM_SIZE:
        form_.resized(toScaleUnits(LOWORD(lParam)), toScaleUnits(HIWORD(lParam)));
        [[fallthrough]];
    case WM_DPICHANGED_AFTERPARENT:
        InvalidateRect(hwnd_, nullptr, FALSE); // everything moves or scales
        return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        mouse(message, wParam, lParam);
        return 0;
    case WM_KEYDOWN:
        if (form_.keyPressed(static_cast<std::int16_t>(wParam), shiftNow())) {
            return 0;
        }
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        form_.focusChanged(message == WM_SETFOCUS);
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS;
    case WM_TIMER:
        if (wParam == wakeTimer) {
            KillTimer(hwnd_, wakeTimer);
            form_.woken();
        }
        return 0;
    case WM_CTLCOLORSTATIC: { // the labels: dark on white
        const auto dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, colour(design::labelText));
        SetBkColor(dc, colour(design::labelBackground));
        SetDCBrushColor(dc, colour(design::labelBackground));
        return reinterpret_cast<LRESULT>(GetStockObject(DC_BRUSH));
    }
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

void Surface::paint() {
    PAINTSTRUCT ps;
    const HDC dc = BeginPaint(hwnd_, &ps);
    RECT client;
    GetClientRect(hwnd_, &client);
    if (!bufferDc_ || bufferSize_.cx != client.right || bufferSize_.cy != client.bottom) {
        BITMAPINFO format{};
        format.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        format.bmiHeader.biWidth = client.right;
        format.bmiHeader.biHeight = -client.bottom; // top row first
        format.bmiHeader.biPlanes = 1;
        format.bmiHeader.biBitCount = 32;
        format.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        bufferDc_.reset(CreateCompatibleDC(dc)); // releases the old bitmap before it goes
        buffer_.reset(CreateDIBSection(dc, &format, DIB_RGB_COLORS, &bits, nullptr, 0));
        SelectObject(bufferDc_.get(), buffer_.get());
        bufferSize_ = {client.right, client.bottom};
    }
    const RECT& r = ps.rcPaint;
    const HDC memory = bufferDc_.get();
    SaveDC(memory);
    IntersectClipRect(memory, r.left, r.top, r.right, r.bottom);
    const double scale = pixelsPerUnit();
    GdiPainter painter(memory, scale);
    form_.paint(painter, areaOf(Pixels{r.left, r.top, r.right, r.bottom}, scale));
    RestoreDC(memory, -1);
    BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, memory, r.left, r.top, SRCCOPY);
    EndPaint(hwnd_, &ps);
}

void Surface::mouse(UINT message, WPARAM wParam, LPARAM lParam) {
    // Signed: while a button is held, positions go on outside the window.
    const float x = toScaleUnits(GET_X_LPARAM(lParam));
    const float y = toScaleUnits(GET_Y_LPARAM(lParam));
    if (message == WM_MOUSEMOVE) {
        form_.pointerMoved(buttonsOf(wParam), shiftOf(wParam), x, y);
    } else if (message == WM_LBUTTONUP || message == WM_RBUTTONUP || message == WM_MBUTTONUP) {
        if (buttonsOf(wParam) == 0) {
            ReleaseCapture();
        }
    } else {
        SetFocus(hwnd_);
        SetCapture(hwnd_);
        form_.pointerPressed(message == WM_LBUTTONDOWN   ? LeftButton
                             : message == WM_RBUTTONDOWN ? RightButton
                                                         : MiddleButton,
                             shiftOf(wParam), x, y);
    }
}

// One rectangle a handler: Windows adds up what a window has to repaint, and
// under Wine each InvalidateRect is a call to the window manager's process.
void Surface::repaint(const Area& area) {
    if (!area.empty()) {
        const Pixels p = pixelsOf(area);
        const RECT pixels{p.left, p.top, p.right, p.bottom};
        InvalidateRect(hwnd_, &pixels, FALSE);
    }
}

void Surface::describe(const std::wstring& text) {
    SetWindowTextW(hwnd_, text.c_str());
    annotation_->setValue(text);
}

void Surface::wakeAfter(int milliseconds) {
    SetTimer(hwnd_, wakeTimer, static_cast<UINT>(milliseconds), nullptr);
}

double Surface::pixelsPerUnit() const {
    return GetDpiForWindow(hwnd_) / designDpi / design::twipsPerPixel;
}

float Surface::toScaleUnits(int pixels) const {
    return design::toScaleUnits(pixels * designDpi / GetDpiForWindow(hwnd_));
}

} // namespace zirkulon::win32
