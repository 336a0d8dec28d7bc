#include "app/MainForm.h"
#include "app/ErrorReport.h"
#include "data/Connection.h"
#include "data/ShippedSchema.h"
#include "data/Tdm.h"
#include "data/UpgradeSchema.h"
#include "platform/testing/TestServices.h"
#include "web/Sites.h"
#include "widgets/TLabel3D.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>
#include <sqlite3.h>

namespace tx {
namespace {

// A program folder in a temporary directory with an edusz.mdb made by the test.
class MainFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        t.paths.setExecutablePath(dir.filePath("tongxue"));
    }

    void makeDatabase(const QStringList& skipTables = {}) {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(QFile::encodeName(dir.filePath("edusz.mdb")).constData(), &db),
                  SQLITE_OK);
        for (const QString& sql : shippedSchemaStatements(false)) {
            if (std::any_of(skipTables.begin(), skipTables.end(),
                            [&](const QString& table) { return sql.contains('"' + table + '"'); }))
                continue;
            ASSERT_EQ(sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr),
                      SQLITE_OK);
        }
        sqlite3_exec(db, "insert into SYS values('2026-12-01')", nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }

    void start() {
        dm = std::make_unique<Tdm>(t.services);
        form = std::make_unique<TMainForm>(t.services, errors);
        ASSERT_EQ(dm->DataModuleCreate(), QString());
        form->setDataModule(dm.get());
    }

    QToolButton* button(const char* name) {
        auto* b = form->findChild<QToolButton*>(name);
        EXPECT_NE(b, nullptr) << name;
        return b;
    }

    QTemporaryDir dir;
    TestServices t;
    ErrorReport errors{t.dialogs};
    std::unique_ptr<TMainForm> form;
    std::unique_ptr<Tdm> dm;
};

TEST_F(MainFormTest, FirstShowingUpgradesSchemaThenLoadsTheAdvertisingPageOnce) {
    makeDatabase();
    start();
    t.services.state.rotationCounter = 7;
    EXPECT_FALSE(TableExists(dm->ADOConnection1, "myfood")) << "nothing before the showing";

    form->show();
    EXPECT_TRUE(TableExists(dm->ADOConnection1, "myfood"));
    EXPECT_EQ(t.services.state.rotationCounter, 0);
    EXPECT_EQ(t.browsers.allAddresses(), QStringList{dir.filePath("site/second/guanggao.htm")});
    EXPECT_TRUE(t.dialogs.messages().empty());

    form->hide();
    form->show();
    EXPECT_EQ(t.browsers.allAddresses().size(), 1) << "only the first showing loads the page";
}

TEST_F(MainFormTest, FailedUpgradeReachesTheErrorReportAndTheWindowStays) {
    makeDatabase({"xsSound"});
    start();
    form->show();

    ASSERT_EQ(t.dialogs.messages().size(), 1u);
    const auto& m = t.dialogs.messages().front();
    EXPECT_EQ(m.caption, QStringLiteral("童学三步通"));
    EXPECT_EQ(m.icon, MessageIcon::Error);
    EXPECT_TRUE(m.text.contains("xssound", Qt::CaseInsensitive)) << m.text.toStdString();
    EXPECT_TRUE(t.browsers.allAddresses().isEmpty()) << "the page load is left out";
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(TableExists(dm->ADOConnection1, "myfood")) << "steps before the failure stay";
}

