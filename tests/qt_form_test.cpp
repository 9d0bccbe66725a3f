// SPDX-License-Identifier: GPL-3.0-or-later
// What Qt adds to the game: the window's geometry, fonts and menu, painting,
// mouse routing, modal boxes and the error boundary. Runs on the offscreen
// platform under a German locale.
#include "app/QtGame.h"
#include "game/Reading.h"
#include "geometry/Keys.h"
#include "geometry/Pointer.h"
#include "numerics/Error.h"

#include <QAccessible>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFontInfo>
#include <QInputDialog>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <cmath>
#include <functional>
#include <memory>
#include <numbers>
#include <utility>

using namespace zirkulon;

namespace {

constexpr int vertex = 274; // pixels: the centre of the 548 x 548 inner area

bool isColour(const QImage& image, QPoint at, QColor colour) {
    return image.pixelColor(at) == colour;
}

// Darker than the drawing surface: the arc.
bool isInk(const QImage& image, QPoint at) {
    return image.pixelColor(at).lightness() < 140;
}

bool anyInkNear(const QImage& image, QPoint at, int reach = 1) {
    for (int dx = -reach; dx <= reach; ++dx) {
        for (int dy = -reach; dy <= reach; ++dy) {
            if (isInk(image, at + QPoint(dx, dy))) {
                return true;
            }
        }
    }
    return false;
}

// The contrast ratio of two colours as WCAG defines it, 1 to 21.
double contrast(const QColor& a, const QColor& b) {
    const auto luminance = [](const QColor& c) {
        const auto linear = [](double v) {
            return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
    };
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// Runs `act` on every modal box that opens while `trigger` runs, then lets the
// box go on (accepting it unless `act` closed it already).
QStringList closeBoxes(const std::function<void()>& trigger,
                       const std::function<void(QWidget*)>& act = {}) {
    QStringList seen;
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* box = QApplication::activeModalWidget();
        if (box == nullptr || !box->isVisible()) {
            return;
        }
        if (auto* message = qobject_cast<QMessageBox*>(box)) {
            seen << message->windowTitle() + ": " + message->text();
        } else if (auto* input = qobject_cast<QInputDialog*>(box)) {
            seen << input->windowTitle() + ": [" + input->textValue() + "]";
        }
        if (act) {
            act(box);
        }
        if (box->isVisible()) {
            if (auto* dialog = qobject_cast<QDialog*>(box)) {
                dialog->accept();
            }
        }
    });
    poll.start();
    trigger();
    return seen;
}

// Plays the game but fails on "Neu", to test the error boundary.
class FailingGame : public FormEvents {
public:
    explicit FailingGame(Window& window) : game(window, random, NumberFormat::german()) {}
    void Form_Load() override { game.Form_Load(); }
    void Form_Resize() override { game.Form_Resize(); }
    void Form_MouseDown(std::int16_t b, std::int16_t s, float x, float y) override {
        game.Form_MouseDown(b, s, x, y);
    }
    void Form_MouseMove(std::int16_t b, std::int16_t s, float x, float y) override {
        game.Form_MouseMove(b, s, x, y);
    }
    void Form_KeyDown(std::int16_t k, std::int16_t s) override { game.Form_KeyDown(k, s); }
    void MNew_Click() override {
        ++failures;
        throw OperationError("scheitert absichtlich");
    }
    void MExact_Click() override {}
    void MGuess_Click() override {}
    void MHelp_Click() override {}
    void MInfo_Click() override {}
    void MEnd_Click() override {}

    ClockRandom random;
    Ausgabe game;
    int failures = 0;
};

// The window object of the game, with its state in view.
class OpenGame : public Ausgabe {
public:
    explicit OpenGame(Window& window) : Ausgabe(window, random, NumberFormat::german()) {}
    const GameState& state() const { return state_; }
    ClockRandom random;
};

// A key press as the platform delivers it, first or repeated while held.
void pressKey(QWidget* target, Qt::Key key, bool autoRepeat = false) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(), autoRepeat);
    QApplication::sendEvent(target, &press);
}

