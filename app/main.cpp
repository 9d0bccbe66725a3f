#include "app/Ausgabe.h"
#include "platform/qt/QtForm.h"

#include <QApplication>
#include <QLocale>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Zirkulon");
    QApplication::setApplicationVersion("1.00");
    // Lets the desktop match the window to its installed entry.
    QGuiApplication::setDesktopFileName("org.example.zirkulon");
    zirkulon::installQtTranslations(app, QLocale::system());

    zirkulon::QtForm form;
    zirkulon::Ausgabe ausgabe(form);
    form.setEvents(&ausgabe);
    form.load();
    form.show();
    return QApplication::exec();
}
