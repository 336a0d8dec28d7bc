#include "web/MainWindowLinks.h"
#include "LinksTestSupport.h"
#include "web/Sites.h"
#include "web/TzhucepayForm.h"
#include "widgets/TLabel3D.h"

#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

namespace tx {
namespace {

using testing::FakeMainWindow;
using testing::ModalProbe;

const QString kProgramDir = QStringLiteral("/tmp/tongxue-test");

QString first(const QString& path) {
    return makerSiteAddress(kProgramDir, MakerSite::First, path);
}
QString second(const QString& path) {
    return makerSiteAddress(kProgramDir, MakerSite::Second, path);
}

class MainLinks : public ::testing::Test {
protected:
    void SetUp() override {
        main.window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&main.window));
    }
    RecordingBrowserControl* mainBrowser() const {
        return static_cast<RecordingBrowserControl*>(main.WB1);
    }

    TestServices t;
    FakeMainWindow main{t.services};
    MainWindowLinks* links = new MainWindowLinks(&main.window, t.services, main.WB1);
};

// What the general browser window looked like while it was open.
struct GeneralSeen {
    QString window, title, banner, marked, address;
    bool siteList = false;
};

GeneralSeen seeGeneral(QWidget* w, const TestServices& t) {
    GeneralSeen s;
    s.window = w->objectName();
    s.title = w->windowTitle();
    s.siteList = w->findChild<QWidget*>("QMTPL")->isVisible();
    for (const char* banner : {"DQPL", "ETPL", "ZXXPL"})
        if (w->findChild<QWidget*>(banner)->isVisible())
            s.banner += QString::fromLatin1(banner);
    for (QRadioButton* rb : w->findChildren<QRadioButton*>())
        if (rb->isChecked() && rb->isVisible())
            s.marked += rb->objectName();
    s.address = t.browsers.last()->current();
    return s;
}

struct OpenerCase {
    const char* control; // the control clicked; "band" for the band beside the labels
    QString title;       // empty: the window's own caption
    bool siteList;
    const char* banner;
    const char* marked;
    QString address;
};

void PrintTo(const OpenerCase& c, std::ostream* os) {
    *os << c.control;
}

class SponsorOpeners : public MainLinks, public ::testing::WithParamInterface<OpenerCase> {};

TEST_P(SponsorOpeners, OpenTheGeneralBrowserAsTheOpenersTableSays) {
    const OpenerCase& c = GetParam();
    std::vector<GeneralSeen> seen;
    ModalProbe probe([&](QWidget* w) { seen.push_back(seeGeneral(w, t)); });
    const QByteArray control(c.control);
    if (control == "band") {
        QPoint spot(-1, -1);
        for (int x = main.band->width() - 1; x >= 0 && spot.x() < 0; --x)
            if (!main.band->childAt(x, 40))
                spot = QPoint(x, 40);
        ASSERT_GE(spot.x(), 0) << "the labels cover the whole band";
        QTest::mouseClick(main.band, Qt::LeftButton, {}, spot);
    } else if (auto* label = main.window.findChild<TLabel3D*>(c.control)) {
        EXPECT_EQ(label->cursor().shape(), Qt::PointingHandCursor);
        EXPECT_TRUE(label->font().underline());
        QTest::mouseClick(label, Qt::LeftButton);
    } else {
        auto* button = main.window.findChild<QToolButton*>(c.control);
        ASSERT_NE(button, nullptr);
        button->click();
    }
    ModalProbe::settle();
    ASSERT_EQ(seen.size(), 1u);
    const GeneralSeen& s = seen.front();
    EXPECT_EQ(s.window, QStringLiteral("TzhucepayForm"));
    EXPECT_EQ(s.title, c.title.isEmpty() ? TzhucepayForm::defaultCaption() : c.title);
    EXPECT_EQ(s.siteList, c.siteList);
    EXPECT_EQ(s.banner, QString::fromLatin1(c.banner));
    EXPECT_EQ(s.marked, QString::fromLatin1(c.marked));
    EXPECT_EQ(s.address, c.address);
    EXPECT_TRUE(mainBrowser()->addresses().isEmpty());
}

const QString kPartner = QStringLiteral("青禾学堂网-合作伙伴 全力推荐->");

