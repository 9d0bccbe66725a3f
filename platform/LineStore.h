// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Design.h"
#include "platform/Window.h"

#include <array>

namespace zirkulon {

// The two line shapes as the window holds them, from their design positions on.
class LineStore {
public:
    const LineShape& operator[](Line which) const { return lines_[index(which)]; }
    // Stores `shape`; whether that changed anything.
    bool set(Line which, const LineShape& shape) {
        LineShape& stored = lines_[index(which)];
        if (stored == shape) {
            return false;
        }
        stored = shape;
        return true;
    }
    friend bool operator==(const LineStore&, const LineStore&) = default;

private:
    static std::size_t index(Line which) { return which == Line::Schenkel1 ? 0 : 1; }

    std::array<LineShape, 2> lines_{design::schenkel1Design, design::schenkel2Design};
};

} // namespace zirkulon
