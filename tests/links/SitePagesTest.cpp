#include "LinksTestSupport.h"
#include "web/MainWindowLinks.h"
#include "web/Sites.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRadioButton>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace tx {
namespace {

// The source tree stands for the program folder: its site/ is what gets installed.
const QString kSourceDir = QStringLiteral(TX_SOURCE_DIR);
// Files the build makes into the installed site (the recipe update) are found there.
const QString kProgramDir = QStringLiteral(TX_PROGRAM_DIR);

bool isLocal(const QString& address) {
    return !address.startsWith(QStringLiteral("http://")) &&
           !address.startsWith(QStringLiteral("https://"));
}

TEST(SitePages, EveryPageTheWindowsNameExists) {
    const std::pair<MakerSite, const char*> pages[] = {
        {MakerSite::First, ""},
        {MakerSite::First, "/yjstar.htm"},
        {MakerSite::First, "/download.htm"},
        {MakerSite::First, "/guanggao.htm"},
        {MakerSite::First, "/yeygl.htm"},
        {MakerSite::First, "/yeygl/yey/yey.htm"},
        {MakerSite::First, "/kejianfalshgx.htm"},
        {MakerSite::First, "/yzchild.htm"},
        {MakerSite::First, "/zqlyx.htm"},
        {MakerSite::First, "/zqlyxfk.htm"},
        {MakerSite::First, "/myfood.htm"},
        {MakerSite::First, "/wzdq.htm"},
        {MakerSite::Second, ""},
        {MakerSite::Second, "/guanggao.htm"},
        {MakerSite::Second, "/kejianfalshgx.htm"},
    };
    for (const auto& [site, path] : pages) {
        const QString file = makerSiteAddress(kSourceDir, site, QString::fromLatin1(path));
        EXPECT_TRUE(QFileInfo(file).isFile()) << file.toStdString();
    }
}

TEST(SitePages, MainWindowAndDirectoryLoadOnlyPagesThatExist) {
    TestServices t;
    t.paths.setExecutablePath(kSourceDir + QStringLiteral("/tongxue"));
    testing::FakeMainWindow main(t.services);
    MainWindowLinks links(&main.window, t.services, main.WB1);
    for (QRadioButton* rb : main.window.findChildren<QRadioButton*>())
        rb->click();
    main.window.findChild<QRadioButton*>("RB12")->click();
    main.window.findChild<QRadioButton*>("RB11")->click();
    for (int tick = 0; tick < 11; ++tick)
        links.Timer2Timer();
    QStringList addresses = t.browsers.allAddresses();
    for (const LinkEntry& entry : usefulLinks(kSourceDir))
        addresses << entry.address;
    int local = 0;
    for (const QString& address : addresses) {
        if (address.isEmpty() || !isLocal(address))
            continue;
        ++local;
        EXPECT_TRUE(QFileInfo(address).isFile()) << address.toStdString();
    }
    EXPECT_GE(local, 10);
}

// The pages link to each other and to the shared stylesheet by relative addresses; every
// one must lead to a file, and other parties' addresses stay out of them (they live in
// the one table of the program's sources).
TEST(SitePages, PagesAreChineseAndTheirLinksLeadToFiles) {
    const QRegularExpression link(QStringLiteral(R"re((?:href|src)="([^"#]*)")re"));
    QDirIterator it(kSourceDir + QStringLiteral("/site"), {QStringLiteral("*.htm")}, QDir::Files,
                    QDirIterator::Subdirectories);
    int pages = 0;
    while (it.hasNext()) {
        const QString file = it.next();
        SCOPED_TRACE(file.toStdString());
        ++pages;
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(f.readAll());
        EXPECT_TRUE(html.contains(QStringLiteral("<html lang=\"zh-CN\">")));
        EXPECT_TRUE(html.contains(QStringLiteral("<meta charset=\"utf-8\">")));
        EXPECT_TRUE(html.contains(QStringLiteral("style.css")));
        for (auto m = link.globalMatch(html); m.hasNext();) {
            const QString target = m.next().captured(1);
            EXPECT_TRUE(isLocal(target)) << target.toStdString();
            if (target.isEmpty() || !isLocal(target))
                continue;
            const QString relative =
                QDir(kSourceDir).relativeFilePath(QFileInfo(file).dir().filePath(target));
            EXPECT_TRUE(QFileInfo(QDir(kSourceDir).filePath(relative)).isFile() ||
                        QFileInfo(QDir(kProgramDir).filePath(relative)).isFile())
                << target.toStdString();
        }
    }
    EXPECT_GE(pages, 15);
}

} // namespace
} // namespace tx
