#pragma once
// UIImage: a system symbol (its name and point size are what is kept), or a bitmap
// decoded from PNG or JPEG bytes or a file on the device. Bitmap images can be drawn
// into the current image context (UIGraphics.h).
//
// An image made from bytes keeps them (the NSData, not a copy) and decodes when drawn, at
// the smallest size that covers where it is drawn (UIImageDecoder), keeping the last
// bitmap it decoded. Bytes are checked when the image is made, by decoding them to one
// pixel, so bytes that do not decode give no image; drawn into one pixel, as for the
// artwork colour, that first bitmap is all that is needed.

#include "CoreGraphics/CGGeometry.h"
#include "CoreGraphics/CGImage.h"
#include "CoreGraphics/CGContext.h"
#include "Foundation/NSData.h"
#include "Foundation/NSObject.h"
#include "Foundation/NSString.h"
#include "UIImageSymbolConfiguration.h"

#include <cstddef>
#include <string>

class UIImage : public NSObject {
    OBJC_INTERFACE(UIImage)
public:
    UIImage() = default;

    // Nil for a name outside the symbol catalogue (UISymbolCatalogue.h). The image's size
    // follows the symbol's point size (17 points without a configuration).
    // The constructors taking objects are class methods, sent to the class through the
    // runtime (+systemImageNamed:withConfiguration:, ...).
    static objc::RefPtr<UIImage> systemImageNamed(const NSString* name, const UIImageSymbolConfiguration* configuration = nullptr)
    {
        return objc_sendToClassForObject<"UIImage", "systemImageNamed:withConfiguration:", UIImage>(const_cast<NSString*>(name), const_cast<UIImageSymbolConfiguration*>(configuration));
    }
    static objc::RefPtr<UIImage> systemImageNamed(const std::string& name, const UIImageSymbolConfiguration* configuration = nullptr)
    {
        return systemImageNamed(NSString::create(name).get(), configuration);
    }
    // A device path ("/Library/..."), resolved under the device root. Nil when the file
    // is missing or does not decode.
    static objc::RefPtr<UIImage> imageWithContentsOfFile(const NSString* devicePath)
    {
        return objc_sendToClassForObject<"UIImage", "imageWithContentsOfFile:", UIImage>(const_cast<NSString*>(devicePath));
    }
    // Nil for bytes that do not decode (see UIImageDecoder for the limits).
    static objc::RefPtr<UIImage> imageWithData(const NSData* data)
    {
        return objc_sendToClassForObject<"UIImage", "imageWithData:", UIImage>(const_cast<NSData*>(data));
    }
    // (A plain C++ call: CGImageRef is not the platform's CFType.)
    static objc::RefPtr<UIImage> imageWithCGImage(CGImageRef);

    // -init, through the runtime: an empty image. Returns the receiver, borrowed.
    UIImage* init() { return static_cast<UIImage*>(objc_send<"init", id>(this)); }

    // -size, through the runtime. In points; bitmaps here have scale 1, so a pixel is a point.
    CGSize size() const { return objc_send<"size", CGSize>(this); }
    CGFloat scale() const { return 1; }

    bool isSymbolImage() const { return !m_symbolName.empty(); }
    const std::string& symbolName() const { return m_symbolName; }
    CGFloat symbolPointSize() const { return m_symbolPointSize; }
    // The device path the image was read from, or empty.
    const std::string& filePath() const { return m_filePath; }

    // The decoded pixels (premultiplied RGBA, possibly smaller than size() for very
    // large images), or null for a symbol. Decoded on first use.
    const CGImageRef& CGImage() const;

    // Draws into the current image context; nothing without one, or for a symbol.
    // (-drawInRect: and -drawInRect:blendMode:alpha:, through the runtime.)
    void drawInRect(CGRect rect) const { objc_send<"drawInRect:">(this, rect); }
    void drawInRect(CGRect rect, CGBlendMode mode, CGFloat alpha) const { objc_send<"drawInRect:blendMode:alpha:">(this, rect, mode, alpha); }

    // {"symbol", "pointSize"} or {"file"}, or {"size"} for an image made from bytes.
    nlohmann::json jsonValue() const override;
    std::string descriptionString() const override;

    static void registerRuntimeClass();

private:
    // What the class methods and -drawInRect:blendMode:alpha: do.
    static objc::RefPtr<UIImage> systemImageNamedNow(const std::string& name, const UIImageSymbolConfiguration*);
    static objc::RefPtr<UIImage> imageWithContentsOfFileNow(const NSString* devicePath);
    void drawNow(CGRect, CGBlendMode, CGFloat alpha) const;

    static objc::RefPtr<UIImage> imageWithEncodedData(objc::RefPtr<NSData>);
    // A bitmap of at least width x height pixels where the image has them; null when the
    // bytes no longer decode.
    const CGImageRef& bitmapCovering(std::size_t width, std::size_t height) const;

    CGSize m_size;
    objc::RefPtr<NSData> m_data;
    mutable CGImageRef m_bitmap;
    // The size m_bitmap was decoded to cover.
    mutable std::size_t m_bitmapCoverWidth = 0;
    mutable std::size_t m_bitmapCoverHeight = 0;
    std::string m_symbolName;
    CGFloat m_symbolPointSize = 0;
    std::string m_filePath;
};
