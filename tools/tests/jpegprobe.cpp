#include "jpegprobe.h"

#include <csetjmp>
#include <cstdio>
#include <memory>
#include <vector>

#include <jpeglib.h>

namespace tools::testsupport {
namespace {

struct ErrorManager {
    jpeg_error_mgr fields;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void leaveOnError(j_common_ptr info)
{
    auto *error = reinterpret_cast<ErrorManager *>(info->err);
    info->err->format_message(info, error->message);
    std::longjmp(error->jump, 1);
}

struct Session {
    jpeg_decompress_struct info{};
    ErrorManager error{};
    std::vector<unsigned char> row;
    JpegProbe probe; // on the heap: still valid after the jump back from an error
    ~Session() { jpeg_destroy_decompress(&info); }
};

} // namespace

JpegProbe probeJpeg(std::string_view bytes)
{
    const auto session = std::make_unique<Session>();
    jpeg_decompress_struct &info = session->info;
    JpegProbe &probe = session->probe;
    info.err = jpeg_std_error(&session->error.fields);
    session->error.fields.error_exit = leaveOnError;
    if (setjmp(session->error.jump)) {
        session->probe.error = session->error.message;
        return session->probe;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char *>(bytes.data()), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    probe.width = static_cast<int>(info.image_width);
    probe.height = static_cast<int>(info.image_height);
    probe.components = info.num_components;
    probe.progressive = info.progressive_mode;
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    session->row.resize(static_cast<size_t>(info.output_width) * static_cast<size_t>(info.output_components));
    JSAMPROW rows[1] = {session->row.data()};
    while (info.output_scanline < info.output_height)
        jpeg_read_scanlines(&info, rows, 1);
    jpeg_finish_decompress(&info);
    probe.warnings = session->error.fields.num_warnings;
    probe.decoded = true;
    return probe;
}

} // namespace tools::testsupport
