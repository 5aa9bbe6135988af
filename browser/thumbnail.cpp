#include "thumbnail.h"

#include "platform/files.h"

#include <csetjmp>
#include <cstdio> // jpeglib.h needs FILE and size_t declared before it
#include <new>

#include <jpeglib.h>
// After jpeglib.h: which messages exist depends on its configuration.
#include <jerror.h>

namespace browser {
namespace {

// libjpeg reports a fatal error by calling error_exit, which by default ends the program.
// Ours jumps back to the function that started the step, which then fails cleanly.
struct ErrorManager {
    jpeg_error_mgr pub; // first, so that libjpeg's pointer to it is a pointer to us
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void jumpBack(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<ErrorManager *>(info->err)->jump, 1);
}

[[noreturn]] void failWithLibraryMessage(j_common_ptr info)
{
    info->err->format_message(info, reinterpret_cast<ErrorManager *>(info->err)->message);
    jumpBack(info);
}

[[noreturn]] void failWith(j_common_ptr info, const char *text)
{
    std::snprintf(reinterpret_cast<ErrorManager *>(info->err)->message, JMSG_LENGTH_MAX, "%s", text);
    jumpBack(info);
}

// Warnings that mean the picture's data is damaged end the decode: what would be shown
// is partly grey or garbled. Harmless ones (extra bytes between markers, an odd JFIF
// version) and trace messages are dropped silently instead of printed.
void onMessage(j_common_ptr info, int level)
{
    if (level >= 0)
        return;
    switch (info->err->msg_code) {
#if JPEG_LIB_VERSION >= 70 || defined(C_ARITH_CODING_SUPPORTED) || defined(D_ARITH_CODING_SUPPORTED)
    case JWRN_ARITH_BAD_CODE:
#endif
    case JWRN_BOGUS_PROGRESSION:
    case JWRN_HIT_MARKER:
    case JWRN_HUFF_BAD_CODE:
    case JWRN_JPEG_EOF:
    case JWRN_MUST_RESYNC:
    case JWRN_NOT_SEQUENTIAL:
        failWithLibraryMessage(info);
    default:
        return;
    }
}

void checkScanCount(j_common_ptr info)
{
    if (info->is_decompressor && reinterpret_cast<j_decompress_ptr>(info)->input_scan_number > MaxJpegScans)
        failWith(info, "too many scans");
}

struct Decompressor {
    Decompressor()
    {
        info.err = jpeg_std_error(&errors.pub);
        errors.pub.error_exit = failWithLibraryMessage;
        errors.pub.emit_message = onMessage;
        errors.message[0] = '\0';
        progress.progress_monitor = checkScanCount;
    }
    ~Decompressor() { jpeg_destroy_decompress(&info); } // safe on a struct never created
    Decompressor(const Decompressor &) = delete;
    Decompressor &operator=(const Decompressor &) = delete;

    jpeg_decompress_struct info{};
    ErrorManager errors{};
    jpeg_progress_mgr progress{};
};

// Pixels in the byte order of QImage::Format_RGB32 where libjpeg can write them so (its
// colour-space extensions), which the preview then copies without converting them.
#ifdef JCS_EXTENSIONS
constexpr J_COLOR_SPACE kNativeRgb32 = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? JCS_EXT_BGRX : JCS_EXT_XRGB;

J_COLOR_SPACE outputColourSpace(J_COLOR_SPACE)
{
    return kNativeRgb32;
}

QImage::Format imageFormat(J_COLOR_SPACE)
{
    return QImage::Format_RGB32;
}
#else
J_COLOR_SPACE outputColourSpace(J_COLOR_SPACE file)
{
    return file == JCS_GRAYSCALE ? JCS_GRAYSCALE : JCS_RGB;
}

QImage::Format imageFormat(J_COLOR_SPACE output)
{
    return output == JCS_GRAYSCALE ? QImage::Format_Grayscale8 : QImage::Format_RGB888;
}
#endif

// The two steps below are where libjpeg's errors land. Between setjmp and a possible
// longjmp they create no object with a destructor (the jump would skip it); everything
// that owns memory lives in the caller.

bool startDecoding(Decompressor &decoder, std::string_view bytes, QSize atLeast)
{
    jpeg_decompress_struct &info = decoder.info;
    if (setjmp(decoder.errors.jump))
        return false;
    jpeg_create_decompress(&info);
    info.progress = &decoder.progress;
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char *>(bytes.data()), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    if (static_cast<long long>(info.image_width) * info.image_height > MaxJpegPixels)
        failWith(reinterpret_cast<j_common_ptr>(&info), "the picture is too large");
    info.out_color_space = outputColourSpace(info.jpeg_color_space);
    if (!atLeast.isEmpty()) {
        // The smallest scale still covering the area; at 8/8 (the loop's end) the full size.
        info.scale_denom = 8;
        for (unsigned eighths = 1; eighths <= 8; ++eighths) {
            info.scale_num = eighths;
            jpeg_calc_output_dimensions(&info);
            if (static_cast<int>(info.output_width) >= atLeast.width()
                && static_cast<int>(info.output_height) >= atLeast.height())
                break;
        }
    }
    jpeg_start_decompress(&info);
    return true;
}

bool decodeLines(Decompressor &decoder, QImage &image)
{
    jpeg_decompress_struct &info = decoder.info;
    if (setjmp(decoder.errors.jump))
        return false;
    JSAMPROW rows[4];
    while (info.output_scanline < info.output_height) {
        const JDIMENSION first = info.output_scanline;
        JDIMENSION count = 0;
        while (count < 4 && first + count < info.output_height) {
            rows[count] = image.scanLine(static_cast<int>(first + count));
            ++count;
        }
        jpeg_read_scanlines(&info, rows, count);
    }
    jpeg_finish_decompress(&info);
    return true;
}

} // namespace

JpegPicture decodeJpeg(std::string_view bytes, QSize atLeast)
{
    Decompressor decoder;
    if (!startDecoding(decoder, bytes, atLeast))
        return {{}, decoder.errors.message};
    const jpeg_decompress_struct &info = decoder.info;
    QImage image(static_cast<int>(info.output_width), static_cast<int>(info.output_height),
                 imageFormat(info.out_color_space));
    if (image.isNull())
        return {{}, "not enough memory for the picture"};
    if (!decodeLines(decoder, image))
        return {{}, decoder.errors.message};
    return {std::move(image), {}};
}

JpegPicture readJpegFile(const std::string &nativePath, QSize atLeast)
{
    try {
        return decodeJpeg(platform::readWholeFileUpTo(nativePath, MaxJpegFileBytes), atLeast);
    } catch (const platform::FileError &error) {
        return {{}, error.what()};
    } catch (const std::bad_alloc &) {
        return {{}, "not enough memory to read " + nativePath};
    }
}

} // namespace browser
