// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/Ausgabe.h"
#include "platform/Random.h"
#include "platform/qt/QtForm.h"

#include <QLocale>

class QApplication;

namespace zirkulon {

// Names the application, as the desktop and the package know it, and
// prepares Qt for its windows in `locale`.
void setUpApplication(QApplication& application, const QLocale& locale);

// The game on Qt, wired as the program, the Qt tests and the benchmark run
// it: the window, the random source and the window object, with the numbers
// written and read in `locale`.
class QtGame {
public:
    explicit QtGame(const QLocale& locale = QLocale::system());
    ~QtGame() { form_.setEvents(nullptr); }
    QtGame(const QtGame&) = delete;
    QtGame& operator=(const QtGame&) = delete;

    // Raises the load event and shows the window.
    void start();

    QtForm& form() { return form_; }

private:
    QtForm form_;
    ClockRandom random_;
    Ausgabe ausgabe_;
};

} // namespace zirkulon
