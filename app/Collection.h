// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zirkulon {

// An ordered collection of texts reached by position, counting from 1.
class Collection {
public:
    void add(std::string text) { items_.push_back(std::move(text)); }
    std::int32_t count() const { return static_cast<std::int32_t>(items_.size()); }
    // The entry at `position`; OperationError outside 1 to count().
    const std::string& item(std::int32_t position) const;

private:
    std::vector<std::string> items_;
};

} // namespace zirkulon
