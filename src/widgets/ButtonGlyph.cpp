#include "widgets/ButtonGlyph.h"

#include "widgets/SystemColors.h"

#include <algorithm>

namespace tx {

namespace {

QRgb bottomLeft(const QImage& image) {
    return image.pixel(0, image.height() - 1);
}

bool isKey(QRgb pixel, QRgb key) {
    return pixel == key || qAlpha(pixel) == 0;
}

} // namespace

int glyphImageIndex(int numGlyphs, TButtonState state) {
    // Rows: one to four images; columns: up, disabled, down, exclusive.
    static constexpr int kTable[4][4] = {{0, 0, 0, 0}, {0, 1, 0, 0}, {0, 1, 2, 2}, {0, 1, 2, 3}};
    const int row = std::clamp(numGlyphs, 1, 4) - 1;
    return kTable[row][static_cast<int>(state)];
}

QImage withTransparentColor(const QImage& image, QRgb key) {
    QImage out = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            if (isKey(line[x], key))
                line[x] = qRgba(0, 0, 0, 0);
    }
    return out;
}

QImage embossedImage(const QImage& image, QRgb key) {
    const QImage src = image.convertToFormat(QImage::Format_ARGB32);
    QImage out(src.size(), QImage::Format_ARGB32);
    out.fill(systemColor(SystemColor::BtnFace));
    const QRgb light = systemRgb(SystemColor::BtnHighlight);
    const QRgb dark = systemRgb(SystemColor::BtnShadow);
    for (int pass = 0; pass < 2; ++pass) {
        const int shift = pass == 0 ? 1 : 0;
        const QRgb color = pass == 0 ? light : dark;
        for (int y = 0; y + shift < src.height(); ++y)
            for (int x = 0; x + shift < src.width(); ++x)
                if (!isKey(src.pixel(x, y), key))
                    out.setPixel(x + shift, y + shift, color);
    }
    return out;
}

QImage buttonGlyphImage(const QImage& glyph, int numGlyphs, TButtonState state) {
    if (glyph.isNull())
        return {};
    numGlyphs = std::clamp(numGlyphs, 1, 4);
    const int w = glyph.width() / numGlyphs;
    if (w <= 0)
        return {};
    const QRgb key = bottomLeft(glyph);
    QImage image = glyph.copy(glyphImageIndex(numGlyphs, state) * w, 0, w, glyph.height());
    if (numGlyphs == 1 && state == TButtonState::bsDisabled) {
        image = embossedImage(image, key);
        return withTransparentColor(image, bottomLeft(image));
    }
    return withTransparentColor(image, key);
}

} // namespace tx
