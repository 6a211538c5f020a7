#include "UIDeviceProfile.h"

#include <cctype>
#include <cmath>

namespace {

std::string normalisedName(std::string_view name)
{
    std::string result;
    for (char c : name) {
        if (c == ' ' || c == '-' || c == '_')
            continue;
        result += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return result;
}

const UIDeviceProfile*& currentProfile()
{
    static const UIDeviceProfile* profile = nullptr;
    return profile;
}

} // namespace

CGRect UIDeviceProfile::homeIndicatorFrame() const
{
    CGFloat width = std::round(0.3574 * screenSize.width);
    CGFloat height = 5;
    CGFloat bottomGap = 8;
    return CGRectMake((screenSize.width - width) / 2, screenSize.height - bottomGap - height, width, height);
}

const std::vector<UIDeviceProfile>& UIDeviceProfile::all()
{
    // Portrait, in points. The tops of the 12 mini and 12 class are not confirmed by
    // Apple's documentation; they are the values commonly measured on devices.
    static const auto* profiles = new std::vector<UIDeviceProfile> {
        { "iPhone X", { "iPhone X", "iPhone XS", "iPhone 11 Pro" }, { 375, 812 }, { 44, 0, 34, 0 }, 3 },
        { "iPhone 12 mini", { "iPhone 12 mini", "iPhone 13 mini" }, { 375, 812 }, { 50, 0, 34, 0 }, 3 },
        { "iPhone 12", { "iPhone 12", "iPhone 13", "iPhone 14" }, { 390, 844 }, { 47, 0, 34, 0 }, 3 },
        { "iPhone 14 Pro", { "iPhone 14 Pro", "iPhone 15 Pro" }, { 393, 852 }, { 59, 0, 34, 0 }, 3 },
        { "iPhone 14 Pro Max", { "iPhone 14 Pro Max", "iPhone 15 Pro Max" }, { 430, 932 }, { 59, 0, 34, 0 }, 3 },
    };
    return *profiles;
}

const UIDeviceProfile* UIDeviceProfile::named(std::string_view name)
{
    std::string wanted = normalisedName(name);
    for (auto& profile : all()) {
        if (normalisedName(profile.name) == wanted)
            return &profile;
        for (auto& model : profile.models) {
            if (normalisedName(model) == wanted)
                return &profile;
        }
    }
    return nullptr;
}

const UIDeviceProfile& UIDeviceProfile::defaultProfile()
{
    return all().front();
}

const UIDeviceProfile& UIDeviceProfile::current()
{
    auto* profile = currentProfile();
    return profile ? *profile : defaultProfile();
}

void UIDeviceProfile::setCurrent(const UIDeviceProfile& profile)
{
    // Profiles live in all() for the whole process; a copy made elsewhere is kept too.
    for (auto& known : all()) {
        if (&known == &profile) {
            currentProfile() = &known;
            return;
        }
    }
    // Never freed: profiles are handed out by reference for the life of the process.
    currentProfile() = new UIDeviceProfile(profile);
}
