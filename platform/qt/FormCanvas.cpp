// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/FormCanvas.h"

#include "platform/qt/QtDesign.h"

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

} // namespace

FormCanvas::FormCanvas(QWidget* parent)
    : QWidget(parent), lines_{design::schenkel1Design, design::schenkel2Design} {
    setObjectName("drawingSurface");
    setAccessibleDescription(
        QString::fromUtf8(design::surfaceDescription.data(),
                          static_cast<qsizetype>(design::surfaceDescription.size())));
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

void FormCanvas::setLine(Line which, const LineShape& shape) {
    LineShape& stored = lines_[index(which)];
    if (stored == shape) {
        return;
    }
    invalidate(lineBounds(stored));
    stored = shape;
    invalidate(lineBounds(stored));
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

} // namespace zirkulon
