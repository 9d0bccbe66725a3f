// SPDX-License-Identifier: GPL-3.0-or-later
// What Qt adds to the game's window: its geometry, fonts and menu, painting,
// mouse and key routing, and the slider that assistive technology reads.
// Runs on the offscreen platform under a German locale.
#include "QtTestSupport.h"
#include "game/Reading.h"
#include "geometry/Keys.h"
#include "geometry/Pointer.h"

#include <QAccessible>
#include <QFontInfo>
#include <QMenuBar>

using namespace zirkulon;
using namespace zirkulon::qttest;

class QtFormTest : public QObject, public GameWindow {
    Q_OBJECT

private slots:
    void initTestCase() { prepare(); }
    void init() { QVERIFY(open()); }
    void cleanup() { close(); }

    void startsWithTheDesignedWindow() {
        QCOMPARE(form->canvas()->size(), QSize(548, 548));
        QCOMPARE(form->windowTitle(), QString("Eingestellte Genauigkeit: 2°"));
        QVERIFY(label("LWinkel")->text().startsWith("Winkel = "));
        QCOMPARE(label("LKlicks")->text(), QString("Versuche: 0"));
        QCOMPARE(label("LTreffer")->text(), QString("Erraten: 0 Winkel"));

        QCOMPARE(label("LWinkel")->geometry(), QRect(8, 0, 169, 25));
        QCOMPARE(label("LKlicks")->geometry(), QRect(192, 0, 169, 25));
        QCOMPARE(label("LTreffer")->geometry(), QRect(376, 0, 161, 25));
        for (const char* name : {"LWinkel", "LKlicks", "LTreffer"}) {
            QLabel* l = label(name);
            const QFontInfo font(l->font());
            QCOMPARE(font.family(), QString("Comic Neue"));
            QCOMPARE(l->font().pointSize(), 12);
            QCOMPARE(font.weight(), int(QFont::Normal));
            QVERIFY(!font.italic());
            QVERIFY(l->alignment() & Qt::AlignHCenter);
            QCOMPARE(grab().pixelColor(l->geometry().topLeft() + QPoint(2, 2)), QColor(Qt::white));
        }

        const QImage image = grab();
        QVERIFY(isColour(image, {vertex + 100, vertex - 1}, Qt::red));
        QVERIFY(isColour(image, {vertex + 240, vertex}, Qt::red));
        QVERIFY(isColour(image, {vertex - 1, vertex - 100}, Qt::blue));
        QVERIFY(!anyInkNear(image, {vertex + 52, vertex - 52}, 3)); // no arc yet
    }

    void menuHoldsSixPlainCommands() {
        const QList<QAction*> actions = form->menuBar()->actions();
        QStringList captions, names;
        for (QAction* a : actions) {
            captions << a->text();
            names << a->objectName();
            QVERIFY(a->menu() == nullptr);
            QVERIFY(a->shortcut().isEmpty());
            QVERIFY(a->isEnabled() && a->isVisible() && !a->isCheckable());
        }
        QCOMPARE(captions, QStringList({"Neu", "Genauigkeit", "prüfen", "Hilfe", "Info", "Ende"}));
        QCOMPARE(names, QStringList({"MNew", "MExact", "MGuess", "MHelp", "MInfo", "MEnd"}));
    }

    void pressTurnsTheBlueLegAndDrawsTheArc() {
        QTest::mousePress(form->canvas(), Qt::LeftButton, {}, QPoint(220, 220));
        QCOMPARE(blueLeg(), (LineShape{4110, 4110, 1494.4119873046875f, 1494.4119873046875f}));
        const QImage image = grab();
        QCOMPARE(image.pixelColor(vertex - 100, vertex - 100).blue(), 255);
        QVERIFY(!isColour(image, {vertex - 1, vertex - 100}, Qt::blue)); // no longer upright
        // Arc radius 0.3 of the leg: 3699 * 0.3 / 15 = 74 pixels, counter-clockwise
        // from the red leg: straight up lies on it, straight down does not.
        QVERIFY(anyInkNear(image, {vertex, vertex - 74}));
        QVERIFY(anyInkNear(image, {vertex + 52, vertex - 52}));
        QVERIFY(!anyInkNear(image, {vertex, vertex + 74}, 3));
        // A radius runs along the red leg from the vertex to the arc's start;
        // the red leg is painted over it.
        QVERIFY(isColour(image, {vertex + 40, vertex - 1}, Qt::red));

        // The arc is part of the window's state: repainting keeps it.
        form->canvas()->repaint();
        QVERIFY(anyInkNear(grab(), {vertex, vertex - 74}));
    }

