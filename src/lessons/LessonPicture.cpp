#include "lessons/LessonPicture.h"

#include "data/Dataset.h"
#include "lessons/LessonModule.h"

#include <QBuffer>
#include <QImageReader>
#include <QtEndian>

#include <algorithm>
#include <cstdlib>
#include <vector>

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
bool readHeader(QByteArrayView bmp, qint64 total, BitmapHeader& h) {
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
    if (h.pixelOffset >= quint64(total)) {
        return false;
    }
    if (h.compression == kRgb || h.compression == kBitFields) {
        const qint64 stride = ((h.width * h.bitCount + 31) / 32) * 4;
        return stride > 0 && h.pixelOffset + stride * h.height <= total;
    }
    return true; // run-length data: the decoder stops at its end
}

// Stored picture data, read in pieces.
class PictureSource {
public:
    virtual ~PictureSource() = default;
    virtual qint64 size() const = 0;
    virtual QList<QByteArray> read(const QList<QPair<qint64, qint64>>& ranges) const = 0;
};

class MemorySource : public PictureSource {
public:
    explicit MemorySource(const QByteArray& bytes) : bytes_(bytes) {}
    qint64 size() const override { return bytes_.size(); }
    QList<QByteArray> read(const QList<QPair<qint64, qint64>>& ranges) const override {
        QList<QByteArray> parts;
        for (const auto& r : ranges) {
            parts << bytes_.mid(r.first, r.second);
        }
        return parts;
    }

private:
    const QByteArray& bytes_;
};

class FieldSource : public PictureSource {
public:
    explicit FieldSource(Field& field) : field_(field) {}
    qint64 size() const override { return field_.byteSize(); }
    QList<QByteArray> read(const QList<QPair<qint64, qint64>>& ranges) const override {
        return field_.readByteRanges(ranges);
    }

private:
    Field& field_;
};

// The headers' bytes, enough for every kind of info header.
constexpr qint64 kHeadBytes = 8 + kFileHeader + 124;

// A plain 24- or 32-bit bitmap reduced to w x h by averaging 2 x 2 samples per pixel; only
// the sampled rows are read.
QImage sample(const PictureSource& source, qint64 start, const BitmapHeader& h, int w, int hOut) {
    const int bytes = h.bitCount / 8;
    const qint64 stride = ((h.width * h.bitCount + 31) / 32) * 4;
    QList<QPair<qint64, qint64>> ranges;
    std::vector<qint64> rowOf(size_t(2 * hOut));
    for (int k = 0; k < 2 * hOut; ++k) {
        const qint64 row = (k * h.height + h.height / 2) / (2 * qint64(hOut));
        const qint64 stored = h.topDown ? row : h.height - 1 - row;
        rowOf[size_t(k)] = stored;
    }
    // Read in file order, each row once.
    std::vector<qint64> order = rowOf;
    std::sort(order.begin(), order.end());
    order.erase(std::unique(order.begin(), order.end()), order.end());
    for (qint64 row : order) {
        ranges << QPair<qint64, qint64>(start + h.pixelOffset + row * stride, stride);
    }
    const QList<QByteArray> rows = source.read(ranges);
    const auto rowData = [&](qint64 stored) {
        const auto at = std::lower_bound(order.begin(), order.end(), stored) - order.begin();
        return reinterpret_cast<const uchar*>(rows[at].constData());
    };
    QImage out(w, hOut, QImage::Format_RGB32);
    for (int y = 0; y < hOut; ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        const uchar* lines[2] = {rowData(rowOf[size_t(2 * y)]), rowData(rowOf[size_t(2 * y + 1)])};
        for (int x = 0; x < w; ++x) {
            int r = 0, g = 0, b = 0;
            for (int k = 0; k < 4; ++k) {
                const qint64 col = ((2 * x + (k & 1)) * h.width + h.width / 2) / (2 * qint64(w));
                const uchar* p = lines[k >> 1] + col * bytes;
                b += p[0];
                g += p[1];
                r += p[2];
            }
            line[x] = qRgb(r / 4, g / 4, b / 4);
        }
    }
    return out;
}

QImage decode(const PictureSource& source, QSize fit) {
    const qint64 total = source.size();
    const QByteArray head = source.read({{0, std::min(total, kHeadBytes)}}).value(0);
    // The 8-byte header counts the bytes after it, so it is judged against the whole size.
    qint64 start = 0;
    if (head.size() >= 8) {
        QByteArray probe = head.left(8);
        const auto* p = reinterpret_cast<const uchar*>(probe.constData());
        if (qFromLittleEndian<quint16>(p) == 1 && qFromLittleEndian<quint16>(p + 2) == 0x0100 &&
            qFromLittleEndian<quint32>(p + 4) == quint64(total - 8)) {
            start = 8;
        }
    }
    const QByteArrayView bmpHead = QByteArrayView(head).sliced(start);
    BitmapHeader header;
    if (!readHeader(bmpHead, total - start, header)) {
        return {};
    }
    const bool plain =
        header.compression == kRgb && (header.bitCount == 24 || header.bitCount == 32);
    if (fit.isValid() && plain &&
        (header.width > 2 * fit.width() || header.height > 2 * fit.height())) {
        return sample(source, start, header, int(std::min<qint64>(header.width, 2 * fit.width())),
                      int(std::min<qint64>(header.height, 2 * fit.height())));
    }
    const QByteArray bmp = source.read({{start, total - start}}).value(0);
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

} // namespace

QImage decodeLessonPicture(const QByteArray& stored, QSize fit) {
    return decode(MemorySource(stored), fit);
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
    Field& pic = row.fieldByName(kPictureField.toString());
    // Only the rows a reduced picture needs are read from a large one.
    if (flag != kHasPicture || pic.byteSize() == 0) {
        return {};
    }
    return decode(FieldSource(pic), fit);
}

} // namespace tx
