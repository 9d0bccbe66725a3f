#include "platform/qt/QtForm.h"

#include "app/Design.h"
#include "platform/Numerics.h"

#include <QCoreApplication>
#include <QInputDialog>
#include <QLabel>
#include <QLibraryInfo>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QTranslator>

#include <cmath>
#include <exception>
#include <memory>
#include <numbers>

namespace zirkulon {

namespace {

constexpr double twips = design::twipsPerPixel;

QString qt(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

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

// Pixel positions as scale units; a pointer far outside still maps to a single.
float toScale(qreal pixels) {
    return static_cast<float>(pixels * twips);
}

NumberFormat formatOf(const QLocale& locale) {
    return {locale.decimalPoint().toStdString(), locale.groupSeparator().toStdString()};
}

} // namespace

// ---- FormCanvas ---------------------------------------------------------

FormCanvas::FormCanvas(QWidget* parent) : QWidget(parent) {
    lines_ = {design::schenkel1Design, design::schenkel2Design};
    setObjectName("Ausgabe");
    // The drawing surface has the button-face colour, its drawing the button text colour.
    QPalette colours = palette();
    colours.setColor(QPalette::Window, colours.color(QPalette::Button));
    setPalette(colours);
    setAutoFillBackground(true);
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

void FormCanvas::invalidate(const QRectF& pixels) {
    if (!pixels.isEmpty()) {
        update(pixels.toAlignedRect());
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

void FormCanvas::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);

    // The drawing surface first (the background is already filled), then the
    // legs over it; the labels are child widgets and paint over both.
    painter.setPen(QPen(palette().color(QPalette::ButtonText), design::arcWidthPixels));
    painter.setBrush(Qt::NoBrush);
    for (const Arc& arc : arcs_) {
        const QPointF centre = toPixels(arc.centreX, arc.centreY);
        const qreal r = arc.radius / twips;
        const QRectF box(centre.x() - r, centre.y() - r, 2 * r, 2 * r);
        const double toDegrees = 180.0 / std::numbers::pi;
        QPainterPath path;
        if (arc.radiusToStart) {
            path.moveTo(centre);
            path.arcTo(box, arc.start * toDegrees, arc.sweep * toDegrees);
        } else {
            path.arcMoveTo(box, arc.start * toDegrees);
            path.arcTo(box, arc.start * toDegrees, arc.sweep * toDegrees);
        }
        if (arc.radiusToEnd) {
            path.lineTo(centre);
        }
        painter.drawPath(path);
    }

    const auto drawLeg = [&](const LineShape& shape, const QColor& colour) {
        painter.setPen(QPen(colour, design::legWidthPixels, Qt::SolidLine, Qt::FlatCap));
        painter.drawLine(toPixels(shape.X1, shape.Y1), toPixels(shape.X2, shape.Y2));
    };
    drawLeg(line(Line::Schenkel1), QColor(255, 0, 0));
    drawLeg(line(Line::Schenkel2), QColor(0, 0, 255));
}

void FormCanvas::resizeEvent(QResizeEvent* /*event*/) {
    emit resized();
}

void FormCanvas::mousePressEvent(QMouseEvent* event) {
    const std::int16_t button = buttonsOf(event->button());
    if (button != 0) {
        emit mousePressed(button, shiftOf(event->modifiers()), toScale(event->position().x()),
                          toScale(event->position().y()));
    }
}

void FormCanvas::mouseMoveEvent(QMouseEvent* event) {
    emit mouseMoved(buttonsOf(event->buttons()), shiftOf(event->modifiers()),
                    toScale(event->position().x()), toScale(event->position().y()));
}

// ---- QtForm -------------------------------------------------------------

QtForm::QtForm(const QLocale& locale, QWidget* parent)
    : QMainWindow(parent), format_(formatOf(locale)) {
    setObjectName("Ausgabe");
    setWindowTitle(qt(design::applicationTitle));

    canvas_ = new FormCanvas(this);
    setCentralWidget(canvas_);

    // Comic Neue stands in for Comic Sans MS on desktops that lack it.
    QFont::insertSubstitution(qt(design::labelFont), "Comic Neue");
    QFont labelFont{qt(design::labelFont)};
    labelFont.setPointSize(design::labelPointSize);
    labelFont.setWeight(QFont::Normal);
    for (const auto& entry : design::labels) {
        auto* label = new QLabel(canvas_);
        label->setObjectName(qt(entry.name));
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        label->setFont(labelFont);
        label->setGeometry(entry.left / design::twipsPerPixel, entry.top / design::twipsPerPixel,
                           entry.width / design::twipsPerPixel,
                           entry.height / design::twipsPerPixel);
        QPalette colours = label->palette();
        colours.setColor(QPalette::Window, Qt::white);
        label->setPalette(colours);
        label->setAutoFillBackground(true);
        // Mouse events over a label belong to it and must not reach the window.
        label->setAttribute(Qt::WA_NoMousePropagation);
        labels_[static_cast<std::size_t>(entry.label)] = label;
    }

    for (const auto& item : design::menu) {
        QAction* action = menuBar()->addAction(qt(item.caption));
        action->setObjectName(qt(item.name));
        const auto handler = item.handler;
        connect(action, &QAction::triggered, this,
                [this, handler] { deliver([handler](FormEvents& e) { (e.*handler)(); }); });
    }

    connect(canvas_, &FormCanvas::resized, this,
            [this] { deliver([](FormEvents& e) { e.Form_Resize(); }); });
    connect(canvas_, &FormCanvas::mousePressed, this,
            [this](std::int16_t button, std::int16_t shift, float x, float y) {
                deliver([=](FormEvents& e) { e.Form_MouseDown(button, shift, x, y); });
            });
    connect(canvas_, &FormCanvas::mouseMoved, this,
            [this](std::int16_t buttons, std::int16_t shift, float x, float y) {
                deliver([=](FormEvents& e) { e.Form_MouseMove(buttons, shift, x, y); });
            });

    const int width = design::innerWidth / design::twipsPerPixel;
    const int height = design::innerHeight / design::twipsPerPixel;
    resize(width, height + menuBar()->sizeHint().height());
}

void QtForm::load() {
    deliver([](FormEvents& e) { e.Form_Load(); });
}

template <typename Handler> void QtForm::deliver(Handler&& handler) {
    if (events_ == nullptr) {
        return;
    }
    // An error ends the handler that raised it and nothing else: the window
    // and the game's state stay as the handler left them.
    try {
        handler(*events_);
    } catch (const std::exception& error) {
        qWarning("Zirkulon: %s", error.what());
    } catch (...) {
        qWarning("Zirkulon: unbekannter Fehler");
    }
}

void QtForm::messageBox(const std::string& text, const std::string& title) {
    QMessageBox box(QMessageBox::NoIcon, title.empty() ? qt(design::applicationTitle) : qt(title),
                    qt(text), QMessageBox::Ok, this);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

std::string QtForm::inputBox(const std::string& prompt, const std::string& defaultText) {
    QInputDialog dialog(this);
    dialog.setWindowTitle(qt(design::applicationTitle));
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setLabelText(qt(prompt));
    dialog.setTextValue(qt(defaultText));
    if (dialog.exec() != QDialog::Accepted) {
        return {};
    }
    return dialog.textValue().toStdString();
}

void QtForm::setCaption(const std::string& text) {
    setWindowTitle(qt(text));
}

void QtForm::setCaption(Label label, const std::string& text) {
    labels_[static_cast<std::size_t>(label)]->setText(qt(text));
}

float QtForm::scaleWidth() const {
    return toScale(canvas_->width());
}
float QtForm::scaleHeight() const {
    return toScale(canvas_->height());
}

void QtForm::circle(float x, float y, float radius, float start, float end) {
    canvas_->addArc(makeArc(x, y, radius, start, end));
}

void QtForm::unload() {
    close();
}

} // namespace zirkulon

namespace zirkulon {

bool installQtTranslations(QCoreApplication& application, const QLocale& locale) {
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(locale, "qtbase", "_",
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        return false;
    }
    translator->setParent(&application); // the application owns it from here
    return QCoreApplication::installTranslator(translator.release());
}

} // namespace zirkulon
