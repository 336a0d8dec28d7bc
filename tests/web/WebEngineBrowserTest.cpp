#include "web/WebEngineBrowser.h"
#include "platform/ExecutableProgramPaths.h"
#include "platform/Services.h"
#include "web/BrowserWindows.h"
#include "web/CoursewareBand.h"
#include "web/CoursewarePages.h"
#include "web/CoursewarePlayer.h"

#include "SwfWriter.h"

#include "MoviePixels.h"
#include "TestMovies.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <gtest/gtest.h>
#include <iostream>
#include <map>
#include <signal.h>

namespace tx {
namespace {

using pixels::bluePixels;
using pixels::redPixels;

constexpr int kPatienceMs = 60000;

QString pageText(QWebEnginePage* page) {
    QString text;
    bool done = false;
    page->toPlainText([&](const QString& t) {
        text = t;
        done = true;
    });
    (void)QTest::qWaitFor([&] { return done; }, kPatienceMs);
    return text;
}

QString waitForPlayer(WebEngineBrowser& b) {
    (void)QTest::qWaitFor(
        [&] {
            const QString t = b.view()->page()->title();
            return t == QString::fromUtf8(kPlayerReadyTitle) ||
                   t == QString::fromUtf8(kPlayerFailedTitle);
        },
        kPatienceMs);
    return b.view()->page()->title();
}

QString writeBlueMovie(const QString& path) {
    EXPECT_TRUE(movies::save(movies::blueMovie(3), path));
    return path;
}

// A loopback HTTP server answering fixed paths.
class LoopbackServer {
public:
    explicit LoopbackServer(std::map<QByteArray, std::pair<QByteArray, QByteArray>> routes)
        : routes_(std::move(routes)) {
        server_.listen(QHostAddress::LocalHost);
        QObject::connect(&server_, &QTcpServer::newConnection, &server_, [this] {
            while (QTcpSocket* s = server_.nextPendingConnection()) {
                QObject::connect(s, &QTcpSocket::readyRead, s, [this, s] { answer(s); });
                QObject::connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
            }
        });
    }
    QString url(const QString& path) const {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(server_.serverPort()).arg(path);
    }

private:
    void answer(QTcpSocket* s) {
        const QByteArray request = s->readAll();
        const QByteArray path = request.split(' ').value(1);
        const auto it = routes_.find(path);
        QByteArray reply;
        if (it == routes_.end()) {
            reply = "HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
        } else {
            reply = "HTTP/1.1 200 OK\r\nContent-Type: " + it->second.first +
                    "\r\nContent-Length: " + QByteArray::number(it->second.second.size()) +
                    "\r\nConnection: close\r\n\r\n" + it->second.second;
        }
        s->write(reply);
        s->disconnectFromHost();
    }
    QTcpServer server_;
    std::map<QByteArray, std::pair<QByteArray, QByteArray>> routes_;
};

QByteArray sampleBytes() {
    QFile f(QStringLiteral(TX_SAMPLE_SWF));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << TX_SAMPLE_SWF;
    return f.readAll();
}

class RealBrowser : public ::testing::Test {
protected:
    void SetUp() override {
        host.resize(640, 480);
        browser = new WebEngineBrowser(&host, QStringLiteral(TX_RUFFLE_DIR));
        browser->widget()->setGeometry(0, 0, 640, 480);
        host.show();
    }
    void TearDown() override { delete browser; }
    QImage grabWhenRed() {
        QImage shot;
        (void)QTest::qWaitFor(
            [&] {
                shot = browser->widget()->grab().toImage();
                return redPixels(shot) > 100;
            },
            kPatienceMs);
        return shot;
    }
    QWidget host;
    WebEngineBrowser* browser = nullptr;
};

TEST_F(RealBrowser, PlaysLocalSwfWhosePathHasSpacesAndChinese) {
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("我的 课件"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString path = folder + QStringLiteral("/一 二 三.SWF");
    ASSERT_TRUE(QFile::copy(QStringLiteral(TX_SAMPLE_SWF), path));

    browser->navigate(path);
    EXPECT_EQ(waitForPlayer(*browser), QString::fromUtf8(kPlayerReadyTitle));
    EXPECT_TRUE(browser->view()->page()->url().isLocalFile());
    const QImage shot = grabWhenRed();
    if (const QByteArray out = qgetenv("TX_SCREENSHOT"); !out.isEmpty())
        shot.save(QString::fromLocal8Bit(out));
    EXPECT_GT(redPixels(shot), 100) << "the movie's first frame was not drawn";
}

TEST_F(RealBrowser, PlaysWebSwfDownloadedFromLoopbackServer) {
    LoopbackServer server(
        {{"/kejian/%E4%B8%80.swf", {"application/x-shockwave-flash", sampleBytes()}}});
    browser->navigate(server.url(QStringLiteral("/kejian/一.swf")));
    EXPECT_EQ(waitForPlayer(*browser), QString::fromUtf8(kPlayerReadyTitle));
    EXPECT_GT(redPixels(grabWhenRed()), 100);
}

TEST_F(RealBrowser, BadCoursewareShowsOurChinesePageNamingTheAddress) {
    QTemporaryDir dir;
    QFile notFlash(dir.filePath(QStringLiteral("假的.swf")));
    ASSERT_TRUE(notFlash.open(QIODevice::WriteOnly));
    notFlash.write("<html>not a movie</html>");
    notFlash.close();
    LoopbackServer server({});
    const struct {
        QString address;
        QString reason;
    } cases[] = {
        {dir.filePath(QStringLiteral("没有 这个.swf")), reasonText(FlashFileState::Missing)},
        {notFlash.fileName(), reasonText(FlashFileState::NotFlash)},
        {server.url(QStringLiteral("/missing.swf")), QStringLiteral("无法下载这个课件")},
        {QString(), emptyAddressReason()},
    };
    for (const auto& c : cases) {
        browser->navigate(c.address);
        (void)QTest::qWaitFor([&] { return pageText(browser->view()->page()).contains(c.reason); },
                              kPatienceMs);
        const QString text = pageText(browser->view()->page());
        EXPECT_TRUE(text.contains(c.reason)) << text.toStdString();
        EXPECT_TRUE(text.contains(c.address)) << text.toStdString();
    }
}

TEST_F(RealBrowser, SecondMovieReplacesTheFirstAndErrorsStillShowOurPage) {
    QTemporaryDir dir;
    const QString blue = writeBlueMovie(dir.filePath(QStringLiteral("蓝.swf")));
    browser->navigate(QStringLiteral(TX_SAMPLE_SWF));
    EXPECT_GT(redPixels(grabWhenRed()), 100);

    browser->navigate(blue);
    QImage shot;
    (void)QTest::qWaitFor(
        [&] {
            shot = browser->widget()->grab().toImage();
            return bluePixels(shot) > 100 && redPixels(shot) == 0;
        },
        kPatienceMs);
    EXPECT_GT(bluePixels(shot), 100) << "the second movie was not drawn";
    EXPECT_EQ(redPixels(shot), 0) << "the first movie still shows";
    EXPECT_EQ(waitForPlayer(*browser), QString::fromUtf8(kPlayerReadyTitle));

    const QString missing = dir.filePath(QStringLiteral("没有.swf"));
    browser->navigate(missing);
    const QString reason = reasonText(FlashFileState::Missing);
    (void)QTest::qWaitFor([&] { return pageText(browser->view()->page()).contains(reason); },
                          kPatienceMs);
    const QString text = pageText(browser->view()->page());
    EXPECT_TRUE(text.contains(reason)) << text.toStdString();
    EXPECT_TRUE(text.contains(missing)) << text.toStdString();
    EXPECT_NE(browser->view()->page(), CoursewarePlayer::instance().page());
    // Leaving the player stops its movie: nothing of it runs behind our page.
    (void)QTest::qWaitFor(
        [&] {
            return CoursewarePlayer::instance().page()->title() ==
                   QString::fromUtf8(kPlayerIdleTitle);
        },
        kPatienceMs);
    EXPECT_EQ(CoursewarePlayer::instance().page()->title(), QString::fromUtf8(kPlayerIdleTitle));

    // And the player still plays after our page.
    browser->navigate(QStringLiteral(TX_SAMPLE_SWF));
    EXPECT_GT(redPixels(grabWhenRed()), 100);
}

TEST_F(RealBrowser, AnotherBrowserTakesThePlayerAndTheFirstKeepsAPageOfItsOwn) {
    browser->navigate(QStringLiteral(TX_SAMPLE_SWF));
    EXPECT_GT(redPixels(grabWhenRed()), 100);
    QTemporaryDir dir;
    const QString blue = writeBlueMovie(dir.filePath(QStringLiteral("blue.swf")));
    {
        QWidget otherHost;
        otherHost.resize(640, 480);
        WebEngineBrowser other(&otherHost, QStringLiteral(TX_RUFFLE_DIR));
        other.widget()->setGeometry(0, 0, 640, 480);
        otherHost.show();
        other.navigate(blue);
        EXPECT_EQ(other.view()->page(), CoursewarePlayer::instance().page());
        EXPECT_NE(browser->view()->page(), CoursewarePlayer::instance().page());
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return bluePixels(other.widget()->grab().toImage()) > 100; }, kPatienceMs));
    }
    // The other view is gone; the player outlives it and comes back here.
    ASSERT_NE(CoursewarePlayer::instance().page(), nullptr);
    browser->navigate(QStringLiteral(TX_SAMPLE_SWF));
    EXPECT_GT(redPixels(grabWhenRed()), 100);
}

