// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Collection.h"

#include "numerics/Error.h"

namespace zirkulon {

const std::string& Collection::item(std::int32_t position) const {
    if (position < 1 || position > count()) {
        throw OperationError("Position " + std::to_string(position) +
                             " liegt außerhalb der Sammlung mit " + std::to_string(count()) +
                             " Einträgen");
    }
    return items_[static_cast<std::size_t>(position - 1)];
}

} // namespace zirkulon
