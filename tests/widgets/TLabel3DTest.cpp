#include "widgets/TLabel3D.h"
#include "widgets/SystemColors.h"

#include "widgets/WidgetTestSupport.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace tx {
namespace {

const QColor kFont(0, 0, 255);
const QColor kNothing(0, 0, 0, 0);

// A transparent label showing a bold "I": its stem is a solid block, so the pixel left of
// the stem, right of it and in its middle tell which copies were drawn.
struct Label {
    QWidget parent; // a window would paint its own background
    TLabel3D label{&parent};
    Label() {
        label.setFont(test::solidFont());
        QPalette pal = label.palette();
        pal.setColor(QPalette::WindowText, kFont);
        label.setPalette(pal);
        label.setCaption(QStringLiteral("I"));
        label.setGeometry(0, 0, 80, 60);
    }
    QRect stem() {
        label.setBevel(TLabel3DBevel::bvNone);
        return test::boundsOf(test::grabImage(label), kFont);
    }
};

struct BevelCase {
    const char* name;
    TLabel3DBevel bevel;
    bool enabled;
    QColor left;   // just left of the stem: the (-1,-1) copy
    QColor middle; // the text itself
    QColor right;  // just right of the stem: the (+1,+1) copy
};

class LabelBevel : public ::testing::TestWithParam<BevelCase> {};

TEST_P(LabelBevel, DrawsCopiesPerBevel) {
    const BevelCase& c = GetParam();
    Label l;
    const QRect stem = l.stem();
    ASSERT_GT(stem.width(), 3);
    l.label.setBevel(c.bevel);
    l.label.setEnabled(c.enabled);
    const QImage img = test::grabImage(l.label);
    const int y = stem.center().y();
    EXPECT_EQ(QColor::fromRgba(img.pixel(stem.left() - 1, y)), c.left);
    EXPECT_EQ(QColor::fromRgba(img.pixel(stem.center().x(), y)), c.middle);
    EXPECT_EQ(QColor::fromRgba(img.pixel(stem.right() + 1, y)), c.right);
    EXPECT_EQ(QColor::fromRgba(img.pixel(stem.right() + 2, y)), kNothing);
}

const QColor kLight = systemColor(SystemColor::BtnHighlight);
const QColor kDark = systemColor(SystemColor::BtnShadow);
const QColor kGrey = systemColor(SystemColor::GrayText);

INSTANTIATE_TEST_SUITE_P(
    Table, LabelBevel,
    ::testing::Values(
        BevelCase{"None", TLabel3DBevel::bvNone, true, kNothing, kFont, kNothing},
        BevelCase{"Lowered", TLabel3DBevel::bvLowered, true, kDark, kFont, kLight},
        BevelCase{"Raised", TLabel3DBevel::bvRaised, true, kLight, kFont, kDark},
        BevelCase{"Shadow", TLabel3DBevel::bvShadow, true, kNothing, kFont, kDark},
        BevelCase{"NoneDisabled", TLabel3DBevel::bvNone, false, kNothing, kFont, kNothing},
        BevelCase{"LoweredDisabled", TLabel3DBevel::bvLowered, false, kNothing, kGrey, kLight},
        BevelCase{"RaisedDisabled", TLabel3DBevel::bvRaised, false, kNothing, kGrey, kDark},
        BevelCase{"ShadowDisabled", TLabel3DBevel::bvShadow, false, kNothing, kGrey, kDark}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TLabel3D, DefaultsAndShadowSizeMovesCopies) {
    Label l;
    EXPECT_EQ(l.label.bevel(), TLabel3DBevel::bvRaised);
    EXPECT_EQ(l.label.shadowSize(), 1);
    EXPECT_EQ(l.label.highLightColor(), kLight);
    EXPECT_EQ(l.label.shadowColor(), kDark);
    EXPECT_FALSE(l.label.autoFillBackground());

    const QRect stem = l.stem();
    l.label.setBevel(TLabel3DBevel::bvShadow);
    l.label.setShadowSize(3);
    const QRect shadow = test::boundsOf(test::grabImage(l.label), kDark);
    EXPECT_EQ(shadow.right(), stem.right() + 3);
    EXPECT_EQ(shadow.bottom(), stem.bottom() + 3);
}

TEST(TLabel3D, FilledBackgroundWhenNotTransparent) {
    Label l;
    l.label.setAutoFillBackground(true);
    QPalette pal = l.label.palette();
    pal.setColor(QPalette::Window, QColor(0, 255, 0));
    l.label.setPalette(pal);
    EXPECT_EQ(QColor::fromRgba(test::grabImage(l.label).pixel(1, 1)), QColor(0, 255, 0));
}

TEST(TLabel3D, AmpersandLiteralUnlessAccelHandled) {
    TLabel3D plain, accel;
    plain.setCaption(QStringLiteral("a&b"));
    accel.setCaption(QStringLiteral("a&b"));
    accel.setShowAccelChar(true);
    EXPECT_GT(plain.sizeHint().width(), accel.sizeHint().width());
    EXPECT_EQ(accel.plainCaption(), QStringLiteral("ab"));
    EXPECT_EQ(plain.plainCaption(), QStringLiteral("a&b"));
}

TEST(TLabel3D, EmptyCaptionMeasuresABlank) {
    TLabel3D empty, blank, amp;
    blank.setCaption(QStringLiteral(" "));
    amp.setCaption(QStringLiteral("&"));
    amp.setShowAccelChar(true);
    EXPECT_GT(blank.sizeHint().width(), 0);
    EXPECT_EQ(empty.sizeHint(), blank.sizeHint());
    EXPECT_EQ(amp.sizeHint(), blank.sizeHint());
    empty.adjustSize();
    EXPECT_EQ(empty.size(), blank.sizeHint());
}

TEST(TLabel3D, WrapsWordsAndExpandsTabsAlways) {
    Label l;
    l.label.setBevel(TLabel3DBevel::bvNone);
    l.label.setWordWrap(false);
    l.label.setFont(test::solidFont(20));
    l.label.setCaption(QStringLiteral("II II II II II II"));
    l.label.setGeometry(0, 0, 60, 200);
    const QRect ink = test::boundsOf(test::grabImage(l.label), kFont);
    EXPECT_LT(ink.right(), 60);
    EXPECT_GT(ink.height(), QFontMetrics(test::solidFont(20)).height());

    TLabel3D tab;
    tab.setCaption(QStringLiteral("a\tb"));
    TLabel3D blank;
    blank.setCaption(QStringLiteral("a b"));
    EXPECT_GT(tab.sizeHint().width(), blank.sizeHint().width());
}

TEST(TLabel3D, ClickedOnReleaseInsideOnly) {
    Label l;
    QSignalSpy spy(&l.label, &TLabel3D::clicked);
    QTest::mouseClick(&l.label, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(spy.count(), 1);
    QTest::mousePress(&l.label, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(&l.label, Qt::LeftButton, {}, QPoint(200, 5));
    EXPECT_EQ(spy.count(), 1);
    QTest::mouseClick(&l.label, Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_EQ(spy.count(), 1);
}

} // namespace
} // namespace tx
