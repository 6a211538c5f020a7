#include "Foundation/Foundation.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>

using objc::RefPtr;

namespace platform {
void registerFoundationClasses();
}

namespace {

class NSString_Format : public testing::Test {
protected:
    void SetUp() override { platform::registerFoundationClasses(); }
    objc::AutoreleasePool m_pool;
};

// A class of the test's own whose description is its own method, to see that %@ asks
// the runtime rather than calling C++ directly.
id probeDescription(id, SEL)
{
    return objc_autorelease(NSString::create("probe says hi").leakRef());
}

Class probeClass()
{
    static Class cls = [] {
        Class c = objc::registerClass("FormatProbe", NSObject::staticClass(), nullptr);
        objc::addMethod(c, "description", &probeDescription);
        return c;
    }();
    return cls;
}

std::string format(const char* text, auto... arguments)
{
    return NSString::stringWithFormat(text, arguments...)->string();
}

TEST_F(NSString_Format, ObjectsPrintTheirDescription)
{
    RefPtr<NSString> title = "Song"_ns;
    RefPtr<NSString> artist = "Band"_ns;
    EXPECT_EQ(format("%@ - %@", static_cast<id>(title.get()), static_cast<id>(artist.get())), "Song - Band");
    EXPECT_EQ(format("[%@]", static_cast<id>(nullptr)), "[(null)]");
    EXPECT_EQ(format("%@", static_cast<id>(NSNumber::numberWithDouble(1.5).get())), "1.5");
    auto probe = objc::createInstance(probeClass());
    EXPECT_EQ(format("%@", static_cast<id>(probe.get())), "probe says hi");
    EXPECT_EQ(format("<%8@|%-6@>", static_cast<id>(title.get()), static_cast<id>(artist.get())), "<    Song|Band  >");
}

TEST_F(NSString_Format, PrintfConversions)
{
    struct Case {
        std::string actual;
        const char* expected;
    };
    const Case cases[] = {
        { format("KAKASTRONT %.20f", 2.0), "KAKASTRONT 2.00000000000000000000" },
        { format("%lld", LLONG_MIN), "-9223372036854775808" },
        { format("%qd", 42LL), "42" },
        { format("%llu", ULLONG_MAX), "18446744073709551615" },
        { format("%5d|%-5d|%05d", 42, 42, 42), "   42|42   |00042" },
        { format("%+d % d", 5, 5), "+5  5" },
        { format("%*d|%-*d", 4, 7, 4, 7), "   7|7   " },
        { format("%*d", -3, 7), "7  " },
        { format("%.*f", 2, 3.14159), "3.14" },
        { format("%.*f", -1, 1.5), "1.500000" },
        { format("%x %X %o %#x", 255u, 255u, 8u, 255u), "ff FF 10 0xff" },
        { format("%hhd %hd", 300, 70000), "44 4464" },
        { format("%zu %ld %lu", std::size_t(7), -8L, 9UL), "7 -8 9" },
        { format("%jd %td", std::intmax_t(-1), std::ptrdiff_t(3)), "-1 3" },
        { format("%e", 12345.678), "1.234568e+04" },
        { format("%g %G", 0.0001, 1e20), "0.0001 1E+20" },
        { format("%a", 1.0), "0x1p+0" },
        { format("%Lf", 2.5L), "2.500000" },
        { format("%c%c", 'o', 'k'), "ok" },
        { format("%lc", wint_t(0x20AC)), "\xE2\x82\xAC" },
        { format("%s|%.3s|%6s", "text", "abcdef", "ab"), "text|abc|    ab" },
        { format("%s", static_cast<const char*>(nullptr)), "(null)" },
        { format("%p", static_cast<void*>(nullptr)), "0x0" },
        { format("%p", reinterpret_cast<void*>(0x1234)), "0x1234" },
        { format("100%%"), "100%" },
        { format("no conversions"), "no conversions" },
        { format("%y stays"), "%y stays" },
        { format("trailing %"), "trailing %" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.actual, c.expected);
}

TEST_F(NSString_Format, ArgumentsAfterAnObjectStayAligned)
{
    // Each conversion must read exactly its own argument; one misread shifts the rest.
    RefPtr<NSString> name = "Track"_ns;
    EXPECT_EQ(format("%@ %d %.1f %@ %lld %s", static_cast<id>(name.get()), 3, 2.5, static_cast<id>(nullptr), 1LL << 40, "end"),
        "Track 3 2.5 (null) 1099511627776 end");
    EXPECT_EQ(format("%hhd|%@|%Lf|%@", 1, static_cast<id>(name.get()), 1.25L, static_cast<id>(name.get())), "1|Track|1.250000|Track");
}

TEST_F(NSString_Format, LongResultsAreNotCut)
{
    std::string longText(1000, 'x');
    EXPECT_EQ(format("%s!", longText.c_str()), longText + "!");
    EXPECT_EQ(format("%300d", 1).size(), 300u);
}

TEST_F(NSString_Format, WidthsTooLargeForAnIntAreBoundedNotWrapped)
{
    // Digits past an int once wrapped into a negative width and a request for exabytes
    // of padding; INT_MIN through `*` had no positive counterpart.
    EXPECT_EQ(format("%2147483648s|", "x").size(), 4097u);
    EXPECT_EQ(format("%99999999999d|", 7).size(), 4097u);
    EXPECT_EQ(format("%.99999999999s|", "short"), "short|");
    EXPECT_EQ(format("%*s|", INT_MIN, "x").size(), 4097u);
    EXPECT_EQ(format("%-*d|", 5, 1), "1    |");
}

} // namespace
