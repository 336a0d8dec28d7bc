#include "widgets/FlatUtilitys.h"

#include <gtest/gtest.h>

namespace tx {
namespace {

struct HlsCase {
    QColor rgb;
    HlsColor hls;
};

class HlsConversion : public ::testing::TestWithParam<HlsCase> {};

TEST_P(HlsConversion, ConvertsBothWays) {
    const HlsCase& c = GetParam();
    EXPECT_EQ(rgbToHls(c.rgb), c.hls);
    EXPECT_EQ(hlsToRgb(c.hls), c.rgb);
}

INSTANTIATE_TEST_SUITE_P(Colours, HlsConversion,
                         ::testing::Values(HlsCase{QColor(255, 255, 255), {160, 240, 0}},
                                           HlsCase{QColor(0, 0, 0), {160, 0, 0}},
                                           HlsCase{QColor(255, 0, 0), {0, 120, 240}},
                                           HlsCase{QColor(0, 255, 0), {80, 120, 240}},
                                           HlsCase{QColor(0, 0, 255), {160, 120, 240}}));

struct StepCase {
    const char* name;
    QColor in;
    bool lighter;
    int step;
    QColor out;
};

class LightnessStep : public ::testing::TestWithParam<StepCase> {};

TEST_P(LightnessStep, MovesLightnessWithinBounds) {
    const StepCase& c = GetParam();
    const QColor got = c.lighter ? lighterColor(c.in, c.step) : darkerColor(c.in, c.step);
    EXPECT_EQ(got, c.out) << c.name << ": " << got.name().toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Steps, LightnessStep,
    ::testing::Values(
        // Lightness 120 -> 130: magic values 20 and 240 give 21 for green and blue.
        StepCase{"red lighter", QColor(255, 0, 0), true, 10, QColor(255, 21, 21)},
        // White's lightness 240 is capped to 234: 234 * 255 / 240 = 248.
        StepCase{"white lighter is capped", QColor(255, 255, 255), true, 10, QColor(248, 248, 248)},
        // Grey 128 has lightness 120; 70 * 255 / 240 = 74.
        StepCase{"grey darker", QColor(128, 128, 128), false, 50, QColor(74, 74, 74)},
        StepCase{"black darker stays black", QColor(0, 0, 0), false, 10, QColor(0, 0, 0)},
        // A step of 0 leaves even colours that do not survive a round trip untouched.
        StepCase{"zero step lighter", QColor(212, 208, 200), true, 0, QColor(212, 208, 200)},
        StepCase{"zero step darker", QColor(1, 2, 3), false, 0, QColor(1, 2, 3)}),
    [](const auto& info) {
        std::string n = info.param.name;
        for (char& ch : n)
            if (!isalnum(static_cast<unsigned char>(ch)))
                ch = '_';
        return n;
    });

} // namespace
} // namespace tx
