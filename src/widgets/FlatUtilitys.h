#pragma once

#include <QColor>

namespace tx {

// Lightness step for derived button colours.
using TAdvColors = int;

// Hue, lightness and saturation on the integer scale 0..240 (red, green, blue 0..255).
struct HlsColor {
    int hue = 0;
    int lightness = 0;
    int saturation = 0;
    friend bool operator==(const HlsColor&, const HlsColor&) = default;
};

constexpr int kHlsMax = 240;
constexpr int kHueUndefined = kHlsMax * 2 / 3;

HlsColor rgbToHls(const QColor& c);
QColor hlsToRgb(const HlsColor& hls);

// Lightness raised by n, at most 234 (a step of 0 leaves the colour untouched).
QColor lighterColor(const QColor& c, TAdvColors n);
// Lightness lowered by n, at least 0 (a step of 0 leaves the colour untouched).
QColor darkerColor(const QColor& c, TAdvColors n);

} // namespace tx
