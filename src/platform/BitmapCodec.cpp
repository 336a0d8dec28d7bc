#include "BitmapCodec.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <limits>
#include <new>

#include <jerror.h>
#include <jpeglib.h>

namespace tx {

namespace {

constexpr int kFileHeaderSize = 14;
constexpr int kInfoHeaderSize = 40;
constexpr int kHeadersSize = kFileHeaderSize + kInfoHeaderSize;

qint64 stride24(qint64 width) {
    return (width * 3 + 3) & ~qint64(3);
}

void put16(char* p, quint16 v) {
    p[0] = char(v & 0xff);
    p[1] = char(v >> 8);
}

void put32(char* p, quint32 v) {
    for (int i = 0; i < 4; ++i)
        p[i] = char((v >> (8 * i)) & 0xff);
}

quint16 get16(const uchar* p) {
    return quint16(p[0] | (p[1] << 8));
}

quint32 get32(const uchar* p) {
    return quint32(p[0]) | (quint32(p[1]) << 8) | (quint32(p[2]) << 16) | (quint32(p[3]) << 24);
}

void writeHeaders(char* out, qint64 width, qint64 height) {
    const qint64 image = stride24(width) * height;
    std::memset(out, 0, kHeadersSize);
    out[0] = 'B';
    out[1] = 'M';
    put32(out + 2, quint32(kHeadersSize + image));
    put32(out + 10, kHeadersSize);
    put32(out + 14, kInfoHeaderSize);
    put32(out + 18, quint32(width));
    put32(out + 22, quint32(height)); // positive: rows bottom-up, as bitmaps are saved
    put16(out + 26, 1);
    put16(out + 28, 24);
    put32(out + 34, quint32(image));
}

// A fresh 24-bit BMP of the given size with headers and zeroed row padding; the caller
// fills the pixels. Refuses what could not be stored before allocating anything.
QByteArray newBmp24(qint64 width, qint64 height) {
    if (width <= 0 || height <= 0 || bmp24FileSize(width, height) > kMaxStoredPictureBytes)
        throw PictureError("picture too large to store");
    QByteArray out;
    try {
        out = QByteArray(qsizetype(bmp24FileSize(width, height)), Qt::Uninitialized);
    } catch (const std::bad_alloc&) {
        throw PictureError("not enough memory for the picture");
    }
    writeHeaders(out.data(), width, height);
    const qint64 stride = stride24(width);
    const qint64 pad = stride - width * 3;
    if (pad > 0) {
        char* rows = out.data() + kHeadersSize;
        for (qint64 y = 0; y < height; ++y)
            std::memset(rows + y * stride + width * 3, 0, size_t(pad));
    }
    return out;
}

// ---- JPEG -------------------------------------------------------------------------

struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void errorExit(j_common_ptr cinfo) {
    auto* errors = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, errors->message);
    std::longjmp(errors->jump, 1);
}

// libjpeg goes on after a truncated or damaged stream by inventing the missing data;
// such a picture is refused instead of stored half grey.
void emitMessage(j_common_ptr cinfo, int level) {
    if (level >= 0)
        return;
    switch (cinfo->err->msg_code) {
    case JWRN_JPEG_EOF:
    case JWRN_HIT_MARKER:
    case JWRN_MUST_RESYNC:
    case JWRN_HUFF_BAD_CODE:
        errorExit(cinfo);
    default:
        ++cinfo->err->num_warnings;
    }
}

void outputMessage(j_common_ptr) {}

// Every block of a Huffman-coded component costs at least one bit, so a header declaring
// more blocks than the data has bits lies about its size.
bool plausibleForDataSize(const jpeg_decompress_struct& cinfo, unsigned long dataSize) {
    if (cinfo.arith_code)
        return true;
    quint64 most = 0;
    for (int c = 0; c < cinfo.num_components; ++c) {
        const jpeg_component_info& comp = cinfo.comp_info[c];
        const quint64 blocks = quint64(comp.width_in_blocks) * comp.height_in_blocks;
        most = qMax(most, blocks);
    }
    return most <= quint64(dataSize) * 8;
}

// Only plain data lives in this frame: a longjmp out of libjpeg skips no destructor.
// Answers false with the reason in message.
bool decodeJpeg(const unsigned char* data, unsigned long size, QByteArray* out, char* message) {
    jpeg_decompress_struct cinfo;
    ErrorManager errors;
    cinfo.err = jpeg_std_error(&errors.pub);
    errors.pub.error_exit = errorExit;
    errors.pub.emit_message = emitMessage;
    errors.pub.output_message = outputMessage;
    errors.message[0] = 0;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&cinfo);
        std::snprintf(message, JMSG_LENGTH_MAX, "%s", errors.message);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, data, size);
    jpeg_read_header(&cinfo, TRUE);

    const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGR;
    cinfo.scale_num = 1;
    cinfo.scale_denom = 1;
    jpeg_calc_output_dimensions(&cinfo);

    const qint64 width = cinfo.output_width;
    const qint64 height = cinfo.output_height;
    if (bmp24FileSize(width, height) > kMaxStoredPictureBytes) {
        std::snprintf(message, JMSG_LENGTH_MAX, "picture of %lldx%lld too large to store",
                      static_cast<long long>(width), static_cast<long long>(height));
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    if (!plausibleForDataSize(cinfo, size)) {
        std::snprintf(message, JMSG_LENGTH_MAX, "header declares more than the data holds");
        jpeg_destroy_decompress(&cinfo);
        return false;
    }

    jpeg_start_decompress(&cinfo);
    try {
        *out = newBmp24(width, height);
    } catch (const PictureError& e) {
        std::snprintf(message, JMSG_LENGTH_MAX, "%s", e.what());
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    unsigned char* pixels = reinterpret_cast<unsigned char*>(out->data()) + kHeadersSize;
    const qint64 stride = stride24(width);
    const int batch = qBound(1, cinfo.rec_outbuf_height, 16);
    JSAMPROW rows[16];
    JSAMPARRAY cmykRows = nullptr;
    if (cmyk)
        cmykRows = (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE,
                                              JDIMENSION(width * 4), JDIMENSION(batch));
    // Adobe's writers store CMYK inverted (255 = no ink).
    const bool inverted = cinfo.saw_Adobe_marker;
    while (cinfo.output_scanline < cinfo.output_height) {
        const qint64 first = cinfo.output_scanline;
        const int want = int(qMin<qint64>(batch, height - first));
        for (int i = 0; i < want; ++i)
            rows[i] = cmyk ? cmykRows[i] : pixels + (height - 1 - (first + i)) * stride;
        const JDIMENSION got = jpeg_read_scanlines(&cinfo, rows, JDIMENSION(want));
        if (cmyk) {
            for (JDIMENSION i = 0; i < got; ++i) {
                const unsigned char* s = cmykRows[i];
                unsigned char* d = pixels + (height - 1 - (first + i)) * stride;
                for (qint64 x = 0; x < width; ++x, s += 4, d += 3) {
                    int c = s[0], m = s[1], y = s[2], k = s[3];
                    if (!inverted) {
                        c = 255 - c;
                        m = 255 - m;
                        y = 255 - y;
                        k = 255 - k;
                    }
                    d[0] = static_cast<unsigned char>((y * k + 127) / 255);
                    d[1] = static_cast<unsigned char>((m * k + 127) / 255);
                    d[2] = static_cast<unsigned char>((c * k + 127) / 255);
                }
            }
        }
        if (got == 0)
            errorExit(reinterpret_cast<j_common_ptr>(&cinfo));
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

// ---- BMP --------------------------------------------------------------------------

struct BmpHeader {
    qint64 width = 0;
    qint64 height = 0; // negative: rows top-down
    int bitCount = 0;
    quint32 compression = 0;
    quint32 dataOffset = 0;
    quint32 infoSize = 0;
};

BmpHeader parseBmpHeader(const QByteArray& bmp) {
    const auto* p = reinterpret_cast<const uchar*>(bmp.constData());
    if (bmp.size() < kFileHeaderSize + 12 || p[0] != 'B' || p[1] != 'M')
        throw PictureError("not a BMP file");
    BmpHeader h;
    h.dataOffset = get32(p + 10);
    h.infoSize = get32(p + 14);
    if (h.infoSize == 12) {
        h.width = get16(p + 18);
        h.height = get16(p + 20);
        h.bitCount = get16(p + 24);
    } else if (h.infoSize >= kInfoHeaderSize && bmp.size() >= kHeadersSize) {
        h.width = qint32(get32(p + 18));
        h.height = qint32(get32(p + 22));
        h.bitCount = get16(p + 28);
        h.compression = get32(p + 30);
    } else {
        throw PictureError("unknown BMP header");
    }
    if (h.width <= 0 || h.height == 0 || h.height == std::numeric_limits<qint32>::min())
        throw PictureError("BMP without pixels");
    if (h.bitCount != 1 && h.bitCount != 4 && h.bitCount != 8 && h.bitCount != 16 &&
        h.bitCount != 24 && h.bitCount != 32)
        throw PictureError("unknown BMP pixel depth");
    if (bmp24FileSize(h.width, qAbs(h.height)) > kMaxStoredPictureBytes)
        throw PictureError("picture too large to store");
    return h;
}

// 24 and 32 bits per pixel without compression: rows copied, no image in between.
QByteArray copyTrueColour(const QByteArray& bmp, const BmpHeader& h) {
    const qint64 height = qAbs(h.height);
    const int bytesPerPixel = h.bitCount / 8;
    const qint64 srcStride = (h.width * bytesPerPixel + 3) & ~qint64(3);
    if (qint64(h.dataOffset) + srcStride * (height - 1) + h.width * bytesPerPixel > bmp.size())
        throw PictureError("BMP file is truncated");
    QByteArray out = newBmp24(h.width, height);
    const auto* src = reinterpret_cast<const uchar*>(bmp.constData()) + h.dataOffset;
    auto* dst = reinterpret_cast<uchar*>(out.data()) + kHeadersSize;
    const qint64 dstStride = stride24(h.width);
    for (qint64 y = 0; y < height; ++y) {
        // Source row y counted from the bottom of the picture.
        const uchar* s = src + (h.height > 0 ? y : height - 1 - y) * srcStride;
        uchar* d = dst + y * dstStride;
        if (bytesPerPixel == 3) {
            std::memcpy(d, s, size_t(h.width * 3));
        } else {
            for (qint64 x = 0; x < h.width; ++x, s += 4, d += 3) {
                d[0] = s[0];
                d[1] = s[1];
                d[2] = s[2];
            }
        }
    }
    return out;
}

QByteArray imageToBmp24(const QImage& image) {
    const QImage bgr = image.convertToFormat(QImage::Format_BGR888);
    if (bgr.isNull())
        throw PictureError("picture cannot be converted");
    QByteArray out = newBmp24(bgr.width(), bgr.height());
    auto* dst = reinterpret_cast<uchar*>(out.data()) + kHeadersSize;
    const qint64 stride = stride24(bgr.width());
    for (int y = 0; y < bgr.height(); ++y)
        std::memcpy(dst + (bgr.height() - 1 - y) * stride, bgr.constScanLine(y),
                    size_t(bgr.width()) * 3);
    return out;
}

QByteArray throughQt(const QByteArray& bmp, const BmpHeader& h) {
    const bool compressed = h.compression == 1 || h.compression == 2;
    if (!compressed && h.compression != 3 && h.compression != 0)
        throw PictureError("unsupported BMP compression");
    if (!compressed) {
        const qint64 stride = ((h.width * h.bitCount + 31) / 32) * 4;
        if (qint64(h.dataOffset) + stride * qAbs(h.height) > bmp.size())
            throw PictureError("BMP file is truncated");
    }
    QBuffer buffer;
    buffer.setData(bmp);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "BMP");
    // Run-length data can declare any size in a few bytes: Qt's own limit stays for it.
    // Uncompressed data was checked against the file size above.
    if (!compressed)
        reader.setAllocationLimit(0);
    QImage image;
    if (!reader.read(&image))
        throw PictureError("BMP cannot be read: " + reader.errorString().toStdString());
    return imageToBmp24(image);
}

} // namespace

qint64 bmp24FileSize(qint64 width, qint64 height) {
    // Beyond these the product below could overflow; no such picture can be stored.
    if (width > kMaxStoredPictureBytes || height > kMaxStoredPictureBytes)
        return std::numeric_limits<qint64>::max();
    return kHeadersSize + stride24(width) * height;
}

QByteArray jpegToBmp(const QByteArray& jpeg) {
    if (jpeg.isEmpty())
        throw PictureError("empty file");
    QByteArray out;
    char message[JMSG_LENGTH_MAX];
    if (!decodeJpeg(reinterpret_cast<const unsigned char*>(jpeg.constData()),
                    static_cast<unsigned long>(jpeg.size()), &out, message))
        throw PictureError(std::string("JPEG cannot be decoded: ") + message);
    return out;
}

QByteArray bmpToBmp24(const QByteArray& bmp) {
    const BmpHeader h = parseBmpHeader(bmp);
    if ((h.bitCount == 24 || h.bitCount == 32) && h.compression == 0)
        return copyTrueColour(bmp, h);
    return throughQt(bmp, h);
}

QByteArray readPictureFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw PictureError("cannot open " + path.toStdString() + ": " +
                           file.errorString().toStdString());
    QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw PictureError("cannot read " + path.toStdString());
    return data;
}

