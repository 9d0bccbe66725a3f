// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/web/WebForm.h"

#include "platform/Design.h"

#include <emscripten/em_js.h>
#include <emscripten/emscripten.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

// ---- The page (web/page.js), as the window's operations reach it ----------

// Colours as 0xRRGGBB, as the drawing commands have them.
EM_JS(void, page_set_design,
      (int innerWidth, int innerHeight, int twipsPerPixel, const char* title, const char* font,
       const char* substitute, int pointSize, const char* surfaceName, int surfaceColour,
       int inkColour, const char* okCaption, const char* cancelCaption),
      {
          Module.page.setDesign({
              innerWidth : innerWidth,
              innerHeight : innerHeight,
              twipsPerPixel : twipsPerPixel,
              title : UTF8ToString(title),
              font : UTF8ToString(font),
              substitute : UTF8ToString(substitute),
              pointSize : pointSize,
              surfaceName : UTF8ToString(surfaceName),
              surfaceColour : surfaceColour,
              inkColour : inkColour,
              okCaption : UTF8ToString(okCaption),
              cancelCaption : UTF8ToString(cancelCaption)
          });
      });
EM_JS(void, page_add_label,
      (int index, const char* name, int left, int top, int width, int height,
       const char* description),
      {
          Module.page.addLabel(index, UTF8ToString(name), left, top, width, height,
                               UTF8ToString(description));
      });
EM_JS(void, page_add_menu_item, (int index, const char* name, const char* caption),
      { Module.page.addMenuItem(index, UTF8ToString(name), UTF8ToString(caption)); });
EM_JS(void, page_add_key, (const char* name, int code, int turns, int once),
      { Module.page.addKey(UTF8ToString(name), code, turns != 0, once != 0); });
EM_JS(void, page_set_caption, (int label, const char* text),
      { Module.page.setCaption(label, UTF8ToString(text)); });
// The whole picture as drawing commands (see PageDrawing), and the area of
// it that changed; the slider's value where it changed (degrees -1 else).
EM_JS(void, page_update,
      (const double* picture, int length, double left, double top, double right, double bottom,
       int degrees, const char* text),
      {
          Module.page.update(
              length > 0 ? HEAPF64.subarray(picture >> 3, (picture >> 3) + length) : null,
              [ left, top, right, bottom ], degrees, degrees < 0 ? null : UTF8ToString(text));
      });
EM_JS(void, page_wake_after, (int milliseconds), { Module.page.wakeAfter(milliseconds); });
EM_JS(void, page_unload, (), { Module.page.unload(); });
EM_ASYNC_JS(void, page_message_box, (const char* text, const char* title),
            { await Module.page.messageBox(UTF8ToString(text), UTF8ToString(title)); });
// The text entered; "decimal\ngroup". Each in memory the caller frees.
EM_ASYNC_JS(char*, page_input_box, (const char* prompt, const char* defaultText), {
    return allocateUTF8(
        await Module.page.inputBox(UTF8ToString(prompt), UTF8ToString(defaultText)));
});
EM_JS(char*, page_number_format, (), { return allocateUTF8(Module.page.numberFormat()); });

namespace zirkulon {

namespace {

constexpr int windowCaption = -1;

WebForm* thePage = nullptr;

void report(const std::string& message) {
    std::fprintf(stderr, "zirkulon: %s\n", message.c_str());
}

std::string ownedText(char* text) {
    const std::unique_ptr<char, decltype(&std::free)> owner(text, &std::free);
    return text;
}

std::string text(std::string_view view) {
    return std::string(view);
}

int packed(design::Rgb c) {
    return c.red << 16 | c.green << 8 | c.blue;
}

// The page's keys (KeyboardEvent.key) that the game or its boxes act on.
struct PageKey {
    const char* name;
    KeyCode code;
};
constexpr PageKey pageKeys[] = {
    {"Enter", KeyReturn},     {" ", KeySpace},           {"Escape", KeyEscape},
    {"PageUp", KeyPageUp},    {"PageDown", KeyPageDown}, {"End", KeyEnd},
    {"Home", KeyHome},        {"ArrowLeft", KeyLeft},    {"ArrowUp", KeyUp},
    {"ArrowRight", KeyRight}, {"ArrowDown", KeyDown},
};

// The picture as the page draws it: numbers, each command its code and its
// arguments, positions and widths in scale units, colours as 0xRRGGBB.
class PageDrawing final : public Painter {
public:
    enum Command { Fill = 0, FocusFrame = 1, Line = 2, Arc = 3 };

    explicit PageDrawing(std::vector<double>& commands) : commands_(commands) { commands_.clear(); }

    void fill(const Area& a, design::Rgb colour) override {
        add({Fill, a.left, a.top, a.right, a.bottom, packed(colour)});
    }
    // The page shows the focus itself, only for the keyboard (:focus-visible).
    void focusFrame(const Area&, float, design::Rgb) override {}
    void line(const LineShape& s, float width, design::Rgb colour) override {
        add({Line, s.X1, s.Y1, s.X2, s.Y2, width, packed(colour)});
    }
    void arc(const zirkulon::Arc& a, float width, design::Rgb colour) override {
        add({Arc, a.centreX, a.centreY, a.radius, a.start, a.sweep,
             (a.radiusToStart ? 1.0 : 0.0) + (a.radiusToEnd ? 2.0 : 0.0), width, packed(colour)});
    }

private:
    void add(std::initializer_list<double> numbers) { commands_.insert(commands_.end(), numbers); }
    static double packed(design::Rgb colour) { return zirkulon::packed(colour); }