TEST_F(RealBrowser, WebPageCannotReadLocalFiles) {
    QTemporaryDir dir;
    QFile secret(dir.filePath(QStringLiteral("secret.txt")));
    ASSERT_TRUE(secret.open(QIODevice::WriteOnly));
    secret.write("secret");
    secret.close();
    const QByteArray page =
        "<html><head><title>waiting</title><script>"
        "fetch('" +
        QUrl::fromLocalFile(secret.fileName()).toEncoded() +
        "').then(r=>r.text()).then(t=>{document.title='read:'+t},"
        "()=>{document.title='blocked'});</script></head><body>page</body></html>";
    LoopbackServer server({{"/page.htm", {"text/html", page}}});
    browser->navigate(server.url(QStringLiteral("/page.htm")));
    (void)QTest::qWaitFor(
        [&] {
            const QString t = browser->view()->page()->title();
            return t == QStringLiteral("blocked") || t.startsWith(QStringLiteral("read:"));
        },
        kPatienceMs);
    EXPECT_EQ(browser->view()->page()->title(), QStringLiteral("blocked"));
}

// A movie that tries to read files next to it, by every loader AVM1 has: a movie into a
// level and variables into the root, by file: address and relative to the movie.
QString writeLoaderMovie(const QString& path, const QStringList& targets) {
    swf::SwfWriter w(400, 300, 12);
    w.setBackground({255, 255, 255});
    w.place(w.defineShape({{50, 50}, {350, 50}, {350, 250}, {50, 250}}, {230, 40, 40}), 1);
    for (const QString& t : targets) {
        w.loadMovie(t.toStdString(), 1);
        w.loadVariables(t.toStdString());
    }
    for (int i = 0; i < 24; ++i)
        w.showFrame();
    EXPECT_TRUE(movies::save(w, path));
    return path;
}

