#include "InProcessColour.h"

#include "Foundation/NSData.h"
#include "Foundation/RunLoop.h"
#include "Platform/Platform.h"
#include "UIKit/UIColor.h"
#include "UIKit/UIImage.h"
#include "objc/runtime.h"

#include <ctime>
#include <dlfcn.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <unistd.h>

namespace startup_bench {

namespace {

double cpuNow()
{
    timespec now {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

void loadTweakOnce()
{
    static bool loaded = [] {
        platform::registerClasses();
        // The tweak's initialiser schedules work on the run loop; kept for the process.
        static platform::RunLoop runLoop;
        std::filesystem::path root = std::filesystem::temp_directory_path() / ("startup-bench-root-" + std::to_string(::getpid()));
        std::filesystem::create_directories(root);
        platform::setDeviceRoot(root.string());
        bool opened = dlopen(LUMETRIX_TWEAK_LIBRARY, RTLD_NOW | RTLD_GLOBAL) != nullptr;
        std::filesystem::remove_all(root);
        return opened;
    }();
    if (!loaded)
        throw std::runtime_error(std::string("cannot load the tweak: ") + LUMETRIX_TWEAK_LIBRARY);
}

} // namespace

double inProcessColourSeconds(const std::vector<std::string>& files)
{
    loadTweakOnce();
    double total = 0;
    for (const std::string& file : files) {
        std::ifstream in(file, std::ios::binary);
        std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        objc::AutoreleasePool pool;
        double start = cpuNow();
        auto image = UIImage::imageWithData(NSData::create(std::move(bytes)).get());
        id colour = image ? objc_msgSend<id>(image.get(), "averageColor"_sel) : nullptr;
        total += cpuNow() - start;
        if (!colour)
            throw std::runtime_error("no colour for " + file);
    }
    return total;
}

} // namespace startup_bench
