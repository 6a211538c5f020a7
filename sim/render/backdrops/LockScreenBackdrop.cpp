#include "LockScreenBackdrop.h"

#include "Wallpaper.h"

#include "sim/render/RenderColor.h"
#include "sim/render/TextLayout.h"

#include <cmath>
#include <ctime>

namespace sim::render {

namespace {

// CFAbsoluteTime counts from 2001-01-01, the Unix clock from 1970-01-01.
constexpr double kUnixOffset = 978307200.0;

std::tm utcTime(double absoluteTime)
{
    std::time_t seconds = static_cast<std::time_t>(std::floor(absoluteTime + kUnixOffset));
    std::tm parts {};
    gmtime_r(&seconds, &parts);
    return parts;
}

} // namespace

std::string clockText(double absoluteTime)
{
    std::tm parts = utcTime(absoluteTime);
    int hour = parts.tm_hour % 12 == 0 ? 12 : parts.tm_hour % 12;
    char text[16];
    std::snprintf(text, sizeof text, "%d:%02d", hour, parts.tm_min);
    return text;
}

std::string dateText(double absoluteTime)
{
    static const char* const days[] = { "Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday" };
    static const char* const months[] = { "January", "February", "March", "April", "May", "June", "July", "August",
        "September", "October", "November", "December" };
    std::tm parts = utcTime(absoluteTime);
    return std::string(days[parts.tm_wday]) + ", " + months[parts.tm_mon] + " " + std::to_string(parts.tm_mday);
}

void drawLockScreenBackdrop(cairo_t* cr, CGRect bounds, const LockScreenContent& content)
{
    drawWallpaper(cr, bounds, content.dark);

    CGFloat top = bounds.origin.y + content.safeArea.top;
    cairo_set_source_rgba(cr, 1, 1, 1, 0.92);
    CGRect date = CGRectMake(bounds.origin.x, top + 8, bounds.size.width, 26);
    drawCenteredText(cr, dateText(content.time), { 20, FontWeight::Semibold }, date);
    CGRect clock = CGRectMake(bounds.origin.x, CGRectGetMaxY(date) - 4, bounds.size.width, 100);
    drawCenteredText(cr, clockText(content.time), { 84, FontWeight::Bold }, clock);

    if (!CGRectIsEmpty(content.homeIndicator)) {
        cairo_save(cr);
        CGRect place = content.homeIndicator;
        addRoundedRect(cr, CGRectMake(place.origin.x - 1, place.origin.y - 1, place.size.width + 2, place.size.height + 2), place.size.height / 2 + 1);
        const double dash[] = { 2, 2 };
        cairo_set_dash(cr, dash, 2, 0);
        cairo_set_line_width(cr, 0.5);
        cairo_set_source_rgba(cr, 1, 1, 1, 0.22);
        cairo_stroke(cr);
        cairo_restore(cr);
    }
}

} // namespace sim::render
