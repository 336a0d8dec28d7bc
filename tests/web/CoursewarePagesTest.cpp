#include "web/CoursewarePages.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace tx {
namespace {

struct KindCase {
    const char* address;
    AddressKind kind;
};

class ClassifyAddress : public ::testing::TestWithParam<KindCase> {};

TEST_P(ClassifyAddress, DecidesByThePathSuffixAndScheme) {
    EXPECT_EQ(classifyAddress(QString::fromUtf8(GetParam().address)), GetParam().kind)
        << GetParam().address;
}

INSTANTIATE_TEST_SUITE_P(
    Addresses, ClassifyAddress,
    ::testing::Values(KindCase{"", AddressKind::Empty}, KindCase{"   ", AddressKind::Empty},
                      KindCase{"/tmp/a.swf", AddressKind::LocalSwf},
                      KindCase{"/tmp/我的 课件/一 二.SWF", AddressKind::LocalSwf},
                      KindCase{"C:\\课件\\识字.Swf", AddressKind::LocalSwf},
                      KindCase{"file:///tmp/a%20b.swf", AddressKind::LocalSwf},
                      KindCase{"http://example.com/kejian/a.swf", AddressKind::WebSwf},
                      KindCase{"HTTPS://example.com/课件/a.SWF?v=2#top", AddressKind::WebSwf},
                      KindCase{"http://example.com/a.swf.htm", AddressKind::Page},
                      KindCase{"http://example.com/play.htm?movie=a.swf", AddressKind::Page},
                      KindCase{"ftp://example.com/a.swf", AddressKind::Page},
                      KindCase{"/tmp/site/index.htm", AddressKind::Page},
                      KindCase{"https://www.example.com/", AddressKind::Page}));

TEST(AddressToUrl, PlainPathsBecomeFileAddressesAndOthersStayAsTheyAre) {
    const struct {
        QString address;
        QUrl url;
    } cases[] = {
        {QStringLiteral("/tmp/我的 课件/一.swf"),
         QUrl::fromLocalFile(QStringLiteral("/tmp/我的 课件/一.swf"))},
        {QStringLiteral("C:\\课件\\a.swf"), QUrl::fromLocalFile(QStringLiteral("C:/课件/a.swf"))},
        {QStringLiteral("  http://example.com/a b.htm "),
         QUrl(QStringLiteral("http://example.com/a%20b.htm"))},
        {QStringLiteral("file:///tmp/x.htm"), QUrl(QStringLiteral("file:///tmp/x.htm"))},
    };
    for (const auto& c : cases)
        EXPECT_EQ(addressToUrl(c.address).toString(), c.url.toString()) << c.address.toStdString();
}

TEST(FlashSignature, AcceptsTheThreeFlashHeadersOnly) {
    const struct {
        QByteArray head;
        bool flash;
    } cases[] = {{"FWS\x0a", true}, {"CWS\x0a", true}, {"ZWS\x0d", true}, {"FW", false},
                 {"", false},       {"fws", false},    {"GWS", false},    {"<ht", false}};
    for (const auto& c : cases)
        EXPECT_EQ(hasFlashSignature(c.head), c.flash) << c.head.toStdString();
}

TEST(FlashFile, TellsMissingUnreadableNotFlashAndGood) {
    QTemporaryDir dir;
    const auto write = [&](const QString& name, const QByteArray& bytes) {
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return f.fileName();
    };
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder.swf")));
    const struct {
        QString path;
        FlashFileState state;
    } cases[] = {
        {dir.filePath(QStringLiteral("没有.swf")), FlashFileState::Missing},
        {dir.filePath(QStringLiteral("folder.swf")), FlashFileState::Unreadable},
        {write(QStringLiteral("page.swf"), "<html></html>"), FlashFileState::NotFlash},
        {write(QStringLiteral("empty.swf"), ""), FlashFileState::NotFlash},
        {write(QStringLiteral("一 课.swf"), "CWS\x0a\x10\x00\x00\x00"), FlashFileState::Ok},
    };
    for (const auto& c : cases)
        EXPECT_EQ(checkFlashFile(c.path), c.state) << c.path.toStdString();
}

TEST(OwnPages, EscapeTheAddressAndNameIt) {
    EXPECT_EQ(htmlEscaped(QStringLiteral("<a href=\"x\">&'")),
              QStringLiteral("&lt;a href=&quot;x&quot;&gt;&amp;&#39;"));
    const QString evil = QStringLiteral("/课件/</code><script>alert(1)</script>.swf");
    for (const QString& html :
         {errorPageHtml(evil, reasonText(FlashFileState::Missing)), downloadingPageHtml(evil)}) {
        EXPECT_FALSE(html.contains(QStringLiteral("<script")));
        EXPECT_TRUE(html.contains(htmlEscaped(evil)));
        EXPECT_TRUE(html.contains(QStringLiteral("charset=\"utf-8\"")));
    }
    EXPECT_TRUE(errorPageHtml(evil, reasonText(FlashFileState::NotFlash))
                    .contains(QStringLiteral("这个文件不是 Flash 课件")));
}

class PlayerPageHtml : public ::testing::Test {
protected:
    PlayerMovie movie{QUrl::fromLocalFile(QStringLiteral("/opt/童学/ruffle/")),
                      QUrl::fromLocalFile(QStringLiteral("/tmp/我的 课件/a</script>\".swf")),
                      QStringLiteral("http://example.com/kejian/a.swf")};
    QString html = playerPageHtml(movie.ruffleDir);

