// SPDX-License-Identifier: GPL-3.0-or-later
// The game on Windows: the window, the random source and the window object,
// with numbers written and read as the user's Windows locale writes them.
#include "app/Ausgabe.h"
#include "platform/Random.h"
#include "platform/win32/Program.h"
#include "platform/win32/Win32Form.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, PWSTR /*commandLine*/, int show) {
    zirkulon::win32::Win32Form form(instance);
    zirkulon::ClockRandom random;
    zirkulon::Ausgabe ausgabe(form, random, zirkulon::win32::userNumberFormat());
    form.setEvents(&ausgabe);
    form.load();
    form.show(show);
    const int exitCode = zirkulon::win32::runMessageLoop();
    form.setEvents(nullptr);
    return exitCode;
}
