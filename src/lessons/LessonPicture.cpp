#include "lessons/LessonPicture.h"

#include "data/Dataset.h"
#include "lessons/LessonModule.h"

#include <QBuffer>
#include <QImageReader>
#include <QtEndian>

#include <cstdlib>

namespace tx {

namespace {

constexpr qsizetype kFileHeader = 14;

template <typename T> T le(const QByteArray& data, qsizetype at) {
    return qFromLittleEndian<T>(reinterpret_cast<const uchar*>(data.constData()) + at);
}

// Checks what the headers promise against what the data holds before any decoder
// allocates a bitmap for it.
bool plausibleBitmap(const QByteArray& bmp) {
    if (bmp.size() < kFileHeader + 12 || bmp[0] != 'B' || bmp[1] != 'M') {
        return false;
    }
    const quint32 pixelOffset = le<quint32>(bmp, 10);
    const quint32 infoSize = le<quint32>(bmp, kFileHeader);
    qint64 width = 0;
    qint64 height = 0;
    int bitCount = 0;
    quint32 compression = 0;
    if (infoSize == 12) {
        width = le<quint16>(bmp, kFileHeader + 4);
        height = le<quint16>(bmp, kFileHeader + 6);
        bitCount = le<quint16>(bmp, kFileHeader + 10);
    } else if (infoSize >= 40 && bmp.size() >= kFileHeader + 40) {
        width = le<qint32>(bmp, kFileHeader + 4);
        height = std::llabs(qint64(le<qint32>(bmp, kFileHeader + 8)));
        bitCount = le<quint16>(bmp, kFileHeader + 14);
        compression = le<quint32>(bmp, kFileHeader + 16);
    } else {
        return false;
    }
    if (width <= 0 || height <= 0 || width * height > kMaxPicturePixels) {
        return false;
    }
    if (pixelOffset >= quint32(bmp.size())) {
        return false;
    }
    constexpr quint32 kRgb = 0;
    constexpr quint32 kBitFields = 3;
    if (compression == kRgb || compression == kBitFields) {
        const qint64 stride = ((width * bitCount + 31) / 32) * 4;
        return stride > 0 && pixelOffset + stride * height <= bmp.size();
    }
    return true; // run-length data: the decoder stops at its end
}

} // namespace

QImage decodeLessonPicture(const QByteArray& stored) {
    const QByteArray bmp = pictureBitmapBytes(stored);
    if (!plausibleBitmap(bmp)) {
        return {};
    }
    QBuffer buffer;
    buffer.setData(bmp);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "BMP");
    QImage image;
    if (!reader.read(&image)) {
        return {};
    }
    return image;
}

QImage readLessonPicture(Connection& connection, const LessonModule& module,
                         const LessonItem& item) {
    if (!item.flagsPicture()) {
        return {};
    }
    Dataset row(connection);
    row.setSql(QStringLiteral("select %1, %2, %3 from %4 where %5=:k")
                   .arg(module.nameField, kPictureFlagField, kPictureField, module.itemTable,
                        module.numberField));
    row.setParam(QStringLiteral("k"), QString::number(item.rowKey));
    row.open();
    if (row.eof() || row.fieldByName(module.nameField.toString()).asString() != item.name) {
        return {};
    }
    const QString flag = row.fieldByName(kPictureFlagField.toString()).asString();
    const QByteArray stored = row.fieldByName(kPictureField.toString()).asBytes();
    if (!showsPicture(flag, stored)) {
        return {};
    }
    return decodeLessonPicture(stored);
}

} // namespace tx
