// lumetrix-colour: the average colour of artwork files, worked out by the code SpringBoard
// runs: the platform's UIImage imageWithData: and the tweak's averageColor (lumetrix.so is
// loaded, as the substrate loader would, and adds that method to UIImage).
//
// Start-up is most of what one file costs, so one process colours any number of files,
// and the tweak is loaded only once a file has decoded.

#include "ArtworkFile.h"
#include "Foundation/NSData.h"
#include "Foundation/RunLoop.h"
#include "LumetrixVersion.h"
#include "Platform/Platform.h"
#include "UIKit/UIColor.h"
#include "UIKit/UIImage.h"
#include "UIKit/UIImageDecoder.h"
#include "objc/runtime.h"
#include "sim/payload/PayloadLocation.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <exception>
#include <filesystem>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr const char* kUsage = "usage: lumetrix-colour [--help] [--version] FILE...\n"
                               "\n"
                               "Prints the average colour of each PNG or JPEG artwork file as the players\n"
                               "get it: \"R G B #RRGGBB\" (0 to 255 each) for a single FILE, \"FILE R G B #RRGGBB\"\n"
                               "a line for several. A FILE of - reads file names from standard input, one a\n"
                               "line. A file that gives no colour gets an error line on standard error and\n"
                               "the others go on.\n"
                               "\n"
                               "Exit status: 0 when every file gave a colour, 1 when any did not, 2 for bad\n"
                               "usage or when the tweak cannot be loaded.\n";

struct Colour {
    unsigned red, green, blue;
};

class ColourWorker {
public:
    struct TweakNotLoaded {
        std::string why;
    };

    // The platform's classes are registered at the first file that claims to be an image,
    // the tweak is loaded at the first that decodes: files that are neither cost neither.

    // The colour of `bytes`, or why there is none (nullopt with `why` set). Throws only
    // when the tweak cannot be loaded, which ends the whole run.
    std::optional<Colour> colour(std::vector<std::uint8_t> bytes, std::string& why)
    {
        static constexpr const char* kNoImage = "not a PNG or JPEG image that decodes within the artwork limits";
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
        loadTweak();
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
        platform::registerClasses();
        m_runLoop.emplace();
    }

    void loadTweak()
    {
        if (m_tweak)
            return;
        // The tweak's initialiser reads its settings from the device root; an empty one
        // gives the defaults.
        std::error_code error;
        fs::path root = fs::temp_directory_path(error) / ("lumetrix-colour-" + std::to_string(::getpid()));
        fs::create_directories(root, error);
        platform::setDeviceRoot(root.string());
        std::string whyNot;
        try {
            m_tweak = dlopen(payload::here().library("lumetrix.so").c_str(), RTLD_NOW | RTLD_GLOBAL);
            if (!m_tweak) {
                const char* why = dlerror();
                whyNot = why ? why : "dlopen failed";
            }
        } catch (const std::exception& lookup) {
            whyNot = lookup.what();
        }
        fs::remove_all(root, error);
        if (!m_tweak)
            throw TweakNotLoaded { whyNot };
    }

    std::optional<platform::RunLoop> m_runLoop;
    void* m_tweak = nullptr;
};

// Colours one file and prints its line; false when it gives no colour. Nothing about one
// file (an exception included) stops the others.
bool colourFile(ColourWorker& worker, const std::string& file, bool namePrefix)
{
    std::string why;
    try {
        auto read = sim::tools::readArtworkFile(file, UIImageDecoder::kMaximumEncodedBytes);
        if (auto* problem = std::get_if<sim::tools::ArtworkFileProblem>(&read)) {
            why = problem->why;
        } else if (auto colour = worker.colour(std::move(std::get<sim::tools::ArtworkFileBytes>(read)), why)) {
            if (namePrefix)
                std::printf("%s ", file.c_str());
            std::printf("%u %u %u #%02X%02X%02X\n", colour->red, colour->green, colour->blue, colour->red, colour->green, colour->blue);
            return true;
        }
    } catch (const ColourWorker::TweakNotLoaded&) {
        throw;
    } catch (const std::exception& exception) {
        why = exception.what();
    } catch (...) {
        why = "an unknown error";
    }
    std::fflush(stdout);
    std::fprintf(stderr, "lumetrix-colour: %s: no colour: %s\n", file.c_str(), why.c_str());
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> files;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        std::string argument = argv[i];
        if (!optionsEnded && (argument == "--help" || argument == "-h")) {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (!optionsEnded && argument == "--version") {
            std::printf("lumetrix-colour %s\n", LUMETRIX_VERSION);
            return 0;
        }
        if (!optionsEnded && argument == "--") {
            optionsEnded = true;
            continue;
        }
        if (!optionsEnded && argument.size() > 1 && argument[0] == '-') {
            std::fprintf(stderr, "lumetrix-colour: unknown option %s\n%s", argument.c_str(), kUsage);
            return 2;
        }
        files.push_back(argument);
    }
    if (files.empty()) {
        std::fputs(kUsage, stderr);
        return 2;
    }

    // Exactly one file named on the command line keeps the bare colour line; anything
    // that may be several names each line.
    bool namePrefix = files.size() > 1 || files[0] == "-";
    bool allColoured = true;
    try {
        ColourWorker worker;
        for (const std::string& file : files) {
            if (file != "-") {
                allColoured &= colourFile(worker, file, namePrefix);
                continue;
            }
            char* line = nullptr;
            std::size_t capacity = 0;
            ssize_t length;
            while ((length = ::getline(&line, &capacity, stdin)) >= 0) {
                std::string name(line, static_cast<std::size_t>(length));
                if (!name.empty() && name.back() == '\n')
                    name.pop_back();
                if (!name.empty())
                    allColoured &= colourFile(worker, name, namePrefix);
            }
            std::free(line);
        }
    } catch (const ColourWorker::TweakNotLoaded& failure) {
        std::fflush(stdout);
        std::fprintf(stderr, "lumetrix-colour: cannot load the tweak: %s\n", failure.why.c_str());
        return 2;
    }
    return allColoured ? 0 : 1;
}
