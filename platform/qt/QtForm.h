#pragma once

#include "platform/Arc.h"
#include "platform/Platform.h"
#include "platform/Random.h"

#include <QLocale>
#include <QMainWindow>
#include <QWidget>

#include <array>
#include <vector>

class QLabel;
class QCoreApplication;

namespace zirkulon {

// The window's inner area: the drawing surface with its arcs, the two line
// shapes above it, and the labels above those as child widgets. It paints
// from this state alone and repaints only the part that changed.
class FormCanvas final : public QWidget {
    Q_OBJECT
public:
    explicit FormCanvas(QWidget* parent = nullptr);

    const LineShape& line(Line which) const { return lines_[index(which)]; }
    void setLine(Line which, const LineShape& shape);
    void clear();
    void addArc(const Arc& arc);
    const std::vector<Arc>& arcs() const { return arcs_; }

signals:
    void resized();
    void mousePressed(std::int16_t button, std::int16_t shift, float x, float y);
    void mouseMoved(std::int16_t buttons, std::int16_t shift, float x, float y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    static std::size_t index(Line which) { return which == Line::Schenkel1 ? 0 : 1; }
    QRect lineBounds(const LineShape& shape) const;
    QRect arcBounds(const Arc& arc) const;
    void invalidate(const QRectF& pixels);

    std::array<LineShape, 2> lines_;
    std::vector<Arc> arcs_;
};

// The game's one window on Qt: menu bar, labels, legs and drawing surface,
// modal boxes, and the runtime operations the game logic needs. It raises the
// window's events on a FormEvents object and catches, once per event, any
// error that ends a handler, so that the window stays usable.
class QtForm final : public QMainWindow, public Platform {
    Q_OBJECT
public:
    explicit QtForm(const QLocale& locale = QLocale::system(), QWidget* parent = nullptr);

    // The object whose handlers the window's events run; not owned.
    void setEvents(FormEvents* events) { events_ = events; }
    // Raises the load event; call once, before the window is first shown.
    void load();

    FormCanvas* canvas() const { return canvas_; }

    // Platform
    void messageBox(const std::string& text, const std::string& title = {}) override;
    std::string inputBox(const std::string& prompt, const std::string& defaultText) override;
    void setCaption(const std::string& text) override;
    void setCaption(Label label, const std::string& text) override;
    LineShape line(Line which) const override { return canvas_->line(which); }
    void setLine(Line which, const LineShape& shape) override { canvas_->setLine(which, shape); }
    float scaleWidth() const override;
    float scaleHeight() const override;
    void cls() override { canvas_->clear(); }
    void circle(float x, float y, float radius, float start, float end) override;
    void unload() override;
    void reseed() override { random_.reseed(); }
    float nextRandom() override { return random_.next(); }
    const NumberFormat& numberFormat() const override { return format_; }

private:
    template <typename Handler> void deliver(Handler&& handler);

    FormEvents* events_ = nullptr;
    FormCanvas* canvas_ = nullptr;
    std::array<QLabel*, 3> labels_{};
    NumberFormat format_;
    ClockRandom random_;
};

// Loads Qt's own translations for `locale`, so that the boxes' buttons speak
// the desktop's language («Abbrechen» on a German desktop). Returns whether
// a translation was found; English needs none.
bool installQtTranslations(QCoreApplication& application, const QLocale& locale);

} // namespace zirkulon