TEST_F(MainFormTest, CaptionsAndHints) {
    makeDatabase();
    start();
    struct Case {
        const char* name;
        const char* caption;
        const char* hint;
    };
    const Case cases[] = {
        {"szsb", "幼儿识字", "发音识字，小朋友快快来学哦"},
        {"xssb", "幼儿学诗", "朗读学诗，小朋友快快来学哦"},
        {"xyysb", "幼儿学英语", "发音学英语，小朋友快快来学哦"},
        {"SSSB", "幼儿算数", "有趣的幼儿算数教学，小朋友快快来学哦"},
        {"CAISB", "美食菜谱", "幼儿园食谱专版+幼儿菜谱专版+家庭菜谱"},
        {"NEWSSB", "实用网址", "最实用的实用网址列表,用户可以通过软件升级获取更多的实用网址信息"},
        {"ABOUTSB", "关于沐川", "关于沐川-青禾学堂网"},
        {"MINISB", "最小化", "系统最小化显示"},
        {"QuitSb", "退出→", "退出本系统"},
    };
    for (const Case& c : cases) {
        QToolButton* b = button(c.name);
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->text(), QString::fromUtf8(c.caption)) << c.name;
        EXPECT_EQ(b->toolTip(), QString::fromUtf8(c.hint)) << c.name;
    }
    EXPECT_EQ(form->windowTitle(),
              QStringLiteral("绿色免费软件->声音+图文并茂的最好教学平台->NEW-> "
                             "实现了<在线-离线 幼儿课件FALSH教学>"));
    EXPECT_EQ(form->size(), QSize(800, 578));
}

// The white sponsor band at the top, 48 pixels high, led by the maker's bevelled label.
TEST_F(MainFormTest, SponsorBandAndMakerLabel) {
    makeDatabase();
    start();
    auto* band = form->findChild<QWidget*>("QMTPL");
    ASSERT_NE(band, nullptr);
    EXPECT_EQ(band->geometry(), QRect(0, 0, 800, 48));
    auto* maker = band->findChild<TLabel3D*>("QMTLB");
    ASSERT_NE(maker, nullptr);
    EXPECT_EQ(maker->caption(),
              makerInfo().company + QStringLiteral("-幼儿园小学管理软件 第一品牌"));
    EXPECT_EQ(maker->toolTip(), QStringLiteral("关于沐川-青禾学堂网"));
    EXPECT_TRUE(maker->font().bold());
    EXPECT_EQ(maker->palette().color(QPalette::WindowText), QColor(16, 64, 192));
    auto* bar = form->findChild<QWidget*>("ToolBarPL");
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->y(), 48);
}

TEST_F(MainFormTest, MinimiseButtonMinimises) {
    makeDatabase();
    start();
    form->show();
    button("MINISB")->click();
    EXPECT_TRUE(form->isMinimized());
}

// Quitting by the quit button or by the window manager's close asks the same question;
// only Yes ends the event loop.
TEST_F(MainFormTest, QuitAsksAndOnlyYesEndsTheProgram) {
    makeDatabase();
    start();
    form->show();
    struct Case {
        bool byCloseBox;
        int answer;
    };
    for (const Case c : {Case{false, No}, Case{true, No}, Case{false, Yes}, Case{true, Yes}}) {
        SCOPED_TRACE(testing::Message() << "close box " << c.byCloseBox << " answer " << c.answer);
        if (!form->isVisible()) {
            form = std::make_unique<TMainForm>(t.services, errors);
            form->show();
        }
        t.dialogs.clear();
        t.dialogs.answerMessage(c.answer);
        bool loopEnded = false;
        QTimer::singleShot(0, form.get(), [&] {
            if (c.byCloseBox)
                form->close();
            else
                button("QuitSb")->click();
            // Still running after No: end the loop from here.
            QTimer::singleShot(50, [&] {
                if (!loopEnded)
                    QApplication::exit(7);
            });
        });
        const int status = QApplication::exec();
        loopEnded = true;

        ASSERT_EQ(t.dialogs.messages().size(), 1u);
        const auto& m = t.dialogs.messages().front();
        EXPECT_EQ(m.text, QStringLiteral("欢迎使用本系统，确定要退出吗?"));
        EXPECT_EQ(m.caption, QStringLiteral("系统信息"));
        EXPECT_EQ(m.icon, MessageIcon::Question);
        EXPECT_EQ(m.buttons, Yes | No);
        EXPECT_EQ(m.owner, form.get());
        if (c.answer == No) {
            EXPECT_EQ(status, 7) << "No keeps the program running";
            EXPECT_TRUE(form->isVisible());
            EXPECT_FALSE(form->isMinimized());
        } else {
            EXPECT_EQ(status, 0);
            EXPECT_TRUE(form->isMinimized()) << "minimised, then terminated";
        }
    }
}

} // namespace
} // namespace tx
