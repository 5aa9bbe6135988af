#include "jpegfixture.h"

#include <QPainter>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <stdexcept>

#include <jpeglib.h>

namespace browser::testing {

std::string encodeJpeg(const QImage &picture, JpegKind kind, int quality)
{
    const bool grey = kind == JpegKind::Greyscale;
    const QImage pixels = picture.convertToFormat(grey ? QImage::Format_Grayscale8 : QImage::Format_RGB888);
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char *buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(pixels.width());
    info.image_height = static_cast<JDIMENSION>(pixels.height());
    info.input_components = grey ? 1 : 3;
    info.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    if (kind == JpegKind::Progressive)
        jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(pixels.constScanLine(static_cast<int>(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    std::string bytes(reinterpret_cast<const char *>(buffer), size);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return bytes;
}

QImage quarteredPicture(QSize size)
{
    QImage picture(size, QImage::Format_RGB32);
    const int halfWidth = size.width() / 2, halfHeight = size.height() / 2;
    QPainter painter(&picture);
    painter.fillRect(0, 0, halfWidth, halfHeight, quarterColours[0]);
    painter.fillRect(halfWidth, 0, size.width() - halfWidth, halfHeight, quarterColours[1]);
    painter.fillRect(0, halfHeight, halfWidth, size.height() - halfHeight, quarterColours[2]);
    painter.fillRect(halfWidth, halfHeight, size.width() - halfWidth, size.height() - halfHeight, quarterColours[3]);
    return picture;
}

std::string withAnnouncedSize(std::string jpeg, int width, int height)
{
    // The frame header: FF C0 (baseline) or FF C2 (progressive), length, precision,
    // then height and width, big-endian.
    for (size_t i = 2; i + 9 < jpeg.size(); ++i) {
        const auto marker = static_cast<unsigned char>(jpeg[i + 1]);
        if (static_cast<unsigned char>(jpeg[i]) == 0xFF && (marker == 0xC0 || marker == 0xC2)) {
            jpeg[i + 5] = static_cast<char>(height >> 8);
            jpeg[i + 6] = static_cast<char>(height & 0xFF);
            jpeg[i + 7] = static_cast<char>(width >> 8);
            jpeg[i + 8] = static_cast<char>(width & 0xFF);
            return jpeg;
        }
    }
    throw std::runtime_error("no frame header");
}

} // namespace browser::testing
