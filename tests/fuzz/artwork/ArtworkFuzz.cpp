// Artwork bytes to a colour, the road any app's now-playing artwork takes in SpringBoard:
// UIImage imageWithData:, then the average colour's draw into a one-pixel image context
// (medium interpolation, copy blend mode). The tweak library cannot be linked into a test
// binary, so its few drawing steps are repeated here; the decoding and the drawing are the
// platform's own. Refusing the bytes is a fine answer; crashing, hanging or leaking is not.
// The bitmap of the whole image is asked for too, the other way artwork gets decoded.

#include "CoreGraphics/CGContext.h"
#include "Foundation/NSData.h"
#include "Platform/Platform.h"
#include "UIKit/UIGraphics.h"
#include "UIKit/UIImage.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    platform::registerClasses();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    auto artwork = NSData::dataWithBytes(data, size);
    auto image = UIImage::imageWithData(artwork.get());
    if (!image)
        return 0;
    UIGraphicsBeginImageContext(CGSizeMake(1.0, 1.0));
    CGContextRef context = UIGraphicsGetCurrentContext();
    CGContextSetInterpolationQuality(context, kCGInterpolationMedium);
    image->drawInRect(CGRectMake(0, 0, 1, 1), kCGBlendModeCopy, 1.0);
    const auto* pixel = static_cast<const std::uint8_t*>(CGBitmapContextGetData(context));
    volatile std::uint8_t red = pixel[0];
    (void)red;
    UIGraphicsEndImageContext();
    // The whole bitmap of a small image too (of a big one it is the same decode at another
    // scale, and would take most of the fuzzer's time).
    if (image->size().width * image->size().height > 1'000'000)
        return 0;
    const CGImageRef& bitmap = image->CGImage();
    if (bitmap && bitmap->width * bitmap->height * 4 != bitmap->pixels.size())
        __builtin_trap();
    return 0;
}
