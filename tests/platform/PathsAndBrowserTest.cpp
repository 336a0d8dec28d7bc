#include "platform/DesktopExternalBrowser.h"
#include "platform/ExecutableProgramPaths.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace tx {
namespace {

TEST(ProgramPaths, TheExecutableIsTheRunningProgram) {
    ExecutableProgramPaths paths;
    const QString exe = paths.executablePath();
    EXPECT_EQ(exe, QCoreApplication::applicationFilePath());
    EXPECT_TRUE(QFileInfo(exe).isExecutable());
    EXPECT_EQ(QFileInfo(exe).canonicalFilePath(),
              QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath());
    EXPECT_EQ(paths.folder(), QFileInfo(exe).absolutePath() + u'/');
}

TEST(ProgramPaths, FixedPathAndItsFolder) {
    FixedProgramPaths paths(QStringLiteral("/opt/童学/tongxue"));
    EXPECT_EQ(paths.executablePath(), QStringLiteral("/opt/童学/tongxue"));
    EXPECT_EQ(paths.folder(), QStringLiteral("/opt/童学/"));
    paths.setExecutablePath(QStringLiteral("C:\\Program Files\\tx\\tx.exe"));
    EXPECT_EQ(paths.folder(), QStringLiteral("C:\\Program Files\\tx\\"));
    paths.setExecutablePath(QStringLiteral("tongxue"));
    EXPECT_EQ(paths.folder(), QString());
}

TEST(ExternalBrowser, AddressesBecomeUrls) {
    using B = DesktopExternalBrowser;
    EXPECT_EQ(B::toUrl(QStringLiteral("http://www.example.com/a.htm")),
              QUrl(QStringLiteral("http://www.example.com/a.htm")));
    EXPECT_EQ(B::toUrl(QStringLiteral("https://example.com/x?y=1")),
              QUrl(QStringLiteral("https://example.com/x?y=1")));
    EXPECT_EQ(B::toUrl(QStringLiteral("file:///tmp/a.htm")),
              QUrl(QStringLiteral("file:///tmp/a.htm")));
    EXPECT_EQ(B::toUrl(QStringLiteral("/tmp/课件 1.swf")),
              QUrl::fromLocalFile(QStringLiteral("/tmp/课件 1.swf")));
    EXPECT_EQ(
        B::toUrl(QStringLiteral("site/index.htm")),
        QUrl::fromLocalFile(QDir::current().absoluteFilePath(QStringLiteral("site/index.htm"))));
}

class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void catchUrl(const QUrl& url) { urls << url; }
};

TEST(ExternalBrowser, OpensThroughTheDesktopServices) {
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("http"), &catcher, "catchUrl");
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "catchUrl");
    DesktopExternalBrowser browser;
    browser.open(QStringLiteral("http://www.example.com/"));
    browser.open(QStringLiteral("/tmp/page.htm"));
    browser.open(QString()); // nothing to open
    QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    ASSERT_EQ(catcher.urls.size(), 2);
    EXPECT_EQ(catcher.urls[0], QUrl(QStringLiteral("http://www.example.com/")));
    EXPECT_EQ(catcher.urls[1], QUrl::fromLocalFile(QStringLiteral("/tmp/page.htm")));
}

} // namespace
} // namespace tx

#include "PathsAndBrowserTest.moc"
