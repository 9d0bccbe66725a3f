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

// Scale units as the widget's pixels (Qt makes those the device's).
QPointF pixelsOf(float x, float y) {
    return {x / twips, y / twips};
}
QRectF pixelsOf(const Area& area) {
    return {pixelsOf(area.left, area.top), pixelsOf(area.right, area.bottom)};
}

// Paints in scale units, each turned into the widget's pixels: under a
// scale of its own, Qt strokes the legs and the arc some 15 % slower.
class QtPainter final : public Painter {
public:
    explicit QtPainter(QWidget* widget) : painter_(widget) { painter_.setBrush(Qt::NoBrush); }

    void fill(const Area& area, design::Rgb colour) override {
        painter_.setRenderHint(QPainter::Antialiasing, false);
        // Whole pixels, which Qt fills on its fastest path.
        painter_.fillRect(pixelsOf(area).toAlignedRect(), qtdesign::colour(colour));
    }

    void focusFrame(const Area& frame, float width, design::Rgb colour) override {
        painter_.setRenderHint(QPainter::Antialiasing, false);
        painter_.setPen(QPen(qtdesign::colour(colour), width / twips, Qt::DotLine, Qt::FlatCap));
        painter_.drawRect(pixelsOf(frame));
    }

    void line(const LineShape& shape, float width, design::Rgb colour) override {
        painter_.setRenderHint(QPainter::Antialiasing);
        painter_.setPen(QPen(qtdesign::colour(colour), width / twips, Qt::SolidLine, Qt::FlatCap));
        painter_.drawLine(pixelsOf(shape.X1, shape.Y1), pixelsOf(shape.X2, shape.Y2));
    }

    void arc(const Arc& arc, float width, design::Rgb colour) override {
        constexpr double toDegrees = 180.0 / std::numbers::pi;
        painter_.setRenderHint(QPainter::Antialiasing);
        painter_.setPen(QPen(qtdesign::colour(colour), width / twips));
        const QPointF centre = pixelsOf(arc.centreX, arc.centreY);
        const double r = arc.radius / twips;
        const QRectF box(centre.x() - r, centre.y() - r, 2 * r, 2 * r);
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

// One rectangle: Qt strokes the arc and the legs far faster into a rectangle
// than into a region of several.
void FormCanvas::present(const Area& area, bool readingChanged) {
    const Pixels p = pixelsOf(area, 1 / twips);
    const QRect visible = QRect(QPoint(p.left, p.top), QPoint(p.right - 1, p.bottom - 1)) & rect();
    if (!visible.isEmpty()) {
        update(visible);
    }
    if (readingChanged) {
        QAccessibleValueChangeEvent change(this, form_.degrees());
        QAccessible::updateAccessibility(&change);
    }
}

// The labels are child widgets and paint over the picture.
void FormCanvas::paintEvent(QPaintEvent* event) {
    const QRect dirty = event->rect();
    QtPainter painter(this);
    form_.paint(painter,
                areaOf(Pixels{dirty.left(), dirty.top(), dirty.right() + 1, dirty.bottom() + 1},
                       1 / twips));
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
