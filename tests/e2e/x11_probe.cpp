// SPDX-License-Identifier: GPL-3.0-or-later
// Reads a screenshot of the running game and checks what a player sees.
//
//   x11_probe menu SHOT LEFT TOP WIDTH HEIGHT
//       Prints "centre-x width" of each caption in the menu bar that fills the
//       given rectangle, left to right, in screenshot coordinates.
//   x11_probe legs SHOT LEFT TOP POINTER-X POINTER-Y arc|no-arc
//       Checks the legs and the arc in the inner area whose top left corner is
//       at LEFT,TOP: the red leg runs right from the centre, the blue leg points
//       from the centre towards the pointer (given in inner-area pixels), and
//       the dark arc about the vertex runs counter-clockwise from the red leg to
//       the blue one, or there is no arc at all.
//
// Exits 0 when all checks pass, 1 with a line per failed check otherwise.

#include <QColor>
#include <QImage>
#include <QString>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numbers>
#include <string>
#include <vector>

namespace {

// The inner area and the figure in it, in pixels.
constexpr double side = 548;
constexpr double vertex = side / 2;
constexpr double legLength = side * 0.45;
constexpr double arcRadius = legLength * 0.3;
constexpr double degree = std::numbers::pi / 180;

int failures = 0;

void fail(const std::string& what) {
    std::fprintf(stderr, "FAIL: %s\n", what.c_str());
    ++failures;
}

bool isPureRed(QRgb c) {
    return qRed(c) == 255 && qGreen(c) == 0 && qBlue(c) == 0;
}
bool isReddish(QRgb c) {
    return qRed(c) > 150 && qGreen(c) < 110 && qBlue(c) < 110;
}
bool isBluish(QRgb c) {
    return qBlue(c) > 150 && qRed(c) < 110 && qGreen(c) < 110;
}
bool isStrongBlue(QRgb c) {
    return qBlue(c) >= 200 && qRed(c) <= 60 && qGreen(c) <= 60;
}
int brightest(QRgb c) {
    return std::max({qRed(c), qGreen(c), qBlue(c)});
}

std::string rgb(QRgb c) {
    return "(" + std::to_string(qRed(c)) + "," + std::to_string(qGreen(c)) + "," +
           std::to_string(qBlue(c)) + ")";
}

class Shot {
public:
    Shot(const QImage& image, int left, int top)
        : image_(image.convertToFormat(QImage::Format_RGB32)), left_(left), top_(top) {}

    // The pixel at inner-area position x,y; white outside the screenshot.
    QRgb at(int x, int y) const {
        const int sx = left_ + x;
        const int sy = top_ + y;
        if (sx < 0 || sy < 0 || sx >= image_.width() || sy >= image_.height()) {
            return qRgb(255, 255, 255);
        }
        return image_.pixel(sx, sy);
    }
    // The pixel nearest to the point at distance r from the vertex in the
    // direction phi (radians, counter-clockwise from the right, screen up).
    QRgb polar(double r, double phi) const {
        return at(static_cast<int>(std::floor(vertex + r * std::cos(phi))),
                  static_cast<int>(std::floor(vertex - r * std::sin(phi))));
    }
    // Whether any pixel within a radius of one pixel of the point matches.
    template <typename Test> bool near(double x, double y, Test test) const {
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) {
                if (test(at(static_cast<int>(std::floor(x)) + dx,
                            static_cast<int>(std::floor(y)) + dy))) {
                    return true;
                }
            }
        }
        return false;
    }

private:
    QImage image_;
    int left_, top_;
};

// Angular distance in radians between two directions.
double apart(double a, double b) {
    const double d = std::fmod(std::fabs(a - b), 2 * std::numbers::pi);
    return std::min(d, 2 * std::numbers::pi - d);
}

void checkRed(const Shot& shot) {
    const int v = static_cast<int>(vertex);
    // A 2-pixel leg centred on the vertex row covers the rows just above and on it.
    for (int x = v + 4; x <= v + static_cast<int>(legLength) - 2; ++x) {
        for (const int y : {v - 1, v}) {
            if (!isPureRed(shot.at(x, y))) {
                fail("red leg: pixel " + std::to_string(x) + "," + std::to_string(y) + " is " +
                     rgb(shot.at(x, y)) + ", not pure red");
                return;
            }
        }
        for (const int y : {v - 2, v + 1}) {
            if (isReddish(shot.at(x, y))) {
                fail("red leg wider than 2 pixels at x " + std::to_string(x));
                return;
            }
        }
    }
    // It starts at the vertex and ends a leg's length to the right of it.
    for (int x = 10; x <= v - 4; ++x) {
        if (isReddish(shot.at(x, v - 1)) || isReddish(shot.at(x, v))) {
            fail("red pixels left of the vertex at x " + std::to_string(x));
            return;
        }
    }
    if (isReddish(shot.at(static_cast<int>(vertex + legLength) + 2, v))) {
        fail("red leg longer than 0.45 of the inner width");
    }
}

