// The device's package manager: what it unpacks, what it records, and what it refuses.

#include "DebianPackageWriter.h"

#include "sim/device/DeviceRoot.h"
#include "sim/device/PackageInstaller.h"
#include "sim/payload/PayloadLocation.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace fs = std::filesystem;
using testing_support::ArchiveMember;
using testing_support::controlText;
using testing_support::writeDebianPackage;

namespace {

std::string readFile(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string thisArchitecture() { return std::string(payload::packageArchitecture()); }

// `install` throws PackageError, saying `why`.
template<typename Install>
void expectRefused(Install install, const std::string& why)
{
    try {
        install();
        ADD_FAILURE() << "installed";
    } catch (const sim::PackageError& error) {
        EXPECT_NE(std::string(error.what()).find(why), std::string::npos) << error.what();
    }
}

class PackageInstallerTest : public ::testing::Test {
protected:
    sim::DeviceRoot root = sim::DeviceRoot::makeTemporary();
    fs::path package = root.path() / "test.deb";

    void install() { sim::installPackage(root, package); }
};

// Packages are read by the installer itself when their tars are plain, and with libarchive
// when compressed: each test packs both ways.
constexpr bool kPackings[] = { true, false };

TEST_F(PackageInstallerTest, UnpacksFilesBeneathTheRootAndRecordsThePackage)
{
    for (bool compressed : kPackings) {
        SCOPED_TRACE(compressed ? "compressed" : "plain");
        writeDebianPackage(package, controlText("com.example.tweak", "1.2", thisArchitecture()),
            { { "./", "", AE_IFDIR }, { "./Library/", "", AE_IFDIR }, { "./Library/Tweak/", "", AE_IFDIR },
                { "./Library/Tweak/tweak.dylib", "library bytes" } },
            compressed);
        install();

        EXPECT_EQ(readFile(root.path() / "Library/Tweak/tweak.dylib"), "library bytes");
        EXPECT_EQ(fs::status(root.path() / "Library/Tweak/tweak.dylib").permissions(), fs::perms(0644));
        EXPECT_EQ(fs::status(root.path() / "Library/Tweak").permissions(), fs::perms(0755));
        EXPECT_EQ(readFile(root.path() / "var/lib/dpkg/info/com.example.tweak.list"),
            "/Library\n/Library/Tweak\n/Library/Tweak/tweak.dylib\n");
        std::string status = readFile(root.path() / "var/lib/dpkg/status");
        EXPECT_EQ(status.rfind("Package: com.example.tweak\nStatus: install ok installed\nVersion: 1.2\n", 0), 0u) << status;
        EXPECT_NE(status.find("Description: a test package\n with a second line\n"), std::string::npos) << status;
    }
}

TEST_F(PackageInstallerTest, ReinstallingReplacesTheRecordAndKeepsOtherPackages)
{
    root.writeFile("/var/lib/dpkg/status", "Package: mobilesubstrate\nStatus: install ok installed\nVersion: 0.9\n");
    writeDebianPackage(package, controlText("com.example.tweak", "1.0", thisArchitecture()), { { "./a", "one" } });
    install();
    writeDebianPackage(package, controlText("com.example.tweak", "2.0", thisArchitecture()), { { "./a", "two" } });
    install();

    EXPECT_EQ(readFile(root.path() / "a"), "two");
    EXPECT_EQ(readFile(root.path() / "var/lib/dpkg/status"),
        "Package: mobilesubstrate\nStatus: install ok installed\nVersion: 0.9\n\n"
        "Package: com.example.tweak\nStatus: install ok installed\nVersion: 2.0\nArchitecture: "
            + thisArchitecture() + "\nMaintainer: Test <test@example.org>\nDescription: a test package\n with a second line\n\n");
}

// Each of these is refused as a whole: the harmless file packed before the bad entry is
// not written either.
TEST_F(PackageInstallerTest, RefusesEntriesThatCouldReachOutsideTheRootBeforeWritingAny)
{
    struct Case {
        const char* story;
        ArchiveMember bad;
        const char* message;
    };
    const Case cases[] = {
        { "climbs above the root", { "./../escaped", "x" }, "leads outside the device root" },
        { "climbs from inside", { "./Library/../../escaped", "x" }, "leads outside the device root" },
        { "a symbolic link", { "./Library/link", "", AE_IFLNK, "/etc/passwd" }, "not a regular file or a folder" },
        { "a hard link", { "./Library/hard", "", AE_IFREG, "", "./first" }, "not a regular file or a folder" },
        { "a FIFO", { "./Library/fifo", "", AE_IFIFO }, "not a regular file or a folder" },
    };
    for (auto& test : cases)
        for (bool compressed : kPackings) {
            SCOPED_TRACE(std::string(test.story) + (compressed ? ", compressed" : ", plain"));
            writeDebianPackage(package, controlText("com.example.tweak", "1", thisArchitecture()), { { "./first", "harmless" }, test.bad }, compressed);
            expectRefused([&] { install(); }, test.message);
            EXPECT_FALSE(fs::exists(root.path() / "first"));
            EXPECT_FALSE(fs::exists(root.path().parent_path() / "escaped"));
            EXPECT_FALSE(fs::exists(root.path() / "var/lib/dpkg/status"));
        }
}

TEST_F(PackageInstallerTest, DoesNotWriteThroughALinkLeftInAKeptRootNorReplaceIt)
{
    sim::DeviceRoot elsewhere = sim::DeviceRoot::makeTemporary();
    fs::path outside = elsewhere.path() / "outside";
    fs::create_directories(outside);
    fs::create_symlink(outside, root.path() / "Tweaks");
    const std::vector<ArchiveMember> packings[] = {
        { { "./Tweaks/tweak.dylib", "x" } },
        { { "./Tweaks/", "", AE_IFDIR }, { "./Tweaks/tweak.dylib", "x" } },
    };
    for (auto& packing : packings)
        for (bool compressed : kPackings) {
            writeDebianPackage(package, controlText("com.example.tweak", "1", thisArchitecture()), packing, compressed);
            EXPECT_THROW(install(), sim::PackageError);
            EXPECT_TRUE(fs::is_empty(outside));
            EXPECT_TRUE(fs::is_symlink(root.path() / "Tweaks"));
        }
}

TEST_F(PackageInstallerTest, RefusesWhatIsNotAnInstallablePackage)
{
    struct Case {
        const char* story;
        std::string control;
        std::string debianBinary;
        const char* message;
    };
    const std::string good = controlText("com.example.tweak", "1", thisArchitecture());
    const Case cases[] = {
        { "another architecture", controlText("com.example.tweak", "1", "iphoneos-arm64"), "2.0\n", "built for iphoneos-arm64" },
        { "no version", "Package: com.example.tweak\nArchitecture: all\n", "2.0\n", "no Version field" },
        { "a name that is a path", controlText("../../etc", "1", "all"), "2.0\n", "is not a package name" },
        { "a control line without a field", good + "no colon here\n", "2.0\n", "is not \"Field: value\"" },
        { "a format dpkg does not read", good, "3.0\n", "no debian-binary 2.x first" },
    };
    for (auto& test : cases) {
        SCOPED_TRACE(test.story);
        std::string controlTar = testing_support::writeArchive({ { "./control", test.control } }, true);
        std::string dataTar = testing_support::writeArchive({ { "./file", "x" } }, true);
        std::ofstream(package, std::ios::binary | std::ios::trunc) << testing_support::writeArchive(
            { { "debian-binary", test.debianBinary }, { "control.tar.gz", controlTar }, { "data.tar.gz", dataTar } }, false);
        expectRefused([&] { install(); }, test.message);
        EXPECT_FALSE(fs::exists(root.path() / "file"));
    }

    std::ofstream(package, std::ios::trunc) << "Package: not an archive\n";
    EXPECT_THROW(install(), sim::PackageError);
    EXPECT_THROW(sim::installPackage(root, root.path() / "missing.deb"), sim::PackageError);
}

// The package this build makes holds what a device needs, where a device has it.
TEST(DevicePackage, InstallsTheTweakThePaneAndTheirPlistsAsOnADevice)
{
    sim::DeviceRoot root = sim::DeviceRoot::makeTemporary();
    root.install(sim::Artefacts::fromBuild());
    for (const char* path : { "Library/MobileSubstrate/DynamicLibraries/lumetrix.dylib", "Library/MobileSubstrate/DynamicLibraries/lumetrix.plist",
             "Library/PreferenceBundles/lumetrixpref.bundle/lumetrixpref.so", "Library/PreferenceBundles/lumetrixpref.bundle/Root.plist",
             "Library/PreferenceBundles/lumetrixpref.bundle/icon.png", "Library/PreferenceLoader/Preferences/lumetrixpref.plist" })
        EXPECT_TRUE(fs::is_regular_file(root.path() / path)) << path;
    std::string status = readFile(root.path() / "var/lib/dpkg/status");
    EXPECT_NE(status.find("Package: com.orvanta.lumetrix\nStatus: install ok installed\n"), std::string::npos) << status;
    EXPECT_NE(status.find("Section: Tweaks\n"), std::string::npos) << status;
}

TEST(DevicePackage, AnotherPackageInItsPlaceIsRefused)
{
    sim::DeviceRoot root = sim::DeviceRoot::makeTemporary();
    sim::Artefacts artefacts = sim::Artefacts::fromBuild();
    artefacts.devicePackage = root.path() / "other.deb";
    writeDebianPackage(artefacts.devicePackage, controlText("lumetrix", "1", thisArchitecture()), { { "./usr/bin/x", "x" } });
    expectRefused([&] { root.install(artefacts); }, "holds the package lumetrix, not com.orvanta.lumetrix");
    EXPECT_FALSE(fs::exists(root.path() / "usr/bin/x"));
}

} // namespace
