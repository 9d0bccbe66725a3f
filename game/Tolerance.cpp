// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/Tolerance.h"

namespace zirkulon::game {

std::optional<Variant> readTolerance(std::string_view answer, const NumberFormat& format) {
    const auto value = textToDouble(answer, format);
    if (!value) {
        return std::nullopt;
    }
    const Variant tolerance = Variant::real(*value);
    return tolerance < Variant::integer(0) ? -tolerance : tolerance;
}

bool isAcceptable(Variant tolerance) {
    return !(tolerance > Variant::integer(10));
}

std::string refusalText(Variant tolerance, const NumberFormat& format) {
    return "Eine Genauigkeit von " + tolerance.toText(format) + "?!? Das ist definitiv zu groß!";
}

} // namespace zirkulon::game
