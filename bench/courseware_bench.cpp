// ShowCourseware on the sample courseware until its first frame is drawn: the first time in
// the process (cold), then again (warm), in the program's real viewer.
// Run under a virtual display from the build folder:
//   xvfb-run -a -s "-noreset -screen 0 1280x1024x24" bench/courseware_bench [--clear] [warm rounds]
// --clear empties the courseware profile's caches first: a first run ever.
#include "platform/ExecutableProgramPaths.h"
#include "platform/Services.h"
#include "web/BrowserWindows.h"
#include "web/CoursewareBand.h"
#include "web/CoursewarePlayer.h"
#include "web/WebEngineBrowser.h"

#include "MoviePixels.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QTimer>
#include <QWebEngineProfile>
#include <QWidget>
#include <algorithm>
#include <cstdio>
#include <unistd.h>
#include <vector>

namespace {

using tx::pixels::redPixels;

// Milliseconds from ShowCourseware until the view shows the movie; -1: not within 60 s.
qint64 showOnce(tx::Services& services, const QString& sample) {
    QElapsedTimer clock;
    qint64 ms = -1;
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        QWidget* view = dialog ? dialog->findChild<QWidget*>(QStringLiteral("WB1")) : nullptr;
        if (!view)
            return;
        if (redPixels(view->grab().toImage()) > 100)
            ms = clock.elapsed();
        if (ms >= 0 || clock.elapsed() > 60000) {
            poll.stop();
            dialog->close();
        }
    });
    poll.start();
    clock.start();
    tx::ShowCourseware(services, nullptr, QStringLiteral("幼儿识字"), sample);
    return ms;
}

} // namespace

int main(int argc, char** argv) {
    if (geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tongxue-courseware-bench"));
    bool clear = false;
    int rounds = 5;
    for (int i = 1; i < argc; ++i) {
        if (QByteArray(argv[i]) == "--clear")
            clear = true;
        else
            rounds = std::max(1, atoi(argv[i]));
    }
    const QString programDir =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("../tongxue"));
    if (clear) {
        QWebEngineProfile* profile = tx::CoursewarePlayer::instance().profile();
        QDir(profile->cachePath()).removeRecursively();
        QDir(profile->persistentStoragePath()).removeRecursively();
    }
    tx::WebEngineBrowserFactory factory(QDir(programDir).filePath(QStringLiteral("ruffle")));
    tx::FixedProgramPaths paths(QDir(programDir).filePath(QStringLiteral("tongxue")));
    tx::Services services;
    services.browsers = &factory;
    services.paths = &paths;
    const QString sample = tx::sampleCoursewareAddress(QDir(programDir).absolutePath());

    const qint64 cold = showOnce(services, sample);
    std::vector<qint64> warm;
    for (int i = 0; i < rounds; ++i)
        warm.push_back(showOnce(services, sample));
    std::printf("ShowCourseware to first frame%s, cold: %lld ms\n",
                clear ? " (caches cleared)" : "", static_cast<long long>(cold));
    std::printf("ShowCourseware to first frame, warm:");
    for (qint64 ms : warm)
        std::printf(" %lld", static_cast<long long>(ms));
    std::sort(warm.begin(), warm.end());
    std::printf(" ms (median %lld ms)\n", static_cast<long long>(warm[warm.size() / 2]));
    const bool drawn = cold >= 0 && warm.front() >= 0;
    return drawn ? 0 : 1;
}
