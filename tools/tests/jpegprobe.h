#pragma once
// Decodes a whole JPEG with libjpeg, the way the browser reads thumbnails, and tells
// what kind of file it was.
#include <string>
#include <string_view>

namespace tools::testsupport {

struct JpegProbe {
    bool decoded = false;
    std::string error; // libjpeg's message when not decoded
    int width = 0;
    int height = 0;
    int components = 0;
    bool progressive = false;
    long warnings = 0; // e.g. a premature end of the data
};

JpegProbe probeJpeg(std::string_view bytes);

} // namespace tools::testsupport
