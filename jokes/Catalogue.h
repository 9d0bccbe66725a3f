// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zirkulon::jokes {

// The built-in catalogue file, UTF-8, one entry a line, compiled into the program.
std::string_view catalogueText();

// The 160 entries in catalogue order.
std::vector<std::string> catalogueEntries();

} // namespace zirkulon::jokes
