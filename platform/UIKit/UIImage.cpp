#include "UIImage.h"

#include "CoreGraphics/CGBlendModeSupport.h"
#include "Foundation/NSData.h"
#include "Foundation/NSString.h"
#include "Platform/Platform.h"
#include "Platform/RegularFile.h"
#include "UIGraphics.h"
#include "UIImageDecoder.h"
#include "UIImageSymbolConfiguration.h"
#include "UISymbolCatalogue.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <vector>

namespace {

constexpr CGFloat kDefaultSymbolPointSize = 17;

} // namespace

objc::RefPtr<UIImage> UIImage::systemImageNamedNow(const std::string& name, const UIImageSymbolConfiguration* configuration)
{
    // A name outside the catalogue gives nil, silently, as on a phone.
    const UISymbolCatalogueEntry* symbol = UISymbolCatalogueLookup(name);
    if (!symbol)
        return nullptr;
    auto image = UIImage::alloc();
    objc_msgSend<id>(image.get(), "init"_sel);
    image->m_symbolName = name;
    image->m_symbolPointSize = configuration ? configuration->pointSize() : kDefaultSymbolPointSize;
    image->m_size = symbol->sizeAtPointSize(image->m_symbolPointSize);
    return image;
}

objc::RefPtr<UIImage> UIImage::imageWithContentsOfFileNow(const NSString* devicePath)
{
    if (!devicePath)
        return nullptr;
    // Not a regular file (a FIFO, /dev/zero), or too big to be an image this platform
    // decodes: not even read.
    auto file = platform::readRegularFile(platform::devicePath(devicePath->string()), UIImageDecoder::kMaximumEncodedBytes);
    if (!file.ok() || file.bytes.empty())
        return nullptr;
    std::vector<std::uint8_t> bytes = std::move(file.bytes);
    auto image = imageWithEncodedData(NSData::create(std::move(bytes)));
    if (image)
        image->m_filePath = devicePath->string();
    return image;
}

objc::RefPtr<UIImage> UIImage::imageWithEncodedData(objc::RefPtr<NSData> data)
{
    // Decoded to one pixel: the check that the bytes are an image, and all that an average
    // needs.
    auto decoded = UIImageDecoder::decode(data->bytes(), data->length(), 1, 1);
    if (!decoded)
        return nullptr;
    auto image = UIImage::alloc();
    image->init();
    image->m_size = { static_cast<CGFloat>(decoded->width), static_cast<CGFloat>(decoded->height) };
    image->m_data = std::move(data);
    image->m_bitmap = std::move(decoded->bitmap);
    image->m_bitmapCoverWidth = 1;
    image->m_bitmapCoverHeight = 1;
    return image;
}

objc::RefPtr<UIImage> UIImage::imageWithCGImage(CGImageRef bitmap)
{
    if (!bitmap)
        return nullptr;
    auto image = UIImage::alloc();
    objc_msgSend<id>(image.get(), "init"_sel);
    image->m_size = { static_cast<CGFloat>(bitmap->width), static_cast<CGFloat>(bitmap->height) };
    image->m_bitmap = std::move(bitmap);
    return image;
}

const CGImageRef& UIImage::CGImage() const
{
    return bitmapCovering(static_cast<std::size_t>(m_size.width), static_cast<std::size_t>(m_size.height));
}

const CGImageRef& UIImage::bitmapCovering(std::size_t width, std::size_t height) const
{
    if (!m_data)
        return m_bitmap;
    width = std::min(width, static_cast<std::size_t>(m_size.width));
    height = std::min(height, static_cast<std::size_t>(m_size.height));
    if (m_bitmap && m_bitmapCoverWidth >= width && m_bitmapCoverHeight >= height)
        return m_bitmap;
    // Only the last bitmap is kept: an image is drawn at one size at a time.
    m_bitmap = nullptr;
    if (auto decoded = UIImageDecoder::decode(m_data->bytes(), m_data->length(), width, height)) {
        m_bitmap = std::move(decoded->bitmap);
        m_bitmapCoverWidth = width;
        m_bitmapCoverHeight = height;
    }
    return m_bitmap;
}

