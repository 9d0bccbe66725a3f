// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/FormCanvas.h"

#include "geometry/Keys.h"
#include "platform/qt/CanvasAccessible.h"
#include "platform/qt/QtDesign.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>

#include <numbers>

namespace zirkulon {

namespace {

constexpr double twips = design::twipsPerPixel;

QPointF toPixels(float x, float y) {
    return {x / twips, y / twips};
}

std::int16_t buttonsOf(Qt::MouseButtons buttons) {
    std::int16_t result = 0;
    if (buttons & Qt::LeftButton) {
        result |= LeftButton;
    }
    if (buttons & Qt::RightButton) {
        result |= RightButton;
    }
    if (buttons & Qt::MiddleButton) {
        result |= MiddleButton;
    }
    return result;
}

std::int16_t shiftOf(Qt::KeyboardModifiers modifiers) {
    std::int16_t result = 0;
    if (modifiers & Qt::ShiftModifier) {
        result |= 1;
    }
    if (modifiers & Qt::ControlModifier) {
        result |= 2;
    }
    if (modifiers & Qt::AltModifier) {
        result |= 4;
    }
    return result;
}

// The keys that turn the blue leg, as their Windows virtual-key codes; 0 for
// every other key.
std::int16_t turningKeyCode(int key) {
    switch (key) {
    case Qt::Key_PageUp:
        return geometry::KeyPageUp;
    case Qt::Key_PageDown:
        return geometry::KeyPageDown;
    case Qt::Key_End:
        return geometry::KeyEnd;
    case Qt::Key_Home:
        return geometry::KeyHome;
    case Qt::Key_Left:
        return geometry::KeyLeft;
    case Qt::Key_Up:
        return geometry::KeyUp;
    case Qt::Key_Right:
        return geometry::KeyRight;
    case Qt::Key_Down:
        return geometry::KeyDown;
    default:
        return 0;
    }
}

// The focus frame: dark grey, about 7:1 against the light drawing surface.
const QColor focusColour(80, 80, 80);
constexpr int focusInset = 2; // pixels from the edge to the frame's middle
constexpr int focusWidth = 2;

} // namespace

FormCanvas::FormCanvas(QWidget* parent) : QWidget(parent) {
    // Before anything asks for the canvas's accessible interface (the name
    // set below does), so that the one Qt caches is the slider.
    installCanvasAccessible();
    setObjectName("drawingSurface");
    setAccessibleName(qtdesign::text(design::surfaceDescription));
    setFocusPolicy(Qt::StrongFocus);
    // The drawing surface is painted in the design's light colour, whatever
    // the desktop's palette (see paintEvent), so that the legs stand out.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QRect FormCanvas::lineBounds(const LineShape& shape) const {
    const QRectF span = QRectF(toPixels(shape.X1, shape.Y1), toPixels(shape.X2, shape.Y2))
                            .normalized()
                            .adjusted(-3, -3, 3, 3);
    return span.intersected(QRectF(rect())).toAlignedRect();
}

QRect FormCanvas::arcBounds(const Arc& arc) const {
    const QPointF centre = toPixels(arc.centreX, arc.centreY);
    const qreal r = arc.radius / twips + 2;
    return QRectF(centre.x() - r, centre.y() - r, 2 * r, 2 * r)
        .intersected(QRectF(rect()))
        .toAlignedRect();
}

void FormCanvas::invalidate(const QRect& pixels) {
    if (!pixels.isEmpty()) {
        update(pixels);
    }
}

QRect FormCanvas::focusFrame() const {
    return rect().adjusted(focusInset, focusInset, -focusInset, -focusInset);
}

void FormCanvas::setLine(Line which, const LineShape& shape) {
    const LineShape old = lines_[which];
    if (lines_.set(which, shape)) {
        invalidate(lineBounds(old));
        invalidate(lineBounds(shape));
    }
}

void FormCanvas::clear() {
    for (const Arc& arc : arcs_) {
        invalidate(arcBounds(arc));
    }
    arcs_.clear();
}

void FormCanvas::addArc(const Arc& arc) {
    arcs_.push_back(arc);
    invalidate(arcBounds(arc));
}

void FormCanvas::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(event->rect(), qtdesign::colour(design::surfaceColour));
    // The focus frame lies beneath the arc and the legs and never hides them;
    // QWidget repaints the canvas whenever it gains or loses the focus.
    if (hasFocus()) {
        painter.setPen(QPen(focusColour, focusWidth, Qt::DotLine, Qt::FlatCap));
        painter.drawRect(QRectF(focusFrame()));
    }
    painter.setRenderHint(QPainter::Antialiasing);

    // The drawing surface first, then the legs over it; the labels are child
    // widgets and paint over both.
    painter.setPen(QPen(qtdesign::colour(design::arcColour), design::arcWidthPixels));
    painter.setBrush(Qt::NoBrush);
    constexpr double toDegrees = 180.0 / std::numbers::pi;
    for (const Arc& arc : arcs_) {
        const QPointF centre = toPixels(arc.centreX, arc.centreY);
        const qreal r = arc.radius / twips;
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
        painter.drawPath(path);
    }

    const auto drawLeg = [&](Line which, design::Rgb rgb) {
        painter.setPen(
            QPen(qtdesign::colour(rgb), design::legWidthPixels, Qt::SolidLine, Qt::FlatCap));
        const LineShape& shape = line(which);
        painter.drawLine(toPixels(shape.X1, shape.Y1), toPixels(shape.X2, shape.Y2));
    };
    drawLeg(Line::Schenkel1, design::schenkel1Colour);
    drawLeg(Line::Schenkel2, design::schenkel2Colour);
}

void FormCanvas::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    emit resized();
}

void FormCanvas::mousePressEvent(QMouseEvent* event) {
    const std::int16_t button = buttonsOf(event->button());
    if (button != 0) {
        emit mousePressed(button, shiftOf(event->modifiers()),
                          design::toScaleUnits(event->position().x()),
                          design::toScaleUnits(event->position().y()));
    }
}

void FormCanvas::mouseMoveEvent(QMouseEvent* event) {
    emit mouseMoved(buttonsOf(event->buttons()), shiftOf(event->modifiers()),
                    design::toScaleUnits(event->position().x()),
                    design::toScaleUnits(event->position().y()));
}

void FormCanvas::keyPressEvent(QKeyEvent* event) {
    const std::int16_t code = turningKeyCode(event->key());
    if (code == 0) {
        QWidget::keyPressEvent(event);
        return;
    }
    emit keyPressed(code, shiftOf(event->modifiers()));
}

void FormCanvas::setReading(std::int16_t degrees, const QString& text) {
    if (degrees == degrees_ && text == reading_) {
        return;
    }
    degrees_ = degrees;
    reading_ = text;
    QAccessibleValueChangeEvent change(this, degrees);
    QAccessible::updateAccessibility(&change);
}

} // namespace zirkulon
