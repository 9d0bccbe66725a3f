// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Delivery.h"
#include "platform/Window.h"
#include "platform/qt/FormCanvas.h"

#include <QMainWindow>

#include <array>

class QCoreApplication;
class QLabel;
class QLocale;

namespace zirkulon {

// The game's one window on Qt: the menu bar above the inner area, whose
// labels, legs and drawing surface FormCanvas shows, and modal boxes. It
// raises the window's events on a FormEvents object through an
// EventDelivery, which logs an error that ends a handler under the
// "zirkulon" category. A resize that comes while a box is open (the window
// manager may resize the window then) is raised once the running handler has
// returned.
class QtForm final : public QMainWindow, public Window {
    Q_OBJECT
public:
    explicit QtForm(QWidget* parent = nullptr);

    // The object whose handlers the window's events run; not owned.
    void setEvents(FormEvents* events) { deliver_.setEvents(events); }
    // Raises the load event; call once, before the window is first shown.
    void load();

    FormCanvas* canvas() const { return canvas_; }

    // Window
    void messageBox(const std::string& text, const std::string& title = {}) override;
    std::string inputBox(const std::string& prompt, const std::string& defaultText) override;
    void setCaption(const std::string& text) override;
    void setCaption(Label label, const std::string& text) override;
    LineShape line(Line which) const override { return canvas_->line(which); }
    void setLine(Line which, const LineShape& shape) override { canvas_->setLine(which, shape); }
    float scaleWidth() const override;
    float scaleHeight() const override;
    void cls() override { canvas_->clear(); }
    void circle(float x, float y, float radius, float start, float end) override;
    void describeAngle(std::int16_t degrees, const std::string& text) override;
    void unload() override;

private:
    void addLabels();
    void addMenu();
    void connectCanvas();
    template <typename Handler> void raise(Handler&& handler);
    void resized();

    EventDelivery deliver_;
    bool resizePending_ = false;
    FormCanvas* canvas_ = nullptr;
    std::array<QLabel*, 3> labels_{};
};

// Sets up, once per application, what every Zirkulon window on Qt relies on:
// Comic Neue standing in for the labels' font where Comic Sans MS is missing,
// key repeats that never press a button or run a command, and Qt's own
// translations for `locale`, so that the boxes' buttons speak
// the desktop's language («Abbrechen» on a German desktop). Returns whether a
// translation was found; English needs none.
bool prepareApplication(QCoreApplication& application, const QLocale& locale);

} // namespace zirkulon
