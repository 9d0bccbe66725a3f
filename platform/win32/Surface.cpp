// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/win32/Surface.h"

#include "platform/Design.h"
#include "platform/win32/Gdi.h"
#include "platform/win32/WideText.h"
#include "platform/win32/WindowProcedure.h"

#include <windowsx.h>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace zirkulon::win32 {

namespace {

constexpr wchar_t className[] = L"ZirkulonSurface";
constexpr double designDpi = 96;

// The keys that turn the blue leg: Page Up (33) to Down (40).
bool isTurningKey(WPARAM key) {
    return key >= VK_PRIOR && key <= VK_DOWN;
}

std::int16_t shiftNow() {
    std::int16_t shift = 0;
    if (GetKeyState(VK_SHIFT) < 0) {
        shift |= 1;
    }
    if (GetKeyState(VK_CONTROL) < 0) {
        shift |= 2;
    }
    if (GetKeyState(VK_MENU) < 0) {
        shift |= 4;
    }
    return shift;
}

std::int16_t buttonsHeld(WPARAM keys) {
    std::int16_t buttons = 0;
    if (keys & MK_LBUTTON) {
        buttons |= LeftButton;
    }
    if (keys & MK_RBUTTON) {
        buttons |= RightButton;
    }
    if (keys & MK_MBUTTON) {
        buttons |= MiddleButton;
    }
    return buttons;
}

void registerClass(HINSTANCE instance, WNDPROC procedure) {
    WNDCLASSEXW surfaceClass{};
    surfaceClass.cbSize = sizeof surfaceClass;
    surfaceClass.lpfnWndProc = procedure;
    surfaceClass.hInstance = instance;
    surfaceClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    surfaceClass.lpszClassName = className;
    RegisterClassExW(&surfaceClass); // fails harmlessly when already registered
}

} // namespace

Surface::Surface(HWND parent, EventDelivery& deliver) : deliver_(deliver) {
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
    registerClass(instance, &ownedWindowProcedure<Surface, &Surface::hwnd_, &Surface::handle>);
    hwnd_ = CreateWindowExW(0, className, wide(design::surfaceDescription).c_str(),
                            WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_TABSTOP, 0, 0, 0, 0,
                            parent, nullptr, instance, this);
    annotation_ = std::make_unique<SurfaceAnnotation>(hwnd_);
}

LRESULT Surface::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1; // painted whole in WM_PAINT
    case WM_PAINT: {
        PAINTSTRUCT ps;
        const HDC dc = BeginPaint(hwnd_, &ps);
        RECT client;
        GetClientRect(hwnd_, &client);
        // Drawn off the screen first, so that a drag does not flicker, and
        // only where something changed: the bitmap is kept from one painting
        // to the next.
        if (!buffer_ || bufferSize_.cx != client.right || bufferSize_.cy != client.bottom) {
            buffer_.reset(CreateCompatibleBitmap(dc, client.right, client.bottom));
            bufferSize_ = {client.right, client.bottom};
        }
        const MemoryDc memory(CreateCompatibleDC(dc));
        {
            const Selection selected(memory.get(), buffer_.get());
            const RECT& area = ps.rcPaint;
            IntersectClipRect(memory.get(), area.left, area.top, area.right, area.bottom);
            paint(memory.get(), area);
            BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top,
                   memory.get(), area.left, area.top, SRCCOPY);
        }
        EndPaint(hwnd_, &ps);
        return 0;
    }
    case WM_SIZE:
    case WM_DPICHANGED_AFTERPARENT:
        InvalidateRect(hwnd_, nullptr, FALSE); // everything moves or scales
        break;
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
        if (isTurningKey(wParam)) {
            const auto key = static_cast<std::int16_t>(wParam);
            const std::int16_t shift = shiftNow();
            deliver_([=](FormEvents& e) { e.Form_KeyDown(key, shift); });
            return 0;
        }
        break;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS;
    case WM_CTLCOLORSTATIC: { // the labels: dark on white
        const auto dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, colour(design::labelText));
        SetBkColor(dc, colour(design::labelBackground));
        SetDCBrushColor(dc, colour(design::labelBackground));
        return reinterpret_cast<LRESULT>(GetStockObject(DC_BRUSH));
    }
    default:
        break;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

void Surface::mouse(UINT message, WPARAM wParam, LPARAM lParam) {
    // Outside the window while a button is held the positions go on, and
    // may be negative.
    const float x = toScaleUnits(GET_X_LPARAM(lParam));
    const float y = toScaleUnits(GET_Y_LPARAM(lParam));
    const std::int16_t shift = shiftNow();
    std::int16_t pressed = 0;
    switch (message) {
    case WM_LBUTTONDOWN:
        pressed = LeftButton;
        break;
    case WM_RBUTTONDOWN:
        pressed = RightButton;
        break;
    case WM_MBUTTONDOWN:
        pressed = MiddleButton;
        break;
    case WM_MOUSEMOVE: {
        const std::int16_t held = buttonsHeld(wParam);
        deliver_([=](FormEvents& e) { e.Form_MouseMove(held, shift, x, y); });
        return;
    }
    default: // a button released
        if (buttonsHeld(wParam) == 0) {
            ReleaseCapture();
        }
        return;
    }
    SetFocus(hwnd_);
    SetCapture(hwnd_);
    deliver_([=](FormEvents& e) { e.Form_MouseDown(pressed, shift, x, y); });
}

