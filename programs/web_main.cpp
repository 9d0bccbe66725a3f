// SPDX-License-Identifier: GPL-3.0-or-later
// The game in a web page: the window, the random source and the window
// object, with numbers written and read in the browser's language. They live
// as long as the page; the page raises their events after main has returned.
#include "app/Ausgabe.h"
#include "platform/Random.h"
#include "platform/web/WebForm.h"

int main() {
    static zirkulon::WebForm form;
    static zirkulon::ClockRandom random;
    static zirkulon::Ausgabe ausgabe(form, random, zirkulon::browserNumberFormat());
    form.setEvents(&ausgabe);
    form.start();
    return 0;
}
