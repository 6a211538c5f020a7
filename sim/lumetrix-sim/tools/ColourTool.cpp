// lumetrix-colour: the average colour of an artwork file, worked out by the code SpringBoard
// runs: the platform's UIImage imageWithData: and the tweak's averageColor (lumetrix.so is
// loaded, as the substrate loader would, and adds that method to UIImage).
//
//   lumetrix-colour FILE    prints "R G B #RRGGBB" (0...255 each) and exits 0; exits 1
//                           with a message when the file gives no colour, 2 for bad usage

#include "Foundation/NSData.h"
#include "Foundation/RunLoop.h"
#include "Platform/Platform.h"
#include "Platform/RegularFile.h"
#include "UIKit/UIColor.h"
#include "UIKit/UIImage.h"
#include "UIKit/UIImageDecoder.h"
#include "objc/runtime.h"

#include <cmath>
#include <cstdio>
#include <dlfcn.h>
#include <filesystem>
#include <unistd.h>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

int noColour(const std::string& file, const char* why)
{
    std::fprintf(stderr, "lumetrix-colour: %s: no colour: %s\n", file.c_str(), why);
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2 || std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h") {
        std::fprintf(stderr, "usage: lumetrix-colour FILE   (the average colour of PNG or JPEG artwork)\n");
        return 2;
    }
    std::string file = argv[1];
    auto read = platform::readRegularFile(file, UIImageDecoder::kMaximumEncodedBytes);
    if (read.outcome == platform::RegularFileRead::Outcome::TooLarge)
        return noColour(file, "larger than the 64 MiB artwork limit");
    if (!read.ok())
        return noColour(file, ("not a readable file: it " + read.problem).c_str());
    std::vector<std::uint8_t> bytes = std::move(read.bytes);

    std::error_code error;
    platform::registerClasses();
    platform::RunLoop runLoop;
    // The tweak's initialiser reads its settings from the device root; an empty one gives
    // the defaults.
    fs::path root = fs::temp_directory_path() / ("lumetrix-colour-" + std::to_string(::getpid()));
    fs::create_directories(root, error);
    platform::setDeviceRoot(root.string());
    void* tweak = dlopen(LUMETRIX_TWEAK_LIBRARY, RTLD_NOW | RTLD_GLOBAL);
    fs::remove_all(root, error);
    if (!tweak) {
        std::fprintf(stderr, "lumetrix-colour: cannot load the tweak: %s\n", dlerror());
        return 2;
    }

    objc::AutoreleasePool pool;
    auto image = UIImage::imageWithData(NSData::create(std::move(bytes)).get());
    if (!image)
        return noColour(file, "not a PNG or JPEG image that decodes within the artwork limits");
    auto* colour = static_cast<UIColor*>(objc_msgSend<id>(image.get(), "averageColor"_sel));
    CGFloat red = 0, green = 0, blue = 0, alpha = 0;
    if (!colour || !colour->getRed(&red, &green, &blue, &alpha))
        return noColour(file, "the image has no pixels");
    auto byte = [](CGFloat value) { return static_cast<unsigned>(std::lround(value * 255)); };
    std::printf("%u %u %u #%02X%02X%02X\n", byte(red), byte(green), byte(blue), byte(red), byte(green), byte(blue));
    return 0;
}
