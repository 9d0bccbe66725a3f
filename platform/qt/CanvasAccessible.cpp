// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/CanvasAccessible.h"

#include "platform/qt/FormCanvas.h"

#include <QAccessibleValueInterface>
#include <QAccessibleWidget>

namespace zirkulon {

namespace {

class CanvasAccessible final : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit CanvasAccessible(FormCanvas* canvas)
        : QAccessibleWidget(canvas, QAccessible::Slider), canvas_(canvas) {}

    QString text(QAccessible::Text which) const override {
        if (which == QAccessible::Value) {
            return QString::fromStdString(canvas_->form().reading());
        }
        return QAccessibleWidget::text(which);
    }

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ValueInterface) {
            return static_cast<QAccessibleValueInterface*>(this);
        }
        return QAccessibleWidget::interface_cast(type);
    }

    QVariant currentValue() const override { return int(canvas_->form().degrees()); }
    // Refused: the blue leg moves only as a pointer or a key moves it, so that
    // every angle a check judges comes from the one pointer rule. A screen
    // reader's user turns it with the arrow keys like everyone else.
    void setCurrentValue(const QVariant& /*value*/) override {}
    QVariant maximumValue() const override { return 360; }
    QVariant minimumValue() const override { return 0; }
    QVariant minimumStepSize() const override { return 1; }

private:
    FormCanvas* canvas_; // the interface lives no longer than its widget
};

QAccessibleInterface* canvasInterface(const QString& className, QObject* object) {
    if (className != QLatin1String(FormCanvas::staticMetaObject.className())) {
        return nullptr;
    }
    // Qt's accessibility cache owns the interface and deletes it with the widget.
    return new CanvasAccessible(static_cast<FormCanvas*>(object));
}

} // namespace

void installCanvasAccessible() {
    static const bool installed = [] {
        QAccessible::installFactory(canvasInterface);
        return true;
    }();
    static_cast<void>(installed);
}

} // namespace zirkulon
