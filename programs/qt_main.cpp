// SPDX-License-Identifier: GPL-3.0-or-later
#include "programs/QtGame.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    zirkulon::setUpApplication(application, QLocale::system());
    zirkulon::QtGame game;
    game.start();
    return QApplication::exec();
}
