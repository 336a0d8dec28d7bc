// libFuzzer target over the picture path: JPEG decoding and BMP reading, then the
// readers of what would be stored. Built apart from the project (build_picture_fuzz.sh).
#include "platform/BitmapCodec.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Qt's reader warns about every bad offset; the fuzzer's own report is what counts.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray input =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    for (auto* decode : {&tx::jpegToBmp, &tx::bmpToBmp24}) {
        try {
            const QByteArray bmp = decode(input);
            if (tx::bmp24Size(bmp).isEmpty())
                __builtin_trap(); // a decoder answered something that is not a 24-bit BMP
            (void)tx::bmp24Thumbnail(bmp, QSize(102, 101));
        } catch (const tx::PictureError&) {
        }
    }
    (void)tx::storedPictureImage(input);
    (void)tx::bmp24Thumbnail(input, QSize(16, 16));
    return 0;
}
