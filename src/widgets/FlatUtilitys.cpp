#include "widgets/FlatUtilitys.h"

#include <algorithm>

namespace tx {

namespace {

constexpr int kRgbMax = 255;
constexpr int kLighterCap = 234;

int hueToRgb(int n1, int n2, int hue) {
    if (hue < 0)
        hue += kHlsMax;
    if (hue > kHlsMax)
        hue -= kHlsMax;
    if (hue < kHlsMax / 6)
        return n1 + (((n2 - n1) * hue + kHlsMax / 12) / (kHlsMax / 6));
    if (hue < kHlsMax / 2)
        return n2;
    if (hue < kHlsMax * 2 / 3)
        return n1 + (((n2 - n1) * (kHlsMax * 2 / 3 - hue) + kHlsMax / 12) / (kHlsMax / 6));
    return n1;
}

int toComponent(int v) {
    return std::clamp((v * kRgbMax + kHlsMax / 2) / kHlsMax, 0, kRgbMax);
}

QColor withLightness(const QColor& c, int lightness) {
    HlsColor hls = rgbToHls(c);
    hls.lightness = std::clamp(lightness, 0, kHlsMax);
    return hlsToRgb(hls);
}

} // namespace

HlsColor rgbToHls(const QColor& c) {
    const int r = c.red(), g = c.green(), b = c.blue();
    const int cMax = std::max({r, g, b});
    const int cMin = std::min({r, g, b});
    HlsColor hls;
    hls.lightness = ((cMax + cMin) * kHlsMax + kRgbMax) / (2 * kRgbMax);
    if (cMax == cMin) {
        hls.saturation = 0;
        hls.hue = kHueUndefined;
        return hls;
    }
    const int range = cMax - cMin;
    if (hls.lightness <= kHlsMax / 2)
        hls.saturation = (range * kHlsMax + (cMax + cMin) / 2) / (cMax + cMin);
    else
        hls.saturation =
            (range * kHlsMax + (2 * kRgbMax - cMax - cMin) / 2) / (2 * kRgbMax - cMax - cMin);
    const int rDelta = ((cMax - r) * (kHlsMax / 6) + range / 2) / range;
    const int gDelta = ((cMax - g) * (kHlsMax / 6) + range / 2) / range;
    const int bDelta = ((cMax - b) * (kHlsMax / 6) + range / 2) / range;
    if (r == cMax)
        hls.hue = bDelta - gDelta;
    else if (g == cMax)
        hls.hue = kHlsMax / 3 + rDelta - bDelta;
    else
        hls.hue = 2 * kHlsMax / 3 + gDelta - rDelta;
    if (hls.hue < 0)
        hls.hue += kHlsMax;
    if (hls.hue > kHlsMax)
        hls.hue -= kHlsMax;
    return hls;
}

QColor hlsToRgb(const HlsColor& hls) {
    const int l = hls.lightness, s = hls.saturation, h = hls.hue;
    if (s == 0) {
        const int v = std::clamp(l * kRgbMax / kHlsMax, 0, kRgbMax);
        return QColor(v, v, v);
    }
    const int magic2 = l <= kHlsMax / 2 ? (l * (kHlsMax + s) + kHlsMax / 2) / kHlsMax
                                        : l + s - (l * s + kHlsMax / 2) / kHlsMax;
    const int magic1 = 2 * l - magic2;
    return QColor(toComponent(hueToRgb(magic1, magic2, h + kHlsMax / 3)),
                  toComponent(hueToRgb(magic1, magic2, h)),
                  toComponent(hueToRgb(magic1, magic2, h - kHlsMax / 3)));
}

QColor lighterColor(const QColor& c, TAdvColors n) {
    if (n == 0)
        return c;
    return withLightness(c, std::min(rgbToHls(c).lightness + n, kLighterCap));
}

QColor darkerColor(const QColor& c, TAdvColors n) {
    if (n == 0)
        return c;
    return withLightness(c, std::max(rgbToHls(c).lightness - n, 0));
}

} // namespace tx
