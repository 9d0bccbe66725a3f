// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Form.h"
#include "platform/qt/FormCanvas.h"

#include <QMainWindow>

#include <array>

class QCoreApplication;
class QLabel;
class QLocale;

namespace zirkulon {

// The game's one window on Qt: the menu bar, the inner area (FormCanvas) and
// modal boxes. An error that ends a handler is logged under the "zirkulon" category.
class QtForm final : public QMainWindow, public Form {
    Q_OBJECT
public:
    explicit QtForm(QWidget* parent = nullptr);
    // The canvas hands its events to the form, which it must not outlive.
    ~QtForm() override { delete canvas_; }

    FormCanvas* canvas() const { return canvas_; }

    // Window
    void messageBox(const std::string& text, const std::string& title = {}) override;
    std::string inputBox(const std::string& prompt, const std::string& defaultText) override;
    void setCaption(const std::string& text) override;
    void setCaption(Label label, const std::string& text) override;
    void unload() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void present(const Area& area, bool readingChanged) override;
    void wakeAfter(int milliseconds) override;
    void addLabels();

    FormCanvas* canvas_ = nullptr;
    std::array<QLabel*, 3> labels_{};
};

// Sets up, once per application, what every Zirkulon window on Qt relies on: Comic Neue
// for the labels where Comic Sans MS is missing, key repeats that never press a button or
// run a command, and Qt's own translations for `locale` for the boxes' buttons («Abbrechen»
// on a German desktop). Returns whether a translation was found; English needs none.
bool prepareApplication(QCoreApplication& application, const QLocale& locale);

} // namespace zirkulon
