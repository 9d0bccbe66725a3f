// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Form.h"

#include <QWidget>

namespace zirkulon {

// The window's inner area, parent of the labels: it paints the form's picture,
// hands its pointer, key, resize and focus events to the form, and is a slider
// of the angle to assistive technology.
class FormCanvas final : public QWidget {
    Q_OBJECT
public:
    FormCanvas(Form& form, QWidget* parent);

    Form& form() const { return form_; }

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
