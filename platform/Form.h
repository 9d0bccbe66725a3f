// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Arc.h"
#include "platform/Delivery.h"
#include "platform/LineStore.h"
#include "platform/Picture.h"
#include "platform/Window.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zirkulon {

// The game's window as every platform has it. It keeps the two legs and the
// arcs, in scale units, knows which area of the drawing surface each change
// touches, and paints the whole picture in one walk through a Painter. Events
// come in through its entry points, with what the window system gave them,
// and go to the window object one at a time (see Window for the guarantees).
//
// A platform derives from it and adds only what differs: its boxes and
// captions, repainting an area and telling assistive technology the reading
// when asked (present), a timer, unloading, and the translation of its own
// events into the entry points below.
class Form : public Window {
public:
    // Where the message of an error that ended a handler goes.
    explicit Form(EventDelivery::Report report) : deliver_(report) {}

    // The object whose handlers the window's events run; not owned.
    void setEvents(FormEvents* events) { deliver_.setEvents(events); }

    // ---- The way in ------------------------------------------------------

    // The load event; once, before the window is first shown.
    void load();
    // The window is on the screen: the first resize event. Once.
    void shown();
    // The inner area's size, in scale units, whenever it changes (and
    // before the window is shown); raises the resize event from shown() on.
    void resized(float width, float height);
    // The menu command at `position` (0 "Neu" to 5 "Ende").
    void menuChosen(std::size_t position);
    // A mouse button (or pen, or finger) pressed, and the pointer moved, at
    // (x, y) scale units: `button` the one pressed (0, one the game does not
    // name, raises nothing), `buttons` the ones held.
    void pointerPressed(std::int16_t button, std::int16_t shift, float x, float y);
    void pointerMoved(std::int16_t buttons, std::int16_t shift, float x, float y);
    // A key pressed, or repeated while held, on the drawing surface. Whether
    // the surface took it: the keys that turn the leg are its own, every
    // other key goes on to the window system.
    bool keyPressed(std::int16_t keyCode, std::int16_t shift);
    // The drawing surface gained or lost the keyboard focus, which the focus
    // frame shows.
    void focusChanged(bool focused);
    // The time that wakeAfter asked for has come.
    void woken();

    // ---- Drawing -----------------------------------------------------------

    // Paints the surface's background, the focus frame, the arcs and the two
    // legs, in that order, over `area`; a platform clips to it.
    void paint(Painter& painter, const Area& area) const;
    // The drawing surface as it is now, which may be larger or smaller than
    // what the handlers see while a resize waits.
    Area surface() const { return {0, 0, shownWidth_, shownHeight_}; }

    // The reading assistive technology gets: whole degrees, and in words. It
    // is told of a change at once, and while the reading goes on changing
    // (a drag, a held key) at most once every tenth of a second, the last
    // change included: a screen reader need not say every step of the way,
    // and the pointer need not wait for it.
    std::int16_t degrees() const { return degrees_; }
    const std::string& reading() const { return reading_; }
    static constexpr int readingPause = 100; // milliseconds

    // ---- Window ------------------------------------------------------------

    LineShape line(Line which) const override { return lines_[which]; }
    void setLine(Line which, const LineShape& shape) override;
    float scaleWidth() const override { return width_; }
    float scaleHeight() const override { return height_; }
    void cls() override;
    void circle(float x, float y, float radius, float start, float end) override;
    void describeAngle(std::int16_t degrees, const std::string& text) override;

protected:
    // After unload: no further event is raised.
    void stop() { deliver_.stop(); }
    // Whether a handler is running, perhaps waiting in a box.
    bool running() const { return deliver_.running(); }

    // What changed since the last time, once a handler has returned (or
    // opens a box), the focus has changed or the reading has been told:
    // `area` of the surface to repaint, empty where nothing changed there,
    // and whether assistive technology is to hear the reading.
    virtual void present(const Area& area, bool readingChanged) = 0;
    // Presents what has changed so far, if anything has.
    void presentChanges();
    // Have woken() called once, after about `milliseconds`.
    virtual void wakeAfter(int milliseconds) = 0;

private:
    // Runs `handler` on the window object, through the one place that
    // delivers events: `call` runs the handler object it is given.
    void tellReading();
    void invalidate(const Area& area) { changed_ = changed_.united(area); }
    template <typename Handler> void raise(const Handler& handler) {
        raise(&handler, [](const void* h, FormEvents& e) { (*static_cast<const Handler*>(h))(e); });
    }
    void raise(const void* handler, void (*call)(const void*, FormEvents&));

    EventDelivery deliver_;
    LineStore lines_;
    std::vector<Arc> arcs_;
    float width_ = 0; // as the handlers see it
    float height_ = 0;
    float shownWidth_ = 0; // as the window has it
    float shownHeight_ = 0;
    bool shown_ = false;
    bool resizeWaits_ = false;
    bool focused_ = false;
    std::int16_t degrees_ = 0;
    std::string reading_;
    Area changed_;                // to repaint
    bool readingChanged_ = false; // to tell
    bool readingPaused_ = false;  // told less than a pause ago
    bool readingWaits_ = false;   // changed since
};

} // namespace zirkulon
