// What a child sees after pressing a courseware button: the time from ShowCourseware until
// the new movie's first frame is on the screen, in the program's real viewer.
//
//   xvfb-run -a -s "-noreset -screen 0 1280x1024x24" bench/courseware_bench [rounds]
//
// Each round is a fresh process on the same (the user's existing) profile folder:
//   cold       the first movie right after start, nothing prepared;
//   prepared   the first movie after the idle-time preparation the main window starts
//              (prepareCourseware) has finished, as when a child clicks a few seconds in;
//   warm       further movies in the same process, two movies taking turns, so that a
//              frame of the previous one never counts.
// Medians over the rounds are printed, phase by phase: the window up (the dialog active),
// the page process starting (the wrapper page's time origin), ruffle.js run and the wasm
// module compiled, the page told to play, the movie file read, the player made (Ruffle's
// instance built), the movie loaded (its header read), ready (the program sees the page
// report it) and the first frame on the screen. The page's steps are its own marks.
//
// The screen is watched from a thread with an X connection of its own (ScreenWatcher): a
// grab of the view would render on the GUI thread, which is also the engine's UI thread,
// and slow down what is measured. The GUI thread only reads the page's title.
#include "platform/ExecutableProgramPaths.h"
#include "platform/Services.h"
#include "web/BrowserWindows.h"
#include "web/CoursewareBand.h"
#include "web/CoursewarePages.h"
#include "web/CoursewarePlayer.h"
#include "web/WebEngineBrowser.h"
#include "web/WebRendering.h"

#include "ScreenWatcher.h"
#include "SwfWriter.h"
#include "TestMovies.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWebEnginePage>
#include <QWidget>
#include <algorithm>
#include <cstdio>
#include <map>
#include <unistd.h>
#include <vector>

namespace {

constexpr qint64 kGiveUpMs = 60000;

struct Phases {
    double window = -1, pageProcess = -1, ruffleJs = -1, wasm = -1, play = -1, movie = -1,
           player = -1, loaded = -1, ready = -1, firstFrame = -1;
};

// The columns, in order, with the JSON keys.
const char* const kColumns[] = {"window", "page_process", "ruffle_js", "wasm",  "play",
                                "movie",  "player",       "loaded",    "ready", "first_frame"};
const char* const kHeadings[] = {"window", "page proc", "ruffle.js", "wasm",  "play",
                                 "movie",  "player",    "loaded",    "ready", "first frame"};

QWebEnginePage* playerPage() {
    return tx::CoursewarePlayer::instance().page();
}

// The wrapper page's own timing of its start and of its steps, in ms since epoch.
QJsonObject pageTiming() {
    QJsonObject result;
    bool done = false;
    playerPage()->runJavaScript(
        QStringLiteral("JSON.stringify({origin:performance.timeOrigin,marks:performance."
                       "getEntriesByType('mark').map(function(e){return[e.name,"
                       "performance.timeOrigin+e.startTime];})})"),
        [&](const QVariant& v) {
            result = QJsonDocument::fromJson(v.toString().toUtf8()).object();
            done = true;
        });
    (void)QTest::qWaitFor([&] { return done; }, 5000);
    return result;
}

// One movie shown through ShowCourseware; red: the sample (its first frame has a red
// circle), else the blue movie. The window is closed once the frame is on the screen.
Phases showOnce(tx::Services& services, QWidget* owner, tx::bench::ScreenWatcher& screen,
                const QString& movie, bool red) {
    using Clock = tx::bench::ScreenWatcher::Clock;
    Phases p;
    const auto start = Clock::now();
    const auto since = [&](Clock::time_point t) {
        return std::chrono::duration<double, std::milli>(t - start).count();
    };
    const qint64 startEpoch = QDateTime::currentMSecsSinceEpoch();
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (!dialog)
            return;
        const double now = since(Clock::now());
        if (p.window < 0) {
            p.window = now;
            // A strip across the middle of the view: the stage is centred in it, and both
            // movies' shapes cross its middle line.
            auto* view = dialog->findChild<QWidget*>(QStringLiteral("WB1"));
            const QRect r(view->mapToGlobal(QPoint(0, 0)), view->size());
            screen.watch(QRect(r.left(), r.center().y() - 4, r.width(), 8),
                         red ? tx::bench::ScreenWatcher::Colour::Red
                             : tx::bench::ScreenWatcher::Colour::Blue);
        }
        if (p.ready < 0 && playerPage() &&
            playerPage()->title() == QString::fromUtf8(tx::kPlayerReadyTitle))
            p.ready = now;
        if (const auto seen = screen.seen()) {
            p.firstFrame = since(*seen);
            screen.stop();
            dialog->close();
        } else if (now > kGiveUpMs) {
            screen.stop();
            dialog->close();
        }
    });
    poll.start();
    tx::ShowCourseware(services, owner, QStringLiteral("幼儿识字"), movie);
    poll.stop();
    const QJsonObject timing = pageTiming();
    const double origin = timing.value(QStringLiteral("origin")).toDouble(-1);
    if (origin >= double(startEpoch)) // the page started in this showing
        p.pageProcess = origin - double(startEpoch);
    const std::map<QString, double*> marks = {
        {QStringLiteral("tx-ruffle-js"), &p.ruffleJs}, {QStringLiteral("tx-wasm"), &p.wasm},
        {QStringLiteral("tx-play"), &p.play},          {QStringLiteral("tx-movie"), &p.movie},
        {QStringLiteral("tx-player"), &p.player},      {QStringLiteral("tx-loaded"), &p.loaded}};
    for (const QJsonValue& m : timing.value(QStringLiteral("marks")).toArray()) {
        const auto it = marks.find(m.toArray().at(0).toString());
        const double at = m.toArray().at(1).toDouble() - double(startEpoch);
        if (it != marks.end() && at >= 0) // else: marked before this showing
            *it->second = at;
    }
    return p;
}

