// A download from the recipe page, in the real web engine, lands in the program folder.
#include "web/DownloadPlacement.h"
#include "web/WebEngineBrowser.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <gtest/gtest.h>

namespace tx {
namespace {

constexpr int kPatienceMs = 60000;

void writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

struct Report {
    QString text;
    bool failed = false;
    int count = 0;
};

TEST(RecipeDownloadEngineTest, TheUpdateFileFromTheRecipePageLandsInTheProgramFolder) {
    QTemporaryDir dir;
    const QString program = dir.filePath(QStringLiteral("童学三步通"));
    QDir().mkpath(program);
    const QString site = dir.filePath(QStringLiteral("site/first"));
    QByteArray update(300 * 1024, '\0');
    for (int i = 0; i < update.size(); ++i)
        update[i] = char((i * 7919) % 251);
    writeFile(site + QStringLiteral("/qmtfood.edu"), update);
    writeFile(site + QStringLiteral("/myfood.htm"),
              "<html><body><a id='d' href='qmtfood.edu' download>qmtfood.edu</a></body></html>");

    // An older update is replaced.
    const QString landed = QDir(program).filePath(QStringLiteral("qmtfood.edu"));
    writeFile(landed, "older update");

    Report report;
    DownloadPlacement placement(program, [&](QWidget*, const QString& text, bool failed) {
        report.text = text;
        report.failed = failed;
        ++report.count;
    });
    WebEngineBrowserFactory factory;
    factory.setDownloadPlacement(&placement);
    QWidget host;
    host.resize(400, 300);
    BrowserControl* browser = factory.create(&host);
    browser->widget()->resize(400, 300);
    host.show();
    // The control's widget frames its view (a courseware player may take its place).
    auto* view = browser->widget()->findChild<QWebEngineView*>();
    ASSERT_NE(view, nullptr);
    bool loaded = false;
    QObject::connect(view->page(), &QWebEnginePage::loadFinished, [&](bool ok) { loaded = ok; });
    browser->navigate(QUrl::fromLocalFile(site + QStringLiteral("/myfood.htm")).toString());
    ASSERT_TRUE(QTest::qWaitFor([&] { return loaded; }, kPatienceMs));
    view->page()->runJavaScript(QStringLiteral("document.getElementById('d').click();"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return report.count > 0; }, kPatienceMs));
    EXPECT_FALSE(report.failed) << report.text.toStdString();
    EXPECT_TRUE(report.text.contains(landed)) << report.text.toStdString();
    QFile file(landed);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), update);
    EXPECT_EQ(QDir(program).entryList(QDir::Files), QStringList{QStringLiteral("qmtfood.edu")});
}

} // namespace
} // namespace tx