TEST_F(RealBrowser, MoviesThatLoadLocalFilesGetNothingAndStillPlay) {
    QTemporaryDir dir;
    QFile secret(dir.filePath(QStringLiteral("secret.txt")));
    ASSERT_TRUE(secret.open(QIODevice::WriteOnly));
    secret.write("a=secret");
    secret.close();
    const QString other = writeBlueMovie(dir.filePath(QStringLiteral("other.swf")));
    const QString secretUrl = QUrl::fromLocalFile(secret.fileName()).toString();
    const QString otherUrl = QUrl::fromLocalFile(other).toString();
    const QString movie =
        writeLoaderMovie(dir.filePath(QStringLiteral("loader.swf")),
                         {secretUrl, otherUrl, QStringLiteral("secret.txt"),
                          QStringLiteral("other.swf"), QStringLiteral("http://127.0.0.1:9/x.txt")});
    QStringList allowed, blocked;
    CoursewarePlayer::instance().setRequestObserver(
        [&](const QUrl& url, bool ok) { (ok ? allowed : blocked) << url.toString(); });
    browser->navigate(movie);
    EXPECT_EQ(waitForPlayer(*browser), QString::fromUtf8(kPlayerReadyTitle));
    EXPECT_GT(redPixels(grabWhenRed()), 100) << "the movie did not play";
    QTest::qWait(1500); // its loaders have run by now
    CoursewarePlayer::instance().setRequestObserver(nullptr);
    for (const QString& url : allowed) {
        EXPECT_FALSE(url.contains(QStringLiteral("secret.txt"))) << url.toStdString();
        EXPECT_FALSE(url.contains(QStringLiteral("other.swf"))) << url.toStdString();
        EXPECT_TRUE(url.startsWith(QStringLiteral("file:")) ||
                    url.startsWith(QStringLiteral("data:")) ||
                    url.startsWith(QStringLiteral("blob:")))
            << url.toStdString();
    }
    // Read once: the player's own request got the page's early read.
    EXPECT_EQ(allowed.count(QUrl::fromLocalFile(movie).toString()), 1);
    // The movie did try, and was stopped here rather than by the player's own settings.
    EXPECT_TRUE(blocked.contains(secretUrl)) << blocked.join(u' ').toStdString();
    EXPECT_EQ(bluePixels(browser->widget()->grab().toImage()), 0) << "the other movie showed";
    std::cout << "blocked: " << blocked.join(QStringLiteral(" ")).toStdString() << std::endl;
}

