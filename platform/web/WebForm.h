// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "numerics/NumberText.h"
#include "platform/Delivery.h"
#include "platform/LineStore.h"
#include "platform/Window.h"

#include <string>

namespace zirkulon {

// The game's one window in a web page (web/page.js draws it): the title bar,
// the menu bar, the labels and the drawing surface, scaled to fit the
// browser's viewport while the game sees the designed 548 x 548 pixels; and
// modal <dialog> boxes, for which a handler waits (Asyncify) until the player
// has closed them. The page raises the window's events one at a time through
// the functions exported below and holds back input while a handler runs;
// the EventDelivery writes an error that ends a handler to the browser's
// console.
class WebForm final : public Window {
public:
    // Builds the window in the page from its design. One per page.
    WebForm();
    ~WebForm() override;
    WebForm(const WebForm&) = delete;
    WebForm& operator=(const WebForm&) = delete;

    // The object whose handlers the window's events run; not owned.
    void setEvents(FormEvents* events) { deliver_.setEvents(events); }
    // Raises the load event, then the resize event as the window is shown.
    void load();

    // Raises the page's events; used by its entry points.
    EventDelivery& delivery() { return deliver_; }

    // Window
    void messageBox(const std::string& text, const std::string& title = {}) override;
    std::string inputBox(const std::string& prompt, const std::string& defaultText) override;
    void setCaption(const std::string& text) override;
    void setCaption(Label label, const std::string& text) override;
    LineShape line(Line which) const override { return lines_[which]; }
    void setLine(Line which, const LineShape& shape) override;
    float scaleWidth() const override;
    float scaleHeight() const override;
    void cls() override;
    void circle(float x, float y, float radius, float start, float end) override;
    void describeAngle(std::int16_t degrees, const std::string& text) override;
    void unload() override;

private:
    EventDelivery deliver_;
    LineStore lines_;
    std::string reading_; // the slider's value text, told to the page only when it changes
};

// How numbers are written in the browser's language, as the page reads it
// from the browser (Intl.NumberFormat) when a text first needs a separator.
NumberFormat browserNumberFormat();

} // namespace zirkulon
