// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Arc.h"
#include "platform/LineStore.h"
#include "platform/Window.h"

#include <QString>
#include <QWidget>

#include <cstdint>
#include <vector>

namespace zirkulon {

// The window's inner area: the drawing surface with its arcs, the two line
// shapes above it, and the labels above those as child widgets. It paints
// from this state alone and repaints only the part that changed, so covering
// the window, a modal box or a resize never loses the arc.
//
// It takes the keyboard focus (by Tab, and at start) and shows it with a
// dotted frame just inside its edge, beneath the drawing; the keys that turn
// the blue leg become keyPressed, every other key goes on to the window. To
// assistive technology it is a slider (see CanvasAccessible.h).
class FormCanvas final : public QWidget {
    Q_OBJECT
public:
    explicit FormCanvas(QWidget* parent = nullptr);

    const LineShape& line(Line which) const { return lines_[which]; }
    void setLine(Line which, const LineShape& shape);
    void clear();
    void addArc(const Arc& arc);
    const std::vector<Arc>& arcs() const { return arcs_; }

    // The set angle as the surface shows it: whole degrees, and the same in
    // words. A change is told to assistive technology.
    void setReading(std::int16_t degrees, const QString& text);
    std::int16_t degrees() const { return degrees_; }
    const QString& reading() const { return reading_; }

signals:
    void resized();
    void mousePressed(std::int16_t button, std::int16_t shift, float x, float y);
    void mouseMoved(std::int16_t buttons, std::int16_t shift, float x, float y);
    // A turning key pressed or repeated: its Windows virtual-key code.
    void keyPressed(std::int16_t keyCode, std::int16_t shift);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QRect lineBounds(const LineShape& shape) const;
    QRect arcBounds(const Arc& arc) const;
    void invalidate(const QRect& pixels);
    QRect focusFrame() const;

    LineStore lines_;
    std::vector<Arc> arcs_;
    std::int16_t degrees_ = 0;
    QString reading_;
};

} // namespace zirkulon
