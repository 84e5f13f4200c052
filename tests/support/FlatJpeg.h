#pragma once
// A JPEG of any size, up to the format's 65500 x 65500, built by hand in
// moments: one flat grey, every block's coefficients zero, so each 8 x 8
// block costs two bits. For tests and measurements of very large pictures
// that an encoder would take many seconds to make.
#include <cstdint>
#include <string>

namespace zk::test {

// Whole: a complete picture. The two header shapes stop before the pixel
// data: enough for a decoder to judge the size and plan its memory.
enum class JpegShape { Whole, Header, ProgressiveHeader };

inline std::string flatGreyJpeg(unsigned width, unsigned height, JpegShape shape = JpegShape::Whole)
{
    const bool progressive = shape == JpegShape::ProgressiveHeader;
    std::string j;
    auto byte = [&](unsigned b) { j += static_cast<char>(b & 0xFF); };
    auto word = [&](unsigned w) { byte(w >> 8); byte(w); };
    word(0xFFD8);                                  // start of image
    word(0xFFDB), word(67), byte(0);               // one quantisation table
    for (int i = 0; i < 64; ++i)
        byte(1);
    word(progressive ? 0xFFC2 : 0xFFC0), word(17), byte(8), word(height), word(width), byte(3);
    byte(1), byte(0x22), byte(0);                  // Y, sampled 2 x 2: 4:2:0 as cameras write
    byte(2), byte(0x11), byte(0);
    byte(3), byte(0x11), byte(0);
    for (unsigned tableClass : {0x00u, 0x10u}) {   // DC and AC: one symbol (0) with code "0"
        word(0xFFC4), word(20), byte(tableClass), byte(1);
        for (int i = 1; i < 16; ++i)
            byte(0);
        byte(0);
    }
    word(0xFFDA), word(12), byte(3), byte(1), byte(0), byte(2), byte(0), byte(3), byte(0);
    byte(0), byte(progressive ? 0 : 63), byte(0);
    if (shape != JpegShape::Whole)
        return j;
    // Per block: DC difference 0 ("0") and end of block ("0"); 6 blocks a unit.
    const std::uint64_t units = std::uint64_t{(width + 15) / 16} * ((height + 15) / 16);
    const std::uint64_t bits = units * 12;
    j.append(static_cast<std::size_t>(bits / 8), '\0');
    if (bits % 8 != 0)
        byte((1u << (8 - bits % 8)) - 1); // padded with one-bits
    word(0xFFD9);                         // end of image
    return j;
}

} // namespace zk::test