// A file with a good signature that the player cannot play gets our page, as a damaged
// file does; the player plays the next movie.
TEST_F(RealBrowser, AMovieThePlayerRefusesShowsOurChinesePage) {
    QTemporaryDir dir;
    QFile broken(dir.filePath(QStringLiteral("坏的.swf")));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write(QByteArray("CWS\x0a\xff\xff\x00\x00", 8) + QByteArray(64, '\x5a'));
    broken.close();
    browser->navigate(broken.fileName());
    const QString reason = playerRefusedReason();
    (void)QTest::qWaitFor(
        [&] {
            return browser->view()->page() != CoursewarePlayer::instance().page() &&
                   pageText(browser->view()->page()).contains(reason);
        },
        kPatienceMs);
    const QString text = pageText(browser->view()->page());
    EXPECT_TRUE(text.contains(reason)) << text.toStdString();
    EXPECT_TRUE(text.contains(broken.fileName())) << text.toStdString();

    browser->navigate(QStringLiteral(TX_SAMPLE_SWF));
    EXPECT_GT(redPixels(grabWhenRed()), 100);
}

// A wrapper page whose loading did not finish is loaded again for the next movie.
TEST_F(RealBrowser, AWrapperPageThatFailedToLoadIsLoadedAgain) {
    // A page process that is gone makes the next movie load the wrapper page anew.
    if (QWebEnginePage* page = CoursewarePlayer::instance().page();
        page && page->renderProcessPid() > 0) {
        ::kill(pid_t(page->renderProcessPid()), SIGKILL);
        (void)QTest::qWaitFor([&] { return page->renderProcessPid() == 0; }, kPatienceMs);
    }
    browser->navigate(QStringLiteral(TX_SAMPLE_SWF));
    // That load stopped before it finished.
    CoursewarePlayer::instance().page()->triggerAction(QWebEnginePage::Stop);
    QTest::qWait(500);
    browser->navigate(QStringLiteral(TX_SAMPLE_SWF));
    EXPECT_EQ(waitForPlayer(*browser), QString::fromUtf8(kPlayerReadyTitle));
    EXPECT_GT(redPixels(grabWhenRed()), 100);
}

// The sample through the viewer the program uses, twice from one owner; how long until its
// first frame shows is printed (cold, then warm), never asserted. Closing the window ends
// the movie although the window stays for the next one.
TEST(RealCoursewareViewer, ShowCoursewareDrawsTheSampleMovie) {
    WebEngineBrowserFactory factory(QStringLiteral(TX_RUFFLE_DIR));
    FixedProgramPaths paths(QStringLiteral(TX_PROGRAM_DIR "/tongxue"));
    Services services;
    services.browsers = &factory;
    services.paths = &paths;
    const QString sample = sampleCoursewareAddress(QStringLiteral(TX_PROGRAM_DIR));
    ASSERT_EQ(checkFlashFile(sample), FlashFileState::Ok);
    QWidget owner;
    std::vector<QWidget*> windows;
    for (const char* run : {"cold", "warm"}) {
        QElapsedTimer clock;
        qint64 firstFrameMs = -1;
        int red = 0;
        QString caption;
        // The window opens once the page has the movie file: looked for until then.
        QTimer opened;
        QObject::connect(&opened, &QTimer::timeout, [&] {
            QWidget* dialog = QApplication::activeModalWidget();
            if (!dialog)
                return;
            opened.stop();
            windows.push_back(dialog);
            caption = dialog->windowTitle();
            QWidget* view = dialog->findChild<QWidget*>(QStringLiteral("WB1"));
            ASSERT_NE(view, nullptr);
            (void)QTest::qWaitFor(
                [&] {
                    red = redPixels(view->grab().toImage());
                    return red > 100;
                },
                kPatienceMs);
            firstFrameMs = clock.elapsed();
            dialog->close();
        });
        opened.start(5);
        clock.start();
        ShowCourseware(services, &owner, QStringLiteral("幼儿识字"), sample);
        EXPECT_EQ(caption, QStringLiteral("课件:幼儿识字     网址:") + sample);
        EXPECT_GT(red, 100) << run << ": the movie was not drawn";
        EXPECT_TRUE(QTest::qWaitFor(
            [] {
                return CoursewarePlayer::instance().page()->title() ==
                       QString::fromUtf8(kPlayerIdleTitle);
            },
            kPatienceMs))
            << run << ": the movie goes on in the closed window";
        std::printf("ShowCourseware to first frame, %s: %lld ms\n", run,
                    static_cast<long long>(firstFrameMs));
    }
    ASSERT_EQ(windows.size(), 2u);
    EXPECT_EQ(windows[0], windows[1]);
}

} // namespace
} // namespace tx