    void dragFollowsThePointerEvenOutsideTheWindow() {
        QTest::mousePress(form->canvas(), Qt::LeftButton, {}, QPoint(300, 300));
        QTest::mouseMove(form->canvas(), QPoint(900, vertex));
        QCOMPARE(blueLeg(), (LineShape{4110, 4110, 7809, 4110}));
        QTest::mouseMove(form->canvas(), QPoint(vertex, -50));
        QCOMPARE(blueLeg(), (LineShape{4110, 4110, 4110, 411}));
        QTest::mouseRelease(form->canvas(), Qt::LeftButton, {}, QPoint(vertex, -50));
        const QImage image = grab();
        QVERIFY(isColour(image, {vertex - 1, vertex - 150}, Qt::blue));
    }

    void rightButtonAndLabelsChangeNothing() {
        QTest::mousePress(form->canvas(), Qt::RightButton, {}, QPoint(100, 400));
        QTest::mouseRelease(form->canvas(), Qt::RightButton, {}, QPoint(100, 400));
        QLabel* target = label("LWinkel");
        QTest::mousePress(target, Qt::LeftButton, {}, QPoint(20, 10));
        QTest::mouseMove(target, QPoint(20, 200));
        QTest::mouseRelease(target, Qt::LeftButton, {}, QPoint(20, 200));
        QCOMPARE(blueLeg(), (LineShape{4110, 4110, 4110, 411}));
        const QImage image = grab();
        QVERIFY(!anyInkNear(image, {vertex + 52, vertex - 52}, 3)); // no arc
        QVERIFY(isColour(image, {vertex - 1, vertex - 100}, Qt::blue));
    }

    // A press passes the one button pressed: the left one acts although the
    // right one is still held.
    void theLeftButtonActsWhileTheRightIsHeld() {
        QTest::mousePress(form->canvas(), Qt::RightButton, {}, QPoint(100, 400));
        QTest::mousePress(form->canvas(), Qt::LeftButton, {}, QPoint(vertex + 100, vertex));
        QCOMPARE(blueLeg(), (LineShape{4110, 4110, 7809, 4110}));
        QTest::mouseRelease(form->canvas(), Qt::LeftButton, {}, QPoint(vertex + 100, vertex));
        QTest::mouseRelease(form->canvas(), Qt::RightButton, {}, QPoint(100, 400));
    }

    void aPressOverTheLegsReachesTheWindow() {
        QTest::mousePress(form->canvas(), Qt::LeftButton, {}, QPoint(vertex + 100, vertex));
        QCOMPARE(blueLeg(), (LineShape{4110, 4110, 7809, 4110}));
    }

    // The canvas holds the focus from the start, and Tab brings it back. Its
    // keys, held ones too, turn the blue leg exactly as the left button
    // pressed at the position the key rule gives would, and the slider that
    // assistive technology reads follows.
    void keysTurnTheBlueLegAsThePointerWould() {
        QVERIFY(QTest::qWaitForWindowActive(form));
        FormCanvas* canvas = form->canvas();
        QCOMPARE(QApplication::focusWidget(), canvas);
        // A dotted frame just inside the edge shows the focus.
        const auto framed = [&] {
            const QImage image = grab();
            int dark = 0;
            for (int x = 0; x < image.width(); ++x) {
                for (int y = image.height() - 4; y < image.height(); ++y) {
                    dark += image.pixelColor(x, y).lightness() < 140;
                }
            }
            return dark > image.width() / 2;
        };
        QVERIFY(framed());
        canvas->clearFocus();
        QVERIFY(!framed());
        QTest::keyClick(form, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), canvas);

        OpenGame game(*form);
        form->setEvents(&game);
        game.Form_Load();
        game.Form_Resize();
        QAccessibleInterface* slider = QAccessible::queryAccessibleInterface(canvas);
        QCOMPARE(slider->role(), QAccessible::Slider);
        QAccessibleValueInterface* value = slider->valueInterface();
        QCOMPARE(value->minimumValue().toInt(), 0);
        QCOMPARE(value->maximumValue().toInt(), 360);
        QCOMPARE(value->currentValue().toInt(), 0);
        QCOMPARE(slider->text(QAccessible::Value), QString("0 Grad, Nullwinkel"));
        QVERIFY(slider->text(QAccessible::Name).startsWith("Winkel zwischen rotem und blauem"));