QString writeBlueMovie(const QString& path) {
    tx::movies::save(tx::movies::blueMovie(24), path);
    return path;
}

QJsonObject toJson(const Phases& p) {
    return {{"window", p.window},      {"page_process", p.pageProcess},
            {"ruffle_js", p.ruffleJs}, {"wasm", p.wasm},
            {"play", p.play},          {"movie", p.movie},
            {"player", p.player},      {"loaded", p.loaded},
            {"ready", p.ready},        {"first_frame", p.firstFrame}};
}

// One fresh process: the first movie (cold or prepared), then warm ones; one JSON line.
int child(bool prepare, const QString& programDir, int warmRounds) {
    const std::unique_ptr<tx::bench::ScreenWatcher> screen = tx::bench::ScreenWatcher::open();
    if (!screen) {
        std::fprintf(stderr, "needs an X screen of 24-bit colour: xvfb-run -a -s \"-screen 0 "
                             "1280x1024x24\"\n");
        return 2;
    }
    tx::WebEngineBrowserFactory factory(QDir(programDir).filePath(QStringLiteral("ruffle")));
    tx::FixedProgramPaths paths(QDir(programDir).filePath(QStringLiteral("tongxue")));
    tx::Services services;
    services.browsers = &factory;
    services.paths = &paths;
    const QString sample = tx::sampleCoursewareAddress(QDir(programDir).absolutePath());
    QTemporaryDir dir;
    const QString blue = writeBlueMovie(dir.filePath(QStringLiteral("blue.swf")));

    // The window whose button opens the courseware, as the main window does.
    QWidget mainWindow;
    mainWindow.resize(800, 600);
    mainWindow.show();
    (void)QTest::qWaitForWindowExposed(&mainWindow);

    QJsonObject out;
    if (prepare) {
        QElapsedTimer clock;
        clock.start();
        factory.prepareCourseware();
        // Prepared: the page loaded and its blank movie played and gone again.
        bool warmed = false;
        while (!warmed && clock.elapsed() < kGiveUpMs) {
            QTest::qWait(100);
            if (QWebEnginePage* page = playerPage(); page && !page->isLoading()) {
                bool answered = false;
                page->runJavaScript(QStringLiteral("window.txWarmed===true"),
                                    [&](const QVariant& v) {
                                        warmed = v.toBool();
                                        answered = true;
                                    });
                (void)QTest::qWaitFor([&] { return answered; }, 5000);
            }
        }
        out[QStringLiteral("prepare_ms")] = double(clock.elapsed());
        QTest::qWait(1000); // the child clicks a little later
    }
    out[QStringLiteral("first")] = toJson(showOnce(services, &mainWindow, *screen, sample, true));
    QJsonArray warm;
    for (int i = 0; i < warmRounds; ++i) {
        const bool red = i % 2 == 1;
        warm.append(toJson(showOnce(services, &mainWindow, *screen, red ? sample : blue, red)));
    }
    out[QStringLiteral("warm")] = warm;
    std::printf("RESULT %s\n", QJsonDocument(out).toJson(QJsonDocument::Compact).constData());
    std::fflush(stdout);
    return 0;
}

