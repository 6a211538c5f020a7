#pragma once
// CGContext: a bitmap drawing context of 8-bit RGBA pixels with premultiplied alpha.
// Unlike iOS, whose bitmap contexts keep B, G, R, A in memory, the bytes of a pixel here
// are R, G, B, A in that order. User space is in points with the origin at the top left
// (as UIKit sets up its image contexts); a point is `scale` pixels.
//
// Drawing an image samples it by area: each pixel gets the exact average of the part of
// the image that falls on it (what Core Graphics' smoother qualities approach when
// shrinking), or the nearest image pixel when interpolation is turned off.

#include "CGGeometry.h"
#include "CGImage.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// Plain integers, as the C enums are: callers may pass the numbers themselves.
using CGInterpolationQuality = std::int32_t;
inline constexpr CGInterpolationQuality kCGInterpolationDefault = 0;
inline constexpr CGInterpolationQuality kCGInterpolationNone = 1;
inline constexpr CGInterpolationQuality kCGInterpolationLow = 2;
inline constexpr CGInterpolationQuality kCGInterpolationHigh = 3;
inline constexpr CGInterpolationQuality kCGInterpolationMedium = 4;

// Normal composites source over destination, Copy replaces the destination and Clear
// erases it; the other modes stop the process (CGBlendModeSupport.h).
using CGBlendMode = std::int32_t;
inline constexpr CGBlendMode kCGBlendModeNormal = 0;
inline constexpr CGBlendMode kCGBlendModeMultiply = 1;
inline constexpr CGBlendMode kCGBlendModeScreen = 2;
inline constexpr CGBlendMode kCGBlendModeOverlay = 3;
inline constexpr CGBlendMode kCGBlendModeClear = 16;
inline constexpr CGBlendMode kCGBlendModeCopy = 17;
inline constexpr CGBlendMode kCGBlendModeSourceIn = 18;
inline constexpr CGBlendMode kCGBlendModeSourceOut = 19;
inline constexpr CGBlendMode kCGBlendModeSourceAtop = 20;

class CGContext {
public:
    // A transparent bitmap of widthInPixels x heightInPixels.
    CGContext(std::size_t widthInPixels, std::size_t heightInPixels, CGFloat scale);

    std::size_t width() const { return m_width; }
    std::size_t height() const { return m_height; }
    std::size_t bytesPerRow() const { return m_width * 4; }
    CGFloat scale() const { return m_scale; }
    std::uint8_t* data() { return m_pixels.data(); }
    const std::uint8_t* data() const { return m_pixels.data(); }

    CGInterpolationQuality interpolationQuality() const { return m_interpolationQuality; }
    void setInterpolationQuality(CGInterpolationQuality quality) { m_interpolationQuality = quality; }
    CGBlendMode blendMode() const { return m_blendMode; }
    void setBlendMode(CGBlendMode mode) { m_blendMode = mode; }
    CGFloat alpha() const { return m_alpha; }
    void setAlpha(CGFloat alpha) { m_alpha = alpha; }

    // Draws the image scaled into `rect` (points), with `mode` and `alpha` (each applied
    // on top of the context's own alpha).
    void drawImage(const CGImage&, CGRect rect, CGBlendMode, CGFloat alpha);

    // A copy of the pixels, as an image.
    CGImageRef makeImage() const;

private:
    std::size_t m_width;
    std::size_t m_height;
    CGFloat m_scale;
    std::vector<std::uint8_t> m_pixels;
    CGInterpolationQuality m_interpolationQuality = kCGInterpolationDefault;
    CGBlendMode m_blendMode = kCGBlendModeNormal;
    CGFloat m_alpha = 1;
};

using CGContextRef = CGContext*;

void CGContextSetInterpolationQuality(CGContextRef, CGInterpolationQuality);
CGInterpolationQuality CGContextGetInterpolationQuality(CGContextRef);
void CGContextSetBlendMode(CGContextRef, CGBlendMode);
void CGContextSetAlpha(CGContextRef, CGFloat);
// Draws in the context's own blend mode and alpha.
void CGContextDrawImage(CGContextRef, CGRect, const CGImageRef&);

void* CGBitmapContextGetData(CGContextRef);
std::size_t CGBitmapContextGetWidth(CGContextRef);
std::size_t CGBitmapContextGetHeight(CGContextRef);
std::size_t CGBitmapContextGetBytesPerRow(CGContextRef);
std::size_t CGBitmapContextGetBitsPerComponent(CGContextRef);
CGImageRef CGBitmapContextCreateImage(CGContextRef);
