// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/FormCanvas.h"

#include "platform/qt/CanvasAccessible.h"
#include "platform/qt/QtDesign.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <numbers>

namespace zirkulon {

namespace {

constexpr double twips = design::twipsPerPixel;

QRectF rectOf(const Area& area) {
    return QRectF(QPointF(area.left, area.top), QPointF(area.right, area.bottom));
}

// Paints in scale units: the painter's one scale makes them the widget's
// pixels, and Qt the device's.
class QtPainter final : public Painter {
public:
    explicit QtPainter(QWidget* widget) : painter_(widget) {
        painter_.scale(1 / twips, 1 / twips);
        painter_.setBrush(Qt::NoBrush);
    }

    void fill(const Area& area, design::Rgb colour) override {
        painter_.setRenderHint(QPainter::Antialiasing, false);
        painter_.fillRect(rectOf(area), qtdesign::colour(colour));
    }

    void focusFrame(const Area& frame, float width, design::Rgb colour) override {
        painter_.setRenderHint(QPainter::Antialiasing, false);
        painter_.setPen(QPen(qtdesign::colour(colour), width, Qt::DotLine, Qt::FlatCap));
        painter_.drawRect(rectOf(frame));
    }

    void line(const LineShape& shape, float width, design::Rgb colour) override {
        painter_.setRenderHint(QPainter::Antialiasing);
        painter_.setPen(QPen(qtdesign::colour(colour), width, Qt::SolidLine, Qt::FlatCap));
        painter_.drawLine(QPointF(shape.X1, shape.Y1), QPointF(shape.X2, shape.Y2));
    }

    void arc(const Arc& arc, float width, design::Rgb colour) override {
        constexpr double toDegrees = 180.0 / std::numbers::pi;
        painter_.setRenderHint(QPainter::Antialiasing);
        painter_.setPen(QPen(qtdesign::colour(colour), width));
        const QPointF centre(arc.centreX, arc.centreY);
        const QRectF box(centre.x() - arc.radius, centre.y() - arc.radius, 2.0 * arc.radius,
                         2.0 * arc.radius);
        QPainterPath path;
        if (arc.radiusToStart) {
            path.moveTo(centre);
        } else {
            path.arcMoveTo(box, arc.start * toDegrees);
        }
        path.arcTo(box, arc.start * toDegrees, arc.sweep * toDegrees);
        if (arc.radiusToEnd) {
            path.lineTo(centre);
        }
        painter_.drawPath(path);
    }

private:
    QPainter painter_;
};

std::int16_t buttonsOf(Qt::MouseButtons buttons) {
    return static_cast<std::int16_t>((buttons & Qt::LeftButton ? LeftButton : 0) |
                                     (buttons & Qt::RightButton ? RightButton : 0) |
                                     (buttons & Qt::MiddleButton ? MiddleButton : 0));
}

std::int16_t shiftOf(Qt::KeyboardModifiers modifiers) {
    return static_cast<std::int16_t>((modifiers & Qt::ShiftModifier ? ShiftMask : 0) |
                                     (modifiers & Qt::ControlModifier ? CtrlMask : 0) |
                                     (modifiers & Qt::AltModifier ? AltMask : 0));
}

} // namespace

std::int16_t qtdesign::keyCode(int key) {
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return KeyReturn;
    case Qt::Key_Alt:
        return KeyMenu;
    case Qt::Key_Escape:
        return KeyEscape;
    case Qt::Key_Space:
        return KeySpace;
    case Qt::Key_PageUp:
        return KeyPageUp;
    case Qt::Key_PageDown:
        return KeyPageDown;
    case Qt::Key_End:
        return KeyEnd;
    case Qt::Key_Home:
        return KeyHome;
    case Qt::Key_Left:
        return KeyLeft;
    case Qt::Key_Up:
        return KeyUp;
    case Qt::Key_Right:
        return KeyRight;
    case Qt::Key_Down:
        return KeyDown;
    case Qt::Key_Select:
        return KeySelect;
    case Qt::Key_F10:
        return KeyF10;
    default:
        return 0;
    }
}

FormCanvas::FormCanvas(Form& form, QWidget* parent) : QWidget(parent), form_(form) {
    // Before anything asks for the canvas's accessible interface (the name
    // set below does), so that the one Qt caches is the slider.
    installCanvasAccessible();
    setObjectName("drawingSurface");
    setAccessibleName(qtdesign::text(design::surfaceDescription));
    setFocusPolicy(Qt::StrongFocus);
    // The form paints all of it, in the design's light colour whatever the
    // desktop's palette, so that the legs stand out.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void FormCanvas::invalidate(const Area& area) {
    const QRect pixels(QPoint(static_cast<int>(std::floor(area.left / twips)),
                              static_cast<int>(std::floor(area.top / twips))),
                       QPoint(static_cast<int>(std::ceil(area.right / twips)) - 1,
                              static_cast<int>(std::ceil(area.bottom / twips)) - 1));
    const QRect visible = pixels.intersected(rect());
    if (!visible.isEmpty()) {
        update(visible);
    }
}

void FormCanvas::readingChanged() {
    QAccessibleValueChangeEvent change(this, form_.degrees());
    QAccessible::updateAccessibility(&change);
}

// The labels are child widgets and paint over the picture.
void FormCanvas::paintEvent(QPaintEvent* event) {
    const QRect dirty = event->rect();
    QtPainter painter(this);
    form_.paint(painter,
                {static_cast<float>(dirty.left() * twips), static_cast<float>(dirty.top() * twips),
                 static_cast<float>((dirty.right() + 1) * twips),
                 static_cast<float>((dirty.bottom() + 1) * twips)});
}

void FormCanvas::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    form_.resized(design::toScaleUnits(width()), design::toScaleUnits(height()));
}

void FormCanvas::mousePressEvent(QMouseEvent* event) {
    const std::int16_t button = buttonsOf(event->button());
    if (button != 0) {
        form_.pointerPressed(button, shiftOf(event->modifiers()),
                             design::toScaleUnits(event->position().x()),
                             design::toScaleUnits(event->position().y()));
    }
}

void FormCanvas::mouseMoveEvent(QMouseEvent* event) {
    form_.pointerMoved(buttonsOf(event->buttons()), shiftOf(event->modifiers()),
                       design::toScaleUnits(event->position().x()),
                       design::toScaleUnits(event->position().y()));
}

void FormCanvas::keyPressEvent(QKeyEvent* event) {
    if (!form_.keyPressed(qtdesign::keyCode(event->key()), shiftOf(event->modifiers()))) {
        QWidget::keyPressEvent(event);
    }
}

void FormCanvas::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    form_.focusChanged(true);
}

void FormCanvas::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    form_.focusChanged(false);
}

} // namespace zirkulon
