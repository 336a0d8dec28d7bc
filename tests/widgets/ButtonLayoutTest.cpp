#include "widgets/ButtonLayout.h"

#include <gtest/gtest.h>

namespace tx {
namespace {

// Client 60x40, glyph image 10x8, caption 20x12 unless a case says otherwise.
struct LayoutCase {
    const char* name;
    TButtonLayout layout;
    int margin;
    int spacing;
    QSize glyph;
    QSize text;
    QPoint offset;
    QPoint glyphPos;
    QPoint textPos;
};

class ButtonLayoutPositions : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(ButtonLayoutPositions, PlacesGlyphAndText) {
    const LayoutCase& c = GetParam();
    const ButtonLayoutResult r = calcButtonLayout(QRect(0, 0, 60, 40), c.offset, c.glyph, c.text,
                                                  c.layout, c.margin, c.spacing);
    EXPECT_EQ(r.glyphPos, c.glyphPos);
    EXPECT_EQ(r.textRect.topLeft(), c.textPos);
    EXPECT_EQ(r.textRect.size(), c.text);
}

constexpr QSize G(10, 8);
constexpr QSize T(20, 12);
constexpr QSize None(0, 0);

INSTANTIATE_TEST_SUITE_P(
    Cases, ButtonLayoutPositions,
    ::testing::Values(
        // Centred pair: margin (60 - 34 + 1) div 2 = 13; vertically (40-8+1) div 2, (40-12+1)
        // div 2.
        LayoutCase{"LeftCentred", TButtonLayout::blGlyphLeft, -1, 4, G, T, {}, {13, 16}, {27, 14}},
        LayoutCase{"LeftCentredPressed",
                   TButtonLayout::blGlyphLeft,
                   -1,
                   4,
                   G,
                   T,
                   {1, 1},
                   {14, 17},
                   {28, 15}},
        // Spacing (60 - 5 - 10 - 20) div 2 = 12.
        LayoutCase{"RightSpread", TButtonLayout::blGlyphRight, 5, -1, G, T, {}, {45, 16}, {13, 14}},
        // Both -1: (40 - 8 - 12) div 3 = 6.
        LayoutCase{"TopEven", TButtonLayout::blGlyphTop, -1, -1, G, T, {}, {25, 6}, {20, 20}},
        LayoutCase{"BottomFixed", TButtonLayout::blGlyphBottom, 2, 3, G, T, {}, {25, 30}, {20, 15}},
        // Without text the spacing is 0: the glyph alone is centred.
        LayoutCase{
            "TopGlyphOnly", TButtonLayout::blGlyphTop, -1, 4, G, None, {}, {25, 16}, {30, 24}},
        // Without glyph: (60 - 20 + 1) div 2 = 20 across, margin (40 - 12 + 1) div 2 = 14.
        LayoutCase{
            "TopTextOnly", TButtonLayout::blGlyphTop, -1, 4, None, T, {}, {30, 14}, {20, 14}}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace tx
