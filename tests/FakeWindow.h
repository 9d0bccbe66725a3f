// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/Ausgabe.h"
#include "platform/Arc.h"
#include "platform/Design.h"
#include "platform/LineStore.h"
#include "platform/Random.h"
#include "platform/Window.h"

#include <array>
#include <deque>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace zirkulon::test {

// A window without a window: records every box, caption and drawing call in
// order, and answers input boxes from a script. Running out of script is a
// fault of the test, reported as std::logic_error.
class FakeWindow : public Window {
public:
    struct Box {
        std::string text;
        std::string title;
    };

    // Script
    std::deque<std::string> answers; // what the player types; "" for cancel
    float width = design::innerWidth;
    float height = design::innerHeight;

    // Record
    std::vector<std::string> log;
    std::vector<Box> boxes;
    std::vector<std::string> defaults; // of each input box, in order
    std::vector<Arc> arcs;             // since the last cls
    std::string caption = "Zirkulon";
    std::array<std::string, 3> labels;
    LineStore lines;
    std::pair<std::int16_t, std::string> reading{-1, ""}; // the surface's, as last described
    int clsCount = 0;
    bool unloaded = false;

    void messageBox(const std::string& text, const std::string& title = {}) override {
        boxes.push_back({text, title.empty() ? "Zirkulon" : title});
        log.push_back("box " + boxes.back().title + ": " + text);
    }
    std::string inputBox(const std::string& prompt, const std::string& defaultText) override {
        if (prompt != "Gib die Genauigkeit in Grad ein.") {
            throw std::logic_error("unexpected prompt: " + prompt);
        }
        defaults.push_back(defaultText);
        log.push_back("input [" + defaultText + "]");
        if (answers.empty()) {
            throw std::logic_error("input box opened with no scripted answer");
        }
        std::string answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void setCaption(const std::string& text) override {
        caption = text;
        log.push_back("caption: " + text);
    }
    void setCaption(Label label, const std::string& text) override {
        labels[static_cast<std::size_t>(label)] = text;
        log.push_back("label: " + text);
    }
    const std::string& label(Label which) const { return labels[static_cast<std::size_t>(which)]; }
    LineShape line(Line which) const override { return lines[which]; }
    void setLine(Line which, const LineShape& shape) override { lines.set(which, shape); }
    float scaleWidth() const override { return width; }
    float scaleHeight() const override { return height; }
    void cls() override {
        ++clsCount;
        arcs.clear();
    }
    void circle(float x, float y, float radius, float start, float end) override {
        arcs.push_back(makeArc(x, y, radius, start, end));
        lastCircle = {x, y, radius, start, end};
    }
    void describeAngle(std::int16_t degrees, const std::string& text) override {
        reading = {degrees, text};
    }
    void unload() override { unloaded = true; }

    struct CircleCall {
        float x, y, radius, start, end;
    };
    CircleCall lastCircle{};
};

// Random numbers from a script.
class ScriptedRandom : public RandomSource {
public:
    std::deque<float> numbers;
    int reseeds = 0;

    void reseed() override { ++reseeds; }
    float next() override {
        if (numbers.empty()) {
            throw std::logic_error("random number asked for with none scripted");
        }
        const float r = numbers.front();
        numbers.pop_front();
        return r;
    }
};

// The window object with its state open to the test that owns it.
class TestAusgabe : public Ausgabe {
public:
    using Ausgabe::Ausgabe;
    GameState& state() { return state_; }
    const GameState& state() const { return state_; }
};

// A window object on the fakes, not yet loaded.
struct Rig {
    explicit Rig(NumberFormat numberFormat = NumberFormat::german())
        : format(std::move(numberFormat)), ausgabe(window, random, format) {}

    NumberFormat format;
    FakeWindow window;
    ScriptedRandom random;
    TestAusgabe ausgabe;
};

} // namespace zirkulon::test
