#pragma once

// JPEG pictures made with libjpeg's compression API, for tests and benchmarks.

#include <QByteArray>

#include <cstdio>
#include <functional>
#include <jpeglib.h>
#include <stdexcept>
#include <vector>

namespace tx::testing {

enum class JpegKind { Baseline, Progressive, Grayscale, Cmyk, RestartMarkers };

// pixel(x, y) gives the colour as 0xRRGGBB; CMYK pictures are written inverted as
// Adobe's writers do (255 = no ink), grayscale ones take the green channel.
inline QByteArray makeJpeg(int width, int height, JpegKind kind,
                           const std::function<unsigned(int, int)>& pixel, int quality = 90) {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr errors;
    cinfo.err = jpeg_std_error(&errors);
    errors.error_exit = [](j_common_ptr c) {
        char text[JMSG_LENGTH_MAX];
        (*c->err->format_message)(c, text);
        throw std::runtime_error(text);
    };
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = JDIMENSION(width);
    cinfo.image_height = JDIMENSION(height);
    switch (kind) {
    case JpegKind::Grayscale:
        cinfo.input_components = 1;
        cinfo.in_color_space = JCS_GRAYSCALE;
        break;
    case JpegKind::Cmyk:
        cinfo.input_components = 4;
        cinfo.in_color_space = JCS_CMYK;
        break;
    default:
        cinfo.input_components = 3;
        cinfo.in_color_space = JCS_RGB;
    }
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    if (kind == JpegKind::Progressive)
        jpeg_simple_progression(&cinfo);
    if (kind == JpegKind::RestartMarkers)
        cinfo.restart_interval = 2;
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<unsigned char> row(size_t(width) * size_t(cinfo.input_components));
    while (cinfo.next_scanline < cinfo.image_height) {
        const int y = int(cinfo.next_scanline);
        for (int x = 0; x < width; ++x) {
            const unsigned rgb = pixel(x, y);
            const unsigned char r = (rgb >> 16) & 0xff, g = (rgb >> 8) & 0xff, b = rgb & 0xff;
            unsigned char* d = row.data() + size_t(x) * size_t(cinfo.input_components);
            if (kind == JpegKind::Grayscale) {
                d[0] = g;
            } else if (kind == JpegKind::Cmyk) {
                d[0] = r; // inverted cyan: full red means no cyan ink
                d[1] = g;
                d[2] = b;
                d[3] = 255; // no black ink
            } else {
                d[0] = r;
                d[1] = g;
                d[2] = b;
            }
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    QByteArray out(reinterpret_cast<const char*>(buffer), qsizetype(size));
    std::free(buffer);
    return out;
}

// A JPEG header (SOI, quantisation and Huffman tables, SOF0) declaring the given size,
// followed by the start of a scan and nothing else.
inline QByteArray jpegHeaderClaiming(int width, int height) {
    QByteArray small = makeJpeg(16, 16, JpegKind::Baseline, [](int, int) { return 0x808080u; });
    // Patch the frame header's height and width (SOF0: FF C0, length, precision, H, W).
    const qsizetype sof = small.indexOf("\xFF\xC0");
    if (sof < 0)
        throw std::runtime_error("no SOF0 in the small JPEG");
    small[sof + 5] = char((height >> 8) & 0xff);
    small[sof + 6] = char(height & 0xff);
    small[sof + 7] = char((width >> 8) & 0xff);
    small[sof + 8] = char(width & 0xff);
    const qsizetype sos = small.indexOf("\xFF\xDA");
    return small.left(sos + 14);
}

} // namespace tx::testing
