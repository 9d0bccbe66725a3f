// SPDX-License-Identifier: GPL-3.0-or-later
// The game's modal boxes on Qt: their titles, buttons and texts, the input
// box in German, keys held on a box, and the error boundary that keeps the
// window usable. Runs on the offscreen platform under a German locale.
#include "QtTestSupport.h"
#include "numerics/Error.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QScreen>

#include <utility>

using namespace zirkulon;
using namespace zirkulon::qttest;

namespace {

// Plays the game but fails on "Neu", to test the error boundary.
class FailingGame : public FormEvents {
public:
    explicit FailingGame(Window& window) : game(window, random, NumberFormat::german()) {}
    void Form_Load() override { game.Form_Load(); }
    void Form_Resize() override { game.Form_Resize(); }
    void Form_MouseDown(std::int16_t b, std::int16_t s, float x, float y) override {
        game.Form_MouseDown(b, s, x, y);
    }
    void Form_MouseMove(std::int16_t b, std::int16_t s, float x, float y) override {
        game.Form_MouseMove(b, s, x, y);
    }
    void Form_KeyDown(std::int16_t k, std::int16_t s) override { game.Form_KeyDown(k, s); }
    void MNew_Click() override {
        ++failures;
        throw OperationError("scheitert absichtlich");
    }
    void MExact_Click() override {}
    void MGuess_Click() override {}
    void MHelp_Click() override {}
    void MInfo_Click() override {}
    void MEnd_Click() override {}

    ClockRandom random;
    Ausgabe game;
    int failures = 0;
};

} // namespace

class QtBoxesTest : public QObject, public GameWindow {
    Q_OBJECT

private slots:
    void initTestCase() { prepare(); }
    void init() { QVERIFY(open()); }
    void cleanup() { close(); }

    void helpAndInfoShowTitledBoxesWithOkOnly() {
        QMessageBox::Icon icon = QMessageBox::Warning;
        int buttons = 0;
        const QStringList seen = closeBoxes([&] { action("MHelp")->trigger(); },
                                            [&](QWidget* box) {
                                                auto* message = qobject_cast<QMessageBox*>(box);
                                                icon = message->icon();
                                                buttons = int(message->buttons().size());
                                            });
        QCOMPARE(seen.size(), 1);
        QVERIFY(seen[0].startsWith("Zirkulon Hilfe: Den angegebene Winkel musst Du"));
        QCOMPARE(icon, QMessageBox::NoIcon);
        QCOMPARE(buttons, 1);
        const QStringList info = closeBoxes([&] { action("MInfo")->trigger(); });
        QCOMPARE(info, QStringList({"Zirkulon Info: Zirkulon Ver. 1.0. Autor: das Zirkulon-Team. "
                                    "Email: zirkulon@example.org."}));
    }

    void longTextsWrapWithinTheScreen() {
        std::string text;
        while (text.size() < 843) {
            text += "Wort um Wort ";
        }
        text.resize(843);
        QRect box;
        closeBoxes([&] { form->messageBox(text, "Winkel Witze"); },
                   [&](QWidget* w) { box = w->frameGeometry(); });
        const QRect screen = form->screen()->availableGeometry();
        QVERIFY2(box.width() <= screen.width(), qPrintable(QString::number(box.width())));
        QVERIFY(box.height() > 3 * QFontMetrics(form->font()).height());
    }

    void aWholeTaskCanBePlayed() {
        for (int hit = 1; hit <= 2; ++hit) {
            const QString target = QString::number(shownTarget());
            const QPoint aim = aimAt(shownTarget());
            QTest::mousePress(form->canvas(), Qt::LeftButton, {}, aim);
            QTest::mouseRelease(form->canvas(), Qt::LeftButton, {}, aim);
            const QStringList seen = closeBoxes([&] { action("MGuess")->trigger(); });
            QVERIFY2(seen.value(0).startsWith("Zirkulon: Herzlichen Glückwunsch! Der eingestellte "
                                              "Winkel ") &&
                         (seen[0].endsWith(" Winkel " + target + " überein.") ||
                          seen[0].endsWith(" Wert " + target + "°")),
                     qPrintable(seen.value(0)));
            // Under the starting tolerance of 2 every second hit earns a joke.
            QCOMPARE(seen.size(), hit);
            QVERIFY(hit == 1 || seen[1].startsWith("Winkel Witze: "));
            QCOMPARE(label("LTreffer")->text(), QString("Erraten: %1 Winkel.").arg(hit));
            QCOMPARE(label("LKlicks")->text(), QString("Versuche: 0"));
        }
    }

