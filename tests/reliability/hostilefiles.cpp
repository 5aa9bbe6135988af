#include "hostilefiles.h"

#include "browser/tests/jpegfixture.h"
#include "platform/codec.h"

#include <QBuffer>
#include <QImage>

#include <cstdio>
#include <stdexcept>

namespace reliability {

std::string knownBookName()
{
    return platform::utf8ToWin1255("אבגד");
}

namespace {

// A line of both files at once: as a catalogue entry "id TAB title TAB subfolder TAB
// author", as a book line "name TAB id TAB subfolder". The name sorts after ASCII names.
std::string knownBookLine()
{
    return knownBookName() + "\t7\ts\r\n";
}

} // namespace

HostileFile emptyFile()
{
    return {"empty file", "", true};
}

HostileFile onlyLineBreaks()
{
    std::string bytes;
    for (int i = 0; i < 20000; ++i)
        bytes += "\r\n\n\r"; // CR LF, then LF, then a lone CR: three line breaks
    return {"only line breaks", bytes, true};
}

HostileFile fiftyMegabyteLine()
{
    std::string bytes;
    bytes.reserve(50u << 20);
    const std::string piece = "X:\\" + platform::utf8ToWin1255("ספר") + "\t\x81\xFF abc ";
    while (bytes.size() + piece.size() <= (50u << 20))
        bytes += piece;
    bytes.resize(50u << 20, 'z');
    return {"50 MB single line", bytes, true};
}

HostileFile twoHundredThousandLines()
{
    std::string bytes = hostileBooksFolder + "\r\n";
    char line[64];
    for (int i = 0; i < 200000; ++i) {
        // "b000000" .. "b199999" sort before the Hebrew name that ends the file.
        std::snprintf(line, sizeof line, "b%06d\t%d\tsub\tauthor %d\r\n", i, i + 1, i);
        bytes += line;
    }
    bytes += knownBookLine();
    return {"200000 entry lines", bytes, true};
}

HostileFile nulInTheMiddle()
{
    std::string bytes = hostileBooksFolder + "\r\n" + "a\t1\ts\r\n";
    bytes += std::string("b\t2\ts", 5) + '\0' + "after the NUL\t3\r\n" + knownBookLine();
    return {"NUL bytes in the middle", bytes, true};
}

HostileFile undefinedWin1255Bytes()
{
    // 0x81, 0x8A, 0x8C-0x90, 0x9A, 0x9C-0x9F, 0xCA, 0xD9-0xDF, 0xFB, 0xFC, 0xFF have no
    // character in Windows-1255.
    std::string bytes = hostileBooksFolder + "\r\n";
    bytes += "\x81\x8A\x8C\x8D\x8E\x8F\x90\t11\t\x9A\x9C\r\n";
    bytes += "\xD9\xDA\xDB\xDC\xDD\xDE\xDF\t12\ts\r\n";
    bytes += knownBookLine();
    bytes += "\xFB\xFC\xFF\t13\ts\r\n";
    return {"bytes undefined in Windows-1255", bytes, true};
}

std::string smallJpeg(int width, int height)
{
    return browser::testing::encodeJpeg(browser::testing::quarteredPicture(QSize(width, height)),
                                        browser::testing::JpegKind::Baseline);
}

HostileFile jpegAnnouncingHugeSize()
{
    return {"JPEG announcing 65535 x 65535", browser::testing::withAnnouncedSize(smallJpeg(64, 48), 65535, 65535),
            false};
}

HostileFile jpegAnnouncingTooManyPixels()
{
    return {"JPEG announcing 60000 x 60000", browser::testing::withAnnouncedSize(smallJpeg(64, 48), 60000, 60000),
            false};
}

HostileFile progressiveJpegAtTheBound()
{
    // Just under the decoder's bound of 50 million pixels: it is decoded, so its
    // coefficients are allocated whole before the data runs out.
    const std::string small = browser::testing::encodeJpeg(
        browser::testing::quarteredPicture(QSize(64, 48)), browser::testing::JpegKind::Progressive);
    return {"progressive JPEG 7000 x 7000, data cut short", browser::testing::withAnnouncedSize(small, 7000, 7000),
            false};
}

HostileFile jpegCutAfterHeader()
{
    // Up to and including the start-of-scan segment: every table and the frame, no data.
    const std::string jpeg = smallJpeg(64, 48);
    for (size_t i = 2; i + 3 < jpeg.size(); ++i) {
        if (static_cast<unsigned char>(jpeg[i]) == 0xFF && static_cast<unsigned char>(jpeg[i + 1]) == 0xDA) {
            const size_t length = static_cast<unsigned char>(jpeg[i + 2]) * 256u + static_cast<unsigned char>(jpeg[i + 3]);
            return {"JPEG cut after its header", jpeg.substr(0, i + 2 + length), false};
        }
    }
    throw std::runtime_error("no scan header");
}

HostileFile pngNamedJpeg()
{
    QImage picture(64, 48, QImage::Format_RGB32);
    picture.fill(Qt::red);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    return {"PNG renamed .jpg", png.toStdString(), false};
}

HostileFile zeroBytePdf()
{
    return {"zero-byte PDF", "", false};
}

std::vector<HostileFile> allHostileFiles()
{
    return {emptyFile(), onlyLineBreaks(), fiftyMegabyteLine(), twoHundredThousandLines(), nulInTheMiddle(),
            undefinedWin1255Bytes(), jpegAnnouncingHugeSize(), jpegAnnouncingTooManyPixels(),
            progressiveJpegAtTheBound(), jpegCutAfterHeader(), pngNamedJpeg(), zeroBytePdf()};
}

} // namespace reliability
