#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRect>
#include <QWidget>

namespace tx::test {

// Bold, large and without antialiasing, so that glyph strokes are solid pixels of one colour.
inline QFont solidFont(int pixelSize = 40) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(pixelSize);
    f.setBold(true);
    f.setStyleStrategy(QFont::NoAntialias);
    return f;
}

// The widget's own painting on a transparent image: no window background behind it.
inline QImage grabImage(QWidget& w) {
    QImage image(w.size(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    w.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

// Bounding box of the pixels of exactly colour c (empty when there are none).
inline QRect boundsOf(const QImage& image, QColor c) {
    QRect r;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == c.rgba())
                r |= QRect(x, y, 1, 1);
    return r;
}

inline int countOf(const QImage& image, QColor c) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixel(x, y) == c.rgba();
    return n;
}

} // namespace tx::test
