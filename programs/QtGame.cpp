// SPDX-License-Identifier: GPL-3.0-or-later
#include "programs/QtGame.h"

#include "Version.h"

#include <QApplication>

namespace zirkulon {

namespace {

NumberFormat numberFormatOf(const QLocale& locale) {
    return {locale.decimalPoint().toStdString(), locale.groupSeparator().toStdString()};
}

} // namespace

void setUpApplication(QApplication& application, const QLocale& locale) {
    QApplication::setApplicationName("Zirkulon");
    QApplication::setApplicationVersion(
        QString::fromUtf8(version.data(), static_cast<qsizetype>(version.size())));
    // Lets the desktop match the window to its installed entry.
    QGuiApplication::setDesktopFileName("org.example.zirkulon");
    prepareApplication(application, locale);
}

QtGame::QtGame(const QLocale& locale) : ausgabe_(form_, random_, numberFormatOf(locale)) {
    form_.setEvents(&ausgabe_);
}

void QtGame::start() {
    form_.load();
    form_.show();
}

} // namespace zirkulon
