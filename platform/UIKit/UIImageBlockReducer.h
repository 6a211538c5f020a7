#pragma once
// Reduces an image to the averages of its factor x factor blocks while it is being decoded,
// so a big image is never held at full size. Rows come from the decoder one at a time;
// an interlaced PNG delivers its pixels pass by pass, scattered over the whole image, and
// then the sums of every block are kept instead (one block row would not do).
//
// Sums are whole numbers: a row is added up in 32 bits, then into 64-bit block sums, and
// each block is divided once, rounding to nearest. Opaque pixels (3 bytes, RGB) are summed
// as they are, with no alpha to add or multiply; straight-alpha pixels (4 bytes, RGBA) are
// premultiplied first, as the bitmap stores them.

#include "CoreGraphics/CGImage.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class UIImageBlockReducer {
public:
    enum class Feed {
        Rows,
        InterlacedPasses
    };

    // `channels`: 3 for opaque RGB, 4 for straight-alpha RGBA.
    UIImageBlockReducer(std::size_t width, std::size_t height, std::size_t factor, int channels, Feed);

    static std::size_t reducedSide(std::size_t side, std::size_t factor) { return (side + factor - 1) / factor; }

    // The rows come from a decoder that already reduced a fullWidth x fullHeight image by
    // `scale` (Feed::Rows only): each pixel stands for scale x scale pixels, except in the
    // last column and row, which stand only for what is left of the image, and are
    // weighted so. Without this, a JPEG's padding would count as picture.
    void setScaledFrom(std::size_t scale, std::size_t fullWidth, std::size_t fullHeight);

    // The next whole row, top to bottom (Feed::Rows).
    void addRow(const std::uint8_t* pixels);
    // `count` pixels of row `y`, at x = firstX, firstX + stepX, ... (Feed::InterlacedPasses).
    void addPassRow(std::size_t y, std::size_t firstX, std::size_t stepX, std::size_t count, const std::uint8_t* pixels);

    // The reduced bitmap, premultiplied RGBA.
    CGImageRef finish();

private:
    void addToBlocks(std::uint64_t* sums, const std::uint8_t* pixels, std::uint64_t rowWeight);
    void emitBlockRow(const std::uint64_t* sums, std::size_t blockRow);
    std::uint64_t columnWeight(std::size_t x) const { return x + 1 == m_width ? m_lastColumnWeight : m_scale; }
    std::uint64_t rowWeight(std::size_t y) const { return y + 1 == m_height ? m_lastRowWeight : m_scale; }

    std::size_t m_width;
    std::size_t m_height;
    std::size_t m_factor;
    int m_channels;
    Feed m_feed;
    std::size_t m_scale = 1;
    std::size_t m_lastColumnWeight = 1;
    std::size_t m_lastRowWeight = 1;
    std::size_t m_outputWidth;
    std::size_t m_outputHeight;
    std::size_t m_row = 0;
    // Feed::Rows: one block row of sums; Feed::InterlacedPasses: every block's.
    std::vector<std::uint64_t> m_sums;
    std::vector<std::uint8_t> m_premultiplied;
    CGImage m_output;
};