void checkBlue(const Shot& shot, double direction) {
    const double c = std::cos(direction);
    const double s = std::sin(direction);
    for (double t = 12; t <= legLength - 4; t += 4) {
        if (!shot.near(vertex + t * c, vertex - t * s, isStrongBlue)) {
            fail("blue leg missing at distance " + std::to_string(t) + " in direction " +
                 std::to_string(direction / degree) + " degrees");
            return;
        }
    }
    if (shot.near(vertex + (legLength + 4) * c, vertex - (legLength + 4) * s, isBluish)) {
        fail("blue leg longer than 0.45 of the inner width");
    }
}

// On circles about the vertex, coloured pixels only where the legs cross them.
void checkRings(const Shot& shot, double blueDirection) {
    for (const double r : {110.0, 160.0, 215.0}) {
        bool blueSeen = false;
        for (double phi = 0; phi < 2 * std::numbers::pi; phi += 0.1 * degree) {
            const QRgb c = shot.polar(r, phi);
            if (isBluish(c)) {
                if (apart(phi, blueDirection) > 3 * degree) {
                    fail("blue pixel at radius " + std::to_string(r) + ", direction " +
                         std::to_string(phi / degree) + " degrees");
                    return;
                }
                blueSeen = true;
            }
            if (isReddish(c) && apart(phi, 0) > 3 * degree) {
                fail("red pixel at radius " + std::to_string(r) + ", direction " +
                     std::to_string(phi / degree) + " degrees");
                return;
            }
        }
        if (!blueSeen) {
            fail("no blue leg crosses the circle of radius " + std::to_string(r));
        }
    }
}

// The darkest pixel on the ray in direction phi between the two radii.
int darkestOnRay(const Shot& shot, double phi, double from, double to) {
    int darkest = 255;
    for (double r = from; r <= to; r += 0.25) {
        darkest = std::min(darkest, brightest(shot.polar(r, phi)));
    }
    return darkest;
}

void checkArc(const Shot& shot, double end, bool expected) {
    const double margin = 6 * degree;
    for (double phi = margin; phi <= 2 * std::numbers::pi - margin; phi += 3 * degree) {
        const bool inside = expected && phi <= end - margin;
        const bool outside = !expected || phi >= end + margin;
        const int darkest = darkestOnRay(shot, phi, arcRadius - 3, arcRadius + 3);
        if (inside && darkest > 160) {
            fail("no dark arc at direction " + std::to_string(phi / degree) + " degrees (darkest " +
                 std::to_string(darkest) + ")");
            return;
        }
        if (outside && darkest < 200) {
            fail("dark pixel off the arc at direction " + std::to_string(phi / degree) +
                 " degrees (" + std::to_string(darkest) + ")");
            return;
        }
    }
}

int legs(const Shot& shot, double pointerX, double pointerY, bool arc) {
    double direction = std::atan2(vertex - pointerY, pointerX - vertex);
    if (direction < 0) {
        direction += 2 * std::numbers::pi;
    }
    checkRed(shot);
    checkBlue(shot, direction);
    checkRings(shot, direction);
    checkArc(shot, direction, arc);
    if (failures == 0) {
        std::printf("legs ok: blue at %.1f degrees, %s\n", direction / degree,
                    arc ? "arc up to it" : "no arc");
    }
    return failures == 0 ? 0 : 1;
}

// Captions are dark text on the bar; letters of one caption stand closer
// together than the padding between two captions.
int menu(const QImage& image, int left, int top, int width, int height) {
    const QImage bar = image.copy(left, top, width, height).convertToFormat(QImage::Format_RGB32);
    std::vector<bool> inked(static_cast<std::size_t>(bar.width()), false);
    for (int x = 0; x < bar.width(); ++x) {
        for (int y = 0; y < bar.height(); ++y) {
            if (brightest(bar.pixel(x, y)) < 120) {
                inked[static_cast<std::size_t>(x)] = true;
            }
        }
    }
    constexpr int maxGapInCaption = 5;
    int start = -1;
    int last = -1;
    const auto report = [&] {
        if (start >= 0) {
            std::printf("%d %d\n", left + (start + last) / 2, last - start + 1);
        }
    };
    for (int x = 0; x < bar.width(); ++x) {
        if (!inked[static_cast<std::size_t>(x)]) {
            continue;
        }
        if (start < 0 || x - last - 1 > maxGapInCaption) {
            report();
            start = x;
        }
        last = x;
    }
    report();
    return 0;
}

int usage() {
    std::fprintf(stderr, "usage: x11_probe menu SHOT LEFT TOP WIDTH HEIGHT\n"
                         "       x11_probe legs SHOT LEFT TOP POINTER-X POINTER-Y arc|no-arc\n");
    return 2;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 3) {
        return usage();
    }
    const std::string mode = argv[1];
    const QImage image(QString::fromLocal8Bit(argv[2]));
    if (image.isNull()) {
        std::fprintf(stderr, "cannot read %s\n", argv[2]);
        return 2;
    }
    const auto number = [&](int i) { return std::atoi(argv[i]); };
    if (mode == "menu" && argc == 7) {
        return menu(image, number(3), number(4), number(5), number(6));
    }
    if (mode == "legs" && argc == 8) {
        const std::string arc = argv[7];
        if (arc != "arc" && arc != "no-arc") {
            return usage();
        }
        return legs(Shot(image, number(3), number(4)), std::atof(argv[5]), std::atof(argv[6]),
                    arc == "arc");
    }
    return usage();
}
