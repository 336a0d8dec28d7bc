#pragma once

#include <QImage>

namespace tx::pixels {

enum class Primary { Red, Blue };

// Pixels (every second row and column) where one primary colour clearly dominates: how a
// grab tells which movie frame is drawn on the pale wrapper page. Read row by row: a
// benchmark counts on the GUI thread while the movie starts.
inline int primaryPixels(const QImage& grabbed, Primary primary) {
    const QImage image = grabbed.convertToFormat(QImage::Format_RGB32);
    int n = 0;
    for (int y = 0; y < image.height(); y += 2) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); x += 2) {
            const QRgb c = row[x];
            const int main = primary == Primary::Red ? qRed(c) : qBlue(c);
            const int other = primary == Primary::Red ? qBlue(c) : qRed(c);
            n += main > 200 && qGreen(c) < 80 && other < 80;
        }
    }
    return n;
}

// The sample's first frame is a red circle.
inline int redPixels(const QImage& image) {
    return primaryPixels(image, Primary::Red);
}
inline int bluePixels(const QImage& image) {
    return primaryPixels(image, Primary::Blue);
}

} // namespace tx::pixels
