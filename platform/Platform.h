#pragma once

#include "platform/Numerics.h"

#include <cstdint>
#include <string>

namespace zirkulon {

enum class Label { LWinkel, LKlicks, LTreffer };
enum class Line { Schenkel1, Schenkel2 };

// A line shape: start point (X1, Y1) and end point (X2, Y2), singles in scale units.
struct LineShape {
    float X1 = 0;
    float Y1 = 0;
    float X2 = 0;
    float Y2 = 0;
    friend bool operator==(const LineShape&, const LineShape&) = default;
};

// Mouse buttons as the handlers see them.
enum MouseButton : std::int16_t { LeftButton = 1, RightButton = 2, MiddleButton = 4 };

// What the game needs from its window system and runtime. The Qt window
// implements it for real; tests use a scripted double.
class Platform {
public:
    virtual ~Platform() = default;

    // Modal box with an OK button only and no icon; an empty title shows the
    // application title. Returns when closed.
    virtual void messageBox(const std::string& text, const std::string& title = {}) = 0;
    // Modal one-line input box titled with the application title; the text
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
    // Draws an arc in the foreground colour (see makeArc for the angles).
    virtual void circle(float x, float y, float radius, float start, float end) = 0;

    // Closes the window; the program ends once the running handler returns.
    virtual void unload() = 0;

    virtual void reseed() = 0;
    virtual float nextRandom() = 0; // uniform in [0, 1)

    virtual const NumberFormat& numberFormat() const = 0;
};

// The events the window raises, one at a time.
class FormEvents {
public:
    virtual ~FormEvents() = default;

    virtual void Form_Load() = 0;
    virtual void Form_Resize() = 0;
    virtual void Form_MouseDown(std::int16_t Button, std::int16_t Shift, float X, float Y) = 0;
    virtual void Form_MouseMove(std::int16_t Button, std::int16_t Shift, float X, float Y) = 0;
    virtual void MNew_Click() = 0;
    virtual void MExact_Click() = 0;
    virtual void MGuess_Click() = 0;
    virtual void MHelp_Click() = 0;
    virtual void MInfo_Click() = 0;
    virtual void MEnd_Click() = 0;
};

} // namespace zirkulon
