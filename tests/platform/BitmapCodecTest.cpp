#include "platform/BitmapCodec.h"
#include "support/JpegWriter.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <gtest/gtest.h>

namespace tx {
namespace {

using testing::JpegKind;
using testing::makeJpeg;

// Left half red, right half blue: survives JPEG's losses and shows any mirroring.
unsigned halves(int x, int, int width) {
    return x < width / 2 ? 0xff0000u : 0x0000ffu;
}

bool near(QRgb a, QRgb b, int tolerance = 40) {
    return qAbs(qRed(a) - qRed(b)) <= tolerance && qAbs(qGreen(a) - qGreen(b)) <= tolerance &&
           qAbs(qBlue(a) - qBlue(b)) <= tolerance;
}

QImage readBmp(const QByteArray& bmp) {
    QImage image;
    EXPECT_TRUE(image.loadFromData(bmp, "BMP"));
    return image;
}

struct KindCase {
    JpegKind kind;
    const char* name;
    QRgb left;
    QRgb right;
};

class JpegKinds : public ::testing::TestWithParam<KindCase> {};

TEST_P(JpegKinds, DecodeToFullSizeBottomUpBmp) {
    const KindCase c = GetParam();
    const int w = 37, h = 21; // odd width: rows carry padding
    const QByteArray jpeg = makeJpeg(w, h, c.kind, [&](int x, int y) {
        // The top band is green so a vertical flip would show.
        return y < 5 ? 0x00ff00u : halves(x, y, w);
    });
    const QByteArray bmp = jpegToBmp(jpeg);
    EXPECT_TRUE(bmp.startsWith("BM"));
    EXPECT_EQ(bmp.size(), bmp24FileSize(w, h));
    EXPECT_EQ(bmp24Size(bmp), QSize(w, h));
    const QImage image = readBmp(bmp);
    ASSERT_EQ(image.size(), QSize(w, h));
    const QRgb green = c.kind == JpegKind::Grayscale ? qRgb(255, 255, 255) : qRgb(0, 255, 0);
    EXPECT_TRUE(near(image.pixel(w / 2, 1), green)) << std::hex << image.pixel(w / 2, 1);
    EXPECT_TRUE(near(image.pixel(3, h - 3), c.left)) << std::hex << image.pixel(3, h - 3);
    EXPECT_TRUE(near(image.pixel(w - 3, h - 3), c.right)) << std::hex << image.pixel(w - 3, h - 3);
    // Row padding is zero, so equal pictures store equal bytes.
    const int stride = (w * 3 + 3) & ~3;
    for (int y = 0; y < h; ++y)
        EXPECT_EQ(bmp[54 + y * stride + w * 3], '\0');
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, JpegKinds,
    ::testing::Values(
        KindCase{JpegKind::Baseline, "baseline", qRgb(255, 0, 0), qRgb(0, 0, 255)},
        KindCase{JpegKind::Progressive, "progressive", qRgb(255, 0, 0), qRgb(0, 0, 255)},
        KindCase{JpegKind::RestartMarkers, "restart", qRgb(255, 0, 0), qRgb(0, 0, 255)},
        // Grayscale keeps the green channel: red and blue halves are black.
        KindCase{JpegKind::Grayscale, "grayscale", qRgb(0, 0, 0), qRgb(0, 0, 0)},
        KindCase{JpegKind::Cmyk, "cmyk", qRgb(255, 0, 0), qRgb(0, 0, 255)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(JpegToBmp, ExifOrientationIsLeftAsStored) {
    const QByteArray plain = makeJpeg(37, 21, JpegKind::Baseline, [](int x, int y) {
        return y < 5 ? 0x00ff00u : halves(x, y, 37);
    });
    // APP1 "Exif" with one little-endian IFD entry: orientation (0x0112) = 6, "rotate 90".
    const QByteArray tiff = QByteArray("II*\0\x08\0\0\0\x01\0\x12\x01\x03\0\x01\0\0\0\x06\0\0\0"
                                       "\0\0\0\0",
                                       26);
    const QByteArray payload = QByteArray("Exif\0\0", 6) + tiff;
    QByteArray app1("\xFF\xE1", 2);
    app1.append(char((payload.size() + 2) >> 8)).append(char((payload.size() + 2) & 0xff));
    app1.append(payload);
    const QByteArray rotated = plain.left(2) + app1 + plain.mid(2);
    const QByteArray bmp = jpegToBmp(rotated);
    EXPECT_EQ(bmp24Size(bmp), QSize(37, 21));
    EXPECT_EQ(bmp, jpegToBmp(plain));
}

TEST(JpegToBmp, DamagedDataIsRefused) {
    const QByteArray good = makeJpeg(64, 64, JpegKind::Baseline,
                                     [](int x, int y) { return unsigned(x * 4 << 8 | y * 4); });
    const QByteArray progressive = makeJpeg(
        64, 64, JpegKind::Progressive, [](int x, int y) { return unsigned(x * 4 << 8 | y * 4); });
    struct Case {
        const char* name;
        QByteArray data;
    };
    QByteArray wrongMarker = good;
    wrongMarker[1] = 'x'; // no start-of-image marker
    const Case cases[] = {
        {"empty", QByteArray()},
        {"not a jpeg", QByteArray("hello, this is text")},
        {"header only", good.left(200)},
        {"truncated scan", good.left(good.size() * 2 / 3)},
        {"truncated progressive", progressive.left(progressive.size() * 2 / 3)},
        {"no start marker", wrongMarker},
        {"claims 60000x60000", testing::jpegHeaderClaiming(60000, 60000)},
        // Under the storable limit, but far more blocks than a few bytes can hold.
        {"claims 15000x15000", testing::jpegHeaderClaiming(15000, 15000)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_THROW(jpegToBmp(c.data), PictureError);
    }
}

TEST(BmpToBmp24, FormatsAreNormalisedToBottomUp24Bit) {
    QImage source(9, 5, QImage::Format_RGB32);
    source.fill(qRgb(10, 20, 30));
    source.setPixel(0, 0, qRgb(250, 0, 0));
    source.setPixel(8, 4, qRgb(0, 0, 250));
    struct Case {
        const char* name;
        QImage image;
    };
    const Case cases[] = {
        {"32-bit", source},
        {"24-bit", source.convertToFormat(QImage::Format_RGB888)},
        {"8-bit palette", source.convertToFormat(QImage::Format_Indexed8)},
        {"1-bit", source.convertToFormat(QImage::Format_Mono)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QByteArray file;
        QBuffer buffer(&file);
        buffer.open(QIODevice::WriteOnly);
        ASSERT_TRUE(c.image.save(&buffer, "BMP"));
        const QByteArray bmp = bmpToBmp24(file);
        EXPECT_EQ(bmp24Size(bmp), QSize(9, 5));
        EXPECT_EQ(bmp.size(), bmp24FileSize(9, 5));
        const QImage back = readBmp(bmp);
        EXPECT_EQ(back.pixel(0, 0), c.image.pixel(0, 0));
        EXPECT_EQ(back.pixel(8, 4), c.image.pixel(8, 4));
    }
}

TEST(BmpToBmp24, TopDownRowsAreTurned) {
    QByteArray bmp = bmpToBmp24(placeholderBmp());
    // Make a 1x2 top-down file by hand: first stored row is the top one.
    QByteArray topDown = bmp24FileSize(1, 2) == 62 ? QByteArray(62, '\0') : QByteArray();
    ASSERT_FALSE(topDown.isEmpty());
    topDown[0] = 'B';
    topDown[1] = 'M';
    topDown[10] = 54;
    topDown[14] = 40;
    topDown[18] = 1;
    const qint32 minusTwo = -2;
    std::memcpy(topDown.data() + 22, &minusTwo, 4);
    topDown[26] = 1;
    topDown[28] = 24;
    topDown[54 + 2] = char(0xff); // top pixel red (BGR)
    topDown[58 + 0] = char(0xff); // bottom pixel blue
    const QImage image = readBmp(bmpToBmp24(topDown));
    EXPECT_EQ(image.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(0, 1), qRgb(0, 0, 255));
}

TEST(BmpToBmp24, DamagedOrOversizedFilesAreRefused) {
    const QByteArray good = placeholderBmp();
    auto withSize = [&](qint32 w, qint32 h) {
        QByteArray b = good;
        std::memcpy(b.data() + 18, &w, 4);
        std::memcpy(b.data() + 22, &h, 4);
        return b;
    };
    struct Case {
        const char* name;
        QByteArray data;
    };
    const Case cases[] = {
        {"empty", QByteArray()},
        {"jpeg bytes", makeJpeg(8, 8, JpegKind::Baseline, [](int, int) { return 0u; })},
        {"truncated", good.left(good.size() - 10)},
        {"claims 60000x60000", withSize(60000, 60000)},
        {"claims 15000x15000", withSize(15000, 15000)},
        // Found by the fuzz target: a size whose bitmap bytes overflow 64 bits.
        {"claims 1714318953x1869898593", withSize(1714318953, 1869898593)},
        {"zero width", withSize(0, 8)},
        {"header cut", good.left(20)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_THROW(bmpToBmp24(c.data), PictureError);
    }
}

TEST(Placeholder, IsAn8x8Of246Bytes) {
    const QByteArray p = placeholderBmp();
    EXPECT_EQ(p.size(), 246);
    EXPECT_TRUE(p.startsWith("BM"));
    EXPECT_EQ(readBmp(p).size(), QSize(8, 8));
    EXPECT_EQ(readBmp(p).depth(), 32); // Qt reads 24-bit files as 32-bit images
}

TEST(StoredPicture, BlockHeaderIsSkippedOnlyWhenItMatches) {
    const QByteArray bmp = placeholderBmp();
    QByteArray headed("\x01\x00\x00\x01", 4);
    const quint32 rest = quint32(bmp.size());
    headed.append(reinterpret_cast<const char*>(&rest), 4);
    headed.append(bmp);
    EXPECT_EQ(withoutBlockHeader(headed), bmp);
    EXPECT_EQ(withoutBlockHeader(bmp), bmp);
    QByteArray wrongSize = headed;
    wrongSize[4] = 1;
    EXPECT_EQ(withoutBlockHeader(wrongSize), wrongSize);
    EXPECT_EQ(storedPictureImage(headed).size(), QSize(8, 8));
}

TEST(StoredPicture, ThumbnailSamplesTheBitmap) {
    const QByteArray jpeg = makeJpeg(400, 300, JpegKind::Baseline, [](int x, int y) {
        return y < 150 ? 0x00ff00u : halves(x, y, 400);
    });
    const QImage thumb = bmp24Thumbnail(jpegToBmp(jpeg), QSize(102, 101));
    ASSERT_EQ(thumb.size(), QSize(102, 101));
    EXPECT_TRUE(near(thumb.pixel(50, 10), qRgb(0, 255, 0)));
    EXPECT_TRUE(near(thumb.pixel(10, 90), qRgb(255, 0, 0)));
    EXPECT_TRUE(near(thumb.pixel(90, 90), qRgb(0, 0, 255)));
    EXPECT_TRUE(bmp24Thumbnail(QByteArray("BMnonsense"), QSize(10, 10)).isNull());
}

TEST(ReadPictureFile, MissingFileIsAPictureError) {
    EXPECT_THROW(readPictureFile("/nonexistent/picture.jpg"), PictureError);
}

} // namespace
} // namespace tx