        const geometry::Point vertex{4110, 4110};
        const struct {
            Qt::Key key;
            bool held;
            int degrees;
        } steps[] = {
            {Qt::Key_Home, false, 1},     {Qt::Key_Right, true, 2},       {Qt::Key_Up, true, 3},
            {Qt::Key_PageUp, false, 13},  {Qt::Key_Down, false, 12},      {Qt::Key_Left, true, 11},
            {Qt::Key_PageDown, false, 1}, {Qt::Key_PageDown, false, 351}, {Qt::Key_End, false, 360},
            {Qt::Key_Right, false, 1},    {Qt::Key_A, false, 1}};
        for (const auto& step : steps) {
            pressKey(QApplication::focusWidget(), step.key, step.held);
            const GameState& state = game.state();
            const geometry::Turn turn = geometry::turnTowards(
                geometry::pointerAt(step.degrees, vertex, geometry::keyReach(state.LegLength)),
                vertex, vertex, state.LegLength, state.Pi);
            QVERIFY(state.SetAngle == turn.angle); // bit for bit
            QCOMPARE(game::wholeDegrees(state.SetAngle, state.Pi), step.degrees);
            QCOMPARE(blueLeg(), (LineShape{4110, 4110, turn.blueEnd.x, turn.blueEnd.y}));
            QCOMPARE(value->currentValue().toInt(), step.degrees);
            QCOMPARE(slider->text(QAccessible::Value),
                     QString::fromStdString(game::angleReading(std::int16_t(step.degrees))));
        }
        QCOMPARE(slider->text(QAccessible::Value), QString("1 Grad, spitzer Winkel"));
        form->setEvents(nullptr);
    }

    void resizingLaysTheLegsOutAgain() {
        const int menu = form->height() - form->canvas()->height();
        form->resize(800, 400 + menu);
        QTRY_COMPARE(form->canvas()->size(), QSize(800, 400));
        const LineShape red = form->line(Line::Schenkel1);
        QCOMPARE(red.X1, 6000.0f);
        QCOMPARE(red.Y1, 3000.0f);
        QCOMPARE(red.X2, 6000.0f + 5400.0f);
        QCOMPARE(label("LTreffer")->geometry(), QRect(376, 0, 161, 25));
        const QImage image = grab();
        QVERIFY(isColour(image, {400 + 100, 200 - 1}, Qt::red));
        QVERIFY(isColour(image, {400 - 1, 200 - 100}, Qt::blue));
    }

    // Under a dark desktop palette the labels stay dark on white, and the
    // legs and the arc keep at least 3:1 against the drawing surface.
    void darkDesktopsKeepLabelsReadableAndTheFigureVisible() {
        const QPalette light = QApplication::palette();
        QPalette dark(QColor(49, 54, 59), QColor(35, 38, 41));
        dark.setColor(QPalette::WindowText, QColor(252, 252, 252));
        dark.setColor(QPalette::ButtonText, QColor(252, 252, 252));
        QApplication::setPalette(dark);
        QtGame darkGame(QLocale(QLocale::German, QLocale::Germany));
        darkGame.start();
        QVERIFY(QTest::qWaitForWindowExposed(&darkGame.form()));
        FormCanvas* canvas = darkGame.form().canvas();
        QTest::mousePress(canvas, Qt::LeftButton, {}, QPoint(220, 220));
        const QImage image = canvas->grab().toImage();
        QApplication::setPalette(light);

        const QRect klicks = canvas->findChild<QLabel*>("LKlicks")->geometry();
        int darkText = 0;
        for (int x = klicks.left(); x <= klicks.right(); ++x) {
            for (int y = klicks.top(); y <= klicks.bottom(); ++y) {
                darkText += image.pixelColor(x, y).lightness() < 80;
            }
        }
        QVERIFY2(darkText > 20, qPrintable(QString::number(darkText)));

        const QColor surface = image.pixelColor(vertex - 40, vertex + 40);
        QColor arc = surface;
        for (int dy = -1; dy <= 1; ++dy) {
            const QColor c = image.pixelColor(vertex + dy, vertex - 74);
            arc = contrast(c, surface) > contrast(arc, surface) ? c : arc;
        }
        const QColor red = image.pixelColor(vertex + 100, vertex - 1);
        const QColor blue = image.pixelColor(vertex - 100, vertex - 100);
        for (const QColor& c : {red, blue, arc}) {
            QVERIFY2(contrast(c, surface) >= 3, qPrintable(QString("%1 on %2: %3:1")
                                                               .arg(c.name(), surface.name())
                                                               .arg(contrast(c, surface))));
        }
    }

    void endClosesTheWindow() {
        action("MEnd")->trigger();
        QVERIFY(!form->isVisible());
    }
};

QTEST_MAIN(QtFormTest)
#include "qt_form_test.moc"
