#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <stdexcept>

namespace tx {

// Pictures of lesson items are stored as the bytes of a 24-bit BMP file. These helpers
// turn what a user picks (a JPEG or a BMP file) into such bytes and read them back.

// The most one stored value may hold (SQLite's default length limit): a picture whose
// bitmap would be larger cannot be stored and is refused before it is decoded.
inline constexpr qint64 kMaxStoredPictureBytes = 1'000'000'000;

// A file that cannot be read, is damaged or truncated, or declares a bitmap too large to store.
class PictureError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Size of a 24-bit BMP file of the given dimensions: headers plus rows padded to 4 bytes.
qint64 bmp24FileSize(qint64 width, qint64 height);

// JPEG data decoded at full size by libjpeg (CMYK, YCCK, grayscale, progressive and
// arithmetic-coded pictures included). Throws PictureError.
QByteArray jpegToBmp(const QByteArray& jpeg);

// Any BMP file (palette, 16/24/32 bits, RLE, top-down) as a bottom-up 24-bit BMP file.
// Throws PictureError.
QByteArray bmpToBmp24(const QByteArray& bmp);

// Reads a file whole; throws PictureError when it cannot be read.
QByteArray readPictureFile(const QString& path);

// The 8x8 24-bit placeholder written over a removed picture: 246 bytes.
QByteArray placeholderBmp();

// Stored picture bytes without the 8-byte block header that older writers put in front
// (count 1, type 0x0100, size of the rest); bytes without one are answered unchanged.
QByteArray withoutBlockHeader(const QByteArray& stored);

// Dimensions of a 24-bit BMP written by the functions above; invalid size if it is not one.
QSize bmp24Size(const QByteArray& bmp);

// A small image for showing a stored picture, sampled straight from the 24-bit BMP bytes
// so that its cost does not grow with the picture. Null for anything else.
QImage bmp24Thumbnail(const QByteArray& bmp, QSize size);

// A stored picture (any bitmap the readers accept, with or without block header) as an image.
QImage storedPictureImage(const QByteArray& stored);

} // namespace tx