double median(std::vector<double> v) {
    v.erase(std::remove_if(v.begin(), v.end(), [](double x) { return x < 0; }), v.end());
    if (v.empty())
        return -1;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

QString ms(double v) {
    return v < 0 ? QStringLiteral("    -") : QString::asprintf("%5.0f", v);
}

} // namespace

int main(int argc, char** argv) {
    if (geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tongxue-courseware-bench"));
    // Drawn as the program draws them.
    const bool software = tx::chooseWebRendering() == tx::WebRendering::Software;
    const QString programDir =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("../tongxue"));
    const QStringList args = QCoreApplication::arguments();
    if (args.size() > 2 && args[1] == QStringLiteral("--child"))
        return child(args[2] == QStringLiteral("prepared"), programDir, 5);

    const int rounds = args.size() > 1 ? std::max(1, args[1].toInt()) : 5;
    std::map<QString, std::vector<QJsonObject>> showings; // cold, prepared, warm
    std::vector<double> prepareMs;
    for (int r = 0; r < rounds; ++r) {
        for (const QString& mode : {QStringLiteral("cold"), QStringLiteral("prepared")}) {
            QProcess p;
            p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
            p.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--child"), mode});
            p.waitForFinished(300000);
            const QByteArray text = p.readAllStandardOutput();
            const qsizetype at = text.indexOf("RESULT ");
            if (at < 0) {
                std::fprintf(stderr, "round %d %s: no result\n", r, qPrintable(mode));
                continue;
            }
            const QJsonObject o =
                QJsonDocument::fromJson(text.mid(at + 7).split('\n').first()).object();
            showings[mode].push_back(o[QStringLiteral("first")].toObject());
            if (o.contains(QStringLiteral("prepare_ms")))
                prepareMs.push_back(o[QStringLiteral("prepare_ms")].toDouble());
            for (const QJsonValue& w : o[QStringLiteral("warm")].toArray())
                showings[QStringLiteral("warm")].push_back(w.toObject());
        }
    }
    std::printf("Web views drawn %s.\n", software ? "in software" : "through OpenGL");
    std::printf("Courseware, ms from ShowCourseware (medians of %d fresh processes; warm: of "
                "all their later movies):\n%-9s",
                rounds, "movie");
    for (const char* h : kHeadings)
        std::printf(" %11s", h);
    std::printf("\n");
    for (const QString& mode :
         {QStringLiteral("cold"), QStringLiteral("prepared"), QStringLiteral("warm")}) {
        std::printf("%-9s", qPrintable(mode));
        for (const char* key : kColumns) {
            std::vector<double> v;
            for (const QJsonObject& o : showings[mode])
                v.push_back(o[QString::fromLatin1(key)].toDouble(-1));
            std::printf(" %11s", qPrintable(ms(median(v))));
        }
        std::printf("  (%zu)\n", showings[mode].size());
    }
    if (!prepareMs.empty())
        std::printf("preparation at idle time: %s ms\n", qPrintable(ms(median(prepareMs))));
    // How evenly warm movies come: one slow in ten is what a class would notice.
    std::vector<double> warm;
    for (const QJsonObject& o : showings[QStringLiteral("warm")])
        if (const double v = o[QStringLiteral("first_frame")].toDouble(-1); v >= 0)
            warm.push_back(v);
    if (!warm.empty()) {
        std::sort(warm.begin(), warm.end());
        const auto at = [&](double q) { return warm[std::size_t(q * double(warm.size() - 1))]; };
        std::printf("warm first frame: fastest %s, 90th percentile %s, slowest %s ms\n",
                    qPrintable(ms(warm.front())), qPrintable(ms(at(0.9))),
                    qPrintable(ms(warm.back())));
    }
    return showings.empty() ? 1 : 0;
}
