// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/web/WebForm.h"

#include "platform/Arc.h"
#include "platform/Design.h"

#include <emscripten/em_js.h>
#include <emscripten/emscripten.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

// ---- The page (web/page.js), as the window's operations reach it ----------

// Colours are CSS colours, «rgb(240, 240, 240)».
EM_JS(void, page_set_design,
      (int innerWidth, int innerHeight, int twipsPerPixel, const char* title, const char* font,
       const char* substitute, int pointSize, int legWidth, int arcWidth, const char* surfaceName,
       const char* surfaceColour, const char* arcColour, const char* redColour,
       const char* blueColour, const char* okCaption, const char* cancelCaption),
      {
          Module.page.setDesign({
              innerWidth : innerWidth,
              innerHeight : innerHeight,
              twipsPerPixel : twipsPerPixel,
              title : UTF8ToString(title),
              font : UTF8ToString(font),
              substitute : UTF8ToString(substitute),
              pointSize : pointSize,
              legWidth : legWidth,
              arcWidth : arcWidth,
              surfaceName : UTF8ToString(surfaceName),
              surfaceColour : UTF8ToString(surfaceColour),
              arcColour : UTF8ToString(arcColour),
              legColours : [ UTF8ToString(redColour), UTF8ToString(blueColour) ],
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
EM_JS(void, page_set_caption, (int label, const char* text),
      { Module.page.setCaption(label, UTF8ToString(text)); });
EM_JS(void, page_set_line, (int which, float x1, float y1, float x2, float y2),
      { Module.page.setLine(which, x1, y1, x2, y2); });
EM_JS(void, page_clear, (), { Module.page.clear(); });
EM_JS(void, page_add_arc,
      (float x, float y, float radius, double start, double sweep, int radiusToStart,
       int radiusToEnd),
      { Module.page.addArc(x, y, radius, start, sweep, radiusToStart != 0, radiusToEnd != 0); });
EM_JS(void, page_describe_angle, (int degrees, const char* text),
      { Module.page.describeAngle(degrees, UTF8ToString(text)); });
EM_JS(void, page_unload, (), { Module.page.unload(); });
EM_ASYNC_JS(void, page_message_box, (const char* text, const char* title),
            { await Module.page.messageBox(UTF8ToString(text), UTF8ToString(title)); });
// The text entered, in memory the caller frees.
EM_ASYNC_JS(char*, page_input_box, (const char* prompt, const char* defaultText), {
    const text = await Module.page.inputBox(UTF8ToString(prompt), UTF8ToString(defaultText));
    const size = lengthBytesUTF8(text) + 1;
    const copy = _malloc(size);
    stringToUTF8(text, copy, size);
    return copy;
});
// "decimal\ngroup", in memory the caller frees.
EM_JS(char*, page_number_format, (), {
    const text = Module.page.numberFormat();
    const size = lengthBytesUTF8(text) + 1;
    const copy = _malloc(size);
    stringToUTF8(text, copy, size);
    return copy;
});

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

std::string cssColour(design::Rgb colour) {
    return "rgb(" + std::to_string(colour.red) + ", " + std::to_string(colour.green) + ", " +
           std::to_string(colour.blue) + ")";
}

} // namespace

WebForm::WebForm() : deliver_(&report) {
    thePage = this;
    page_set_design(
        design::innerWidth, design::innerHeight, design::twipsPerPixel,
        text(design::applicationTitle).c_str(), text(design::labelFont).c_str(),
        text(design::labelFontSubstitute).c_str(), design::labelPointSize, design::legWidthPixels,
        design::arcWidthPixels, text(design::surfaceDescription).c_str(),
        cssColour(design::surfaceColour).c_str(), cssColour(design::arcColour).c_str(),
        cssColour(design::schenkel1Colour).c_str(), cssColour(design::schenkel2Colour).c_str(),
        text(design::okCaption).c_str(), text(design::cancelCaption).c_str());
    for (const auto& label : design::labels) {
        page_add_label(static_cast<int>(label.label), text(label.name).c_str(), label.left,
                       label.top, label.width, label.height, text(label.description).c_str());
    }
    for (std::size_t i = 0; i < design::menu.size(); ++i) {
        page_add_menu_item(static_cast<int>(i), text(design::menu[i].name).c_str(),
                           text(design::menu[i].caption).c_str());
    }
    setCaption(text(design::applicationTitle));
    for (Line which : {Line::Schenkel1, Line::Schenkel2}) {
        const LineShape& shape = lines_[which];
        page_set_line(static_cast<int>(which), shape.X1, shape.Y1, shape.X2, shape.Y2);
    }
}

WebForm::~WebForm() {
    thePage = nullptr;
}

void WebForm::load() {
    deliver_([](FormEvents& e) { e.Form_Load(); });
    deliver_([](FormEvents& e) { e.Form_Resize(); });
}

void WebForm::messageBox(const std::string& text, const std::string& title) {
    page_message_box(text.c_str(), std::string(design::boxTitle(title)).c_str());
}

std::string WebForm::inputBox(const std::string& prompt, const std::string& defaultText) {
    return ownedText(page_input_box(prompt.c_str(), defaultText.c_str()));
}

void WebForm::setCaption(const std::string& text) {
    page_set_caption(windowCaption, text.c_str());
}

void WebForm::setCaption(Label label, const std::string& text) {
    page_set_caption(static_cast<int>(label), text.c_str());
}

void WebForm::setLine(Line which, const LineShape& shape) {
    if (lines_.set(which, shape)) {
        page_set_line(static_cast<int>(which), shape.X1, shape.Y1, shape.X2, shape.Y2);
    }
}

// The window keeps its designed inner size; the page scales it as a whole.
float WebForm::scaleWidth() const {
    return static_cast<float>(design::innerWidth);
}

float WebForm::scaleHeight() const {
    return static_cast<float>(design::innerHeight);
}

void WebForm::cls() {
    page_clear();
}

void WebForm::circle(float x, float y, float radius, float start, float end) {
    const Arc arc = makeArc(x, y, radius, start, end);
    page_add_arc(arc.centreX, arc.centreY, arc.radius, arc.start, arc.sweep, arc.radiusToStart,
                 arc.radiusToEnd);
}

// Most moves of the pointer leave the whole degrees as they are.
void WebForm::describeAngle(std::int16_t degrees, const std::string& text) {
    if (text == reading_) {
        return;
    }
    reading_ = text;
    page_describe_angle(degrees, text.c_str());
}

void WebForm::unload() {
    deliver_.stop();
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
    if (zirkulon::thePage == nullptr || index < 0 ||
        index >= static_cast<int>(zirkulon::design::menu.size())) {
        return;
    }
    const auto handler = zirkulon::design::menu[static_cast<std::size_t>(index)].handler;
    zirkulon::thePage->delivery()([handler](zirkulon::FormEvents& e) { (e.*handler)(); });
}

// A press of `button` (1 left, 2 right, 4 middle) or a move with `buttons`
// held, at (x, y) window pixels from the inner area's top left corner.
EMSCRIPTEN_KEEPALIVE void zirkulon_pointer(int press, int buttons, int shift, double x, double y) {
    if (zirkulon::thePage == nullptr) {
        return;
    }
    const auto button = static_cast<std::int16_t>(buttons);
    const auto keys = static_cast<std::int16_t>(shift);
    const float scaleX = zirkulon::design::toScaleUnits(x);
    const float scaleY = zirkulon::design::toScaleUnits(y);
    zirkulon::thePage->delivery()([=](zirkulon::FormEvents& e) {
        if (press != 0) {
            e.Form_MouseDown(button, keys, scaleX, scaleY);
        } else {
            e.Form_MouseMove(button, keys, scaleX, scaleY);
        }
    });
}

// A key that may turn the blue leg, pressed or repeated on the drawing
// surface: its Windows virtual-key code, and the shift keys held.
EMSCRIPTEN_KEEPALIVE void zirkulon_key(int keyCode, int shift) {
    if (zirkulon::thePage == nullptr) {
        return;
    }
    const auto key = static_cast<std::int16_t>(keyCode);
    const auto keys = static_cast<std::int16_t>(shift);
    zirkulon::thePage->delivery()([=](zirkulon::FormEvents& e) { e.Form_KeyDown(key, keys); });
}

} // extern "C"