    QString inlineScript() const {
        const qsizetype start = html.indexOf(QStringLiteral("<script>")) + 8;
        return html.mid(start, html.indexOf(QStringLiteral("</script>"), start) - start);
    }
    static QString policyOf(const QString& page) {
        const QRegularExpression csp(
            QStringLiteral("Content-Security-Policy\" content=\"([^\"]*)\""));
        return csp.match(page).captured(1).replace(QStringLiteral("&#39;"), QStringLiteral("'"));
    }
};

TEST_F(PlayerPageHtml, LoadsRuffleAndNoMovieOfItsOwn) {
    EXPECT_TRUE(html.contains(QStringLiteral(
        "<script src=\"file:///opt/%E7%AB%A5%E5%AD%A6/ruffle/ruffle.js\"></script>")));
    EXPECT_EQ(html.count(QStringLiteral("</script>")), 2);
    EXPECT_FALSE(html.contains(QStringLiteral(".swf")));
    EXPECT_TRUE(inlineScript().contains(QStringLiteral("window.txPlay=")));
    EXPECT_TRUE(inlineScript().contains(QStringLiteral("window.txStop=")));
}

TEST_F(PlayerPageHtml, LoadScriptPlaysTheMovieWithNetworkingAndScriptingOff) {
    const QString script = playerLoadScript(movie);
    EXPECT_TRUE(script.startsWith(QStringLiteral("window.txPlay&&window.txPlay({")));
    EXPECT_TRUE(script.contains(movie.movie.toString(QUrl::FullyEncoded)));
    EXPECT_TRUE(script.contains(QStringLiteral("\"base\":\"http://example.com/kejian/a.swf\"")));
    EXPECT_TRUE(script.contains(QStringLiteral("\"allowNetworking\":\"none\"")));
    EXPECT_TRUE(script.contains(QStringLiteral("\"allowScriptAccess\":false")));
    EXPECT_TRUE(script.contains(QStringLiteral("\"openUrlMode\":\"deny\"")));
    EXPECT_TRUE(script.contains(
        QStringLiteral("\"publicPath\":\"file:///opt/%E7%AB%A5%E5%AD%A6/ruffle/\"")));
    // The movie's name cannot end a script it is put into.
    EXPECT_FALSE(script.contains(u'<'));
}

TEST_F(PlayerPageHtml, PolicyAllowsOnlyItsOwnInlineScriptAndNoNetwork) {
    const QString policy = policyOf(html);
    ASSERT_FALSE(policy.isEmpty());
    const QString hash = QString::fromLatin1(
        QCryptographicHash::hash(inlineScript().toUtf8(), QCryptographicHash::Sha256).toBase64());
    EXPECT_TRUE(policy.contains(QStringLiteral("'sha256-") + hash + u'\''));
    EXPECT_TRUE(policy.startsWith(QStringLiteral("default-src 'none'")));
    EXPECT_TRUE(policy.contains(QStringLiteral("connect-src file:")));
    EXPECT_FALSE(policy.contains(QStringLiteral("http")));
    for (const QString& directive : policy.split(u';')) {
        if (directive.trimmed().startsWith(QStringLiteral("script-src"))) {
            EXPECT_FALSE(directive.contains(QStringLiteral("unsafe-inline")));
            EXPECT_FALSE(directive.contains(QStringLiteral("'unsafe-eval'")));
        }
    }
}

} // namespace
} // namespace tx
