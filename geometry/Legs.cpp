// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/Legs.h"

#include "numerics/Rounding.h"

namespace zirkulon::geometry {

Layout layOut(float width, float height) {
    Layout layout;
    layout.legLength = toSingle(static_cast<double>(width) * 0.9 / 2.0);
    layout.vertex = {toSingle(static_cast<double>(width) / 2.0),
                     toSingle(static_cast<double>(height) / 2.0)};
    layout.redEnd = {toSingle(static_cast<double>(layout.vertex.x) + layout.legLength),
                     layout.vertex.y};
    layout.blueEnd = {layout.vertex.x,
                      toSingle(static_cast<double>(layout.vertex.y) - layout.legLength)};
    return layout;
}

} // namespace zirkulon::geometry
