// SPDX-License-Identifier: GPL-3.0-or-later
// Measures what the player feels, side by side with what bare Qt costs on the
// same platform, and prints both with their ratio:
//
//  1. One pointer move with the left button held: a mouse move event sent to
//     the canvas of the real window (QtForm with the game logic behind it),
//     then the repaint it asked for rendered into the window's backing store
//     and flushed, by delivering the pending update request just as the event
//     loop would. Compared with the same rendering of a full update of a bare
//     548 x 548 QWidget. Medians over many batches, interleaved.
//  2. Start-up to the first painted frame and the peak memory, each in a child
//     process (this program started again with a mode flag): the time from
//     just before the child is spawned to the end of the event that painted
//     the canvas for the first time, and the child's ru_maxrss. Compared with
//     a bare QMainWindow with a menu bar of six entries.
//
// Usage: zirkulon_bench [--runs=N] [--batches=N]
// Runs on QT_QPA_PLATFORM=offscreen unless that variable says otherwise.

#include "Version.h"
#include "programs/QtGame.h"

#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <functional>
#include <numbers>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

std::int64_t monotonicNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

double percentile(std::vector<double> values, double p) {
    std::sort(values.begin(), values.end());
    const double position = p * static_cast<double>(values.size() - 1);
    const auto low = static_cast<std::size_t>(std::floor(position));
    const auto high = std::min(low + 1, values.size() - 1);
    return values[low] + (values[high] - values[low]) * (position - static_cast<double>(low));
}
double median(const std::vector<double>& values) {
    return percentile(values, 0.5);
}

int intOption(int argc, char** argv, const char* name, int fallback) {
    const std::size_t length = std::strlen(name);
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], name, length) == 0 && argv[i][length] == '=') {
            return std::max(1, std::atoi(argv[i] + length + 1));
        }
    }
    return fallback;
}

// Counts the paint events a widget receives and the area they cover.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* widget) : widget_(widget) { widget->installEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == widget_ && event->type() == QEvent::Paint) {
            ++paints;
            for (const QRect& r : static_cast<QPaintEvent*>(event)->region()) {
                area += static_cast<double>(r.width()) * r.height();
            }
        }
        return false;
    }
    long paints = 0;
    double area = 0;

private:
    QWidget* widget_;
};

void waitUntilExposed(QWidget& window) {
    const auto deadline = Clock::now() + std::chrono::seconds(10);
    while ((window.windowHandle() == nullptr || !window.windowHandle()->isExposed()) &&
           Clock::now() < deadline) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    QCoreApplication::processEvents();
}

// Renders whatever the window has been asked to repaint, as the event loop's
// next turn would: the pending update request paints the dirty region into
// the backing store and flushes it to the platform window.
void render(QWidget& topLevel) {
    QCoreApplication::sendPostedEvents(&topLevel, QEvent::UpdateRequest);
}

struct Series {
    const char* name;
    std::function<void()> once;         // one operation
    std::vector<double> perOperation{}; // microseconds, one per batch
};

// Runs the series in turn, batch by batch, so that drift in the machine's
// speed touches all of them alike.
void measure(std::vector<Series*> series, int batches, int perBatch) {
    for (Series* s : series) { // warm-up
        for (int i = 0; i < perBatch; ++i) {
            s->once();
        }
    }
    for (int b = 0; b < batches; ++b) {
        for (Series* s : series) {
            const auto start = Clock::now();
            for (int i = 0; i < perBatch; ++i) {
                s->once();
            }
            const std::chrono::duration<double, std::micro> took = Clock::now() - start;
            s->perOperation.push_back(took.count() / perBatch);
        }
    }
}

// ---- child processes ------------------------------------------------------

// Quits with the time at which the first paint event of `watched` has been
// handled in full, printed in nanoseconds on the monotonic clock.
class FirstFrame : public QObject {
public:
    explicit FirstFrame(QWidget* watched) : watched_(watched) { watched->installEventFilter(this); }
    bool eventFilter(QObject* object, QEvent* event) override {
        if (object == watched_ && event->type() == QEvent::Paint && !seen_) {
            seen_ = true;
            // Runs once the event that is painting now has been handled,
            // flush included.
            QTimer::singleShot(0, [] {
                std::printf("%lld\n", static_cast<long long>(monotonicNanoseconds()));
                std::fflush(stdout);
                QCoreApplication::quit();
            });
        }
        return false;
    }

private:
    QWidget* watched_;
    bool seen_ = false;
};

