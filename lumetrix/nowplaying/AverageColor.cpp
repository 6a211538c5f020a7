#include "AverageColor.h"
#include "LastArtworkColour.h"

#include "CoreGraphics/CGContext.h"
#include "Foundation/NSData.h"
#include "Foundation/NSDictionary.h"
#include "Foundation/NSString.h"
#include "MediaRemote/MediaRemote.h"
#include "UIKit/UIColor.h"
#include "UIKit/UIGraphics.h"
#include "UIKit/UIImage.h"
#include "objc/message.h"

namespace lumetrix {

namespace {

id averageColorImp(UIImage* self, SEL)
{
    if (self->size().width <= 0 || self->size().height <= 0)
        return nil;
    // Let the platform's scaling reduce the whole image to one pixel.
    UIGraphicsBeginImageContext(CGSizeMake(1.0, 1.0));
    CGContextRef context = UIGraphicsGetCurrentContext();
    CGContextSetInterpolationQuality(context, kCGInterpolationMedium);
    self->drawInRect(CGRectMake(0, 0, 1, 1), kCGBlendModeCopy, 1.0);
    const unsigned char* pixel = static_cast<const unsigned char*>(CGBitmapContextGetData(context));
    // Bytes 0, 1 and 2 are red, green and blue; alpha is not divided out, so transparent
    // artwork darkens the colour.
    float red = static_cast<float>(pixel[0]) / 255.0f;
    float green = static_cast<float>(pixel[1]) / 255.0f;
    float blue = static_cast<float>(pixel[2]) / 255.0f;
    auto color = UIColor::colorWithRed(red, green, blue, 1.0);
    UIGraphicsEndImageContext();
    return objc_autorelease(color.leakRef());
}

// Attached when the library loads, before and independent of the tweak's initialiser.
__attribute__((constructor(101))) void attachAverageColorCategory()
{
    objc::attachCategoryMethod(objc_getClass("UIImage"), "averageColor"_sel, reinterpret_cast<IMP>(&averageColorImp), "@@:");
}

} // namespace

UIColor* averageColor(UIImage* image)
{
    return static_cast<UIColor*>(objc_send<"averageColor", id>(image));
}

UIColor* artworkColour(NSDictionary* info)
{
    if (!info)
        return nil;
    auto artwork = objc_cast<NSData>(info->objectForKey(kMRMediaRemoteNowPlayingInfoArtworkData));
    if (!artwork)
        return nil;
    // Main thread only (the now-playing callback runs on the main queue).
    // Never destroyed: the process may end with a colour in it.
    static auto& last = *new LastArtworkColour;
    auto digest = LastArtworkColour::digestOf(artwork->bytes(), artwork->length());
    if (auto remembered = last.colourFor(digest))
        return static_cast<UIColor*>(objc_autorelease(remembered->leakRef()));
    objc::RefPtr<UIImage> image = UIImage::imageWithData(artwork);
    UIColor* colour = image ? averageColor(image.get()) : nil;
    last.remember(digest, colour);
    return colour;
}

double perceivedBrightness(UIColor* color)
{
    CGFloat red = 0, green = 0, blue = 0, alpha = 0;
    color->getRed(&red, &green, &blue, &alpha);
    return (299 * red + 587 * green + 114 * blue) / 1000;
}

} // namespace lumetrix
