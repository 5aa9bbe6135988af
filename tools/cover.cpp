#include "cover.h"

#include "seededrandom.h"

#include <algorithm>
#include <cstdio>

namespace tools {
namespace {

// A 5 x 7 dot font for the digits; bit 4 is the leftmost dot.
constexpr unsigned char kDigitFont[10][7] = {
    {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}, // 0
    {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E}, // 1
    {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}, // 2
    {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E}, // 3
    {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}, // 4
    {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E}, // 5
    {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}, // 6
    {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08}, // 7
    {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}, // 8
    {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C}, // 9
};
constexpr int kGlyphWidth = 5;
constexpr int kGlyphHeight = 7;
constexpr int kGlyphAdvance = 6; // one dot between digits

constexpr unsigned char kFrame[3] = {214, 178, 74};
constexpr unsigned char kInk[3] = {30, 30, 40};

// Deep cover colours that the frame and the white plate stand out on.
constexpr unsigned char kCoverColours[][3] = {
    {120, 24, 36}, {22, 58, 110}, {24, 92, 58}, {88, 40, 110},
    {140, 70, 20}, {20, 96, 104}, {60, 60, 66}, {110, 30, 80},
};

} // namespace

Cover::Cover(int id, int width, int height, std::uint64_t seed)
    : m_width(std::max(width, 1)), m_height(std::max(height, 1))
{
    SeededRandom random(seed ^ (static_cast<std::uint64_t>(static_cast<std::uint32_t>(id)) * 0x9E3779B97F4A7C15ULL));
    const auto &colour = kCoverColours[random.below(static_cast<int>(std::size(kCoverColours)))];
    m_background = {colour[0], colour[1], colour[2]};
    m_band = {static_cast<unsigned char>((colour[0] + 255 * 2) / 3), static_cast<unsigned char>((colour[1] + 255 * 2) / 3),
              static_cast<unsigned char>((colour[2] + 255 * 2) / 3)};

    m_digitCount = std::snprintf(m_digits, sizeof m_digits, "%i", id);
    if (m_digitCount < 0)
        m_digitCount = 0;

    const int shorter = std::min(m_width, m_height);
    m_frameInset = shorter / 20;
    m_frameThickness = std::max(1, shorter / 50);
    m_bandTop = m_height * 18 / 100;
    m_bandBottom = m_height * 28 / 100;

    const int textDots = std::max(1, m_digitCount * kGlyphAdvance - 1);
    m_scale = std::max(1, std::min(m_width * 60 / 100 / textDots, m_height * 12 / 100 / kGlyphHeight));
    const int textWidth = textDots * m_scale;
    const int textHeight = kGlyphHeight * m_scale;
    m_textLeft = (m_width - textWidth) / 2;
    m_textTop = m_height * 58 / 100 - textHeight / 2;
    const int margin = 2 * m_scale;
    m_plateLeft = m_textLeft - margin;
    m_plateRight = m_textLeft + textWidth + margin;
    m_plateTop = m_textTop - margin;
    m_plateBottom = m_textTop + textHeight + margin;
}

bool Cover::digitInk(int x, int y) const
{
    const int dotX = (x - m_textLeft) / m_scale;
    const int dotY = (y - m_textTop) / m_scale;
    if (x < m_textLeft || y < m_textTop || dotY >= kGlyphHeight)
        return false;
    const int glyph = dotX / kGlyphAdvance;
    const int column = dotX % kGlyphAdvance;
    if (glyph >= m_digitCount || column >= kGlyphWidth)
        return false;
    const char digit = m_digits[glyph];
    if (digit < '0' || digit > '9')
        return digit == '-' && dotY == kGlyphHeight / 2;
    return (kDigitFont[digit - '0'][dotY] >> (kGlyphWidth - 1 - column)) & 1;
}

Cover::Rgb Cover::pixel(int x, int y) const
{
    if (x >= m_plateLeft && x < m_plateRight && y >= m_plateTop && y < m_plateBottom)
        return digitInk(x, y) ? Rgb{kInk[0], kInk[1], kInk[2]} : Rgb{255, 255, 255};
    // The frame: a band of m_frameThickness pixels, m_frameInset from the edges.
    const int left = x - m_frameInset, right = m_width - 1 - m_frameInset - x;
    const int top = y - m_frameInset, bottom = m_height - 1 - m_frameInset - y;
    const int nearest = std::min(std::min(left, right), std::min(top, bottom));
    if (nearest >= 0 && nearest < m_frameThickness)
        return {kFrame[0], kFrame[1], kFrame[2]};
    if (y >= m_bandTop && y < m_bandBottom && nearest >= m_frameThickness)
        return m_band;
    return m_background;
}

void Cover::rgbRow(int y, std::span<unsigned char> out) const
{
    for (int x = 0; x < m_width && static_cast<size_t>(3 * x + 2) < out.size(); ++x) {
        const Rgb colour = pixel(x, y);
        out[static_cast<size_t>(3 * x)] = colour.r;
        out[static_cast<size_t>(3 * x + 1)] = colour.g;
        out[static_cast<size_t>(3 * x + 2)] = colour.b;
    }
}

void Cover::greyRow(int y, std::span<unsigned char> out) const
{
    for (int x = 0; x < m_width && static_cast<size_t>(x) < out.size(); ++x) {
        const Rgb colour = pixel(x, y);
        out[static_cast<size_t>(x)] = static_cast<unsigned char>((299 * colour.r + 587 * colour.g + 114 * colour.b) / 1000);
    }
}

} // namespace tools
