// SPDX-License-Identifier: GPL-3.0-or-later
// The real window on a screen with two device pixels per logical pixel
// (QT_SCALE_FACTOR=2): the layout stays in logical pixels, and the legs and
// the arc are drawn at the device resolution, not blown up from a 1x picture.

#include "platform/qt/QtDesign.h"
#include "programs/QtGame.h"

#include <QImage>
#include <QLabel>
#include <QMenuBar>
#include <QPixmap>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>

using zirkulon::QtForm;
using zirkulon::QtGame;

namespace {

constexpr int side = 548;              // the inner area, logical pixels
constexpr int dpr = 2;                 // device pixels per logical pixel
constexpr int vertex = side / 2 * dpr; // the vertex in device pixels, both axes
constexpr double legLength = side * 0.45 * dpr;
constexpr double arcRadius = side * 0.45 * 0.3 * dpr;

const QRgb red = qRgb(255, 0, 0);
const QRgb blue = qRgb(0, 0, 255);

int brightest(QRgb c) {
    return std::max({qRed(c), qGreen(c), qBlue(c)});
}

QString describe(int x, int y, QRgb c) {
    return QStringLiteral("pixel %1,%2 is (%3,%4,%5)")
        .arg(x)
        .arg(y)
        .arg(qRed(c))
        .arg(qGreen(c))
        .arg(qBlue(c));
}

// The darkest pixel on the ray from the vertex in direction degrees
// (counter-clockwise from the right, screen up) between two device radii.
int darkestOnRay(const QImage& image, double degrees, double from, double to) {
    const double phi = degrees * std::numbers::pi / 180;
    int darkest = 255;
    for (double r = from; r <= to; r += 0.25) {
        const int x = static_cast<int>(std::floor(vertex + r * std::cos(phi)));
        const int y = static_cast<int>(std::floor(vertex - r * std::sin(phi)));
        darkest = std::min(darkest, brightest(image.pixel(x, y)));
    }
    return darkest;
}

} // namespace

class QtHiDpiTest : public QObject {
    Q_OBJECT

private:
    QLabel* label(const char* name) const { return form_->canvas()->findChild<QLabel*>(name); }
    QImage grabCanvas() const {
        const QPixmap pixmap = form_->canvas()->grab();
        return pixmap.toImage().convertToFormat(QImage::Format_RGB32);
    }
    static QRgb background() {
        return zirkulon::qtdesign::colour(zirkulon::design::surfaceColour).rgb();
    }

    // The arc is dark from the red leg counter-clockwise up to `end` degrees
    // and absent beyond it, and it lies at 0.3 of the leg's length.
    void verifyArc(const QImage& image, double end) const {
        for (double phi = 6; phi <= 354; phi += 4) {
            const int onArc = darkestOnRay(image, phi, arcRadius - 3, arcRadius + 3);
            if (phi <= end - 6) {
                QVERIFY2(onArc < 100, qPrintable(QStringLiteral("no arc at %1 degrees").arg(phi)));
                QVERIFY2(darkestOnRay(image, phi, arcRadius - 20, arcRadius - 4) > 200 &&
                             darkestOnRay(image, phi, arcRadius + 4, arcRadius + 20) > 200,
                         qPrintable(QStringLiteral("arc blurred at %1 degrees").arg(phi)));
            } else if (phi >= end + 6) {
                QVERIFY2(onArc > 200,
                         qPrintable(QStringLiteral("arc drawn at %1 degrees").arg(phi)));
            }
        }
    }

    std::unique_ptr<QtGame> game_;
    QtForm* form_ = nullptr;

private slots:
    void init() {
        game_ = std::make_unique<QtGame>();
        form_ = &game_->form();
        game_->start();
        QVERIFY(QTest::qWaitForWindowExposed(form_));
    }

    void cleanup() { game_.reset(); }

    void layoutStaysInLogicalPixels() {
        QCOMPARE(form_->devicePixelRatio(), dpr);
        QCOMPARE(form_->canvas()->size(), QSize(side, side));
        QCOMPARE(form_->size(), QSize(side, side + form_->menuBar()->height()));
        QCOMPARE(form_->canvas()->y(), form_->menuBar()->height());
        // The labels sit at their designed places in logical pixels (twips / 15).
        QCOMPARE(label("LWinkel")->geometry(), QRect(8, 0, 169, 25));
        QCOMPARE(label("LKlicks")->geometry(), QRect(192, 0, 169, 25));
        QCOMPARE(label("LTreffer")->geometry(), QRect(376, 0, 161, 25));
        QCOMPARE(label("LTreffer")->font().pointSize(), 12);
        // The game measures the inner area in logical pixels too.
        QCOMPARE(form_->scaleWidth(), static_cast<float>(side * 15));
        QCOMPARE(form_->scaleHeight(), static_cast<float>(side * 15));
    }

