#include "UIImageBlockReducer.h"

#include <algorithm>
#include <memory>

namespace {

std::uint8_t premultiply(std::uint8_t component, std::uint8_t alpha)
{
    return static_cast<std::uint8_t>((component * alpha + 127) / 255);
}

} // namespace

UIImageBlockReducer::UIImageBlockReducer(std::size_t width, std::size_t height, std::size_t factor, int channels, Feed feed)
    : m_width(width)
    , m_height(height)
    , m_factor(std::max<std::size_t>(factor, 1))
    , m_channels(channels)
    , m_feed(feed)
    , m_outputWidth(reducedSide(width, m_factor))
    , m_outputHeight(reducedSide(height, m_factor))
{
    std::size_t blockRows = feed == Feed::Rows ? 1 : m_outputHeight;
    m_sums.assign(m_outputWidth * blockRows * 4, 0);
    if (channels == 4)
        m_premultiplied.resize(width * 4);
    m_output.width = m_outputWidth;
    m_output.height = m_outputHeight;
    m_output.pixels.reserve(m_outputWidth * m_outputHeight * 4);
}

void UIImageBlockReducer::setScaledFrom(std::size_t scale, std::size_t fullWidth, std::size_t fullHeight)
{
    m_scale = std::max<std::size_t>(scale, 1);
    m_lastColumnWeight = std::clamp<std::size_t>(fullWidth - m_scale * (m_width - 1), 1, m_scale);
    m_lastRowWeight = std::clamp<std::size_t>(fullHeight - m_scale * (m_height - 1), 1, m_scale);
}

void UIImageBlockReducer::addRow(const std::uint8_t* pixels)
{
    if (m_row >= m_height)
        return;
    addToBlocks(m_sums.data(), pixels, rowWeight(m_row));
    ++m_row;
    if (m_row % m_factor == 0 || m_row == m_height) {
        emitBlockRow(m_sums.data(), (m_row - 1) / m_factor);
        std::fill(m_sums.begin(), m_sums.end(), 0);
    }
}

void UIImageBlockReducer::addToBlocks(std::uint64_t* sums, const std::uint8_t* pixels, std::uint64_t rowWeight)
{
    if (m_channels == 4) {
        std::uint8_t* out = m_premultiplied.data();
        for (std::size_t x = 0; x < m_width; ++x, pixels += 4, out += 4) {
            out[0] = premultiply(pixels[0], pixels[3]);
            out[1] = premultiply(pixels[1], pixels[3]);
            out[2] = premultiply(pixels[2], pixels[3]);
            out[3] = pixels[3];
        }
        pixels = m_premultiplied.data();
    }
    // A row is at most 65,500 pixels of 255: its sums fit in 32 bits.
    for (std::size_t cell = 0, x = 0; cell < m_outputWidth; ++cell) {
        std::size_t end = std::min(x + m_factor, m_width);
        std::uint32_t red = 0, green = 0, blue = 0, alpha = 0;
        if (m_channels == 3) {
            for (; x < end; ++x, pixels += 3) {
                red += pixels[0];
                green += pixels[1];
                blue += pixels[2];
            }
        } else {
            for (; x < end; ++x, pixels += 4) {
                red += pixels[0];
                green += pixels[1];
                blue += pixels[2];
                alpha += pixels[3];
            }
        }
        std::uint64_t* sum = sums + cell * 4;
        if (m_scale == 1) {
            sum[0] += red;
            sum[1] += green;
            sum[2] += blue;
            sum[3] += alpha;
            continue;
        }
        // Every pixel weighs `scale`, and the last one of the row less.
        std::uint64_t weighted[4] = { std::uint64_t(red) * m_scale, std::uint64_t(green) * m_scale, std::uint64_t(blue) * m_scale,
            std::uint64_t(alpha) * m_scale };
        if (end == m_width) {
            const std::uint8_t* last = pixels - m_channels;
            for (int c = 0; c < m_channels; ++c)
                weighted[c] -= std::uint64_t(last[c]) * (m_scale - m_lastColumnWeight);
        }
        for (int c = 0; c < 4; ++c)
            sum[c] += weighted[c] * rowWeight;
    }
}

void UIImageBlockReducer::addPassRow(std::size_t y, std::size_t firstX, std::size_t stepX, std::size_t count, const std::uint8_t* pixels)
{
    if (y >= m_height)
        return;
    std::uint64_t* row = m_sums.data() + (y / m_factor) * m_outputWidth * 4;
    std::size_t cell = firstX / m_factor;
    std::size_t boundary = (cell + 1) * m_factor;
    for (std::size_t i = 0, x = firstX; i < count && x < m_width; ++i, x += stepX, pixels += m_channels) {
        while (x >= boundary) {
            ++cell;
            boundary += m_factor;
        }
        std::uint64_t* sum = row + cell * 4;
        if (m_channels == 3) {
            sum[0] += pixels[0];
            sum[1] += pixels[1];
            sum[2] += pixels[2];
        } else {
            sum[0] += premultiply(pixels[0], pixels[3]);
            sum[1] += premultiply(pixels[1], pixels[3]);
            sum[2] += premultiply(pixels[2], pixels[3]);
            sum[3] += pixels[3];
        }
    }
}

void UIImageBlockReducer::emitBlockRow(const std::uint64_t* sums, std::size_t blockRow)
{
    std::uint64_t rows = 0;
    for (std::size_t y = blockRow * m_factor; y < std::min(m_height, (blockRow + 1) * m_factor); ++y)
        rows += m_scale == 1 ? 1 : rowWeight(y);
    for (std::size_t cell = 0; cell < m_outputWidth; ++cell) {
        std::uint64_t columns = 0;
        for (std::size_t x = cell * m_factor; x < std::min(m_width, (cell + 1) * m_factor); ++x)
            columns += m_scale == 1 ? 1 : columnWeight(x);
        std::uint64_t count = columns * rows;
        const std::uint64_t* sum = sums + cell * 4;
        for (int c = 0; c < 3; ++c)
            m_output.pixels.push_back(static_cast<std::uint8_t>((sum[c] + count / 2) / count));
        m_output.pixels.push_back(m_channels == 3 ? 0xFF : static_cast<std::uint8_t>((sum[3] + count / 2) / count));
    }
}

CGImageRef UIImageBlockReducer::finish()
{
    if (m_feed == Feed::InterlacedPasses) {
        for (std::size_t blockRow = 0; blockRow < m_outputHeight; ++blockRow)
            emitBlockRow(m_sums.data() + blockRow * m_outputWidth * 4, blockRow);
        m_sums.clear();
        m_sums.shrink_to_fit();
    }
    return std::make_shared<const CGImage>(std::move(m_output));
}
