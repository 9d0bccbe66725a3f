// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "numerics/NumberText.h"
#include "numerics/Variant.h"

#include <optional>
#include <string>
#include <string_view>

namespace zirkulon::game {

inline constexpr std::string_view tolerancePrompt = "Gib die Genauigkeit in Grad ein.";

// What an answer in the tolerance box gives: the magnitude of the number
// typed, as a double, or nothing for an empty, cancelled or non-numeric answer.
std::optional<Variant> readTolerance(std::string_view answer, const NumberFormat& format);

// At most 10 degrees are accepted; 0 is.
bool isAcceptable(Variant tolerance);

// "Eine Genauigkeit von 12?!? Das ist definitiv zu groß!"
std::string refusalText(Variant tolerance, const NumberFormat& format);

} // namespace zirkulon::game
