#include "web/BrowserWindows.h"
#include "platform/testing/TestServices.h"
#include "web/CoursewareBand.h"
#include "web/SiteListPanel.h"
#include "web/Sites.h"
#include "web/TWEBBIGForm.h"
#include "web/TZHUCE1Form.h"
#include "web/TzhucepayForm.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPointer>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>
#include <gtest/gtest.h>

namespace tx {
namespace {

const QString kProgramDir = QStringLiteral("/tmp/tongxue-test");

QString firstSite(const QString& path) {
    return makerSiteAddress(kProgramDir, MakerSite::First, path);
}
QString secondSite(const QString& path) {
    return makerSiteAddress(kProgramDir, MakerSite::Second, path);
}

// What the modal window looked like while it was open; it is closed afterwards.
struct Seen {
    bool open = false;
    QString objectName;
    QString caption;
    bool siteListShown = false;
    QStringList bannersShown;
    QString marked;
    bool maximised = false;
    bool onlyCloseBox = false;
    QStringList addresses;
};

void inspectModal(Seen& seen, const std::function<void(QDialog*)>& more = {}) {
    QTimer::singleShot(0, [&seen, more] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        seen.open = true;
        seen.objectName = dialog->objectName();
        seen.caption = dialog->windowTitle();
        if (auto* list = dialog->findChild<SiteListPanel*>(QStringLiteral("QMTPL"))) {
            seen.siteListShown = !list->isHidden();
            seen.marked = list->marked();
        }
        for (const char* banner : {"ETPL", "DQPL", "ZXXPL"})
            if (auto* w = dialog->findChild<QWidget*>(QString::fromLatin1(banner));
                w && !w->isHidden())
                seen.bannersShown << QString::fromLatin1(banner);
        seen.maximised = dialog->windowState().testFlag(Qt::WindowMaximized);
        const Qt::WindowFlags f = dialog->windowFlags();
        seen.onlyCloseBox = f.testFlag(Qt::WindowCloseButtonHint) &&
                            !f.testFlag(Qt::WindowMinimizeButtonHint) &&
                            !f.testFlag(Qt::WindowMaximizeButtonHint) &&
                            !f.testFlag(Qt::WindowContextHelpButtonHint);
        if (more)
            more(dialog);
        dialog->close();
    });
}

class BrowserWindows : public ::testing::Test {
protected:
    void TearDown() override {
        // Every window freed itself and cleared its reference; only a courseware window
        // stays with its owner, hidden, for the next movie.
        for (auto* kept : owner.findChildren<TzhucepayForm*>()) {
            EXPECT_TRUE(kept->isHidden());
            EXPECT_TRUE(kept->windowTitle().startsWith(QStringLiteral("课件:")));
            delete kept;
        }
        EXPECT_EQ(zhucepayForm, nullptr);
        EXPECT_EQ(ZHUCE1Form, nullptr);
        EXPECT_EQ(WEBBIGForm, nullptr);
        EXPECT_TRUE(t.browsers.controls().empty());
    }
    TestServices t;
    QWidget owner;
    Seen seen;
};

TEST_F(BrowserWindows, ShowCoursewareRunsTheCaptionTogetherWithoutSiteListOrBanner) {
    const struct {
        QString name, address;
    } cases[] = {
        {QStringLiteral("幼儿识字"), QStringLiteral("/home/园长/课件 一/a.swf")},
        {QString(), QStringLiteral("http://example.com/a.swf")},
        {QStringLiteral("一"), QString()},
    };
    for (const auto& c : cases) {
        seen = {};
        t.browsers.clear();
        inspectModal(seen);
        ShowCourseware(t.services, &owner, c.name, c.address);
        EXPECT_TRUE(seen.open);
        EXPECT_EQ(seen.objectName, QStringLiteral("TzhucepayForm"));
        EXPECT_EQ(seen.caption,
                  QStringLiteral("课件:") + c.name + QStringLiteral("     网址:") + c.address);
        EXPECT_FALSE(seen.siteListShown);
        EXPECT_TRUE(seen.bannersShown.isEmpty());
        EXPECT_EQ(seen.marked, QString());
        EXPECT_EQ(t.browsers.allAddresses(), QStringList{c.address});
        EXPECT_TRUE(seen.maximised);
        EXPECT_TRUE(seen.onlyCloseBox);
    }
}

TEST_F(BrowserWindows, AnOwnersNextCoursewareOpensItsKeptWindowAsANewOneWould) {
    std::vector<QPointer<QDialog>> windows;
    std::vector<QDialog*> openRefs; // zhucepayForm while each was open
    const auto show = [&](QWidget* by, const QString& address) {
        seen = {};
        t.browsers.clear();
        inspectModal(seen, [&](QDialog* dialog) {
            windows.push_back(dialog);
            openRefs.push_back(zhucepayForm);
            dialog->showNormal(); // as a user may leave it
        });
        ShowCourseware(t.services, by, QStringLiteral("一"), address);
        EXPECT_TRUE(seen.open);
        EXPECT_EQ(seen.caption, QStringLiteral("课件:一     网址:") + address);
        EXPECT_TRUE(seen.maximised);
        EXPECT_FALSE(seen.siteListShown);
        EXPECT_EQ(t.browsers.allAddresses(), QStringList{address});
        EXPECT_EQ(zhucepayForm, nullptr);
    };
    show(&owner, QStringLiteral("/a.swf"));
    show(&owner, QStringLiteral("/b.swf"));
    QWidget otherOwner;
    show(&otherOwner, QStringLiteral("/c.swf"));
    show(nullptr, QStringLiteral("/d.swf"));
    ASSERT_EQ(windows.size(), 4u);
    EXPECT_EQ(windows[0], windows[1]);
    EXPECT_NE(windows[2], windows[0]);
    EXPECT_EQ(windows[2]->parentWidget(), &otherOwner);
    EXPECT_TRUE(windows[3].isNull()); // nobody to keep it for
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_EQ(openRefs[i], windows[i].data()) << i;

    // Other openers never get the kept window.
    seen = {};
    inspectModal(seen, [&](QDialog* dialog) { EXPECT_NE(dialog, windows[0].data()); });
    OpenGeneralBrowser(t.services, &owner, GeneralBrowserRequest{});
    EXPECT_TRUE(seen.open);
}

TEST_F(BrowserWindows, OpenersSetUpTheGeneralWindowAndTheirPageComesLast) {
    using Banner = GeneralBrowserRequest::Banner;
    const QString resource = externalSiteAddress(ExternalSite::ResourceCentre);
    const struct {
        GeneralBrowserRequest request;
        QString caption;
        QStringList banners;
        QString marked;
        QStringList addresses;
    } cases[] = {
        {{QString(), true, Banner::None, QStringLiteral("RB14"),
          firstSite(QStringLiteral("/zqlyx.htm"))},
         TzhucepayForm::defaultCaption(),
         {},
         QStringLiteral("RB14"),
         {firstSite(QStringLiteral("/download.htm")), firstSite(QStringLiteral("/zqlyx.htm"))}},
        {{QString(), true, Banner::None, QStringLiteral("GG"),
          firstSite(QStringLiteral("/guanggao.htm"))},
         TzhucepayForm::defaultCaption(),
         {},
         QStringLiteral("GG"),
         {firstSite(QStringLiteral("/guanggao.htm")), firstSite(QStringLiteral("/guanggao.htm"))}},
        {{QStringLiteral("青禾学堂网-合作伙伴 全力推荐->中小学教育资源"), false, Banner::ZXXPL,
          QStringLiteral("zxxzy"), resource},
         QStringLiteral("青禾学堂网-合作伙伴 全力推荐->中小学教育资源"),
         {QStringLiteral("ZXXPL")},
         QString(),
         {resource}},
        {{QStringLiteral("x"), false, Banner::DQPL, QString(),
          QStringLiteral("https://a.example/")},
         QStringLiteral("x"),
         {QStringLiteral("DQPL")},
         QString(),
         {QStringLiteral("https://a.example/")}},
        {{QStringLiteral("y"), false, Banner::ETPL, QString(),
          QStringLiteral("https://b.example/")},
         QStringLiteral("y"),
         {QStringLiteral("ETPL")},
         QString(),
         {QStringLiteral("https://b.example/")}},
        {{QString(), true, Banner::None, QStringLiteral("RB11"),
          firstSite(QStringLiteral("/myfood.htm"))},
         TzhucepayForm::defaultCaption(),
         {},
         QStringLiteral("RB11"),
         {firstSite(QString()), firstSite(QStringLiteral("/myfood.htm"))}},
    };
    for (const auto& c : cases) {
        seen = {};
        t.browsers.clear();
        bool zxxzyMarked = false;
        inspectModal(seen, [&](QDialog* d) {
            zxxzyMarked = d->findChild<QRadioButton*>(QStringLiteral("zxxzy"))->isChecked();
        });
        OpenGeneralBrowser(t.services, &owner, c.request);
        EXPECT_EQ(seen.caption, c.caption);
        EXPECT_EQ(seen.siteListShown, c.request.showSiteList);
        EXPECT_EQ(seen.bannersShown, c.banners);
        EXPECT_EQ(seen.marked, c.marked);
        EXPECT_TRUE(zxxzyMarked);
        EXPECT_EQ(t.browsers.allAddresses(), c.addresses) << c.request.markEntry.toStdString();
    }
}

TEST_F(BrowserWindows, EverySiteListEntryLoadsItsPageWhenMarked) {
    const struct {
        const char* entry;
        QString caption;
        QString address;
    } cases[] = {
        {"RB11", QStringLiteral("青禾学堂网"), firstSite(QString())},
        {"RB12", QStringLiteral("合作媒体"), firstSite(QStringLiteral("/yjstar.htm"))},
        {"RB14", QStringLiteral("技术支持"), firstSite(QStringLiteral("/download.htm"))},
        {"GG", QStringLiteral("广告信息栏"), firstSite(QStringLiteral("/guanggao.htm"))},
        {"GUANLI", QStringLiteral("幼儿园免费资源"), firstSite(QStringLiteral("/yeygl.htm"))},
        {"KEJIAN", QStringLiteral("课件免费资源"), firstSite(QStringLiteral("/kejianfalshgx.htm"))},
        {"RBGAME", QStringLiteral("益智儿童网站 "), firstSite(QStringLiteral("/yzchild.htm"))},
        {"SRYLW", QStringLiteral("少儿学习娱乐网"),
         externalSiteAddress(ExternalSite::LearningSite)},
        {"ZXXKJ", QStringLiteral("中小学资源课件"),
         externalSiteAddress(ExternalSite::ResourceCourseware)},
        {"zxxzy", QStringLiteral("中小学教育资源中心"),
         externalSiteAddress(ExternalSite::ResourceCentre)},
    };
    inspectModal(seen, [&](QDialog* d) {
        EXPECT_TRUE(t.browsers.allAddresses().isEmpty()) << "creating the window loads nothing";
        for (const auto& c : cases) {
            auto* rb = d->findChild<QRadioButton*>(QString::fromLatin1(c.entry));
            ASSERT_NE(rb, nullptr) << c.entry;
            EXPECT_EQ(rb->text(), c.caption);
            QTest::mouseClick(rb, Qt::LeftButton);
            EXPECT_TRUE(rb->isChecked());
            EXPECT_EQ(t.browsers.last()->current(), c.address) << c.entry;
        }
        EXPECT_TRUE(d->findChild<QRadioButton*>(QStringLiteral("GG"))->font().bold());
    });
    OpenGeneralBrowser(
        t.services, &owner,
        {QString(), true, GeneralBrowserRequest::Banner::ZXXPL, QString(), QString()});
    EXPECT_TRUE(seen.open);
}

TEST_F(BrowserWindows, AdvertisingWindowShowsTheSecondSitesPageAlone) {
    inspectModal(seen);
    OpenAdvertisingWindow(t.services, &owner);
    EXPECT_EQ(seen.caption, QStringLiteral("->您的广告位置->我们为您定做的特殊广告窗口 "));
    EXPECT_FALSE(seen.siteListShown);
    EXPECT_TRUE(seen.bannersShown.isEmpty());
    EXPECT_EQ(t.browsers.allAddresses(), QStringList{secondSite(QStringLiteral("/guanggao.htm"))});
}

TEST_F(BrowserWindows, MakerPageWindowMarksHomeAndItsPicturesOpenTheExternalBrowser) {
    int picturesStillOpen = 0;
    inspectModal(seen, [&](QDialog* d) {
        for (int i = 1; i <= 4; ++i) {
            auto* picture = d->findChild<QToolButton*>(QStringLiteral("ProductImage%1").arg(i));
            ASSERT_NE(picture, nullptr);
            EXPECT_FALSE(picture->accessibleName().isEmpty());
            EXPECT_EQ(picture->cursor().shape(), Qt::PointingHandCursor);
            QTest::mouseClick(picture, Qt::LeftButton);
            picturesStillOpen += d->isVisible() && QApplication::activeModalWidget() == d;
        }
        EXPECT_EQ(d->findChild<QWidget*>(QStringLiteral("BrowserPL"))->height(), 390);
    });
    OpenMakerPageWindow(t.services, &owner);
    EXPECT_EQ(seen.objectName, QStringLiteral("TZHUCE1Form"));
    EXPECT_EQ(seen.marked, QStringLiteral("RB11"));
    EXPECT_TRUE(seen.siteListShown);
    EXPECT_EQ(t.browsers.allAddresses(), QStringList{firstSite(QString())});
    EXPECT_EQ(t.externalBrowser.opened(), QStringList(4, firstSite(QString())));
    EXPECT_EQ(picturesStillOpen, 4);
    EXPECT_TRUE(seen.maximised);
}

TEST_F(BrowserWindows, BigBrowserShowsTheOpenersCaptionAndPage) {
    bool referenced = false;
    inspectModal(seen, [&](QDialog* d) { referenced = WEBBIGForm == d; });
    OpenBigBrowser(t.services, &owner, QStringLiteral("中国儿童资源网"),
                   QStringLiteral("https://c.example/"));
    EXPECT_TRUE(referenced);
    EXPECT_EQ(seen.objectName, QStringLiteral("TWEBBIGForm"));
    EXPECT_EQ(seen.caption, QStringLiteral("中国儿童资源网"));
    EXPECT_EQ(t.browsers.allAddresses(), QStringList{QStringLiteral("https://c.example/")});
    EXPECT_TRUE(seen.onlyCloseBox);
}

class CoursewareBand : public BrowserWindows {
protected:
    void SetUp() override {
        band.resize(800, 60);
        buildCoursewareBand(&band, t.services, &owner);
    }
    void click(const char* name) {
        auto* b = band.findChild<QToolButton*>(QString::fromLatin1(name));
        ASSERT_NE(b, nullptr) << name;
        QTest::mouseClick(b, Qt::LeftButton);
    }
    QWidget band;
};

TEST_F(CoursewareBand, ButtonsAndLabelsCarryTheirTexts) {
    const QString sample = secondSite(QStringLiteral("/kejian/sample.swf"));
    EXPECT_EQ(sampleCoursewareAddress(kProgramDir), sample);
    const std::pair<const char*, QString> buttons[] = {
        {"LOOKSB", QStringLiteral("在线课件效果")},
        {"LOOKSB2", QStringLiteral("离线课件效果")},
        {"WEBSB", QStringLiteral("课件网址收集")},
    };
    for (const auto& [name, text] : buttons)
        EXPECT_EQ(band.findChild<QToolButton*>(QString::fromLatin1(name))->text(), text);
    QStringList labels;
    for (QLabel* l : band.findChildren<QLabel*>())
        labels << l->text();
    EXPECT_TRUE(labels.contains(
        QStringLiteral("1.<在线课件教学> 说明:课件网址必须为 .swf ->例如 ") + sample));
    EXPECT_TRUE(
        labels.contains(QStringLiteral("2.<离线课件教学> 说明->可以选择 "
                                       "已保存在你电脑的课件资源文件.swf,离线教学适合幼儿园使用")));
    EXPECT_TRUE(
        labels.contains(QStringLiteral("->请在幼儿识字,学诗,学英语 中,进入 "
                                       "编辑字,编辑诗,编辑英语,按修改按钮添加 <课件网址> 即可")));
}

TEST_F(CoursewareBand, LOOKSBShowsTheSampleCourseware) {
    inspectModal(seen);
    click("LOOKSB");
    const QString sample = secondSite(QStringLiteral("/kejian/sample.swf"));
    EXPECT_EQ(seen.caption, QStringLiteral("课件:幼儿识字     网址:") + sample);
    EXPECT_FALSE(seen.siteListShown);
    EXPECT_EQ(t.browsers.allAddresses(), QStringList{sample});
}

TEST_F(CoursewareBand, LOOKSB2ShowsThePickedFileOrWarnsWhenCancelled) {
    t.dialogs.cancelFile();
    click("LOOKSB2");
    ASSERT_EQ(t.dialogs.fileRequests().size(), 1u);
    EXPECT_EQ(t.dialogs.fileRequests()[0].filter, QStringLiteral("*.swf|*.swf"));
    EXPECT_EQ(t.dialogs.fileRequests()[0].defaultExtension, QStringLiteral("*.swf"));
    ASSERT_EQ(t.dialogs.messages().size(), 1u);
    const auto& m = t.dialogs.messages()[0];
    EXPECT_EQ(m.text, QStringLiteral("没有选取.swf文件！"));
    EXPECT_EQ(m.caption, QStringLiteral("关于选取.swf文件"));
    EXPECT_EQ(m.icon, MessageIcon::Warning);
    EXPECT_EQ(m.buttons, int(MessageButton::Ok));
    EXPECT_EQ(m.ownerAtCall, &owner);
    EXPECT_TRUE(t.browsers.allAddresses().isEmpty());

    const QString picked = QStringLiteral("/home/老师/课件 库/小兔.swf");
    t.dialogs.answerFile(picked);
    inspectModal(seen);
    click("LOOKSB2");
    EXPECT_EQ(seen.caption, QStringLiteral("课件:你选择的课件     网址:") + picked);
    EXPECT_EQ(t.browsers.allAddresses(), QStringList{picked});
    EXPECT_EQ(t.dialogs.messages().size(), 1u);
}

TEST_F(CoursewareBand, WEBSBOpensTheCollectionPageWithTheSiteListAndNoBanner) {
    inspectModal(seen);
    click("WEBSB");
    EXPECT_EQ(seen.caption, TzhucepayForm::defaultCaption());
    EXPECT_TRUE(seen.siteListShown);
    EXPECT_TRUE(seen.bannersShown.isEmpty());
    EXPECT_EQ(seen.marked, QString());
    EXPECT_EQ(t.browsers.allAddresses(),
              QStringList{secondSite(QStringLiteral("/kejianfalshgx.htm"))});
}

} // namespace
} // namespace tx
