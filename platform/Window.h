// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

namespace zirkulon {

enum class Label { LWinkel, LKlicks, LTreffer };
enum class Line { Schenkel1, Schenkel2 };

// A line shape: start point (X1, Y1) and end point (X2, Y2), singles in scale
// units (twips from the inner area's top left corner, y downwards).
struct LineShape {
    float X1 = 0;
    float Y1 = 0;
    float X2 = 0;
    float Y2 = 0;
    friend bool operator==(const LineShape&, const LineShape&) = default;
};

// Mouse buttons as the handlers see them: a press passes the one button
// pressed, a move the sum of the buttons held.
enum MouseButton : std::int16_t { LeftButton = 1, RightButton = 2, MiddleButton = 4 };

// The shift keys held during a pointer or key event, as a sum.
enum ShiftKey : std::int16_t { ShiftMask = 1, CtrlMask = 2, AltMask = 4 };

// The sums, from what a platform's event says is held.
constexpr std::int16_t buttonsHeld(bool left, bool right, bool middle) {
    return static_cast<std::int16_t>((left ? LeftButton : 0) | (right ? RightButton : 0) |
                                     (middle ? MiddleButton : 0));
}
constexpr std::int16_t shiftHeld(bool shift, bool ctrl, bool alt) {
    return static_cast<std::int16_t>((shift ? ShiftMask : 0) | (ctrl ? CtrlMask : 0) |
                                     (alt ? AltMask : 0));
}

// Keys by their Windows virtual-key codes, which every platform translates
// its own key events into; the ones the game or its boxes act on.
enum KeyCode : std::int16_t {
    KeyReturn = 13,
    KeyMenu = 18, // Alt
    KeyEscape = 27,
    KeySpace = 32,
    KeyPageUp = 33,
    KeyPageDown = 34,
    KeyEnd = 35,
    KeyHome = 36,
    KeyLeft = 37,
    KeyUp = 38,
    KeyRight = 39,
    KeyDown = 40,
    KeySelect = 41,
    KeyF10 = 121,
};

// The keys of the drawing surface, which turn the blue leg as the slider
// pattern's keys turn a slider: the arrows, Page Up and Down, Home and End.
// They repeat while held.
inline bool turnsTheLeg(std::int16_t keyCode) {
    return keyCode >= KeyPageUp && keyCode <= KeyDown;
}

// The keys that act as they go down: Enter, Space and Select press a button
// or choose a menu command, Escape closes a box, Alt and F10 open the menu
// bar. They act on their first press only; wherever a held one's repeats
// would go, they are dropped, so that a held Enter neither closes the box its
// first press opened nor spends a second attempt.
inline bool actsOnFirstPressOnly(std::int16_t keyCode) {
    switch (keyCode) {
    case KeyReturn:
    case KeyMenu:
    case KeyEscape:
    case KeySpace:
    case KeySelect:
    case KeyF10:
        return true;
    default:
        return false;
    }
}

// The events the window raises.
class FormEvents {
public:
    virtual ~FormEvents() = default;

    virtual void Form_Load() = 0;
    virtual void Form_Resize() = 0;
    virtual void Form_MouseDown(std::int16_t Button, std::int16_t Shift, float X, float Y) = 0;
    virtual void Form_MouseMove(std::int16_t Button, std::int16_t Shift, float X, float Y) = 0;
    // A key that turns the leg (turnsTheLeg), pressed or repeated while held
    // on the drawing surface.
    virtual void Form_KeyDown(std::int16_t KeyCode, std::int16_t Shift) = 0;
    virtual void MNew_Click() = 0;
    virtual void MExact_Click() = 0;
    virtual void MGuess_Click() = 0;
    virtual void MHelp_Click() = 0;
    virtual void MInfo_Click() = 0;
    virtual void MEnd_Click() = 0;
};

// The game's one window on some platform: the part of the game that differs
// between the desktop and the browser. Every implementation guarantees:
//
//  - One handler at a time. It raises the events of FormEvents one at a time
//    on the thread that runs the game, and never while a handler is running:
//    while a box is open, the window takes no menu, pointer or key input.
//  - Resizes wait for the running handler. The window system may resize the
//    window while a box is open; the resize event then comes once the
//    handler that opened the box has returned, once, for the size the window
//    has by then. The handler meanwhile sees the inner size it started with.
//  - Modal boxes. messageBox and inputBox return only when the player has
//    closed the box; the handler that opened it then goes on.
//  - Errors end the handler. An operation that cannot be carried out throws
//    (OperationError, or any std::exception). The exception ends the running
//    handler and is caught once, where the window delivered the event; it is
//    reported to the developer (log or console), the game's state stays as
//    the handler left it, and the window stays usable.
//  - Unload ends the game. After unload() the window is gone once the running
//    handler returns, and no further event is raised.
class Window {
public:
    virtual ~Window() = default;

    // Box with an OK button only and no icon; an empty title shows the
    // application title "Zirkulon".
    virtual void messageBox(const std::string& text, const std::string& title = {}) = 0;
    // One-line input box titled "Zirkulon" with OK and cancel; the text
    // entered, or the empty text on cancel or close.
    virtual std::string inputBox(const std::string& prompt, const std::string& defaultText) = 0;

    virtual void setCaption(const std::string& text) = 0; // the window's
    virtual void setCaption(Label label, const std::string& text) = 0;

    virtual LineShape line(Line which) const = 0;
    virtual void setLine(Line which, const LineShape& shape) = 0;

    // Inner size of the window in scale units.
    virtual float scaleWidth() const = 0;
    virtual float scaleHeight() const = 0;

    // Erases everything drawn on the drawing surface; labels and lines stay.
    virtual void cls() = 0;
    // Draws an arc in the window's foreground colour (see makeArc for the angles).
    virtual void circle(float x, float y, float radius, float start, float end) = 0;

    // Tells assistive technology the angle the drawing surface shows: whole
    // degrees, and the same in words (the surface is a slider from 0 to 360).
    virtual void describeAngle(std::int16_t degrees, const std::string& text) = 0;

    // Closes the window; the game ends once the running handler returns.
    virtual void unload() = 0;
};

} // namespace zirkulon
