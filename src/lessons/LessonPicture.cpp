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

template <typename T> T le(QByteArrayView data, qsizetype at) {
    return qFromLittleEndian<T>(reinterpret_cast<const uchar*>(data.constData()) + at);
}

struct BitmapHeader {
    qint64 width = 0;
    qint64 height = 0; // rows, whatever their order
    bool topDown = false;
    int bitCount = 0;
    quint32 compression = 0;
    quint32 pixelOffset = 0;
};

constexpr quint32 kRgb = 0;
constexpr quint32 kBitFields = 3;

// Reads what the headers promise and checks it against what the data holds, before any
// decoder allocates a bitmap for it.
bool readHeader(QByteArrayView bmp, BitmapHeader& h) {
    if (bmp.size() < kFileHeader + 12 || bmp[0] != 'B' || bmp[1] != 'M') {
        return false;
    }
    h.pixelOffset = le<quint32>(bmp, 10);
    const quint32 infoSize = le<quint32>(bmp, kFileHeader);
    if (infoSize == 12) {
        h.width = le<quint16>(bmp, kFileHeader + 4);
        h.height = le<quint16>(bmp, kFileHeader + 6);
        h.bitCount = le<quint16>(bmp, kFileHeader + 10);
    } else if (infoSize >= 40 && bmp.size() >= kFileHeader + 40) {
        h.width = le<qint32>(bmp, kFileHeader + 4);
        const qint64 height = le<qint32>(bmp, kFileHeader + 8);
        h.topDown = height < 0;
        h.height = std::llabs(height);
        h.bitCount = le<quint16>(bmp, kFileHeader + 14);
        h.compression = le<quint32>(bmp, kFileHeader + 16);
    } else {
        return false;
    }
    if (h.width <= 0 || h.height <= 0 || h.width * h.height > kMaxPicturePixels) {
        return false;
    }
    if (h.pixelOffset >= quint64(bmp.size())) {
        return false;
    }
    if (h.compression == kRgb || h.compression == kBitFields) {
        const qint64 stride = ((h.width * h.bitCount + 31) / 32) * 4;
        return stride > 0 && h.pixelOffset + stride * h.height <= bmp.size();
    }
    return true; // run-length data: the decoder stops at its end
}

// A plain 24- or 32-bit bitmap reduced to w x h by averaging 2 x 2 samples per pixel.
QImage sample(QByteArrayView bmp, const BitmapHeader& h, int w, int hOut) {
    const int bytes = h.bitCount / 8;
    const qint64 stride = ((h.width * h.bitCount + 31) / 32) * 4;
    const auto* pixels = reinterpret_cast<const uchar*>(bmp.data()) + h.pixelOffset;
    QImage out(w, hOut, QImage::Format_RGB32);
    for (int y = 0; y < hOut; ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        qint64 rows[2];
        for (int k = 0; k < 2; ++k) {
            const qint64 row = ((2 * y + k) * h.height + h.height / 2) / (2 * qint64(hOut));
            rows[k] = h.topDown ? row : h.height - 1 - row;
        }
        for (int x = 0; x < w; ++x) {
            int r = 0, g = 0, b = 0;
            for (int k = 0; k < 4; ++k) {
                const qint64 col = ((2 * x + (k & 1)) * h.width + h.width / 2) / (2 * qint64(w));
                const uchar* p = pixels + rows[k >> 1] * stride + col * bytes;
                b += p[0];
                g += p[1];
                r += p[2];
            }
            line[x] = qRgb(r / 4, g / 4, b / 4);
        }
    }
    return out;
}

} // namespace

QImage decodeLessonPicture(const QByteArray& stored, QSize fit) {
    const QByteArrayView bmp = QByteArrayView(stored).sliced(pictureHeaderSize(stored));
    BitmapHeader header;
    if (!readHeader(bmp, header)) {
        return {};
    }
    const bool plain =
        header.compression == kRgb && (header.bitCount == 24 || header.bitCount == 32);
    if (fit.isValid() && plain &&
        (header.width > 2 * fit.width() || header.height > 2 * fit.height())) {
        return sample(bmp, header, int(std::min<qint64>(header.width, 2 * fit.width())),
                      int(std::min<qint64>(header.height, 2 * fit.height())));
    }
    const QByteArray raw = QByteArray::fromRawData(bmp.data(), bmp.size());
    QBuffer buffer;
    buffer.setData(raw);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "BMP");
    QImage image;
    if (!reader.read(&image)) {
        return {};
    }
    return image;
}

QImage readLessonPicture(Connection& connection, const LessonModule& module, const LessonItem& item,
                         QSize fit) {
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
    return decodeLessonPicture(stored, fit);
}

} // namespace tx
