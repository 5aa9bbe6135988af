#pragma once
// Thumbnail pictures: JPEG files, baseline or progressive, colour or greyscale, decoded
// with libjpeg into an image of the picture's own size, or smaller through libjpeg's
// DCT scaling when the picture is only going to be shown smaller.
#include <QImage>
#include <QSize>

#include <cstddef>
#include <string>
#include <string_view>

namespace browser {

// A picture whose header announces more pixels than this is refused before anything is
// allocated for it. Thumbnails have about a hundred thousand pixels and photographs tens
// of millions; a header that claims, say, 60000 x 60000 (3.6 billion) is damaged or
// hostile and would otherwise cost gigabytes. At the bound a progressive picture still
// needs up to 300 MB of coefficients while it is decoded.
inline constexpr long long MaxJpegPixels = 50'000'000;
// Progressive pictures have about ten scans; thousands of tiny ones only burn time.
inline constexpr int MaxJpegScans = 1000;
// A thumbnail file larger than this is refused unread: a picture within the pixel bound
// is far smaller, and reading gigabytes only to refuse them would fill the memory.
inline constexpr size_t MaxJpegFileBytes = size_t{128} << 20;

struct JpegPicture {
    QImage image;        // null when the picture could not be read
    std::string failure; // why not (libjpeg's own message or ours), empty on success
};

// Decodes JPEG bytes. With atLeast given, the picture is decoded at the smallest scale
// of 1/8, 2/8 .. 8/8 whose result is still at least atLeast in both directions, so a
// picture much larger than the place it is shown in costs a fraction of a full decode.
// Damaged data (an error, a truncation, a corrupt entropy segment) is a failure, never
// a half-grey picture; libjpeg never writes to the terminal nor ends the program.
JpegPicture decodeJpeg(std::string_view bytes, QSize atLeast = {});

// Reads the file (a native path) and decodes it as above.
JpegPicture readJpegFile(const std::string &nativePath, QSize atLeast = {});

} // namespace browser
