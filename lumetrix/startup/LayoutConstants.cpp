#include "LayoutConstants.h"

#include "Globals.h"

#include "Foundation/NSFileManager.h"
#include "Foundation/NSString.h"

namespace lumetrix {

namespace {

struct LayoutSet {
    int bottom;
    int icon;
    int touch;
    int homeBarOffset;
    int appHomeBarOffset;
};

constexpr LayoutSet kStandardSet { -5, 7, -15, 10, 25 };
constexpr LayoutSet kCompanionSet { -40, 0, -50, -5, 15 };

bool companionInstalled()
{
    NSFileManager* files = NSFileManager::defaultManager();
    // The second file is only looked for when the first is absent.
    return files->fileExistsAtPath("/Library/MobileSubstrate/DynamicLibraries/Brevo11UIKit.dylib"_ns)
        || files->fileExistsAtPath("/Library/MobileSubstrate/DynamicLibraries/Brevo12UIKit.dylib"_ns);
}

} // namespace

void chooseLayoutConstants()
{
    const LayoutSet& set = companionInstalled() ? kCompanionSet : kStandardSet;
    bottomConstant = set.bottom;
    iconConstant = set.icon;
    TouchConstant = set.touch;
    HomeBarOffSetContant = set.homeBarOffset;
    AppHomeBarOffset = set.appHomeBarOffset;
}

} // namespace lumetrix
