#pragma once
// UIKit's image contexts: a stack of bitmap contexts, the top one current. As on iOS,
// UIGraphicsBeginImageContext makes a transparent context of scale 1 (a pixel per
// point), 8 bits per channel, premultiplied alpha; its bytes are R, G, B, A here.

#include "CoreGraphics/CGContext.h"

class UIImage;
namespace objc {
template<typename T>
class RefPtr;
}

void UIGraphicsBeginImageContext(CGSize);
// A scale of 0 means the screen's.
void UIGraphicsBeginImageContextWithOptions(CGSize, bool opaque, CGFloat scale);
CGContextRef UIGraphicsGetCurrentContext();
objc::RefPtr<UIImage> UIGraphicsGetImageFromCurrentImageContext();
void UIGraphicsEndImageContext();
