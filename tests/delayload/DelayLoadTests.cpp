// A library reached through delay-load stubs is not mapped until the first call into it,
// and every call, the first included, arrives with its arguments as they were passed: in
// integer and vector registers, on the stack, and through variable arguments. A library or
// function that cannot be found ends the process with the loader's status and says which.

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cstdio>

extern "C" {
long probe_sum(long, long, long, long, long, long, long, long);
double probe_mix(int, double, int, double, double, double, double, double, double, double, double);
int probe_format(char* out, unsigned long size, const char* format, ...);
// Stubs for a function the library does not have, and for a library that does not exist.
void probe_absent();
void nowhere_function();
}

namespace {

bool probeMapped()
{
    void* handle = dlopen("libdelayprobe.so", RTLD_NOW | RTLD_NOLOAD);
    if (handle)
        dlclose(handle);
    return handle;
}

} // namespace

TEST(DelayLoad, TheLibraryIsMappedAtTheFirstCallAndEveryArgumentArrives)
{
    // The first call of the process into the library is this one, whatever ran before;
    // each function has stubs of its own, so each first call below goes through the
    // resolver.
    ASSERT_FALSE(probeMapped()) << "mapped before any call into it";
    EXPECT_EQ(probe_sum(1, 2, 3, 4, 5, 6, 7, 8), 204);
    EXPECT_TRUE(probeMapped());
    EXPECT_EQ(probe_sum(-1, 10, 100, 1000, 10000, 100000, 1000000, 10000000), 87654319);

    EXPECT_DOUBLE_EQ(probe_mix(1, 0.5, 2, 0.25, 1.5, 2.5, 3.5, 4.5, 5.5, 6.5, 7.5), 1 + 1.0 + 6 + 1.0 + 7.5 + 15 + 24.5 + 36 + 49.5 + 65 + 82.5);

    char text[64];
    EXPECT_EQ(probe_format(text, sizeof text, "%d %.2f %s %.1f", 7, 2.25, "x", -0.5), 13);
    EXPECT_STREQ(text, "7 2.25 x -0.5");
}

TEST(DelayLoad, AFunctionTheLibraryLacksEndsTheProcessSayingWhich)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(probe_absent(), testing::ExitedWithCode(127), "cannot load libdelayprobe.so: .*probe_absent");
}

TEST(DelayLoad, ALibraryThatIsNotThereEndsTheProcessSayingWhich)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(nowhere_function(), testing::ExitedWithCode(127), "cannot load libdelayload-nowhere.so.1: ");
}