// Where to press, in canvas pixels, to set `degrees`: 200 pixels from the
// vertex, close enough to the direction for any tolerance of a degree or more.
QPoint aimAt(double degrees) {
    const double phi = degrees * std::numbers::pi / 180;
    return {vertex + static_cast<int>(std::lround(200 * std::cos(phi))),
            vertex - static_cast<int>(std::lround(200 * std::sin(phi)))};
}

} // namespace

class QtFormTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QtGame> game;
    QtForm* form = nullptr;

    QLabel* label(const char* name) const { return form->findChild<QLabel*>(name); }
    QAction* action(const char* name) const { return form->findChild<QAction*>(name); }
    QImage grab() const { return form->canvas()->grab().toImage(); }

private slots:
    void initTestCase() {
        // The offscreen platform warns about every dialog it cannot size; that is noise here.
        static QtMessageHandler testLog = nullptr;
        testLog = qInstallMessageHandler(
            [](QtMsgType type, const QMessageLogContext& context, const QString& message) {
                if (!message.contains("propagateSizeHints")) {
                    testLog(type, context, message);
                }
            });
        prepareApplication(*QCoreApplication::instance(), QLocale(QLocale::German));
    }

    void init() {
        game = std::make_unique<QtGame>(QLocale(QLocale::German, QLocale::Germany));
        form = &game->form();
        game->start();
        QVERIFY(QTest::qWaitForWindowExposed(form));
    }

    void cleanup() { game.reset(); }

    LineShape blueLeg() const { return form->line(Line::Schenkel2); }
    // The target the window shows, from "Winkel = 137".
    double shownTarget() const { return label("LWinkel")->text().mid(9).toDouble(); }

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
        QVERIFY(form->canvas()->arcs().empty());
        QVERIFY(isColour(grab(), {vertex - 1, vertex - 100}, Qt::blue));
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

    void helpAndInfoShowTitledBoxesWithOkOnly() {
        QMessageBox::Icon icon = QMessageBox::Warning;
        int buttons = 0;
        const QStringList seen = closeBoxes([&] { action("MHelp")->trigger(); },
                                            [&](QWidget* box) {
                                                auto* message = qobject_cast<QMessageBox*>(box);
                                                icon = message->icon();
                                                buttons = int(message->buttons().size());
                                            });
        QCOMPARE(seen.size(), 1);
        QVERIFY(seen[0].startsWith("Zirkulon Hilfe: Den angegebene Winkel musst Du"));
        QCOMPARE(icon, QMessageBox::NoIcon);
        QCOMPARE(buttons, 1);
        const QStringList info = closeBoxes([&] { action("MInfo")->trigger(); });
        QCOMPARE(info, QStringList({"Zirkulon Info: Zirkulon Ver. 1.0. Autor: das Zirkulon-Team. "
                                    "Email: zirkulon@example.org."}));
    }

    void longTextsWrapWithinTheScreen() {
        std::string text;
        while (text.size() < 843) {
            text += "Wort um Wort ";
        }
        text.resize(843);
        QRect box;
        closeBoxes([&] { form->messageBox(text, "Winkel Witze"); },
                   [&](QWidget* w) { box = w->frameGeometry(); });
        const QRect screen = form->screen()->availableGeometry();
        QVERIFY2(box.width() <= screen.width(), qPrintable(QString::number(box.width())));
        QVERIFY(box.height() > 3 * QFontMetrics(form->font()).height());
    }

    void aWholeTaskCanBePlayed() {
        for (int hit = 1; hit <= 2; ++hit) {
            const QString target = QString::number(shownTarget());
            const QPoint aim = aimAt(shownTarget());
            QTest::mousePress(form->canvas(), Qt::LeftButton, {}, aim);
            QTest::mouseRelease(form->canvas(), Qt::LeftButton, {}, aim);
            const QStringList seen = closeBoxes([&] { action("MGuess")->trigger(); });
            QVERIFY2(seen.value(0).startsWith("Zirkulon: Herzlichen Glückwunsch! Der eingestellte "
                                              "Winkel ") &&
                         (seen[0].endsWith(" Winkel " + target + " überein.") ||
                          seen[0].endsWith(" Wert " + target + "°")),
                     qPrintable(seen.value(0)));
            // Under the starting tolerance of 2 every second hit earns a joke.
            QCOMPARE(seen.size(), hit);
            QVERIFY(hit == 1 || seen[1].startsWith("Winkel Witze: "));
            QCOMPARE(label("LTreffer")->text(), QString("Erraten: %1 Winkel.").arg(hit));
            QCOMPARE(label("LKlicks")->text(), QString("Versuche: 0"));
        }
    }

    void toleranceIsEnteredInAGermanInputBox() {
        QString cancelText;
        QString prompt;
        int opened = 0;
        const QStringList seen = closeBoxes(
            [&] { action("MExact")->trigger(); },
            [&](QWidget* box) {
                auto* input = qobject_cast<QInputDialog*>(box);
                if (input == nullptr) {
                    return;
                }
                prompt = input->labelText();
                cancelText =
                    input->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->text();
                input->setTextValue(++opened == 1 ? "12" : "2,5");
            });
        QCOMPARE(seen,
                 QStringList({"Zirkulon: [2]",
                              "Zirkulon: Eine Genauigkeit von 12?!? Das ist definitiv zu groß!",
                              "Zirkulon: [12]"}));
        QCOMPARE(prompt, QString("Gib die Genauigkeit in Grad ein."));
        QCOMPARE(cancelText.remove('&'), QString("Abbrechen"));
        QCOMPARE(form->windowTitle(), QString("Eingestellte Genauigkeit: 2,5°"));
    }

    // A held key acts on its first press only: its repeats press no button,
    // so a box stays open until the key is pressed again, and a held Enter
    // spends one attempt.
    void heldKeysPressNoButtonOfABox() {
        QTest::mousePress(form->canvas(), Qt::LeftButton, {}, aimAt(shownTarget() + 20));
        for (QAction* command : {action("MGuess"), action("MExact")}) {
            bool closedByRepeat = false;
            bool first = true;
            // The keys that press a button, held while the box is open, then
            // Return pressed once more.
            const auto holdKeys = [&](QWidget* box) {
                if (!std::exchange(first, false)) {
                    return;
                }
                for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space, Qt::Key_Escape}) {
                    for (int i = 0; i < 3 && box->isVisible(); ++i) {
                        pressKey(box->focusWidget(), key, true);
                    }
                }
                closedByRepeat = !box->isVisible();
                pressKey(box->focusWidget(), Qt::Key_Return);
            };
            const QStringList seen = closeBoxes([&] { command->trigger(); }, holdKeys);
            QVERIFY2(!closedByRepeat, qPrintable(command->text()));
            QCOMPARE(seen.size(), 1);
        }
        QCOMPARE(label("LKlicks")->text(), QString("Versuche: 1"));
    }

    void cancellingTheInputBoxAsksAgain() {
        int opened = 0;
        closeBoxes([&] { action("MExact")->trigger(); },
                   [&](QWidget* box) {
                       auto* input = qobject_cast<QInputDialog*>(box);
                       if (++opened == 1) {
                           input->reject();
                       } else {
                           input->setTextValue("7");
                       }
                   });
        QCOMPARE(opened, 2);
        QCOMPARE(form->windowTitle(), QString("Eingestellte Genauigkeit: 7°"));
    }

    void anErrorEndsOnlyTheHandler() {
        FailingGame failing(*form);
        form->setEvents(&failing);
        QTest::ignoreMessage(QtWarningMsg, "scheitert absichtlich");
        action("MNew")->trigger();
        QCOMPARE(failing.failures, 1);
        // The window goes on delivering events.
        failing.Form_Load();
        failing.Form_Resize();
        QTest::mousePress(form->canvas(), Qt::LeftButton, {}, QPoint(vertex + 100, vertex));
        QCOMPARE(blueLeg(), (LineShape{4110, 4110, 7809, 4110}));
        form->setEvents(nullptr);
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
