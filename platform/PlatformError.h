#pragma once

#include <stdexcept>
#include <string>

namespace zirkulon {

// Raised by any platform operation that fails: an integer result out of range,
// a division by zero, an overflowing or invalid floating-point result, or a
// collection position that names no entry. It ends the running handler; the
// window catches it once, where the event is delivered.
class PlatformError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace zirkulon
