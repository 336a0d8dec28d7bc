#include "widgets/TFlatSpeedButton.h"

#include "widgets/ButtonTestSupport.h"
#include "widgets/WidgetTestSupport.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace tx {
namespace {

const QPoint kInside(5, 5);
const QPoint kOutside(200, 5);

class ButtonMouse : public ::testing::Test {
protected:
    void SetUp() override {
        a = w.add(10);
        b = w.add(50); // right next to a
        test::paintRoles(*a);
        test::paintRoles(*b);
        ASSERT_TRUE(w.show());
    }
    void press(TFlatSpeedButton* x, QPoint p = kInside) {
        QTest::mousePress(x, Qt::LeftButton, {}, p);
    }
    void release(TFlatSpeedButton* x, QPoint p = kInside) {
        QTest::mouseRelease(x, Qt::LeftButton, {}, p);
    }
    void click(TFlatSpeedButton* x) {
        press(x);
        release(x);
    }
    test::ButtonWindow w;
    TFlatSpeedButton* a = nullptr;
    TFlatSpeedButton* b = nullptr;
};

TEST_F(ButtonMouse, HotFollowsTheMouseFromOneButtonStraightOntoAnother) {
    QTest::mouseMove(a, kInside);
    EXPECT_TRUE(a->isHot());
    QTest::mouseMove(b, kInside);
    EXPECT_FALSE(a->isHot());
    EXPECT_TRUE(b->isHot());
    // The first one shows its normal colours again at once, the second its hot ones.
    EXPECT_EQ(QColor::fromRgba(test::grabImage(*a).pixel(20, 15)), a->color());
    EXPECT_EQ(QColor::fromRgba(test::grabImage(*b).pixel(20, 15)), b->colorFocused());
}

TEST_F(ButtonMouse, ReleaseInsideClicksReleaseOutsideDoesNot) {
    QSignalSpy clicked(a, &TFlatSpeedButton::clicked);
    QTest::mouseMove(a, kInside);
    press(a);
    EXPECT_EQ(a->state(), TButtonState::bsDown);
    QTest::mouseMove(a, kOutside);
    EXPECT_EQ(a->state(), TButtonState::bsUp);
    QTest::mouseMove(a, kInside);
    EXPECT_EQ(a->state(), TButtonState::bsDown);
    release(a);
    EXPECT_EQ(clicked.count(), 1);
    EXPECT_EQ(a->state(), TButtonState::bsUp);

    press(a);
    QTest::mouseMove(a, kOutside);
    release(a, kOutside);
    EXPECT_EQ(clicked.count(), 1);
    EXPECT_EQ(a->state(), TButtonState::bsUp);
    EXPECT_FALSE(a->isHot());
}

TEST_F(ButtonMouse, RightButtonDoesNothing) {
    QSignalSpy clicked(a, &TFlatSpeedButton::clicked);
    QTest::mouseClick(a, Qt::RightButton, {}, kInside);
    EXPECT_EQ(clicked.count(), 0);
    EXPECT_EQ(a->state(), TButtonState::bsUp);
}

TEST_F(ButtonMouse, WithoutGroupDownStaysFalse) {
    a->setDown(true);
    EXPECT_FALSE(a->down());
    EXPECT_EQ(a->state(), TButtonState::bsUp);
    click(a);
    EXPECT_FALSE(a->down());
}

TEST_F(ButtonMouse, GroupKeepsOneButtonDown) {
    a->setGroupIndex(1);
    b->setGroupIndex(1);
    QSignalSpy clickedA(a, &TFlatSpeedButton::clicked);
    click(a);
    EXPECT_TRUE(a->down());
    EXPECT_EQ(a->state(), TButtonState::bsExclusive);

    // The down button cannot be released by itself, but still clicks.
    click(a);
    EXPECT_TRUE(a->down());
    EXPECT_EQ(clickedA.count(), 2);

    click(b);
    EXPECT_TRUE(b->down());
    EXPECT_FALSE(a->down());
    EXPECT_EQ(a->state(), TButtonState::bsUp);
}

TEST_F(ButtonMouse, AllowAllUpIsSharedAndLetsTheDownButtonGoUp) {
    a->setGroupIndex(1);
    b->setGroupIndex(1);
    a->setAllowAllUp(true);
    EXPECT_TRUE(b->allowAllUp());
    click(b);
    click(b);
    EXPECT_FALSE(b->down());
    EXPECT_FALSE(a->down());
}

TEST_F(ButtonMouse, GroupsAreSeparateByIndexAndParent) {
    a->setGroupIndex(1);
    b->setGroupIndex(2);
    TFlatSpeedButton* c = w.add(90);
    c->setGroupIndex(1);
    QWidget other(w.window.get());
    TFlatSpeedButton d(&other);
    d.setGroupIndex(1);
    a->setDown(true);
    b->setDown(true);
    d.setDown(true);
    EXPECT_TRUE(a->down());
    EXPECT_TRUE(b->down());
    EXPECT_TRUE(d.down());
    c->setDown(true);
    EXPECT_FALSE(a->down());
    EXPECT_TRUE(b->down());
    EXPECT_TRUE(d.down());
}

TEST_F(ButtonMouse, ReleaseOutsideInGroupKeepsDownState) {
    a->setGroupIndex(1);
    a->setDown(true);
    press(a);
    QTest::mouseMove(a, kOutside);
    release(a, kOutside);
    EXPECT_TRUE(a->down());
    EXPECT_EQ(a->state(), TButtonState::bsExclusive);
}

TEST_F(ButtonMouse, DoubleClickOnlyWhenDown) {
    QSignalSpy dbl(a, &TFlatSpeedButton::doubleClicked);
    QTest::mouseDClick(a, Qt::LeftButton, {}, kInside);
    release(a);
    EXPECT_EQ(dbl.count(), 0);
    a->setGroupIndex(1);
    a->setDown(true);
    QTest::mouseDClick(a, Qt::LeftButton, {}, kInside);
    release(a);
    EXPECT_EQ(dbl.count(), 1);
}

TEST_F(ButtonMouse, DisablingEndsHotAndPress) {
    QTest::mouseMove(a, kInside);
    press(a);
    a->setEnabled(false);
    EXPECT_FALSE(a->isHot());
    EXPECT_EQ(a->state(), TButtonState::bsDisabled);
    QSignalSpy clicked(a, &TFlatSpeedButton::clicked);
    release(a);
    EXPECT_EQ(clicked.count(), 0);
    a->setEnabled(true);
    EXPECT_EQ(a->state(), TButtonState::bsUp);
    EXPECT_TRUE(a->isHot()) << "the mouse is still over it";
}

TEST_F(ButtonMouse, AcceleratorClicksWhenEnabled) {
    a->setCaption(QStringLiteral("&Go"));
    QSignalSpy clicked(a, &TFlatSpeedButton::clicked);
    QTest::keyClick(w.window.get(), Qt::Key_G, Qt::AltModifier);
    EXPECT_EQ(clicked.count(), 1);
    a->setEnabled(false);
    QTest::keyClick(w.window.get(), Qt::Key_G, Qt::AltModifier);
    EXPECT_EQ(clicked.count(), 1);
}

TEST_F(ButtonMouse, TimerLeavesWhenTheMouseHasGone) {
    QTest::mouseMove(a, kInside);
    ASSERT_TRUE(a->isHot());
    QCursor::setPos(0, 0); // off the window: no button sees the mouse go
    EXPECT_TRUE(QTest::qWaitFor([&] { return !a->isHot(); }));
}

} // namespace
} // namespace tx
