// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "numerics/NumberText.h"
#include "platform/Form.h"

#include <string>
#include <vector>

namespace zirkulon {

// The game's one window in a web page (web/page), scaled to fit the viewport
// while the game sees its designed 548 x 548 pixels, with modal <dialog>
// boxes for which a handler waits (Asyncify). The page raises the window's
// events through the functions exported at the end of WebForm.cpp, one at a
// time, and gets what a handler drew in one call. An error that ends a
// handler goes to the browser's console.
class WebForm final : public Form {
public:
    // Builds the window in the page from its design. One per page.
    WebForm();
    ~WebForm() override;
    WebForm(const WebForm&) = delete;
    WebForm& operator=(const WebForm&) = delete;

    // Raises the load event, then the resize event as the window is shown:
    // the window keeps its designed inner size, and the page scales it as a whole.
    void start();

    // Window
    void messageBox(const std::string& text, const std::string& title = {}) override;
    std::string inputBox(const std::string& prompt, const std::string& defaultText) override;
    void setCaption(const std::string& text) override;
    void setCaption(Label label, const std::string& text) override;
    void unload() override;

private:
    void present(const Area& area, bool readingChanged) override;
    void wakeAfter(int milliseconds) override;

    std::vector<double> picture_; // what the page is given to draw, kept for the next time
};

// How numbers are written in the browser's language, as the page reads it
// from the browser (Intl.NumberFormat) when a text first needs a separator.
NumberFormat browserNumberFormat();

} // namespace zirkulon
