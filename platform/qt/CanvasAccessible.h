// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace zirkulon {

// Makes every FormCanvas a slider to assistive technology (AT-SPI on Linux):
// its value is the set angle in whole degrees, from 0 to 360 in steps of 1,
// and its value text says the same in words («137 Grad, stumpfer Winkel»).
// The value cannot be set from outside; the keys turn the leg. Safe to call
// more than once.
void installCanvasAccessible();

} // namespace zirkulon
