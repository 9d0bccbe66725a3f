#pragma once

#include "platform/Arc.h"
#include "platform/Platform.h"

#include <array>
#include <deque>
#include <stdexcept>
#include <string>
#include <vector>

namespace zirkulon::test {

// A window without a window: records every box, caption and drawing call in
// order, and answers input boxes and random numbers from a script. Running
// out of script is a fault of the test, reported as std::logic_error.
class FakePlatform : public Platform {
public:
    struct Box {
        std::string text;
        std::string title;
    };
    struct Input {
        std::string prompt;
        std::string defaultText;
    };

    // Script
    std::deque<float> randoms;
    std::deque<std::string> answers; // what the player types; "" for cancel
    NumberFormat format = NumberFormat::german();
    float width = 8220;
    float height = 8220;

    // Record
    std::vector<std::string> log;
    std::vector<Box> boxes;
    std::vector<Input> inputs;
    std::vector<Arc> arcs; // since the last cls
    std::string windowCaption = "Zirkulon";
    std::array<std::string, 3> labels;
    std::array<LineShape, 2> lines{LineShape{3600, 3000, 7200, 3000},
                                   LineShape{3600, 3000, 3600, 720}};
    int clsCount = 0;
    int reseedCount = 0;
    bool unloaded = false;

    void messageBox(const std::string& text, const std::string& title = {}) override {
        boxes.push_back({text, title.empty() ? "Zirkulon" : title});
        log.push_back("box " + boxes.back().title + ": " + text);
    }
    std::string inputBox(const std::string& prompt, const std::string& defaultText) override {
        inputs.push_back({prompt, defaultText});
        log.push_back("input [" + defaultText + "]");
        if (answers.empty()) {
            throw std::logic_error("input box opened with no scripted answer");
        }
        std::string answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void setCaption(const std::string& text) override {
        windowCaption = text;
        log.push_back("caption: " + text);
    }
    void setCaption(Label label, const std::string& text) override {
        labels[static_cast<std::size_t>(label)] = text;
        log.push_back("label: " + text);
    }
    const std::string& label(Label which) const { return labels[static_cast<std::size_t>(which)]; }
    LineShape line(Line which) const override { return lines[index(which)]; }
    void setLine(Line which, const LineShape& shape) override { lines[index(which)] = shape; }
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
    void unload() override { unloaded = true; }
    void reseed() override { ++reseedCount; }
    float nextRandom() override {
        if (randoms.empty()) {
            throw std::logic_error("random number asked for with none scripted");
        }
        const float r = randoms.front();
        randoms.pop_front();
        return r;
    }
    const NumberFormat& numberFormat() const override { return format; }

    struct CircleCall {
        float x, y, radius, start, end;
    };
    CircleCall lastCircle{};

private:
    static std::size_t index(Line which) { return which == Line::Schenkel1 ? 0 : 1; }
};

} // namespace zirkulon::test
