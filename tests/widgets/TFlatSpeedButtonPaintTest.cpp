#include "widgets/ButtonGlyph.h"
#include "widgets/SystemColors.h"
#include "widgets/TFlatSpeedButton.h"

#include "widgets/ButtonTestSupport.h"
#include "widgets/WidgetTestSupport.h"

#include <QPainter>
#include <functional>
#include <gtest/gtest.h>

namespace tx {
namespace {

QColor at(const QImage& img, int x, int y) {
    return QColor::fromRgba(img.pixel(x, y));
}

struct FaceCase {
    const char* name;
    std::function<void(test::ButtonWindow&, TFlatSpeedButton&)> setUp;
    TButtonState state;
    bool hot;
    QColor topLeft, bottomRight, face;
};

class ButtonFace : public ::testing::TestWithParam<FaceCase> {};

TEST_P(ButtonFace, FrameAndFacePerState) {
    const FaceCase& c = GetParam();
    test::ButtonWindow w;
    TFlatSpeedButton* b = w.add(10);
    test::paintRoles(*b);
    ASSERT_TRUE(w.show());
    c.setUp(w, *b);
    const QImage img = test::grabImage(*b);
    EXPECT_EQ(b->state(), c.state);
    EXPECT_EQ(b->isHot(), c.hot);
    const int r = img.width() - 1, btm = img.height() - 1;
    EXPECT_EQ(at(img, 5, 0), c.topLeft) << "top";
    EXPECT_EQ(at(img, 0, 5), c.topLeft) << "left";
    EXPECT_EQ(at(img, r, 5), c.bottomRight) << "right";
    EXPECT_EQ(at(img, 5, btm), c.bottomRight) << "bottom";
    EXPECT_EQ(at(img, r / 2, btm / 2), c.face) << "face";
}

const QColor kColor(10, 10, 10), kFocused(20, 20, 20), kDown(30, 30, 30), kBorder(40, 40, 40),
    kLight(50, 50, 50), kDark(60, 60, 60);

void hover(test::ButtonWindow&, TFlatSpeedButton& b) {
    QTest::mouseMove(&b, QPoint(5, 5));
}
void groupDown(test::ButtonWindow&, TFlatSpeedButton& b) {
    b.setGroupIndex(1);
    b.setDown(true);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ButtonFace,
    ::testing::Values(
        FaceCase{"Up", [](auto&, auto&) {}, TButtonState::bsUp, false, kBorder, kBorder, kColor},
        FaceCase{"UpHot", hover, TButtonState::bsUp, true, kLight, kDark, kFocused},
        FaceCase{"Disabled", [](auto&, auto& b) { b.setEnabled(false); }, TButtonState::bsDisabled,
                 false, kBorder, kBorder, kColor},
        FaceCase{"Pressed",
                 [](auto& w, auto& b) {
                     hover(w, b);
                     QTest::mousePress(&b, Qt::LeftButton, {}, QPoint(5, 5));
                 },
                 TButtonState::bsDown, true, kDark, kLight, kDown},
        FaceCase{"Exclusive", groupDown, TButtonState::bsExclusive, false, kDark, kLight, kDown},
        FaceCase{"ExclusiveHot",
                 [](auto& w, auto& b) {
                     groupDown(w, b);
                     hover(w, b);
                 },
                 TButtonState::bsExclusive, true, kDark, kLight, kFocused}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TFlatSpeedButton, Defaults) {
    QWidget parent;
    QPalette pal = parent.palette();
    pal.setColor(QPalette::Window, QColor(1, 2, 3));
    parent.setPalette(pal);
    TFlatSpeedButton b(&parent);
    EXPECT_EQ(b.size(), QSize(25, 25));
    EXPECT_EQ(b.focusPolicy(), Qt::NoFocus);
    EXPECT_TRUE(b.parentColor());
    EXPECT_EQ(b.color(), QColor(1, 2, 3));
    EXPECT_EQ(b.colorFocused(), QColor(235, 234, 225));
    EXPECT_EQ(b.colorDown(), QColor(217, 214, 197));
    EXPECT_EQ(b.colorBorder(), QColor(160, 150, 131));
    EXPECT_EQ(b.colorHighLight(), QColor(255, 255, 255));
    EXPECT_EQ(b.colorShadow(), QColor(0, 0, 0));
    EXPECT_EQ(b.advColorFocused(), 10);
    EXPECT_EQ(b.advColorDown(), 10);
    EXPECT_EQ(b.advColorBorder(), 50);
    EXPECT_EQ(b.buttonLayout(), TButtonLayout::blGlyphTop);
    EXPECT_EQ(b.margin(), -1);
    EXPECT_EQ(b.spacing(), 4);
    EXPECT_EQ(b.numGlyphs(), 1);
    EXPECT_EQ(b.groupIndex(), 0);
    EXPECT_FALSE(b.allowAllUp());

    b.setColor(QColor(9, 9, 9));
    EXPECT_FALSE(b.parentColor());
    EXPECT_EQ(b.color(), QColor(9, 9, 9));
}

TEST(TFlatSpeedButton, MarginBelowMinusOneIgnored) {
    TFlatSpeedButton b;
    b.setMargin(5);
    b.setMargin(-2);
    EXPECT_EQ(b.margin(), 5);
    b.setMargin(-1);
    EXPECT_EQ(b.margin(), -1);
}

struct NumGlyphsCase {
    int width;
    int before;
    int after;
};

class GlyphCount : public ::testing::TestWithParam<NumGlyphsCase> {};

TEST_P(GlyphCount, GlyphSetsNumGlyphs) {
    const NumGlyphsCase& c = GetParam();
    TFlatSpeedButton b;
    b.setNumGlyphs(c.before);
    QImage glyph(c.width, 16, QImage::Format_RGB32);
    glyph.fill(Qt::red);
    b.setGlyph(glyph);
    EXPECT_EQ(b.numGlyphs(), c.after);
}

INSTANTIATE_TEST_SUITE_P(Widths, GlyphCount,
                         ::testing::Values(NumGlyphsCase{64, 1, 4}, NumGlyphsCase{80, 2, 1},
                                           NumGlyphsCase{40, 2, 2}, NumGlyphsCase{32, 3, 2},
                                           NumGlyphsCase{16, 3, 1}));

// Images 16x16, each framed by the transparent colour and filled with its own colour.
const QColor kKey(255, 0, 255);
const QColor kImage[4] = {QColor(200, 0, 0), QColor(0, 200, 0), QColor(0, 0, 200),
                          QColor(200, 200, 0)};

QImage framedGlyph(int n) {
    QImage g(16 * n, 16, QImage::Format_RGB32);
    g.fill(kKey);
    QPainter p(&g);
    for (int i = 0; i < n; ++i)
        p.fillRect(16 * i + 4, 4, 8, 8, kImage[i]);
    return g;
}

struct ChoiceCase {
    int numGlyphs;
    TButtonState state;
    int image;
};

class GlyphChoice : public ::testing::TestWithParam<ChoiceCase> {};

TEST_P(GlyphChoice, PicksImagePerState) {
    const ChoiceCase& c = GetParam();
    const QImage img = buttonGlyphImage(framedGlyph(c.numGlyphs), c.numGlyphs, c.state);
    ASSERT_EQ(img.size(), QSize(16, 16));
    EXPECT_EQ(at(img, 8, 8), kImage[c.image]);
    EXPECT_EQ(qAlpha(img.pixel(1, 1)), 0) << "transparent colour left out";
}

INSTANTIATE_TEST_SUITE_P(
    Table, GlyphChoice,
    ::testing::Values(
        ChoiceCase{1, TButtonState::bsUp, 0}, ChoiceCase{1, TButtonState::bsDown, 0},
        ChoiceCase{1, TButtonState::bsExclusive, 0}, ChoiceCase{2, TButtonState::bsUp, 0},
        ChoiceCase{2, TButtonState::bsDisabled, 1}, ChoiceCase{2, TButtonState::bsDown, 0},
        ChoiceCase{2, TButtonState::bsExclusive, 0}, ChoiceCase{3, TButtonState::bsDisabled, 1},
        ChoiceCase{3, TButtonState::bsDown, 2}, ChoiceCase{3, TButtonState::bsExclusive, 2},
        ChoiceCase{4, TButtonState::bsUp, 0}, ChoiceCase{4, TButtonState::bsDisabled, 1},
        ChoiceCase{4, TButtonState::bsDown, 2}, ChoiceCase{4, TButtonState::bsExclusive, 3}));

const QColor kSysLight = systemColor(SystemColor::BtnHighlight);
const QColor kSysDark = systemColor(SystemColor::BtnShadow);

TEST(TFlatSpeedButton, DisabledSingleGlyphIsEmbossed) {
    TFlatSpeedButton b;
    test::paintRoles(b);
    b.resize(40, 40);
    b.setGlyph(framedGlyph(1));
    b.setEnabled(false);
    const QImage img = test::grabImage(b);
    // 40x40, one 16x16 image, no caption: centred at (12, 12); the square is at +4..+11.
    ASSERT_EQ(b.glyphPos(), QPoint(12, 12));
    const QPoint o = b.glyphPos() + QPoint(4, 4);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(at(img, o.x() + i, o.y() + 3), kSysDark);
        EXPECT_EQ(at(img, o.x() + 8, o.y() + 1 + i), kSysLight) << "right edge, moved by 1";
        EXPECT_EQ(at(img, o.x() + 1 + i, o.y() + 8), kSysLight) << "bottom edge, moved by 1";
    }
    EXPECT_EQ(at(img, o.x() - 1, o.y() + 3), kColor) << "transparent around the shape";
    EXPECT_EQ(at(img, o.x() + 9, o.y() + 3), kColor);
    EXPECT_EQ(test::countOf(img, kImage[0]), 0);
}

TEST(TFlatSpeedButton, EnabledGlyphDrawnWithoutItsTransparentColour) {
    TFlatSpeedButton b;
    test::paintRoles(b);
    b.resize(40, 40);
    b.setGlyph(framedGlyph(1));
    const QImage img = test::grabImage(b);
    EXPECT_EQ(test::boundsOf(img, kImage[0]), QRect(b.glyphPos() + QPoint(4, 4), QSize(8, 8)));
    EXPECT_EQ(test::countOf(img, kKey), 0);
}

TEST(TFlatSpeedButton, DisabledCaptionIsEngraved) {
    TFlatSpeedButton b;
    test::paintRoles(b);
    b.resize(60, 60);
    b.setFont(test::solidFont());
    b.setFontColor(QColor(0, 0, 255));
    b.setCaption(QStringLiteral("I"));
    b.setEnabled(false);
    const QImage img = test::grabImage(b);
    const QRect dark = test::boundsOf(img, kSysDark);
    const QRect light = test::boundsOf(img, kSysLight);
    ASSERT_FALSE(dark.isEmpty());
    EXPECT_EQ(light, dark.translated(1, 1));
    EXPECT_EQ(test::countOf(img, QColor(0, 0, 255)), 0);
    EXPECT_TRUE(b.textRect().contains(dark));

    b.setEnabled(true);
    const QImage enabled = test::grabImage(b);
    EXPECT_EQ(test::boundsOf(enabled, QColor(0, 0, 255)), dark);
    EXPECT_EQ(test::countOf(enabled, kSysLight), 0);
}

TEST(TFlatSpeedButton, PressMovesGlyphAndCaptionByOne) {
    test::ButtonWindow w;
    TFlatSpeedButton* b = w.add(10, 60, 60);
    b->setGlyph(framedGlyph(1));
    b->setCaption(QStringLiteral("I"));
    ASSERT_TRUE(w.show());
    test::grabImage(*b);
    const QPoint glyph = b->glyphPos();
    const QRect text = b->textRect();
    QTest::mousePress(b, Qt::LeftButton, {}, QPoint(5, 5));
    test::grabImage(*b);
    EXPECT_EQ(b->glyphPos(), glyph + QPoint(1, 1));
    EXPECT_EQ(b->textRect(), text.translated(1, 1));
    QTest::mouseRelease(b, Qt::LeftButton, {}, QPoint(5, 5));
}

TEST(TFlatSpeedButton, AdvColorsDerivedFromParentColour) {
    QWidget parent;
    QPalette pal = parent.palette();
    pal.setColor(QPalette::Window, QColor(255, 0, 0));
    parent.setPalette(pal);
    TFlatSpeedButton b(&parent);
    b.setColor(QColor(0, 0, 0));
    b.setUseAdvColors(true);
    EXPECT_TRUE(b.parentColor());
    EXPECT_EQ(b.color(), QColor(255, 0, 0));
    EXPECT_EQ(b.colorFocused(), lighterColor(QColor(255, 0, 0), 10));
    EXPECT_EQ(b.colorDown(), darkerColor(QColor(255, 0, 0), 10));
    EXPECT_EQ(b.colorBorder(), darkerColor(QColor(255, 0, 0), 50));
    b.setAdvColorFocused(0);
    EXPECT_EQ(b.colorFocused(), QColor(255, 0, 0));

    pal.setColor(QPalette::Window, QColor(0, 0, 255));
    parent.setPalette(pal);
    EXPECT_EQ(b.colorDown(), darkerColor(QColor(0, 0, 255), 10));
}

} // namespace
} // namespace tx
