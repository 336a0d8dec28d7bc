#include "web/AboutForm.h"
#include "LinksTestSupport.h"
#include "web/Sites.h"
#include "widgets/TFlatSpeedButton.h"
#include "widgets/TLabel3D.h"

#include <QTest>
#include <gtest/gtest.h>

namespace tx {
namespace {

using testing::ModalProbe;

class About : public ::testing::Test {
protected:
    void SetUp() override {
        form = new TAboutForm(t.services, nullptr);
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form));
    }
    void TearDown() override { delete form.data(); }
    bool open() const { return form && form->isVisible(); }

    TestServices t;
    QPointer<TAboutForm> form;
};

TEST_F(About, IsAFramelessWindowOfItsSize) {
    EXPECT_TRUE(form->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(form->size(), QSize(387, 180));
    EXPECT_EQ(AboutForm, form.data());
    auto* next = form->findChild<TFlatSpeedButton*>("NextSb");
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(next->caption(), QStringLiteral("OK"));
    EXPECT_EQ(form->findChild<TLabel3D*>("QMTLB")->toolTip(),
              QStringLiteral("关于沐川-青禾学堂网"));
}

TEST_F(About, OnlyEscCloses) {
    for (Qt::Key key : {Qt::Key_A, Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space, Qt::Key_F1}) {
        QTest::keyClick(form, key);
        EXPECT_TRUE(open()) << key;
    }
    QTest::keyClick(form, Qt::Key_Escape);
    EXPECT_FALSE(open());
}

TEST_F(About, OkCloses) {
    form->findChild<TFlatSpeedButton*>("NextSb")->click();
    EXPECT_FALSE(open());
}

TEST_F(About, AddressLabelOpensTheMakersPageAboveAndStaysOpenBeneath) {
    auto* address = form->findChild<TLabel3D*>("AddressLB");
    ASSERT_NE(address, nullptr);
    EXPECT_EQ(address->caption(), makerInfo().hostFirst);
    bool aboutOpenBeneath = false;
    QWidget* makerOwner = nullptr;
    ModalProbe probe([&](QWidget* w) {
        aboutOpenBeneath = open();
        makerOwner = w->parentWidget();
    });
    QTest::mouseClick(address, Qt::LeftButton);
    ModalProbe::settle();
    EXPECT_EQ(probe.seen(), QStringList{"TZHUCE1Form"});
    EXPECT_TRUE(aboutOpenBeneath);
    EXPECT_EQ(makerOwner, form.data());
    EXPECT_TRUE(open());
}

TEST(OpenAboutWindow, ShowsItModallyAndForgetsItWhenClosed) {
    TestServices t;
    ModalProbe probe;
    OpenAboutWindow(t.services, nullptr);
    EXPECT_EQ(probe.seen(), QStringList{"TAboutForm"});
    EXPECT_EQ(AboutForm, nullptr);
}

} // namespace
} // namespace tx
