#pragma once

#include <QColor>
#include <QImage>

namespace tx::pixels {

enum class Primary { Red, Blue };

// Pixels (every second row and column) where one primary colour clearly dominates: how a
// grab tells which movie frame is drawn on the pale wrapper page.
inline int primaryPixels(const QImage& image, Primary primary) {
    int n = 0;
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2) {
            const QColor c = image.pixelColor(x, y);
            const int main = primary == Primary::Red ? c.red() : c.blue();
            const int other = primary == Primary::Red ? c.blue() : c.red();
            n += main > 200 && c.green() < 80 && other < 80;
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