QByteArray placeholderBmp() {
    QByteArray out = newBmp24(8, 8);
    // A light grey square; no reader ever shows it.
    std::memset(out.data() + kHeadersSize, 0xc0, size_t(out.size() - kHeadersSize));
    return out;
}

QByteArray withoutBlockHeader(const QByteArray& stored) {
    if (stored.size() >= 8) {
        const auto* p = reinterpret_cast<const uchar*>(stored.constData());
        if (get16(p) == 1 && get16(p + 2) == 0x0100 && get32(p + 4) == quint32(stored.size() - 8))
            return stored.mid(8);
    }
    return stored;
}

QSize bmp24Size(const QByteArray& bmp) {
    if (bmp.size() < kHeadersSize)
        return {};
    const auto* p = reinterpret_cast<const uchar*>(bmp.constData());
    if (p[0] != 'B' || p[1] != 'M' || get32(p + 14) < kInfoHeaderSize || get16(p + 28) != 24 ||
        get32(p + 30) != 0)
        return {};
    const qint64 w = qint32(get32(p + 18));
    const qint64 h = qint32(get32(p + 22));
    const quint32 offset = get32(p + 10);
    if (w <= 0 || h <= 0 || w > 65535 * 16 || h > 65535 * 16 ||
        qint64(offset) + stride24(w) * h > bmp.size())
        return {};
    return QSize(int(w), int(h));
}

