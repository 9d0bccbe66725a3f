#include "app/Ausgabe.h"

namespace zirkulon {

namespace {

constexpr const char* helpTitle = "Zirkulon Hilfe";
constexpr const char* helpText =
    "Den angegebene Winkel musst Du zwischen dem roten und dem blauen Schenkel eingestellen. "
    "Den blauen Schenkel kannst Du mit der Maus bewegt. Wenn Du meinst den Winkel richtig "
    "eingestllt zu haben, klickst Du auf 'prüfen'. Du hast immer 3 Versuche. Viel Spaß!";

constexpr const char* infoTitle = "Zirkulon Info";
constexpr const char* author = "das Zirkulon-Team";
constexpr const char* email = "zirkulon@example.org";

} // namespace

void Ausgabe::MHelp_Click() {
    platform_.messageBox(helpText, helpTitle);
}

void Ausgabe::MInfo_Click() {
    platform_.messageBox(
        std::string("Zirkulon Ver. 1.0. Autor: ") + author + ". Email: " + email + ".", infoTitle);
}

void Ausgabe::MEnd_Click() {
    platform_.unload();
}

} // namespace zirkulon
