// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/FormCanvas.h"

#include "platform/qt/QtDesign.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>

#include <map>
#include <numbers>

namespace zirkulon {

namespace {

constexpr double twips = design::twipsPerPixel;

QRectF rectOf(const Area& area) {
    return {QPointF(area.left, area.top), QPointF(area.right, area.bottom)};
}

// Paints in scale units under one scale, which makes them the widget's
// pixels (and Qt makes those the device's).
class QtPainter final : public Painter {
public:
    explicit QtPainter(QWidget* widget) : painter_(widget) { painter_.scale(1 / twips, 1 / twips); }

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
    return buttonsHeld(buttons & Qt::LeftButton, buttons & Qt::RightButton,
                       buttons & Qt::MiddleButton);
}

std::int16_t shiftOf(Qt::KeyboardModifiers modifiers) {
    return shiftHeld(modifiers & Qt::ShiftModifier, modifiers & Qt::ControlModifier,
                     modifiers & Qt::AltModifier);
}

// The canvas to assistive technology (AT-SPI on Linux): a slider of whole
// degrees whose value text names the angle in words («137 Grad, stumpfer Winkel»).
class CanvasAccessible final : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit CanvasAccessible(FormCanvas* canvas)
        : QAccessibleWidget(canvas, QAccessible::Slider), canvas_(canvas) {}

    QString text(QAccessible::Text which) const override {
        return which == QAccessible::Value ? QString::fromStdString(canvas_->form().reading())
                                           : QAccessibleWidget::text(which);
    }

    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ValueInterface ? static_cast<QAccessibleValueInterface*>(this)
                                                   : QAccessibleWidget::interface_cast(type);
    }

    QVariant currentValue() const override { return int(canvas_->form().degrees()); }
    // Refused: only a pointer or a key moves the blue leg, so that every angle a check
    // judges comes from the one pointer rule; screen reader users turn it with the keys.
    void setCurrentValue(const QVariant& /*value*/) override {}
    QVariant maximumValue() const override { return 360; }
    QVariant minimumValue() const override { return 0; }
    QVariant minimumStepSize() const override { return 1; }

private:
    FormCanvas* canvas_; // the interface lives no longer than its widget
};

QAccessibleInterface* canvasInterface(const QString& className, QObject* object) {
    // Qt's accessibility cache owns the interface and deletes it with the widget.
    return className == QLatin1String(FormCanvas::staticMetaObject.className())
               ? new CanvasAccessible(static_cast<FormCanvas*>(object))
               : nullptr;
}

} // namespace

std::int16_t qtdesign::keyCode(int key) {
    static const std::map<int, KeyCode> codes{
        {Qt::Key_Return, KeyReturn}, {Qt::Key_Enter, KeyReturn},
        {Qt::Key_Alt, KeyMenu},      {Qt::Key_Escape, KeyEscape},
        {Qt::Key_Space, KeySpace},   {Qt::Key_PageUp, KeyPageUp},
        {Qt::Key_End, KeyEnd},       {Qt::Key_PageDown, KeyPageDown},
        {Qt::Key_Home, KeyHome},     {Qt::Key_Left, KeyLeft},
        {Qt::Key_Up, KeyUp},         {Qt::Key_Right, KeyRight},
        {Qt::Key_Down, KeyDown},     {Qt::Key_Select, KeySelect},
        {Qt::Key_F10, KeyF10}};
    const auto code = codes.find(key);
    return code == codes.end() ? 0 : code->second;
}

FormCanvas::FormCanvas(Form& form, QWidget* parent) : QWidget(parent), form_(form) {
    // Before anything asks for the canvas's accessible interface (the name
    // set below does), so that the one Qt caches is the slider.
    [[maybe_unused]] static const bool accessible = [] {
        QAccessible::installFactory(canvasInterface);
        return true;
    }();
    setObjectName("drawingSurface");
    setAccessibleName(qtdesign::text(design::surfaceDescription));
    setFocusPolicy(Qt::StrongFocus);
    // The form paints all of it, in the design's light colour whatever the
    // desktop's palette, so that the legs stand out.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void FormCanvas::paintEvent(QPaintEvent* event) {
    const QRect dirty = event->rect();
    const Pixels pixels{dirty.left(), dirty.top(), dirty.right() + 1, dirty.bottom() + 1};
    QtPainter painter(this);
    form_.paint(painter, areaOf(pixels, 1 / twips));
}

void FormCanvas::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    form_.resized(design::toScaleUnits(width()), design::toScaleUnits(height()));
}

void FormCanvas::mousePressEvent(QMouseEvent* event) {
    form_.pointerPressed(buttonsOf(event->button()), shiftOf(event->modifiers()),
                         design::toScaleUnits(event->position().x()),
                         design::toScaleUnits(event->position().y()));
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
