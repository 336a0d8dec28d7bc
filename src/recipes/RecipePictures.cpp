#include "recipes/RecipePictures.h"

#include <QFont>
#include <QFontDatabase>
#include <QPainter>

namespace tx {

namespace {

// Picture 1 is the category mark; 2 to 15 are dishes and foods.
const char32_t kGlyphs[RecipePictures::Count] = {
    0,    U'📖',    U'🍚',    U'🍜', U'🥟', U'🍞', U'🥚', U'🐟',
    U'🍗', U'🥩', U'🥦', U'🍅', U'🍎',    U'🍰', U'🥛', U'🍲',
};

const char* const kNames[RecipePictures::Count] = {
    "",     "菜谱", "米饭",   "面条", "饺子", "面包", "鸡蛋", "鱼",
    "鸡腿", "肉",   "西兰花", "番茄", "苹果", "蛋糕", "牛奶", "汤锅",
};

const QColor kDiscColours[] = {{230, 120, 40}, {60, 150, 60}, {200, 60, 60}, {60, 110, 200}};

QImage emptyImage() {
    QImage image(RecipePictures::Size, RecipePictures::Size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

bool hasEmojiFont() {
    return QFontDatabase::families().contains(QStringLiteral("Noto Color Emoji"));
}

QImage emojiPicture(char32_t glyph) {
    // The colour font has one bitmap size; it is drawn large and scaled down smoothly.
    constexpr int big = 64;
    QImage large(big, big, QImage::Format_ARGB32_Premultiplied);
    large.fill(Qt::transparent);
    {
        QPainter painter(&large);
        QFont font(QStringLiteral("Noto Color Emoji"));
        font.setPixelSize(big * 7 / 8);
        painter.setFont(font);
        painter.drawText(large.rect(), Qt::AlignCenter, QString::fromUcs4(&glyph, 1));
    }
    return large.scaled(RecipePictures::Size, RecipePictures::Size, Qt::KeepAspectRatio,
                        Qt::SmoothTransformation);
}

QImage drawnPicture(int n) {
    QImage image = emptyImage();
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    if (n == 1) {
        painter.setBrush(QColor(240, 200, 80));
        painter.setPen(QColor(120, 80, 20));
        painter.drawRect(2, 3, 11, 10);
        painter.drawLine(4, 6, 11, 6);
        painter.drawLine(4, 9, 11, 9);
        return image;
    }
    painter.setBrush(kDiscColours[n % 4]);
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QRectF(0.5, 0.5, 15, 15));
    QFont font;
    font.setPixelSize(9);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(image.rect(), Qt::AlignCenter, QString::number(n));
    return image;
}

bool blank(const QImage& image) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) != 0)
                return false;
    return true;
}

} // namespace

RecipePictures::RecipePictures() {
    const bool emoji = hasEmojiFont();
    images_[0] = emptyImage();
    for (int n = 1; n < Count; ++n) {
        QImage image = emoji ? emojiPicture(kGlyphs[n]) : QImage();
        images_[size_t(n)] = image.isNull() || blank(image) ? drawnPicture(n) : image;
    }
    for (int n = 0; n < Count; ++n)
        icons_[size_t(n)] = QIcon(QPixmap::fromImage(images_[size_t(n)]));
}

const QImage& RecipePictures::image(int n) const {
    return images_.at(size_t(n));
}

QString RecipePictures::name(int n) {
    return QString::fromUtf8(kNames[size_t(n)]);
}

const QIcon& RecipePictures::icon(int n) const {
    return icons_.at(size_t(n));
}

} // namespace tx
