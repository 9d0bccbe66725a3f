// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Form.h"

#include <QWidget>

namespace zirkulon {

// The window's inner area: it paints the form's picture, the labels above it
// are its child widgets, and it hands its pointer, key, resize and focus
// events to the form. It takes the keyboard focus (by Tab, and at start);
// to assistive technology it is a slider from 0 to 360 degrees, whose value
// the keys change and nothing else.
class FormCanvas final : public QWidget {
    Q_OBJECT
public:
    FormCanvas(Form& form, QWidget* parent);

    Form& form() const { return form_; }
    // Repaints `area` (scale units) of the picture, and tells assistive
    // technology the slider's new value.
    void present(const Area& area, bool readingChanged);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    Form& form_;
};

} // namespace zirkulon
