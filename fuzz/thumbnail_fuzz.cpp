// The thumbnail decoder: JPEG bytes in, a picture or a failure out, never both, never a
// crash, and never more than the decoder's pixel bound, decoded the way the preview does
// (scaled down for its area) and, for small pictures, at full size. Run with a memory
// limit (scripts/fuzz gives -rss_limit_mb and -malloc_limit_mb) so that a header that
// makes the decoder allocate without bound is a finding.
#include "check.h"

#include "browser/preview.h"
#include "browser/thumbnail.h"

#include <QImage>
#include <QSize>

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

void checkPicture(const browser::JpegPicture &picture)
{
    FUZZ_CHECK(picture.image.isNull() != picture.failure.empty());
    if (picture.image.isNull())
        return;
    FUZZ_CHECK(picture.image.width() > 0 && picture.image.height() > 0);
    FUZZ_CHECK(static_cast<long long>(picture.image.width()) * picture.image.height() <= browser::MaxJpegPixels);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char *>(data), size);
    const QSize area(327, 425);

    const browser::JpegPicture scaled = browser::decodeJpeg(bytes, area);
    checkPicture(scaled);
    if (scaled.image.isNull())
        return 0;
    // The preview stretches whatever came out over its area.
    QImage preview;
    browser::drawStretched(preview, scaled.image, area);
    FUZZ_CHECK(preview.size() == area);

    if (static_cast<long long>(scaled.image.width()) * scaled.image.height() <= 1'000'000) {
        const browser::JpegPicture full = browser::decodeJpeg(bytes);
        checkPicture(full);
        FUZZ_CHECK(!full.image.isNull());
        FUZZ_CHECK(full.image.width() >= scaled.image.width() && full.image.height() >= scaled.image.height());
    }
    return 0;
}
