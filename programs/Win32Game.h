// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/Ausgabe.h"
#include "platform/Random.h"
#include "platform/win32/Program.h"
#include "platform/win32/Win32Form.h"

#include <windows.h>

namespace zirkulon {

// The game on Windows, wired as the program and the benchmark run it: the
// window, the random source and the window object, with numbers written and
// read as the user's Windows locale writes them.
class Win32Game {
public:
    explicit Win32Game(HINSTANCE instance)
        : form_(instance), ausgabe_(form_, random_, win32::userNumberFormat()) {
        form_.setEvents(&ausgabe_);
    }
    ~Win32Game() { form_.setEvents(nullptr); }
    Win32Game(const Win32Game&) = delete;
    Win32Game& operator=(const Win32Game&) = delete;

    // Raises the load event and shows the window as `how` asks (SW_...).
    void start(int how) {
        form_.load();
        form_.show(how);
    }

    win32::Win32Form& form() { return form_; }

private:
    win32::Win32Form form_;
    ClockRandom random_;
    Ausgabe ausgabe_;
};

} // namespace zirkulon
