#pragma once
// The picture on a generated thumbnail: a coloured cover with a golden frame, a light
// band near the top and the book's id in large digits on a white plate. Drawn one row
// at a time, so that even a very large picture needs no whole bitmap in memory.
#include <cstdint>
#include <span>

namespace tools {

class Cover {
public:
    // The colour follows from the id and the seed; width and height are at least 1.
    Cover(int id, int width, int height, std::uint64_t seed);

    int width() const { return m_width; }
    int height() const { return m_height; }

    // Row y as width RGB triples.
    void rgbRow(int y, std::span<unsigned char> out) const;
    // Row y as width grey values.
    void greyRow(int y, std::span<unsigned char> out) const;

private:
    struct Rgb { unsigned char r, g, b; };
    Rgb pixel(int x, int y) const;
    bool digitInk(int x, int y) const;

    int m_width;
    int m_height;
    char m_digits[12] = {};
    int m_digitCount = 0;
    Rgb m_background;
    Rgb m_band;
    int m_frameInset;
    int m_frameThickness;
    int m_bandTop, m_bandBottom;
    int m_scale;                            // pixels per dot of the digit font
    int m_textLeft, m_textTop;              // the first digit's top left corner
    int m_plateLeft, m_plateTop, m_plateRight, m_plateBottom;
};

} // namespace tools