    std::vector<double>& commands_;
};

} // namespace

WebForm::WebForm() : Form(&report) {
    thePage = this;
    page_set_design(design::innerWidth, design::innerHeight, design::twipsPerPixel,
                    text(design::applicationTitle).c_str(), text(design::labelFont).c_str(),
                    text(design::labelFontSubstitute).c_str(), design::labelPointSize,
                    text(design::surfaceDescription).c_str(), packed(design::surfaceColour),
                    packed(design::arcColour), text(design::okCaption).c_str(),
                    text(design::cancelCaption).c_str());
    for (const auto& label : design::labels) {
        page_add_label(static_cast<int>(label.label), text(label.name).c_str(), label.left,
                       label.top, label.width, label.height, text(label.description).c_str());
    }
    for (std::size_t i = 0; i < design::menu.size(); ++i) {
        page_add_menu_item(static_cast<int>(i), text(design::menu[i].name).c_str(),
                           text(design::menu[i].caption).c_str());
    }
    for (const PageKey& key : pageKeys) {
        page_add_key(key.name, key.code, turnsTheLeg(key.code), actsOnFirstPressOnly(key.code));
    }
    setCaption(text(design::applicationTitle));
    resized(design::innerWidth, design::innerHeight);
}

WebForm::~WebForm() {
    thePage = nullptr;
}

void WebForm::start() {
    load();
    shown();
}

// One call a handler: the whole picture, kept by the page for whenever it
// has to draw the canvas anew, and the area to draw now.
void WebForm::present(const Area& area, bool readingChanged) {
    int length = 0;
    if (!area.empty()) {
        PageDrawing drawing(picture_);
        paint(drawing, surface());
        length = static_cast<int>(picture_.size());
    }
    page_update(picture_.data(), length, area.left, area.top, area.right, area.bottom,
                readingChanged ? degrees() : -1, reading().c_str());
}

// The box covers the window: what the handler drew before it is shown first.
void WebForm::messageBox(const std::string& text, const std::string& title) {
    presentChanges();
    page_message_box(text.c_str(), std::string(design::boxTitle(title)).c_str());
}

std::string WebForm::inputBox(const std::string& prompt, const std::string& defaultText) {
    presentChanges();
    return ownedText(page_input_box(prompt.c_str(), defaultText.c_str()));
}

void WebForm::setCaption(const std::string& text) {
    page_set_caption(windowCaption, text.c_str());
}

void WebForm::setCaption(Label label, const std::string& text) {
    page_set_caption(static_cast<int>(label), text.c_str());
}

void WebForm::wakeAfter(int milliseconds) {
    page_wake_after(milliseconds);
}

void WebForm::unload() {
    stop();
    page_unload();
}

NumberFormat browserNumberFormat() {
    return NumberFormat([] {
        const std::string format = ownedText(page_number_format());
        const auto newline = format.find('\n');
        return NumberFormat::Separators{format.substr(0, newline),
                                        newline == std::string::npos ? std::string()
                                                                     : format.substr(newline + 1)};
    });
}

} // namespace zirkulon

// ---- The events, as the page raises them ----------------------------------

extern "C" {

// A click on menu item `index` (0 "Neu" to 5 "Ende").
EMSCRIPTEN_KEEPALIVE void zirkulon_menu(int index) {
    if (zirkulon::thePage != nullptr && index >= 0) {
        zirkulon::thePage->menuChosen(static_cast<std::size_t>(index));
    }
}

// A pointer event of the page at (x, y) window pixels from the inner area's
// top left corner, its buttons as PointerEvent counts them: `changed` the
// one that went down or up (0 main, 1 middle, 2 right; -1 for a move), and
// `held` those held (1 main, 2 right, 4 middle). A pen's tip and a finger
// are the main button. A button that went down while another is held is a
// press of that button; one that went up is no event of the game.
EMSCRIPTEN_KEEPALIVE void zirkulon_pointer(int changed, int held, int shift, int ctrl, int alt,
                                           double x, double y) {
    using namespace zirkulon;
    if (thePage == nullptr) {
        return;
    }
    const std::int16_t buttons = buttonsHeld(held & 1, held & 2, held & 4);
    const std::int16_t keys = shiftHeld(shift != 0, ctrl != 0, alt != 0);
    const float scaleX = design::toScaleUnits(x);
    const float scaleY = design::toScaleUnits(y);
    if (changed < 0) {
        thePage->pointerMoved(buttons, keys, scaleX, scaleY);
        return;
    }
    constexpr std::int16_t pageButtons[] = {LeftButton, MiddleButton, RightButton};
    const std::int16_t button = changed <= 2 ? pageButtons[changed] : 0;
    if ((buttons & button) != 0) {
        thePage->pointerPressed(button, keys, scaleX, scaleY);
    }
}

// The time the form asked the page for has come (page.wakeAfter).
EMSCRIPTEN_KEEPALIVE void zirkulon_woken() {
    if (zirkulon::thePage != nullptr) {
        zirkulon::thePage->woken();
    }
}

// A key of the drawing surface, pressed or repeated: its code as the page
// was told it (page.addKey).
EMSCRIPTEN_KEEPALIVE void zirkulon_key(int code, int shift, int ctrl, int alt) {
    if (zirkulon::thePage != nullptr) {
        zirkulon::thePage->keyPressed(static_cast<std::int16_t>(code),
                                      zirkulon::shiftHeld(shift != 0, ctrl != 0, alt != 0));
    }
}

} // extern "C"
