#include "CGBlendModeSupport.h"

#include "Platform/PlatformLimits.h"

#include <string>

namespace {

// Core Graphics' names, for the message.
const char* blendModeName(CGBlendMode mode)
{
    static const char* const names[] = { "Normal", "Multiply", "Screen", "Overlay", "Darken", "Lighten", "ColorDodge",
        "ColorBurn", "SoftLight", "HardLight", "Difference", "Exclusion", "Hue", "Saturation", "Color", "Luminosity",
        "Clear", "Copy", "SourceIn", "SourceOut", "SourceAtop", "DestinationOver", "DestinationIn", "DestinationOut",
        "DestinationAtop", "XOR", "PlusDarker", "PlusLighter" };
    if (mode < 0 || mode >= static_cast<CGBlendMode>(std::size(names)))
        return "unknown";
    return names[mode];
}

} // namespace

bool CGBlendModeIsModelled(CGBlendMode mode)
{
    return mode == kCGBlendModeNormal || mode == kCGBlendModeCopy || mode == kCGBlendModeClear;
}

void CGRequireModelledBlendMode(CGBlendMode mode, const char* call)
{
    if (!CGBlendModeIsModelled(mode))
        platform::notModelled(call, "blend mode " + std::to_string(mode) + " (" + blendModeName(mode) + ")");
}
