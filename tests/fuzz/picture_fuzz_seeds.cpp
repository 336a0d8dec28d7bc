// Writes a small seed corpus for picture_fuzz: one JPEG of each kind and a few BMPs.
#include "platform/BitmapCodec.h"
#include "support/JpegWriter.h"

#include <QBuffer>
#include <QFile>
#include <QImage>

int main(int argc, char** argv) {
    if (argc != 2)
        return 2;
    const QString dir = QString::fromLocal8Bit(argv[1]);
    auto write = [&](const QString& name, const QByteArray& bytes) {
        QFile file(dir + "/" + name);
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    };
    using tx::testing::JpegKind;
    const auto pixel = [](int x, int y) { return unsigned((x * 8) << 16 | (y * 8) << 8 | 0x40); };
    const std::pair<JpegKind, const char*> kinds[] = {
        {JpegKind::Baseline, "baseline.jpg"},      {JpegKind::Progressive, "progressive.jpg"},
        {JpegKind::Grayscale, "grayscale.jpg"},    {JpegKind::Cmyk, "cmyk.jpg"},
        {JpegKind::RestartMarkers, "restart.jpg"},
    };
    bool ok = true;
    for (const auto& [kind, name] : kinds)
        ok = write(name, tx::testing::makeJpeg(19, 13, kind, pixel)) && ok;
    QImage image(7, 5, QImage::Format_RGB32);
    image.fill(qRgb(1, 2, 3));
    for (const auto& [format, name] : {std::pair{QImage::Format_RGB32, "rgb32.bmp"},
                                       std::pair{QImage::Format_Indexed8, "indexed.bmp"},
                                       std::pair{QImage::Format_Mono, "mono.bmp"}}) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.convertToFormat(format).save(&buffer, "BMP");
        ok = write(name, bytes) && ok;
    }
    ok = write("placeholder.bmp", tx::placeholderBmp()) && ok;
    return ok ? 0 : 1;
}
