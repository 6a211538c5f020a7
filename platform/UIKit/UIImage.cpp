#include "UIImage.h"

#include "CoreGraphics/CGBlendModeSupport.h"
#include "Foundation/NSData.h"
#include "Foundation/NSString.h"
#include "Platform/Platform.h"
#include "UIGraphics.h"
#include "UIImageDecoder.h"
#include "UIImageSymbolConfiguration.h"
#include "UISymbolCatalogue.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

constexpr CGFloat kDefaultSymbolPointSize = 17;
// Artwork files bigger than this are not read at all.
constexpr std::streamoff kMaximumFileBytes = 64 * 1024 * 1024;

objc::RefPtr<UIImage> imageFromDecoded(std::optional<UIImageDecoder::Image> decoded)
{
    if (!decoded)
        return nullptr;
    auto image = UIImage::imageWithCGImage(decoded->bitmap);
    return image;
}

} // namespace

objc::RefPtr<UIImage> UIImage::systemImageNamed(const NSString* name, const UIImageSymbolConfiguration* configuration)
{
    if (!name)
        return nullptr;
    return systemImageNamed(name->string(), configuration);
}

objc::RefPtr<UIImage> UIImage::systemImageNamed(const std::string& name, const UIImageSymbolConfiguration* configuration)
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

objc::RefPtr<UIImage> UIImage::imageWithContentsOfFile(const NSString* devicePath)
{
    if (!devicePath)
        return nullptr;
    std::ifstream file(platform::devicePath(devicePath->string()), std::ios::binary | std::ios::ate);
    if (!file)
        return nullptr;
    std::streamoff length = file.tellg();
    if (length <= 0 || length > kMaximumFileBytes)
        return nullptr;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(length));
    file.seekg(0);
    if (!file.read(reinterpret_cast<char*>(bytes.data()), length))
        return nullptr;
    auto decoded = UIImageDecoder::decode(bytes.data(), bytes.size());
    if (!decoded)
        return nullptr;
    auto image = imageFromDecoded(decoded);
    image->m_size = { static_cast<CGFloat>(decoded->width), static_cast<CGFloat>(decoded->height) };
    image->m_filePath = devicePath->string();
    return image;
}

objc::RefPtr<UIImage> UIImage::imageWithData(const NSData* data)
{
    if (!data)
        return nullptr;
    auto decoded = UIImageDecoder::decode(data->bytes(), data->length());
    if (!decoded)
        return nullptr;
    auto image = imageFromDecoded(decoded);
    image->m_size = { static_cast<CGFloat>(decoded->width), static_cast<CGFloat>(decoded->height) };
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

void UIImage::drawInRect(CGRect rect, CGBlendMode mode, CGFloat alpha) const
{
    CGRequireModelledBlendMode(mode, "-[UIImage drawInRect:blendMode:alpha:]");
    CGContextRef context = UIGraphicsGetCurrentContext();
    if (!context || !m_bitmap)
        return;
    context->drawImage(*m_bitmap, rect, mode, alpha);
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
    objc::defineClass<UIImage>("UIImage", NSObject::staticClass());
}
