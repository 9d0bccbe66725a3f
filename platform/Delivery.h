// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Window.h"

#include <exception>
#include <string>

namespace zirkulon {

// What every window does between its window system and the window object:
// raises one event at a time, never inside a running handler, none after
// unload, and catches once, here, whatever error ends a handler.
class EventDelivery {
public:
    // Where the message of an error that ended a handler goes (a log, a console).
    using Report = void (*)(const std::string& message);

    explicit EventDelivery(Report report) : report_(report) {}

    // The object whose handlers the events run; not owned.
    void setEvents(FormEvents* events) { events_ = events; }
    // No event is raised from here on.
    void stop() { stopped_ = true; }
    bool stopped() const { return stopped_; }
    // Whether a handler is running: a box it opened is showing, or it is
    // drawing. An event that arrives then is not raised.
    bool running() const { return running_; }

    // Runs `handler` on the window object; false where it did not run.
    template <typename Handler> bool operator()(Handler&& handler) {
        if (events_ == nullptr || stopped_ || running_) {
            return false;
        }
        running_ = true;
        // An error ends the handler that raised it and nothing else: the
        // window and the game's state stay as the handler left them.
        try {
            handler(*events_);
        } catch (const std::exception& error) {
            report_(error.what());
        } catch (...) {
            report_("unbekannter Fehler");
        }
        running_ = false;
        return true;
    }

private:
    Report report_;
    FormEvents* events_ = nullptr;
    bool stopped_ = false;
    bool running_ = false;
};

} // namespace zirkulon
