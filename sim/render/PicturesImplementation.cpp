#include "ContactSheet.h"
#include "GoldenPicture.h"
#include "Pictures.h"
#include "ScreenSnapshot.h"
#include "Thumbnail.h"

namespace sim::render {

namespace {

std::string writePicture(const Canvas& picture, std::FILE* file, int thumbnailWidth, nlohmann::json& thumbnail)
{
    std::string error;
    if (!picture.writePNG(file, &error))
        return error.empty() ? "an error" : error;
    if (thumbnailWidth > 0)
        thumbnail = thumbnailToJSON(makeThumbnail(picture, thumbnailWidth));
    return {};
}

class CairoPictures final : public Pictures {
public:
    CGRect screenRegion() const override { return render::screenRegion(); }
    CGFloat deviceScale() const override { return render::deviceScale(); }
    CGRect regionAroundViews(const std::vector<UIView*>& views, CGFloat margin, CGSize minimumSize) const override
    {
        return render::regionAroundViews(views, margin, minimumSize);
    }

    std::string writeScreen(SpringBoard* springBoard, const CGRect* region, CGFloat pixelsPerPoint, std::FILE* file, int thumbnailWidth,
        nlohmann::json& thumbnail) const override
    {
        Canvas picture = region ? snapshotRegion(springBoard, *region, pixelsPerPoint) : snapshotScreen(springBoard);
        return writePicture(picture, file, thumbnailWidth, thumbnail);
    }

    std::string writeView(UIView* root, std::FILE* file, int thumbnailWidth, nlohmann::json& thumbnail) const override
    {
        return writePicture(snapshotView(root), file, thumbnailWidth, thumbnail);
    }

    void drawScreen(SpringBoard* springBoard, CGFloat pixelsPerPoint, const PixelsBorrower& borrower, const CGRect* region) const override
    {
        Canvas canvas = snapshotRegion(springBoard, region ? *region : render::screenRegion(), pixelsPerPoint);
        cairo_surface_t* surface = canvas.surface();
        cairo_surface_flush(surface);
        borrower(cairo_image_surface_get_data(surface), canvas.width(), canvas.height(), cairo_image_surface_get_stride(surface));
    }

    GoldenComparison compareWithGolden(const std::string& picturePath, const std::string& goldenPath, int tolerance, bool update) const override
    {
        Canvas picture = Canvas::readPNG(picturePath);
        if (!picture.isValid()) {
            GoldenComparison unread;
            unread.outcome = GoldenComparison::Outcome::Failed;
            unread.message = "the picture taken could not be read back";
            return unread;
        }
        return sim::compareWithGolden(picture, goldenPath, tolerance, update);
    }

    bool writeContactSheet(const std::string& title, const std::vector<ContactSheetPicture>& pictures, const std::string& path) const override
    {
        // The thumbnails are decoded first and kept while the sheet borrows them.
        std::vector<Canvas> decoded;
        decoded.reserve(pictures.size());
        for (auto& picture : pictures)
            decoded.push_back(picture.thumbnail ? thumbnailFromJSON(*picture.thumbnail) : Canvas(nullptr, CGRectZero, 1));
        std::vector<ContactSheetEntry> entries;
        for (std::size_t i = 0; i < pictures.size(); ++i)
            entries.push_back({ pictures[i].path, pictures[i].caption, decoded[i].isValid() ? &decoded[i] : nullptr });
        return makeContactSheet(title, entries).writePNG(path);
    }

    int contactSheetThumbnailWidth() const override { return ContactSheetLayout().thumbnailWidth; }
};

} // namespace

} // namespace sim::render

extern "C" __attribute__((visibility("default"))) const sim::render::Pictures* lumetrixSimPictures()
{
    static const sim::render::CairoPictures pictures;
    return &pictures;
}
