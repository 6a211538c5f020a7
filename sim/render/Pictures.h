#pragma once
// The renderer as the simulator reaches it. The renderer is a library of its own
// (libsimrender.so: cairo, pango, fontconfig and what they pull in) that the simulator
// loads at the first picture, so a run that takes none never maps it. Nothing here
// names a cairo type: pictures go to files, to thumbnails as JSON (Thumbnail.h) or to a
// callback that borrows the pixels.

#include "CoreGraphics/CGGeometry.h"
#include "sim/render/GoldenComparison.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

class SpringBoard;
class UIView;

namespace sim::render {

// How much a player's crop is enlarged over device scale: a 100-point row comes out 900
// pixels wide.
constexpr CGFloat kCropMagnification = 3;

struct ContactSheetPicture {
    std::string path; // a PNG, read when there is no usable thumbnail
    std::string caption;
    const nlohmann::json* thumbnail = nullptr; // as Thumbnail.h writes it, or null
};

// The opaque 32-bit pixels of a picture (B, G, R, A in memory), lent for the call.
using PixelsBorrower = std::function<void(const std::uint8_t* pixels, int width, int height, int stride)>;

class Pictures {
public:
    virtual ~Pictures() = default;

    // As ScreenSnapshot.h gives them.
    virtual CGRect screenRegion() const = 0;
    virtual CGFloat deviceScale() const = 0;
    virtual CGRect regionAroundViews(const std::vector<UIView*>&, CGFloat margin, CGSize minimumSize) const = 0;

    // The screen (`region` null: all of it at device scale) written as a PNG into `file`,
    // opened for writing by the caller (where it may be opened: sim/device/OutputFiles.h)
    // and closed by the call. Empty on success, else what went wrong. With
    // `thumbnailWidth` above 0 the picture reduced to that width goes into `thumbnail`
    // (Thumbnail.h's JSON).
    virtual std::string writeScreen(SpringBoard*, const CGRect* region, CGFloat pixelsPerPoint, std::FILE* file, int thumbnailWidth,
        nlohmann::json& thumbnail) const
        = 0;
    // The same for one view tree on its own over white (a settings pane).
    virtual std::string writeView(UIView* root, std::FILE* file, int thumbnailWidth, nlohmann::json& thumbnail) const = 0;

    // The screen at `pixelsPerPoint`, lent to `borrower`; with `region`, only that part of
    // it (screen points), drawn as the same part of the whole screen would be.
    virtual void drawScreen(SpringBoard*, CGFloat pixelsPerPoint, const PixelsBorrower& borrower, const CGRect* region = nullptr) const = 0;

    // The PNG at `picturePath` against the golden picture at `goldenPath` (GoldenPicture.h:
    // with `update`, a missing or different golden picture is written instead).
    virtual GoldenComparison compareWithGolden(const std::string& picturePath, const std::string& goldenPath, int tolerance, bool update) const = 0;

    // ContactSheet.h's sheet titled `title`, written to `path`; false when it cannot be.
    virtual bool writeContactSheet(const std::string& title, const std::vector<ContactSheetPicture>&, const std::string& path) const = 0;
    virtual int contactSheetThumbnailWidth() const = 0;
};

// The renderer, loaded at the first call. One that cannot be loaded stops the process with
// a message saying why.
const Pictures& pictures();

} // namespace sim::render

// The renderer library's one entry point, found by name.
extern "C" const sim::render::Pictures* lumetrixSimPictures();
