#include "Pictures.h"

#include <QBuffer>
#include <QColor>
#include <QFont>
#include <QFontDatabase>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QStringList>
#include <QTextBoundaryFinder>
#include <cmath>
#include <stdexcept>

namespace tx::content {

namespace {

// Soft colours that keep dark glyphs and colour emoji readable; picked by the name so a
// picture looks the same on every build.
QColor background(const QString& name) {
    static const char* const palette[] = {"#fde2c8", "#d8f0d2", "#d6e8fb", "#fbe0ec",
                                          "#fff3b8", "#e6dcf7", "#cdeff0", "#f7e1d0"};
    const size_t n = sizeof palette / sizeof *palette;
    return QColor(palette[qHash(name) % n]);
}

QStringList graphemes(const QString& text) {
    QStringList out;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype start = 0;
    while (finder.toNextBoundary() != -1) {
        const QString g = text.mid(start, finder.position() - start).trimmed();
        if (!g.isEmpty())
            out << g;
        start = finder.position();
    }
    return out;
}

void drawEmoji(QPainter& p, const QStringList& glyphs) {
    const int n = int(glyphs.size());
    const int cols = int(std::ceil(std::sqrt(double(n))));
    const int rows = (n + cols - 1) / cols;
    const double cell = (kPictureSize - 20.0) / qMax(cols, rows);
    QFont font("Noto Color Emoji");
    font.setPixelSize(int(cell * 0.78));
    p.setFont(font);
    const double top = (kPictureSize - rows * cell) / 2;
    for (int i = 0; i < n; ++i) {
        const int row = i / cols;
        // The last row is centred when it is not full.
        const int inRow = row == rows - 1 ? n - row * cols : cols;
        const double left = (kPictureSize - inRow * cell) / 2;
        const QRectF box(left + (i % cols) * cell, top + row * cell, cell, cell);
        p.drawText(box, Qt::AlignCenter, glyphs[i]);
    }
}

void drawName(QPainter& p, const QString& name) {
    QFont font("Noto Sans CJK SC");
    font.setBold(true);
    const int chars = qMax(1, int(name.size()));
    font.setPixelSize(chars == 1 ? 170 : qMin(170, 200 / chars + 10));
    p.setFont(font);
    p.setPen(QColor("#c0392b"));
    p.drawText(QRectF(0, 0, kPictureSize, kPictureSize), Qt::AlignCenter, name);
}

// A missing font draws empty boxes without a word; stop instead.
void requireFont(const char* family, const char* package) {
    static const QStringList families = QFontDatabase::families();
    if (!families.contains(QString::fromUtf8(family)))
        throw std::runtime_error(std::string("font \"") + family +
                                 "\" is not installed (Debian package " + package + ")");
}

} // namespace

QByteArray renderPicture(const QString& source, const QString& name) {
    if (source == "无")
        return {};
    QImage image(kPictureSize, kPictureSize, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        QPainterPath card;
        card.addRoundedRect(QRectF(4, 4, kPictureSize - 8, kPictureSize - 8), 24, 24);
        p.fillPath(card, background(name));
        if (source == "字") {
            requireFont("Noto Sans CJK SC", "fonts-noto-cjk");
            drawName(p, name);
        } else {
            requireFont("Noto Color Emoji", "fonts-noto-color-emoji");
            drawEmoji(p, graphemes(source));
        }
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "BMP"))
        throw std::runtime_error("cannot encode a BMP picture");
    return bytes;
}

} // namespace tx::content
