// SPDX-License-Identifier: GPL-3.0-or-later
#include "jokes/Catalogue.h"

namespace zirkulon::jokes {

std::vector<std::string> catalogueEntries() {
    std::vector<std::string> entries;
    std::string_view rest = catalogueText();
    while (!rest.empty()) {
        const auto end = rest.find('\n');
        entries.emplace_back(rest.substr(0, end));
        if (end == std::string_view::npos) {
            break;
        }
        rest.remove_prefix(end + 1);
    }
    return entries;
}

} // namespace zirkulon::jokes