    void toleranceIsEnteredInAGermanInputBox() {
        QString cancelText;
        QString prompt;
        int opened = 0;
        const QStringList seen = closeBoxes(
            [&] { action("MExact")->trigger(); },
            [&](QWidget* box) {
                auto* input = qobject_cast<QInputDialog*>(box);
                if (input == nullptr) {
                    return;
                }
                prompt = input->labelText();
                cancelText =
                    input->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->text();
                input->setTextValue(++opened == 1 ? "12" : "2,5");
            });
        QCOMPARE(seen,
                 QStringList({"Zirkulon: [2]",
                              "Zirkulon: Eine Genauigkeit von 12?!? Das ist definitiv zu groß!",
                              "Zirkulon: [12]"}));
        QCOMPARE(prompt, QString("Gib die Genauigkeit in Grad ein."));
        QCOMPARE(cancelText.remove('&'), QString("Abbrechen"));
        QCOMPARE(form->windowTitle(), QString("Eingestellte Genauigkeit: 2,5°"));
    }

    // A held key acts on its first press only: its repeats, flagged or sent
    // as X sends them, press no button, so a box stays open until the key is
    // pressed again, and a held Enter spends one attempt.
    void heldKeysPressNoButtonOfABox() {
        QTest::mousePress(form->canvas(), Qt::LeftButton, {}, aimAt(shownTarget() + 20));
        for (QAction* command : {action("MGuess"), action("MExact")}) {
            bool closedByRepeat = false;
            bool first = true;
            // The keys that press a button, held while the box is open, then
            // Return pressed once more.
            const auto holdKeys = [&](QWidget* box) {
                if (!std::exchange(first, false)) {
                    return;
                }
                for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space, Qt::Key_Escape}) {
                    for (int i = 0; i < 3 && box->isVisible(); ++i) {
                        pressKey(box->focusWidget(), key, true);
                    }
                    for (quint64 time = 1000; time < 1003 && box->isVisible(); ++time) {
                        repeatKeyAsX(box->focusWidget(), key, time);
                    }
                }
                closedByRepeat = !box->isVisible();
                pressKey(box->focusWidget(), Qt::Key_Return);
            };
            const QStringList seen = closeBoxes([&] { command->trigger(); }, holdKeys);
            QVERIFY2(!closedByRepeat, qPrintable(command->text()));
            QCOMPARE(seen.size(), 1);
        }
        QCOMPARE(label("LKlicks")->text(), QString("Versuche: 1"));
    }

    void cancellingTheInputBoxAsksAgain() {
        int opened = 0;
        closeBoxes([&] { action("MExact")->trigger(); },
                   [&](QWidget* box) {
                       auto* input = qobject_cast<QInputDialog*>(box);
                       if (++opened == 1) {
                           input->reject();
                       } else {
                           input->setTextValue("7");
                       }
                   });
        QCOMPARE(opened, 2);
        QCOMPARE(form->windowTitle(), QString("Eingestellte Genauigkeit: 7°"));
    }

    // The window manager may resize the window while a box is open. The
    // handler that opened the box is still running then, so the legs keep
    // their place until the box is closed and are laid out for the new size
    // after it.
    void aResizeWhileABoxIsOpenLaysTheLegsOutOnceItCloses() {
        const LineShape before = form->line(Line::Schenkel1);
        const int menu = form->height() - form->canvas()->height();
        bool resizedUnderBox = false;
        LineShape underBox{};
        closeBoxes([&] { action("MHelp")->trigger(); },
                   [&](QWidget*) {
                       form->resize(800, 400 + menu);
                       resizedUnderBox = QTest::qWaitFor(
                           [&] { return form->canvas()->size() == QSize(800, 400); });
                       underBox = form->line(Line::Schenkel1);
                   });
        QVERIFY(resizedUnderBox);
        QCOMPARE(underBox, before);
        QCOMPARE(form->line(Line::Schenkel1), (LineShape{6000, 3000, 11400, 3000}));
        QVERIFY(isColour(grab(), {400 + 100, 200 - 1}, Qt::red));
    }

    void anErrorEndsOnlyTheHandler() {
        FailingGame failing(*form);
        form->setEvents(&failing);
        QTest::ignoreMessage(QtWarningMsg, "scheitert absichtlich");
        action("MNew")->trigger();
        QCOMPARE(failing.failures, 1);
        // The window goes on delivering events.
        failing.Form_Load();
        failing.Form_Resize();
        QTest::mousePress(form->canvas(), Qt::LeftButton, {}, QPoint(vertex + 100, vertex));
        QCOMPARE(blueLeg(), (LineShape{4110, 4110, 7809, 4110}));
        form->setEvents(nullptr);
    }
};

QTEST_MAIN(QtBoxesTest)
#include "qt_boxes_test.moc"
