// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/Keys.h"

#include "numerics/Rounding.h"

#include <array>

namespace zirkulon::geometry {

namespace {

constexpr int fullTurn = 360;

// sin(k degrees) for k = 0 to 90, each the double nearest to the true value.
constexpr std::array<double, 91> sineTable{
    0x0p+0,
    0x1.1df0b2b89dd1ep-6,
    0x1.1de58c9f7dc27p-5,
    0x1.acbc748efc90ep-5,
    0x1.1db8f6d6a5128p-4,
    0x1.64fd6b8c28103p-4,
    0x1.ac2609b3c576cp-4,
    0x1.f32d44c4f62d3p-4,
    0x1.1d06c968d9e19p-3,
    0x1.4060b67a85375p-3,
    0x1.63a1a7e0b738ap-3,
    0x1.86c6ddd76624fp-3,
    0x1.a9cd9ac4258f6p-3,
    0x1.ccb3236cdc675p-3,
    0x1.ef74bf2e4b91dp-3,
    0x1.0907dc193069p-2,
    0x1.1a40add328e29p-2,
    0x1.2b637cf83d5c7p-2,
    0x1.3c6ef372fe95p-2,
    0x1.4d61bd000cddbp-2,
    0x1.5e3a8748a0bf5p-2,
    0x1.6ef801fced33cp-2,
    0x1.7f98deee59681p-2,
    0x1.901bd2298ffabp-2,
    0x1.a07f921061ad1p-2,
    0x1.b0c2d77379853p-2,
    0x1.c0e45dabe05c8p-2,
    0x1.d0e2e2b44de01p-2,
    0x1.e0bd274245078p-2,
    0x1.f071eedefa0ecp-2,
    0x1p-1,
    0x1.07b3120fddf13p-1,
    0x1.0f5193eacdd2ap-1,
    0x1.16daed770771dp-1,
    0x1.1e4e88411fd12p-1,
    0x1.25abcf87c4978p-1,
    0x1.2cf2304755a5ep-1,
    0x1.342119455beb6p-1,
    0x1.3b37fb1bdc939p-1,
    0x1.4236484487abep-1,
    0x1.491b7523c161dp-1,
    0x1.4fe6f81384fd4p-1,
    0x1.5698496e20bd8p-1,
    0x1.5d2ee398c9c2bp-1,
    0x1.63aa430e0731p-1,
    0x1.6a09e667f3bcdp-1,
    0x1.704d4e6a54d39p-1,
    0x1.7673fe0c86982p-1,
    0x1.7c7d7a833bec2p-1,
    0x1.82694b4a11c37p-1,
    0x1.8836fa2cf5039p-1,
    0x1.8de613515a328p-1,
    0x1.9376253f463d1p-1,
    0x1.98e6c0ea27a14p-1,
    0x1.9e3779b97f4a8p-1,
    0x1.a367e59158747p-1,
    0x1.a8779cda8eea5p-1,
    0x1.ad663a8ae2fdcp-1,
    0x1.b2335c2cda945p-1,
    0x1.b6dea1e76eadep-1,
    0x1.bb67ae8584caap-1,
    0x1.bfce277d339c7p-1,
    0x1.c411b4f6d2708p-1,
    0x1.c83201d3d2c6dp-1,
    0x1.cc2ebbb5638cap-1,
    0x1.d0079302dd767p-1,
    0x1.d3bc3aeff7f95p-1,
    0x1.d74c6982c666fp-1,
    0x1.dab7d7997cb58p-1,
    0x1.ddfe40effb805p-1,
    0x1.e11f642522d1cp-1,
    0x1.e41b02bfeb4cbp-1,
    0x1.e6f0e134454ffp-1,
    0x1.e9a0c6e7bdb1fp-1,
    0x1.ec2a7e35e7b8p-1,
    0x1.ee8dd4748bf15p-1,
    0x1.f0ca99f79ba25p-1,
    0x1.f2e0a214e870fp-1,
    0x1.f4cfc327a008p-1,
    0x1.f697d6938b6c2p-1,
    0x1.f838b8c811c17p-1,
    0x1.f9b24942fe45cp-1,
    0x1.fb046a930947ap-1,
    0x1.fc2f025a23e8bp-1,
    0x1.fd31f94f867c6p-1,
    0x1.fe0d3b41815a2p-1,
    0x1.fec0b7170fff6p-1,
    0x1.ff4c5ed12e61dp-1,
    0x1.ffb0278bf0567p-1,
    0x1.ffec097f5af8ap-1,
    0x1p+0,
};

double cosineOfDegrees(int degrees) {
    return sineOfDegrees((degrees + 90) % fullTurn);
}

} // namespace

// By symmetry from the first quadrant's table.
double sineOfDegrees(int degrees) {
    if (degrees > 180) {
        return -sineOfDegrees(degrees - 180);
    }
    return sineTable[static_cast<std::size_t>(degrees <= 90 ? degrees : 180 - degrees)];
}

int degreesAfter(KeyTurn turn, int degrees) {
    int step = 0;
    switch (turn) {
    case KeyTurn::On:
        step = 1;
        break;
    case KeyTurn::Back:
        step = -1;
        break;
    case KeyTurn::PageOn:
        step = 10;
        break;
    case KeyTurn::PageBack:
        step = -10;
        break;
    case KeyTurn::First:
        return 1;
    case KeyTurn::Last:
        return fullTurn;
    }
    // Positions 1 to 360, counted round; 0 (nothing set yet) steps like 360.
    const int zeroBased = ((degrees + step - 1) % fullTurn + fullTurn) % fullTurn;
    return zeroBased + 1;
}

Point pointerAt(int degrees, Point vertex, float reach) {
    const int d = ((degrees % fullTurn) + fullTurn) % fullTurn;
    return {toSingle(static_cast<double>(vertex.x) + reach * cosineOfDegrees(d)),
            toSingle(static_cast<double>(vertex.y) - reach * sineOfDegrees(d))};
}

float keyReach(float legLength) {
    constexpr float inch = 1440;
    return legLength < inch ? inch : legLength;
}

} // namespace zirkulon::geometry
