// The colour of an artwork file as SpringBoard gets it: the platform's UIImage
// imageWithData: and the tweak's averageColor (the tweak, linked in, attaches that
// category to UIImage; its SpringBoard initialiser is not run, LinkedTweak.ld).

#include "ColourWorker.h"

#include "ArtworkFile.h"
#include "LinkedTweak.h"

#include "Foundation/NSData.h"
#include "Foundation/RunLoop.h"
#include "Platform/Platform.h"
#include "UIKit/UIColor.h"
#include "UIKit/UIImage.h"
#include "UIKit/UIImageDecoder.h"
#include "objc/runtime.h"

#include <cmath>
#include <cstdio>
#include <exception>
#include <optional>
#include <string>
#include <vector>

namespace {

struct Colour {
    unsigned red, green, blue;
};

class ColourWorker {
public:
    struct TweakNotLoaded {
        std::string why;
    };

    // The platform's classes are registered at the first file that claims to be an image,
    // the tweak's category attached at the first that decodes: files that are neither cost
    // neither. A tool has Foundation and UIKit, not SpringBoard's frameworks.

    // The colour of `bytes`, or why there is none (nullopt with `why` set). Throws only
    // when the tweak cannot be loaded, which ends the whole run.
    std::optional<Colour> colour(std::vector<std::uint8_t> bytes, std::string& why)
    {
        static constexpr const char* kNoImage = LUMETRIX_COLOUR_NOT_AN_IMAGE;
        if (!UIImageDecoder::formatOf(bytes.data(), bytes.size())) {
            why = kNoImage;
            return std::nullopt;
        }
        startPlatform();
        objc::AutoreleasePool pool;
        auto image = UIImage::imageWithData(NSData::create(std::move(bytes)).get());
        if (!image) {
            why = kNoImage;
            return std::nullopt;
        }
        attachTweakCategory();
        auto* colour = static_cast<UIColor*>(objc_msgSend<id>(image.get(), "averageColor"_sel));
        CGFloat red = 0, green = 0, blue = 0, alpha = 0;
        if (!colour || !colour->getRed(&red, &green, &blue, &alpha)) {
            why = "the image has no pixels";
            return std::nullopt;
        }
        auto byte = [](CGFloat value) { return static_cast<unsigned>(std::lround(value * 255)); };
        return Colour { byte(red), byte(green), byte(blue) };
    }

private:
    void startPlatform()
    {
        if (m_runLoop)
            return;
        platform::registerClasses(platform::Frameworks::UIKit);
        m_runLoop.emplace();
    }

    // Once per process: later calls return at once.
    static void attachTweakCategory()
    {
        std::string whyNot;
        if (!sim::tools::attachLinkedTweakCategories(whyNot))
            throw TweakNotLoaded { whyNot };
    }

    std::optional<platform::RunLoop> m_runLoop;
};

} // namespace

extern "C" __attribute__((visibility("default"))) int lumetrix_colour_file(const char* file, int namePrefix)
{
    // One worker for the process: the platform and the tweak are started once.
    static ColourWorker worker;
    std::string why;
    try {
        auto read = sim::tools::readArtworkFile(file, UIImageDecoder::kMaximumEncodedBytes);
        if (auto* problem = std::get_if<sim::tools::ArtworkFileProblem>(&read)) {
            why = problem->why;
        } else if (auto colour = worker.colour(std::move(std::get<sim::tools::ArtworkFileBytes>(read)), why)) {
            if (namePrefix)
                std::printf("%s ", file);
            std::printf("%u %u %u #%02X%02X%02X\n", colour->red, colour->green, colour->blue, colour->red, colour->green, colour->blue);
            return LumetrixColourPrinted;
        }
    } catch (const ColourWorker::TweakNotLoaded& failure) {
        std::fflush(stdout);
        std::fprintf(stderr, "lumetrix-colour: cannot load the tweak: %s\n", failure.why.c_str());
        return LumetrixColourNoTweak;
    } catch (const std::exception& exception) {
        why = exception.what();
    } catch (...) {
        why = "an unknown error";
    }
    std::fflush(stdout);
    std::fprintf(stderr, "lumetrix-colour: %s: no colour: %s\n", file, why.c_str());
    return LumetrixColourNone;
}
