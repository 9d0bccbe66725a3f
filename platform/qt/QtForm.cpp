// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/QtForm.h"

#include "platform/qt/QtDesign.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLibraryInfo>
#include <QLocale>
#include <QLoggingCategory>
#include <QMenuBar>
#include <QMessageBox>
#include <QTimer>
#include <QTranslator>

#include <memory>
#include <string>

namespace zirkulon {

namespace {

Q_LOGGING_CATEGORY(lcZirkulon, "zirkulon")

void report(const std::string& message) {
    qCWarning(lcZirkulon, "%s", message.c_str());
}

// Drops the repeats of the keys that act on their first press only before any
// widget sees them; the keys that turn the blue leg keep theirs.
class FirstPressOnly final : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyRelease) {
            const auto* key = static_cast<QKeyEvent*>(event);
            releasedKey_ = key->key();
            releasedTime_ = key->timestamp();
        } else if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            return actsOnFirstPressOnly(qtdesign::keyCode(key->key())) && isRepeat(*key);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    // X repeats a held key as a release and a press with the same time stamp.
    // Qt flags the press as a repeat only if it is already queued when the
    // release is handled, which on a busy desktop it often is not.
    bool isRepeat(const QKeyEvent& key) const {
        return key.isAutoRepeat() || (key.timestamp() != 0 && key.key() == releasedKey_ &&
                                      key.timestamp() == releasedTime_);
    }

    int releasedKey_ = 0;
    quint64 releasedTime_ = 0;
};

} // namespace

QtForm::QtForm(QWidget* parent)
    : QMainWindow(parent), Form(&report), canvas_(new FormCanvas(*this, this)) {
    setObjectName("Ausgabe");
    setWindowTitle(qtdesign::text(design::applicationTitle));
    setCentralWidget(canvas_);
    addLabels();
    for (std::size_t position = 0; position < design::menu.size(); ++position) {
        QAction* action = menuBar()->addAction(qtdesign::text(design::menu[position].caption));
        action->setObjectName(qtdesign::text(design::menu[position].name));
        connect(action, &QAction::triggered, this, [this, position] { menuChosen(position); });
    }
    canvas_->setFocus(); // the keys turn the blue leg from the start
    resize(qtdesign::pixels(design::innerWidth),
           qtdesign::pixels(design::innerHeight) + menuBar()->sizeHint().height());
}

void QtForm::addLabels() {
    QFont font{qtdesign::text(design::labelFont)};
    font.setPointSize(design::labelPointSize);
    font.setWeight(QFont::Normal);
    for (const auto& entry : design::labels) {
        auto* label = new QLabel(canvas_);
        label->setObjectName(qtdesign::text(entry.name));
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        label->setFont(font);
        label->setAccessibleDescription(qtdesign::text(entry.description));
        label->setGeometry(qtdesign::pixels(entry.left), qtdesign::pixels(entry.top),
                           qtdesign::pixels(entry.width), qtdesign::pixels(entry.height));
        QPalette colours = label->palette();
        colours.setColor(QPalette::Window, qtdesign::colour(design::labelBackground));
        colours.setColor(QPalette::WindowText, qtdesign::colour(design::labelText));
        label->setPalette(colours);
        label->setBackgroundRole(QPalette::Window); // not the drawing surface's
        label->setAutoFillBackground(true);
        // Mouse events over a label must not reach the drawing surface and turn the leg.
        label->setAttribute(Qt::WA_NoMousePropagation);
        labels_[static_cast<std::size_t>(entry.label)] = label;
    }
}

// One rectangle: Qt strokes the arc and the legs far faster into a rectangle
// than into a region of several. Qt clips it to the canvas, and drops it if empty.
void QtForm::present(const Area& area, bool readingChanged) {
    const Pixels p = pixelsOf(area, 1.0 / design::twipsPerPixel);
    canvas_->update(p.left, p.top, p.right - p.left, p.bottom - p.top);
    if (readingChanged) {
        QAccessibleValueChangeEvent change(canvas_, degrees());
        QAccessible::updateAccessibility(&change);
    }
}

void QtForm::wakeAfter(int milliseconds) {
    QTimer::singleShot(milliseconds, canvas_, [this] { woken(); });
}

void QtForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    shown();
}

void QtForm::messageBox(const std::string& text, const std::string& title) {
    QMessageBox box(QMessageBox::NoIcon, qtdesign::text(design::boxTitle(title)),
                    qtdesign::text(text), QMessageBox::Ok, this);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

std::string QtForm::inputBox(const std::string& prompt, const std::string& defaultText) {
    QInputDialog dialog(this);
    dialog.setWindowTitle(qtdesign::text(design::applicationTitle));
    dialog.setLabelText(qtdesign::text(prompt));
    dialog.setTextValue(qtdesign::text(defaultText));
    return dialog.exec() == QDialog::Accepted ? dialog.textValue().toStdString() : std::string();
}

// Closed at once; the running handler goes on, but no event follows it.
void QtForm::unload() {
    stop();
    close();
}

void QtForm::setCaption(const std::string& text) {
    setWindowTitle(qtdesign::text(text));
}

void QtForm::setCaption(Label label, const std::string& text) {
    labels_[static_cast<std::size_t>(label)]->setText(qtdesign::text(text));
}

bool prepareApplication(QCoreApplication& application, const QLocale& locale) {
    application.installEventFilter(new FirstPressOnly(&application));
    QFont::insertSubstitution(qtdesign::text(design::labelFont),
                              qtdesign::text(design::labelFontSubstitute));
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(locale, "qtbase", "_",
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        return false;
    }
    translator->setParent(&application); // the application owns it from here
    return QCoreApplication::installTranslator(translator.release());
}

} // namespace zirkulon
