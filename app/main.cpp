#include "app/Ausgabe.h"
#include "platform/qt/QtForm.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Zirkulon");
    QApplication::setApplicationVersion("1.00");

    // The boxes' own buttons speak the desktop's language.
    QTranslator qtTranslator;
    if (qtTranslator.load(QLocale::system(), "qtbase", "_",
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&qtTranslator);
    }

    zirkulon::QtForm form;
    zirkulon::Ausgabe ausgabe(form);
    form.setEvents(&ausgabe);
    form.load();
    form.show();
    return QApplication::exec();
}
