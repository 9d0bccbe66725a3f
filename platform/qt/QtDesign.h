// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Design.h"
#include "platform/Window.h"

#include <QColor>
#include <QString>

#include <cstdint>
#include <string_view>

// The window's design data as Qt takes it, and Qt's keys as the game names them.
namespace zirkulon::qtdesign {

inline QString text(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

inline QColor colour(design::Rgb rgb) {
    return {rgb.red, rgb.green, rgb.blue};
}

// Scale units (twips) as whole window pixels.
inline int pixels(int twips) {
    return twips / design::twipsPerPixel;
}

// The game's code for a Qt key (Qt::Key_...); 0 for the keys it does not name.
std::int16_t keyCode(int key);

} // namespace zirkulon::qtdesign