INSTANTIATE_TEST_SUITE_P(
    All, SponsorOpeners,
    ::testing::Values(
        OpenerCase{"ZXXLB", kPartner + QStringLiteral("中小学教育资源"), false, "ZXXPL", "zxxzy",
                   externalSiteAddress(ExternalSite::ResourceCentre)},
        OpenerCase{"GGLB1", kPartner + QStringLiteral("大旗育儿频道"), false, "DQPL", "",
                   externalSiteAddress(ExternalSite::PartnerChannel)},
        OpenerCase{"GGLB2", kPartner + QStringLiteral("中华儿童网"), false, "ETPL", "",
                   externalSiteAddress(ExternalSite::PartnerSite)},
        OpenerCase{"GGLB3", advertiserName() + QStringLiteral("->美国签证专家 "), false, "", "",
                   second(QStringLiteral("/guanggao.htm"))},
        OpenerCase{"SHENZHENLB",
                   QStringLiteral("深圳电脑医院-深圳电脑之家-信誉专业服务->深圳电脑维修服务中心-"
                                  "福田区-罗湖区-南山区"),
                   false, "", "", externalSiteAddress(ExternalSite::RepairService)},
        OpenerCase{"Label3D7", QStringLiteral("->您的广告位置->我们为您定做的特殊广告窗口 "), false,
                   "", "", second(QStringLiteral("/guanggao.htm"))},
        OpenerCase{"band", {}, true, "", "GG", first(QStringLiteral("/guanggao.htm"))},
        OpenerCase{"PAYSB", {}, true, "", "RB14", first(QStringLiteral("/zqlyx.htm"))},
        OpenerCase{"SpeedButton1", QStringLiteral("用户反馈专栏-童学三步通(最受欢迎幼儿儿童版)"),
                   false, "", "", first(QStringLiteral("/zqlyxfk.htm"))}),
    [](const auto& info) { return std::string(info.param.control); });

TEST_F(MainLinks, MakerLabelOpensOnlyTheMakersPageWindow) {
    ModalProbe probe;
    QTest::mouseClick(main.maker, Qt::LeftButton, {}, QPoint(10, 20));
    ModalProbe::settle();
    EXPECT_EQ(probe.seen(), QStringList{"TZHUCE1Form"});
}

TEST_F(MainLinks, AboutButtonOpensTheAboutWindow) {
    ModalProbe probe;
    main.window.findChild<QToolButton*>("ABOUTSB")->click();
    ModalProbe::settle();
    EXPECT_EQ(probe.seen(), QStringList{"TAboutForm"});
}

TEST_F(MainLinks, SitePagesStartWithTheFirstMarkedAndLoadTheirOwnPages) {
    auto* rb11 = main.window.findChild<QRadioButton*>("RB11");
    ASSERT_NE(rb11, nullptr);
    EXPECT_TRUE(rb11->isChecked());
    EXPECT_TRUE(mainBrowser()->addresses().isEmpty());
    const QRect browserArea = main.WB1->widget()->geometry();
    EXPECT_FALSE(browserArea.intersects(rb11->parentWidget()->geometry()));
    EXPECT_EQ(browserArea.bottom(), main.bottom->height() - 1);

    const std::pair<const char*, QString> pages[] = {
        {"RB12", first(QStringLiteral("/yjstar.htm"))},
        {"RB14", first(QStringLiteral("/download.htm"))},
        {"GG", second(QStringLiteral("/guanggao.htm"))},
        {"GUANLI", first(QStringLiteral("/yeygl.htm"))},
        {"KEJIAN", first(QStringLiteral("/kejianfalshgx.htm"))},
        {"RBGAME", first(QStringLiteral("/yeygl/yey/yey.htm"))},
        {"RB11", first(QString())},
    };
    for (const auto& [name, address] : pages) {
        SCOPED_TRACE(name);
        auto* rb = main.window.findChild<QRadioButton*>(name);
        ASSERT_NE(rb, nullptr);
        QTest::mouseClick(rb, Qt::LeftButton);
        EXPECT_TRUE(rb->isChecked());
        EXPECT_EQ(mainBrowser()->current(), address);
        EXPECT_EQ(main.window.findChildren<QRadioButton*>().size(), 7);
        for (QRadioButton* other : main.window.findChildren<QRadioButton*>())
            EXPECT_EQ(other->isChecked(), other == rb) << other->objectName().toStdString();
    }
    EXPECT_EQ(mainBrowser()->addresses().size(), 7);
}

TEST_F(MainLinks, RotationShowsFourPagesThenOnlyCountsAndStopsAtTheEleventhTick) {
    ASSERT_EQ(links->timer()->objectName(), QStringLiteral("Timer2"));
    EXPECT_EQ(links->timer()->interval(), 80000);
    EXPECT_TRUE(links->timer()->isActive());
    t.services.state.rotationCounter = 0;
    for (int tick = 1; tick <= 10; ++tick) {
        links->Timer2Timer();
        EXPECT_EQ(t.services.state.rotationCounter, tick);
        EXPECT_TRUE(links->timer()->isActive()) << tick;
    }
    links->Timer2Timer();
    EXPECT_FALSE(links->timer()->isActive());
    EXPECT_EQ(t.services.state.rotationCounter, 10);
    links->Timer2Timer();
    EXPECT_EQ(
        mainBrowser()->addresses(),
        (QStringList{first(QStringLiteral("/zqlyx.htm")), second(QStringLiteral("/txsbt.htm")),
                     externalSiteAddress(ExternalSite::RepairService),
                     second(QStringLiteral("/guanggao.htm"))}));
    // The marks stay where the user put them.
    EXPECT_TRUE(main.window.findChild<QRadioButton*>("RB11")->isChecked());
}

} // namespace
} // namespace tx
