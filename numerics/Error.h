// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <stdexcept>

namespace zirkulon {

// Raised by any operation that fails: an integer result out of range, a
// division by zero, an overflowing or invalid floating-point result, a
// collection position that names no entry, an arc the drawing surface cannot
// draw. It ends the running handler; the window catches it once, where it
// delivered the event.
class OperationError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace zirkulon
