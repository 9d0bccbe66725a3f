// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Form.h"

#include "platform/Design.h"

#include <utility>

namespace zirkulon {

namespace {

constexpr float pixel = design::twipsPerPixel;
// The focus frame: dark grey, about 7:1 against the light drawing surface.
constexpr design::Rgb focusColour{80, 80, 80};

} // namespace

// ---- The way in --------------------------------------------------------------

// Runs one handler; a resize that came meanwhile follows it, for the size the
// window has by then. The resize handler opens no box, so no resize can come
// while it runs.
void Form::raise(const void* handler, void (*call)(const void*, FormEvents&)) {
    if (!deliver_([=](FormEvents& e) { call(handler, e); })) {
        return;
    }
    if (std::exchange(resizeWaits_, false)) {
        width_ = shownWidth_;
        height_ = shownHeight_;
        deliver_([](FormEvents& e) { e.Form_Resize(); });
    }
    presentChanges();
}

void Form::presentChanges() {
    const Area area = changed_.intersected(surface());
    if (area.empty() && !readingChanged_) {
        return;
    }
    changed_ = {};
    present(area.empty() ? Area{} : area, std::exchange(readingChanged_, false));
}

void Form::load() {
    raise([](FormEvents& e) { e.Form_Load(); });
}

void Form::shown() {
    if (std::exchange(shown_, true)) {
        return;
    }
    resized(shownWidth_, shownHeight_);
}

void Form::resized(float width, float height) {
    shownWidth_ = width;
    shownHeight_ = height;
    if (!shown_) {
        width_ = width;
        height_ = height;
        return;
    }
    if (running()) {
        resizeWaits_ = true;
        return;
    }
    width_ = width;
    height_ = height;
    raise([](FormEvents& e) { e.Form_Resize(); });
}

void Form::menuChosen(std::size_t position) {
    if (position < design::menu.size()) {
        const auto handler = design::menu[position].handler;
        raise([handler](FormEvents& e) { (e.*handler)(); });
    }
}

void Form::pointerPressed(std::int16_t button, std::int16_t shift, float x, float y) {
    if (button != 0) { // else a button the game has no name for (back, forward)
        raise([=](FormEvents& e) { e.Form_MouseDown(button, shift, x, y); });
    }
}

void Form::pointerMoved(std::int16_t buttons, std::int16_t shift, float x, float y) {
    raise([=](FormEvents& e) { e.Form_MouseMove(buttons, shift, x, y); });
}

bool Form::keyPressed(std::int16_t keyCode, std::int16_t shift) {
    if (!turnsTheLeg(keyCode)) {
        return false;
    }
    raise([=](FormEvents& e) { e.Form_KeyDown(keyCode, shift); });
    return true;
}

void Form::focusChanged(bool focused) {
    if (std::exchange(focused_, focused) != focused) {
        invalidate(surface());
        presentChanges();
    }
}

// ---- Drawing -------------------------------------------------------------------

void Form::paint(Painter& painter, const Area& area) const {
    painter.fill(area, design::surfaceColour);
    // Beneath the arc and the legs, so that it never hides them; left out
    // where the area lies wholly within it, as a move's mostly does.
    const Area frame = focusFrameOf(surface());
    constexpr float reach = 2 * pixel;
    const bool onFrame = area.left < frame.left + reach || area.top < frame.top + reach ||
                         area.right > frame.right - reach || area.bottom > frame.bottom - reach;
    if (focused_ && onFrame) {
        painter.focusFrame(frame, 2 * pixel, focusColour);
    }
    for (const Arc& arc : arcs_) {
        painter.arc(arc, design::arcWidthPixels * pixel, design::arcColour);
    }
    painter.line(lines_[Line::Schenkel1], design::legWidthPixels * pixel, design::schenkel1Colour);
    painter.line(lines_[Line::Schenkel2], design::legWidthPixels * pixel, design::schenkel2Colour);
}

// What changes is repainted: where a leg or an arc was, and where it is now.
void Form::setLine(Line which, const LineShape& shape) {
    const LineShape before = lines_[which];
    if (lines_.set(which, shape)) {
        invalidate(areaOf(before));
        invalidate(areaOf(shape));
    }
}

void Form::cls() {
    for (const Arc& arc : arcs_) {
        invalidate(areaOf(arc));
    }
    arcs_.clear();
}

void Form::circle(float x, float y, float radius, float start, float end) {
    arcs_.push_back(makeArc(x, y, radius, start, end));
    invalidate(areaOf(arcs_.back()));
}

// Many moves of the pointer leave the whole degrees as they are.
void Form::describeAngle(std::int16_t degrees, const std::string& text) {
    if (degrees == degrees_ && text == reading_) {
        return;
    }
    degrees_ = degrees;
    reading_ = text;
    tellReading();
}

void Form::tellReading() {
    if (readingPaused_) {
        readingWaits_ = true;
        return;
    }
    readingChanged_ = true;
    readingPaused_ = true;
    wakeAfter(readingPause);
}

void Form::woken() {
    readingPaused_ = false;
    if (std::exchange(readingWaits_, false)) {
        tellReading();
        presentChanges();
    }
}

} // namespace zirkulon
