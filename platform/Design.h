// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Window.h"

#include <array>
#include <cstdint>
#include <string_view>

// The window as designed, read by every platform that builds it. Positions
// and sizes are in scale units (twips) unless said otherwise.
namespace zirkulon::design {

inline constexpr int twipsPerPixel = 15;
inline constexpr int innerWidth = 8220; // 548 pixels
inline constexpr int innerHeight = 8220;
inline constexpr std::string_view applicationTitle = "Zirkulon";

// A message box's title: the one its handler gave, or the application title.
inline std::string_view boxTitle(std::string_view title) {
    return title.empty() ? applicationTitle : title;
}

// A position or size in window pixels, as scale units; a single, however far
// outside the window a pointer is.
inline float toScaleUnits(double pixels) {
    return static_cast<float>(pixels * twipsPerPixel);
}

struct Rgb {
    std::uint8_t red, green, blue;
};

struct LabelDesign {
    Label label;
    std::string_view name;
    int left, top, width, height;
    std::string_view description; // for screen readers
};

inline constexpr std::array<LabelDesign, 3> labels{{
    {Label::LWinkel, "LWinkel", 120, 0, 2535, 375, "Gesuchter Winkel"},
    {Label::LKlicks, "LKlicks", 2880, 0, 2535, 375, "Versuche"},
    {Label::LTreffer, "LTreffer", 5640, 0, 2415, 375, "Erratene Winkel"},
}};
inline constexpr std::string_view labelFont = "Comic Sans MS";
// Stands in where Comic Sans MS is not installed; shipped by fonts-comic-neue.
inline constexpr std::string_view labelFontSubstitute = "Comic Neue";
inline constexpr int labelPointSize = 12;
inline constexpr Rgb labelBackground{255, 255, 255};
// Dark on the white labels, whatever colours the desktop's palette has.
inline constexpr Rgb labelText{0, 0, 0};

// The drawing surface is light whatever the desktop's or the browser's
// colour scheme, so that the legs keep at least 3:1 against it (red 3.5:1,
// blue 7.5:1) and the arc far more; a dark surface would swallow the blue leg.
inline constexpr Rgb surfaceColour{240, 240, 240};
inline constexpr Rgb arcColour{0, 0, 0};
inline constexpr Rgb schenkel1Colour{255, 0, 0};
inline constexpr Rgb schenkel2Colour{0, 0, 255};
inline constexpr int legWidthPixels = 2;
inline constexpr int arcWidthPixels = 1;
// What a screen reader says of the drawing surface.
inline constexpr std::string_view surfaceDescription =
    "Winkel zwischen rotem und blauem Schenkel; der blaue folgt dem Zeiger";
// Where the legs stand before the first layout; never seen on the screen.
inline constexpr LineShape schenkel1Design{3600, 3000, 7200, 3000};
inline constexpr LineShape schenkel2Design{3600, 3000, 3600, 720};

// The input box's buttons, where the platform does not name them in the
// desktop's language itself.
inline constexpr std::string_view okCaption = "OK";
inline constexpr std::string_view cancelCaption = "Abbrechen";

struct MenuDesign {
    std::string_view name;
    std::string_view caption;
    void (FormEvents::*handler)();
};

inline constexpr std::array<MenuDesign, 6> menu{{
    {"MNew", "Neu", &FormEvents::MNew_Click},
    {"MExact", "Genauigkeit", &FormEvents::MExact_Click},
    {"MGuess", "prüfen", &FormEvents::MGuess_Click},
    {"MHelp", "Hilfe", &FormEvents::MHelp_Click},
    {"MInfo", "Info", &FormEvents::MInfo_Click},
    {"MEnd", "Ende", &FormEvents::MEnd_Click},
}};

} // namespace zirkulon::design