int startupChild(int argc, char** argv, bool zirkulonWindow) {
    QApplication app(argc, argv);
    QTimer::singleShot(20000, [] { QCoreApplication::exit(2); });
    if (zirkulonWindow) {
        // As programs/qt_main.cpp starts the game.
        zirkulon::setUpApplication(app, QLocale::system());
        zirkulon::QtGame game;
        FirstFrame first(game.form().canvas());
        game.start();
        return QApplication::exec();
    }
    QMainWindow window;
    for (const char* caption : {"Neu", "Genauigkeit", "prüfen", "Hilfe", "Info", "Ende"}) {
        window.menuBar()->addAction(QString::fromUtf8(caption));
    }
    auto* central = new QWidget;
    window.setCentralWidget(central);
    window.resize(548, 548 + window.menuBar()->sizeHint().height());
    FirstFrame first(central);
    window.show();
    return QApplication::exec();
}

struct ChildRun {
    double milliseconds = 0;
    double peakMegabytes = 0;
    bool ok = false;
};

ChildRun spawnChild(const char* mode) {
    ChildRun run;
    int out[2];
    if (pipe(out) != 0) {
        return run;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addclose(&actions, out[1]);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    char self[] = "/proc/self/exe";
    std::string flag = std::string("--startup=") + mode;
    char* argv[] = {self, flag.data(), nullptr};

    pid_t pid = 0;
    const std::int64_t start = monotonicNanoseconds();
    const int spawned = posix_spawn(&pid, self, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (spawned != 0) {
        close(out[0]);
        return run;
    }
    std::string text;
    char buffer[256];
    for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;) {
        text.append(buffer, static_cast<std::size_t>(n));
    }
    close(out[0]);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    const long long painted = std::atoll(text.c_str());
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0 && painted > start;
    run.milliseconds = static_cast<double>(painted - start) / 1e6;
    run.peakMegabytes = static_cast<double>(usage.ru_maxrss) / 1024.0; // kilobytes on Linux
    return run;
}

// ---- the report -----------------------------------------------------------

const char* verdict(bool met) {
    return met ? "met" : "NOT met";
}

int runAll(int argc, char** argv) {
    const int runs = intOption(argc, argv, "--runs", 21);
    const int batches = intOption(argc, argv, "--batches", 41);
    constexpr int perBatch = 100;

    // Start-up first, while this process is still small and idle.
    std::vector<double> floorTime, floorMemory, gameTime, gameMemory;
    spawnChild("floor"); // warms the file cache for both
    spawnChild("zirkulon");
    for (int i = 0; i < runs; ++i) {
        for (const bool game : {false, true}) {
            const ChildRun r = spawnChild(game ? "zirkulon" : "floor");
            if (!r.ok) {
                std::fprintf(stderr, "start-up run failed (%s)\n", game ? "zirkulon" : "floor");
                return 1;
            }
            (game ? gameTime : floorTime).push_back(r.milliseconds);
            (game ? gameMemory : floorMemory).push_back(r.peakMegabytes);
        }
    }

    QApplication app(argc, argv);
    zirkulon::setUpApplication(app, QLocale(QLocale::German, QLocale::Germany));
    zirkulon::QtGame game(QLocale(QLocale::German, QLocale::Germany));
    zirkulon::QtForm& form = game.form();
    game.start();
    waitUntilExposed(form);
    zirkulon::FormCanvas* canvas = form.canvas();
    PaintCounter canvasPaints(canvas);

    QWidget bare;
    bare.setAutoFillBackground(true);
    bare.resize(canvas->size());
    bare.show();
    waitUntilExposed(bare);

    // The pointer walks round the vertex in uneven steps, so that every move
    // turns the leg and redraws the arc.
    const QPointF vertex(canvas->width() / 2.0, canvas->height() / 2.0);
    long step = 0;
    const auto nextPoint = [&] {
        const double angle = static_cast<double>(step++) * 0.1273 * std::numbers::pi;
        const double reach = 60 + static_cast<double>(step % 7) * 25;
        return vertex + QPointF(reach * std::cos(angle), -reach * std::sin(angle));
    };
    const auto move = [&](const QPointF& at) {
        QMouseEvent event(QEvent::MouseMove, at, canvas->mapToGlobal(at), Qt::NoButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(canvas, &event);
    };

    Series bareRepaint{"bare QWidget, full repaint", [&] {
                           bare.update();
                           render(bare);
                       }};
    Series pointerMove{"Zirkulon pointer move", [&] {
                           move(nextPoint());
                           render(form);
                       }};
    // The whole canvas repainted, against which the dirty region a move
    // repaints can be judged.
    Series fullRepaint{"Zirkulon full canvas repaint", [&] {
                           canvas->update();
                           render(form);
                       }};
    measure({&bareRepaint, &pointerMove, &fullRepaint}, batches, perBatch);

    // The event and the game logic alone: moves whose repaints pile up and
    // are rendered once per batch, outside the timed part.
    std::vector<double> logicOnly;
    for (int b = 0; b < batches; ++b) {
        const auto start = Clock::now();
        for (int i = 0; i < perBatch; ++i) {
            move(nextPoint());
        }
        const std::chrono::duration<double, std::micro> took = Clock::now() - start;
        logicOnly.push_back(took.count() / perBatch);
        render(form);
    }

    // How much a move repaints: paint events of the canvas and their area.
    constexpr long countedMoves = 1000;
    canvasPaints.paints = 0;
    canvasPaints.area = 0;
    for (long i = 0; i < countedMoves; ++i) {
        move(nextPoint());
        render(form);
    }
    const double canvasArea = static_cast<double>(canvas->width()) * canvas->height();
    const double bareMove = median(bareRepaint.perOperation);
    const double gameMove = median(pointerMove.perOperation);

    std::printf("Zirkulon %s benchmark on QT_QPA_PLATFORM=%s, Qt %s, canvas %d x %d\n\n",
                zirkulon::version.data(), qgetenv("QT_QPA_PLATFORM").constData(), qVersion(),
                canvas->width(), canvas->height());
    std::printf("Pointer move: median of %d batches of %d, microseconds per operation\n", batches,
                perBatch);
    std::printf("  %-44s %9s %9s %9s %9s\n", "", "median", "p10", "p90", "ratio");
    for (const Series* s : {&bareRepaint, &pointerMove, &fullRepaint}) {
        std::printf("  %-44s %9.1f %9.1f %9.1f %9.2f\n", s->name, median(s->perOperation),
                    percentile(s->perOperation, 0.1), percentile(s->perOperation, 0.9),
                    median(s->perOperation) / bareMove);
    }
    std::printf("  %-44s %9.1f %9.1f %9.1f %9.2f\n", "  of a move: event and game logic alone",
                median(logicOnly), percentile(logicOnly, 0.1), percentile(logicOnly, 0.9),
                median(logicOnly) / bareMove);
    std::printf("  canvas paint events per move %.2f, each covering %.0f %% of the canvas "
                "on average\n",
                static_cast<double>(canvasPaints.paints) / countedMoves,
                100 * canvasPaints.area / static_cast<double>(std::max(1L, canvasPaints.paints)) /
                    canvasArea);

    std::printf("\nStart-up to the first painted frame and peak memory: median of %d child "
                "processes each\n",
                runs);
    std::printf("  %-44s %9s %9s %9s %11s\n", "", "ms", "p10", "p90", "peak MB");
    std::printf("  %-44s %9.1f %9.1f %9.1f %11.1f\n", "bare QMainWindow, menu bar of 6 entries",
                median(floorTime), percentile(floorTime, 0.1), percentile(floorTime, 0.9),
                median(floorMemory));
    std::printf("  %-44s %9.1f %9.1f %9.1f %11.1f\n", "Zirkulon", median(gameTime),
                percentile(gameTime, 0.1), percentile(gameTime, 0.9), median(gameMemory));
    const double timeRatio = median(gameTime) / median(floorTime);
    const double memoryRatio = median(gameMemory) / median(floorMemory);
    std::printf("  %-44s %9.2f %9s %9s %11.2f\n", "ratio", timeRatio, "", "", memoryRatio);

    std::printf("\nGoals: pointer move under 1 ms: %s (%.0f us); start-up within 15 %% of the "
                "floor: %s; peak memory within 15 %%: %s\n",
                verdict(gameMove < 1000), gameMove, verdict(timeRatio <= 1.15),
                verdict(memoryRatio <= 1.15));
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--startup=zirkulon") == 0) {
            return startupChild(argc, argv, true);
        }
        if (std::strcmp(argv[i], "--startup=floor") == 0) {
            return startupChild(argc, argv, false);
        }
    }
    return runAll(argc, argv);
}
