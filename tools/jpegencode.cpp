#include "jpegencode.h"

#include "cover.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include <jpeglib.h>

namespace tools {
namespace {

struct ErrorManager {
    jpeg_error_mgr fields;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

// libjpeg's own error exit ends the process; this one returns to the encoder instead.
void leaveOnError(j_common_ptr info)
{
    auto *error = reinterpret_cast<ErrorManager *>(info->err);
    info->err->format_message(info, error->message);
    std::longjmp(error->jump, 1);
}

// Everything libjpeg writes to lives on the heap, so that its values are still
// valid after the jump back from an error.
struct Session {
    jpeg_compress_struct info{};
    ErrorManager error{};
    unsigned char *buffer = nullptr; // malloc'ed by libjpeg's memory destination
    unsigned long size = 0;
    std::vector<unsigned char> row;
    ~Session()
    {
        jpeg_destroy_compress(&info);
        std::free(buffer);
    }
};

} // namespace

std::string encodeCoverJpeg(const Cover &cover, JpegKind kind, int quality)
{
    const auto session = std::make_unique<Session>();
    jpeg_compress_struct &info = session->info;
    info.err = jpeg_std_error(&session->error.fields);
    session->error.fields.error_exit = leaveOnError;
    session->row.resize(static_cast<size_t>(cover.width()) * (kind.greyscale ? 1 : 3));
    if (setjmp(session->error.jump))
        throw JpegError(std::string("JPEG encoding failed: ") + session->error.message);

    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &session->buffer, &session->size);
    info.image_width = static_cast<JDIMENSION>(cover.width());
    info.image_height = static_cast<JDIMENSION>(cover.height());
    info.input_components = kind.greyscale ? 1 : 3;
    info.in_color_space = kind.greyscale ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    if (kind.progressive)
        jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    JSAMPROW rows[1] = {session->row.data()};
    while (info.next_scanline < info.image_height) {
        const int y = static_cast<int>(info.next_scanline);
        if (kind.greyscale)
            cover.greyRow(y, session->row);
        else
            cover.rgbRow(y, session->row);
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    return std::string(reinterpret_cast<const char *>(session->buffer), session->size);
}

std::string cutInsideHeaders(std::string_view jpeg)
{
    // Walk the marker segments after SOI up to the first frame header (SOFn).
    size_t position = 2;
    while (position + 4 <= jpeg.size() && static_cast<unsigned char>(jpeg[position]) == 0xFF) {
        const auto marker = static_cast<unsigned char>(jpeg[position + 1]);
        const bool frameHeader = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frameHeader)
            break;
        const size_t length = static_cast<size_t>(static_cast<unsigned char>(jpeg[position + 2])) << 8
            | static_cast<unsigned char>(jpeg[position + 3]);
        position += 2 + length;
    }
    // Half way to the frame header lies inside the quantisation tables.
    return std::string(jpeg.substr(0, std::min(position, jpeg.size()) / 2 + 1));
}

} // namespace tools