QImage bmp24Thumbnail(const QByteArray& bmp, QSize size) {
    const QSize source = bmp24Size(bmp);
    if (!source.isValid() || size.isEmpty())
        return {};
    QImage image(size, QImage::Format_RGB888);
    const auto* pixels = reinterpret_cast<const uchar*>(bmp.constData()) +
                         get32(reinterpret_cast<const uchar*>(bmp.constData()) + 10);
    const qint64 stride = stride24(source.width());
    for (int ty = 0; ty < size.height(); ++ty) {
        const qint64 sy = qint64(ty) * source.height() / size.height();
        const uchar* row = pixels + (source.height() - 1 - sy) * stride;
        uchar* d = image.scanLine(ty);
        for (int tx = 0; tx < size.width(); ++tx, d += 3) {
            const uchar* s = row + (qint64(tx) * source.width() / size.width()) * 3;
            d[0] = s[2];
            d[1] = s[1];
            d[2] = s[0];
        }
    }
    return image;
}

QImage storedPictureImage(const QByteArray& stored) {
    const QByteArray bmp = withoutBlockHeader(stored);
    QSize size = bmp24Size(bmp);
    if (size.isValid())
        return bmp24Thumbnail(bmp, size);
    // Any other bitmap goes through the guarded reader first.
    try {
        const QByteArray normalised = bmpToBmp24(bmp);
        return bmp24Thumbnail(normalised, bmp24Size(normalised));
    } catch (const PictureError&) {
        return {};
    }
}

} // namespace tx