    void grabsHaveDeviceResolution() {
        const QPixmap canvas = form_->canvas()->grab();
        QCOMPARE(canvas.devicePixelRatio(), dpr);
        QCOMPARE(canvas.size(), QSize(side * dpr, side * dpr));
        QCOMPARE(canvas.deviceIndependentSize(), QSizeF(side, side));
        const QPixmap window = form_->grab();
        QCOMPARE(window.devicePixelRatio(), dpr);
        QCOMPARE(window.size(), form_->size() * dpr);
    }

    // The 2-pixel red leg is 4 device pixels wide, pure red across, with
    // nothing blended into the rows beside it, from the vertex to 0.45 of the
    // width to the right; the blue leg stands straight up the same way.
    void legsAreSharpAtStart() {
        const QImage image = grabCanvas();
        const int end = static_cast<int>(vertex + legLength);
        for (int x = vertex + 8; x < end - 2; ++x) {
            for (int y = vertex - 2; y < vertex + 2; ++y) {
                QVERIFY2(image.pixel(x, y) == red, qPrintable(describe(x, y, image.pixel(x, y))));
            }
            for (const int y : {vertex - 3, vertex + 2}) {
                QVERIFY2(image.pixel(x, y) == background(),
                         qPrintable(describe(x, y, image.pixel(x, y))));
            }
        }
        QCOMPARE(image.pixel(end + 2, vertex), background());
        QCOMPARE(image.pixel(vertex - 8, vertex), background());

        for (int y = vertex - 8; y > vertex - legLength + 2; --y) {
            for (int x = vertex - 2; x < vertex + 2; ++x) {
                QVERIFY2(image.pixel(x, y) == blue, qPrintable(describe(x, y, image.pixel(x, y))));
            }
            for (const int x : {vertex - 3, vertex + 2}) {
                QVERIFY2(image.pixel(x, y) == background(),
                         qPrintable(describe(x, y, image.pixel(x, y))));
            }
        }
        // No arc before the first press.
        for (double phi = 6; phi <= 354; phi += 4) {
            QVERIFY(darkestOnRay(image, phi, arcRadius - 3, arcRadius + 3) > 200);
        }
    }

    // A press up and left of the vertex turns the blue leg to 135 degrees.
    // Device pixels whose centres lie on that diagonal are pure blue, those two
    // pixels off it untouched; the old upright leg is gone and the arc runs
    // from the red leg to the blue one.
    void pressTurnsBlueLegSharply() {
        QTest::mousePress(form_->canvas(), Qt::LeftButton, {}, QPoint(174, 174));
        QTest::mouseRelease(form_->canvas(), Qt::LeftButton, {}, QPoint(174, 174));
        const QImage image = grabCanvas();

        const int reach = static_cast<int>(legLength / std::numbers::sqrt2);
        for (int s = 12; s < reach - 2; ++s) {
            const int i = vertex - 1 - s;
            QVERIFY2(image.pixel(i, i) == blue, qPrintable(describe(i, i, image.pixel(i, i))));
            if (std::abs(s * std::numbers::sqrt2 - arcRadius) < 6) {
                continue; // the arc crosses here
            }
            QVERIFY2(image.pixel(i + 2, i - 2) == background() &&
                         image.pixel(i - 2, i + 2) == background(),
                     qPrintable(QStringLiteral("blue leg blurred at %1").arg(i)));
        }
        QCOMPARE(image.pixel(vertex - reach - 3, vertex - reach - 3), background());

        for (int y = vertex - 16; y > vertex - legLength; --y) {
            if (std::abs(y - (vertex - arcRadius)) < 4) {
                continue; // the arc crosses here
            }
            QVERIFY2(image.pixel(vertex, y) == background(),
                     qPrintable(describe(vertex, y, image.pixel(vertex, y))));
        }
        verifyArc(image, 135);
    }

    // A drag follows the pointer: pressed at 45 degrees, moved with the button
    // held to 225 degrees. Both directions share the diagonal x + y = const.
    void dragFollowsPointer() {
        QWidget* canvas = form_->canvas();
        QTest::mousePress(canvas, Qt::LeftButton, {}, QPoint(374, 174));
        QTest::mouseMove(canvas, QPoint(224, 324));
        QTest::mouseMove(canvas, QPoint(174, 374));
        QTest::mouseRelease(canvas, Qt::LeftButton, {}, QPoint(174, 374));
        const QImage image = grabCanvas();

        const int reach = static_cast<int>(legLength / std::numbers::sqrt2);
        for (int s = 12; s < reach - 2; ++s) {
            // Down and left: pixel centres on the leg's middle line.
            const int x = vertex - 1 - s;
            const int y = vertex + s;
            QVERIFY2(image.pixel(x, y) == blue, qPrintable(describe(x, y, image.pixel(x, y))));
            // Up and right, where the press put it first: gone, but for the arc.
            const double r = s * std::numbers::sqrt2;
            if (std::abs(r - arcRadius) > 6) {
                QVERIFY2(image.pixel(vertex + s, vertex - 1 - s) == background(),
                         qPrintable(QStringLiteral("blue leg left behind at %1").arg(s)));
            }
        }
        verifyArc(image, 225);
    }
};

QTEST_MAIN(QtHiDpiTest)
#include "qt_hidpi_test.moc"