void UIImage::drawNow(CGRect rect, CGBlendMode mode, CGFloat alpha) const
{
    CGRequireModelledBlendMode(mode, "-[UIImage drawInRect:blendMode:alpha:]");
    CGContextRef context = UIGraphicsGetCurrentContext();
    if (!context || (!m_data && !m_bitmap) || !(rect.size.width > 0) || !(rect.size.height > 0))
        return;
    // Without interpolation each pixel shows one image pixel: only the whole image will do.
    // Otherwise the bitmap need only have as many pixels as the rectangle covers.
    std::size_t width = static_cast<std::size_t>(m_size.width), height = static_cast<std::size_t>(m_size.height);
    if (context->interpolationQuality() != kCGInterpolationNone) {
        width = static_cast<std::size_t>(std::ceil(std::min<CGFloat>(rect.size.width * context->scale(), width)));
        height = static_cast<std::size_t>(std::ceil(std::min<CGFloat>(rect.size.height * context->scale(), height)));
    }
    if (const CGImageRef& bitmap = bitmapCovering(width, height))
        context->drawImage(*bitmap, rect, mode, alpha);
}

nlohmann::json UIImage::jsonValue() const
{
    if (isSymbolImage())
        return { { "symbol", m_symbolName }, { "pointSize", m_symbolPointSize } };
    if (!m_filePath.empty())
        return { { "file", m_filePath } };
    return { { "size", { m_size.width, m_size.height } } };
}

std::string UIImage::descriptionString() const
{
    char text[160];
    if (isSymbolImage())
        std::snprintf(text, sizeof(text), "<UIImage: %p> symbol(%s) {%g, %g}", static_cast<const void*>(this), m_symbolName.c_str(), m_size.width, m_size.height);
    else
        std::snprintf(text, sizeof(text), "<UIImage: %p> {%g, %g}", static_cast<const void*>(this), m_size.width, m_size.height);
    return text;
}

void UIImage::registerRuntimeClass()
{
    Class cls = objc::defineClass<UIImage>("UIImage", NSObject::staticClass());
    objc::addMethod(cls, "size", +[](UIImage* self, SEL) { return self->m_size; });
    objc::addMethod(cls, "drawInRect:", +[](UIImage* self, SEL, CGRect rect) { self->drawNow(rect, kCGBlendModeNormal, 1); });
    objc::addMethod(cls, "drawInRect:blendMode:alpha:", +[](UIImage* self, SEL, CGRect rect, CGBlendMode mode, CGFloat alpha) {
        self->drawNow(rect, mode, alpha);
    });

    // Autoreleased, as UIKit's constructors answer; nil where there is no image.
    Class meta = objc::metaclassOf(cls);
    objc::addMethod(meta, "systemImageNamed:withConfiguration:", +[](Class, SEL, id name, id configuration) -> id {
        auto* string = objc_cast<NSString>(name);
        if (!string)
            return nil;
        return objc_autorelease(systemImageNamedNow(string->string(), objc_cast<UIImageSymbolConfiguration>(configuration)).leakRef());
    });
    objc::addMethod(meta, "imageWithContentsOfFile:", +[](Class, SEL, id path) -> id {
        return objc_autorelease(imageWithContentsOfFileNow(objc_cast<NSString>(path)).leakRef());
    });
    objc::addMethod(meta, "imageWithData:", +[](Class, SEL, id bytes) -> id {
        auto* data = objc_cast<NSData>(bytes);
        if (!data)
            return nil;
        // NSData never changes: the image holds on to it instead of copying the bytes.
        return objc_autorelease(imageWithEncodedData(objc::RefPtr<NSData>(data)).leakRef());
    });
}
