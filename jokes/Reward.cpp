// SPDX-License-Identifier: GPL-3.0-or-later
#include "jokes/Reward.h"

#include "numerics/Rounding.h"

#include <algorithm>

namespace zirkulon::jokes {

std::int32_t rewardPosition(float r, std::int32_t count) {
    if (count < 1) {
        return 0;
    }
    const auto span = static_cast<double>(count - 1);
    const double x = static_cast<double>(r) * span * 0.5;
    return std::max<std::int32_t>(toInt16(x), 1);
}

} // namespace zirkulon::jokes