void Surface::paint(HDC dc, const RECT& area) const {
    const GdiObject<HBRUSH> background(CreateSolidBrush(colour(design::surfaceColour)));
    FillRect(dc, &area, background.get());

    const double scale = GetDpiForWindow(hwnd_) / designDpi;
    const auto pixels = [scale](float scaleUnits) {
        return static_cast<int>(std::lround(scaleUnits / design::twipsPerPixel * scale));
    };

    // The arcs first, then the legs over them; the labels are child windows
    // and are left out of this painting.
    const GdiObject<HPEN> arcPen(
        CreatePen(PS_SOLID, penPixels(design::arcWidthPixels), colour(design::arcColour)));
    {
        const Selection pen(dc, arcPen.get());
        constexpr double toDegrees = 180.0 / std::numbers::pi;
        for (const Arc& arc : arcs_) {
            const int cx = pixels(arc.centreX);
            const int cy = pixels(arc.centreY);
            const int r = pixels(arc.radius);
            if (arc.radiusToStart) {
                MoveToEx(dc, cx, cy, nullptr);
            } else {
                MoveToEx(dc, cx + static_cast<int>(std::lround(r * std::cos(arc.start))),
                         cy - static_cast<int>(std::lround(r * std::sin(arc.start))), nullptr);
            }
            // Counter-clockwise on the screen for a positive sweep.
            AngleArc(dc, cx, cy, static_cast<DWORD>(r), static_cast<FLOAT>(arc.start * toDegrees),
                     static_cast<FLOAT>(arc.sweep * toDegrees));
            if (arc.radiusToEnd) {
                LineTo(dc, cx, cy);
            }
        }
    }

    const auto drawLeg = [&](Line which, design::Rgb rgb) {
        const LOGBRUSH brush{BS_SOLID, colour(rgb), 0};
        const GdiObject<HPEN> legPen(ExtCreatePen(
            PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_FLAT,
            static_cast<DWORD>(penPixels(design::legWidthPixels)), &brush, 0, nullptr));
        const Selection pen(dc, legPen.get());
        const LineShape& shape = lines_[which];
        MoveToEx(dc, pixels(shape.X1), pixels(shape.Y1), nullptr);
        LineTo(dc, pixels(shape.X2), pixels(shape.Y2));
    };
    drawLeg(Line::Schenkel1, design::schenkel1Colour);
    drawLeg(Line::Schenkel2, design::schenkel2Colour);
}

// What changes is repainted: where a leg or an arc was, and where it is now.
void Surface::setLine(Line which, const LineShape& shape) {
    const LineShape before = lines_[which];
    if (lines_.set(which, shape)) {
        invalidate(around(before));
        invalidate(around(shape));
    }
}

void Surface::clear() {
    for (const Arc& arc : arcs_) {
        invalidate(around(arc));
    }
    arcs_.clear();
}

void Surface::addArc(const Arc& arc) {
    arcs_.push_back(arc);
    invalidate(around(arc));
}

void Surface::invalidate(const RECT& area) {
    InvalidateRect(hwnd_, &area, FALSE);
}

// The pixels a leg covers, with room for its pen and for rounding.
RECT Surface::around(const LineShape& shape) const {
    const int margin = penPixels(design::legWidthPixels) + 2;
    const int x1 = toPixels(shape.X1);
    const int y1 = toPixels(shape.Y1);
    const int x2 = toPixels(shape.X2);
    const int y2 = toPixels(shape.Y2);
    return {std::min(x1, x2) - margin, std::min(y1, y2) - margin, std::max(x1, x2) + margin + 1,
            std::max(y1, y2) + margin + 1};
}

// The square round an arc's circle, which holds the arc and its radii.
RECT Surface::around(const Arc& arc) const {
    const int margin = penPixels(design::arcWidthPixels) + 2;
    const int cx = toPixels(arc.centreX);
    const int cy = toPixels(arc.centreY);
    const int r = toPixels(arc.radius);
    return {cx - r - margin, cy - r - margin, cx + r + margin + 1, cy + r + margin + 1};
}

int Surface::penPixels(int designPixels) const {
    return std::max(
        1, static_cast<int>(std::lround(designPixels * GetDpiForWindow(hwnd_) / designDpi)));
}

// The reading is the slider's value and, for whatever reads window texts,
// the surface's window text. Most moves of the pointer leave it as it is.
void Surface::describe(const std::wstring& text) {
    if (text == reading_) {
        return;
    }
    reading_ = text;
    SetWindowTextW(hwnd_, text.c_str());
    annotation_->setValue(text);
}

float Surface::toScaleUnits(int pixels) const {
    return design::toScaleUnits(pixels * designDpi / GetDpiForWindow(hwnd_));
}

int Surface::toPixels(float scaleUnits) const {
    return static_cast<int>(
        std::lround(scaleUnits / design::twipsPerPixel * GetDpiForWindow(hwnd_) / designDpi));
}

} // namespace zirkulon::win32
