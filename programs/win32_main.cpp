// SPDX-License-Identifier: GPL-3.0-or-later
// The game on Windows, until its window is gone.
#include "programs/Win32Game.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, PWSTR /*commandLine*/, int show) {
    zirkulon::Win32Game game(instance);
    game.start(show);
    return zirkulon::win32::runMessageLoop();
}
