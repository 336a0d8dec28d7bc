// The program's JPEG path as a command, for timing against djpeg -bmp on the same file
// (bench/picture_bench.sh):
//   jpeg_to_bmp make WIDTH HEIGHT out.jpg   writes a photo-like test JPEG
//   jpeg_to_bmp IN.jpg OUT.bmp              stores IN as the bitmap bytes the program keeps
#include "platform/BitmapCodec.h"
#include "support/JpegWriter.h"

#include <QFile>
#include <cstdio>

namespace {

bool writeFile(const char* path, const QByteArray& bytes) {
    QFile file(QString::fromLocal8Bit(path));
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Smooth colour fields with grain, compressing about as a camera picture does.
unsigned photoPixel(int x, int y) {
    unsigned h = unsigned(x) * 73856093u ^ unsigned(y) * 19349663u;
    h ^= h >> 13;
    h *= 0x5bd1e995u;
    const int grain = int(h >> 28) - 8;
    auto channel = [&](int v) { return unsigned(qBound(0, v + grain, 255)); };
    return channel((x / 7) % 256) << 16 | channel((y / 5) % 256) << 8 |
           channel(((x + y) / 11) % 256);
}

} // namespace

int main(int argc, char** argv) {
    try {
        if (argc == 5 && QByteArray(argv[1]) == "make") {
            const QByteArray jpeg = tx::testing::makeJpeg(
                atoi(argv[2]), atoi(argv[3]), tx::testing::JpegKind::Baseline, photoPixel, 92);
            return writeFile(argv[4], jpeg) ? 0 : 1;
        }
        if (argc == 3)
            return writeFile(argv[2], tx::jpegToBmp(tx::readPictureFile(argv[1]))) ? 0 : 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    std::fprintf(stderr, "usage: jpeg_to_bmp make W H out.jpg | jpeg_to_bmp in.jpg out.bmp\n");
    return 2;
}
