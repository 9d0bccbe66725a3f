// SPDX-License-Identifier: GPL-3.0-or-later
// What the Qt tests share: the game in its window on the offscreen platform,
// reading pixels, closing modal boxes and sending keys.
#pragma once

#include "programs/QtGame.h"

#include <QApplication>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <numbers>

namespace zirkulon::qttest {

constexpr int vertex = 274; // pixels: the centre of the 548 x 548 inner area

inline bool isColour(const QImage& image, QPoint at, QColor colour) {
    return image.pixelColor(at) == colour;
}

// Darker than the drawing surface: the arc.
inline bool isInk(const QImage& image, QPoint at) {
    return image.pixelColor(at).lightness() < 140;
}

inline bool anyInkNear(const QImage& image, QPoint at, int reach = 1) {
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
inline double contrast(const QColor& a, const QColor& b) {
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
inline QStringList closeBoxes(const std::function<void()>& trigger,
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

// The window object of the game, with its state in view.
class OpenGame : public Ausgabe {
public:
    explicit OpenGame(Window& window) : Ausgabe(window, random, NumberFormat::german()) {}
    const GameState& state() const { return state_; }
    ClockRandom random;
};

// A key press as the platform delivers it, first or repeated while held.
inline void pressKey(QWidget* target, Qt::Key key, bool autoRepeat = false) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(), autoRepeat);
    QApplication::sendEvent(target, &press);
}

// A key held down as X repeats it: a release and a press at one time, which
// Qt does not always flag as a repeat.
inline void repeatKeyAsX(QWidget* target, Qt::Key key, quint64 time) {
    for (const QEvent::Type type : {QEvent::KeyRelease, QEvent::KeyPress}) {
        QKeyEvent event(type, key, Qt::NoModifier);
        event.setTimestamp(time);
        QApplication::sendEvent(target, &event);
    }
}

// Where to press, in canvas pixels, to set `degrees`: 200 pixels from the
// vertex, close enough to the direction for any tolerance of a degree or more.
inline QPoint aimAt(double degrees) {
    const double phi = degrees * std::numbers::pi / 180;
    return {vertex + static_cast<int>(std::lround(200 * std::cos(phi))),
            vertex - static_cast<int>(std::lround(200 * std::sin(phi)))};
}

// The game in its window, started afresh for every test.
class GameWindow {
protected:
    // Once per test program: Qt prepared as the program prepares it.
    static void prepare() {
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

    bool open() {
        game = std::make_unique<QtGame>(QLocale(QLocale::German, QLocale::Germany));
        form = &game->form();
        game->start();
        return QTest::qWaitForWindowExposed(form);
    }

    void close() { game.reset(); }

    QLabel* label(const char* name) const { return form->findChild<QLabel*>(name); }
    QAction* action(const char* name) const { return form->findChild<QAction*>(name); }
    QImage grab() const { return form->canvas()->grab().toImage(); }
    LineShape blueLeg() const { return form->line(Line::Schenkel2); }
    // The target the window shows, from "Winkel = 137".
    double shownTarget() const { return label("LWinkel")->text().mid(9).toDouble(); }

    std::unique_ptr<QtGame> game;
    QtForm* form = nullptr;
};

} // namespace zirkulon::qttest
