#pragma once
// Thumbnails as JPEG bytes, written with libjpeg itself so that the kind of file is
// exactly the one asked for: baseline or progressive, colour or greyscale.
#include <stdexcept>
#include <string>
#include <string_view>

namespace tools {

class Cover;

struct JpegKind {
    bool progressive = false;
    bool greyscale = false; // one component; otherwise three (YCbCr)
};

class JpegError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

std::string encodeCoverJpeg(const Cover &cover, JpegKind kind, int quality = 85);

// The beginning of a JPEG, cut off inside the tables before its frame header: a file
// that every decoder rejects, as opposed to one cut inside the picture data, which
// decoders tend to show half grey with no more than a warning.
std::string cutInsideHeaders(std::string_view jpeg);

} // namespace tools
