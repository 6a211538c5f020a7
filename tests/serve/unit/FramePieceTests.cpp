// Frames that carry only the part of the screen that changed: a page that follows the
// stream gets the pieces it lacks; whoever asks for a whole frame gets the last whole one
// with the pieces since painted over it.
#include "sim/lumetrix-sim/serve/FrameComposer.h"
#include "sim/lumetrix-sim/serve/PhoneState.h"

#include "sim/imaging/ImageEncoding.h"

#include "MediaRemote/Base64.h"
#include "UIKit/UIImageDecoder.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace fs = std::filesystem;
using nlohmann::json;

namespace sim {
namespace {

std::vector<std::uint8_t> solidJPEG(int width, int height, std::uint8_t red, std::uint8_t green, std::uint8_t blue)
{
    std::vector<std::uint8_t> rgb;
    for (int i = 0; i < width * height; ++i)
        rgb.insert(rgb.end(), { red, green, blue });
    return imaging::encodeJPEG(rgb.data(), static_cast<std::size_t>(width), static_cast<std::size_t>(height), 90);
}

json frameReport(const std::vector<std::uint8_t>& jpeg, std::optional<json> piece = std::nullopt)
{
    json frame = { { "image", platform::encodeBase64(jpeg) }, { "type", "image/jpeg" }, { "width", 64 }, { "height", 64 }, { "scale", 2 },
        { "t", 1.0 }, { "screen", json::object() }, { "players", json::object() } };
    if (piece)
        frame["piece"] = *piece;
    return { { "frame", frame } };
}

// The colour at (x, y) of a JPEG, as {red, green, blue}.
std::array<int, 3> colourAt(const std::string& jpeg, unsigned x, unsigned y)
{
    auto decoded = UIImageDecoder::decode(reinterpret_cast<const std::uint8_t*>(jpeg.data()), jpeg.size());
    if (!decoded)
        return { -1, -1, -1 };
    const std::uint8_t* pixel = decoded->bitmap->pixel(x, y);
    return { pixel[0], pixel[1], pixel[2] };
}

bool near(std::array<int, 3> colour, std::array<int, 3> expected)
{
    for (int i = 0; i < 3; ++i) {
        if (std::abs(colour[i] - expected[i]) > 6)
            return false;
    }
    return true;
}

class Serve_FramePieces : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs::create_directories(folder);
        state.apply({ { "phone-start", { { "device", nullptr }, { "lines", { "boot" } } } } });
    }
    void TearDown() override { fs::remove_all(folder); }

    fs::path folder = fs::temp_directory_path() / ("lumetrix-frame-pieces-" + std::to_string(::getpid()));
    PhoneState state { folder, "/s" };
};

TEST_F(Serve_FramePieces, APageGetsThePiecesItLacksInOrder)
{
    state.apply(frameReport(solidJPEG(64, 64, 128, 128, 128)));
    state.apply(frameReport(solidJPEG(16, 16, 255, 0, 0), json { { "x", 16 }, { "y", 32 }, { "width", 16 }, { "height", 16 } }));
    state.apply(frameReport(solidJPEG(32, 16, 0, 0, 255), json { { "x", 0 }, { "y", 0 }, { "width", 32 }, { "height", 16 } }));

    EXPECT_FALSE(state.piecesSince(0)) << "a page with no frame takes a whole one";
    auto fromFirst = state.piecesSince(1);
    ASSERT_TRUE(fromFirst);
    ASSERT_EQ(fromFirst->size(), 2u);
    EXPECT_EQ((*fromFirst)[0].frame.number, 2u);
    EXPECT_EQ((*fromFirst)[0].x, 16);
    EXPECT_EQ((*fromFirst)[0].y, 32);
    EXPECT_EQ((*fromFirst)[1].frame.number, 3u);
    EXPECT_EQ(state.piecesSince(2)->size(), 1u);
    EXPECT_TRUE(state.piecesSince(3)->empty()) << "up to date";
}

TEST_F(Serve_FramePieces, TheWholeFrameHasThePiecesPaintedOverIt)
{
    state.apply(frameReport(solidJPEG(64, 64, 128, 128, 128)));
    state.apply(frameReport(solidJPEG(16, 16, 255, 0, 0), json { { "x", 16 }, { "y", 32 }, { "width", 16 }, { "height", 16 } }));
    state.apply(frameReport(solidJPEG(32, 16, 0, 0, 255), json { { "x", 0 }, { "y", 0 }, { "width", 32 }, { "height", 16 } }));
    auto whole = state.frame();
    ASSERT_TRUE(whole);
    EXPECT_EQ(whole->number, 3u) << "the newest frame";
    EXPECT_TRUE(near(colourAt(*whole->image, 24, 40), { 255, 0, 0 })) << "the first piece";
    EXPECT_TRUE(near(colourAt(*whole->image, 8, 8), { 0, 0, 255 })) << "the second";
    EXPECT_TRUE(near(colourAt(*whole->image, 48, 48), { 128, 128, 128 })) << "the rest as it was";
    EXPECT_EQ(platform::decodeBase64(*whole->base64)->size(), whole->image->size()) << "the stream's copy is the same frame";
    EXPECT_FALSE(state.piecesSince(1)) << "a page from before it now takes the whole frame";
    EXPECT_TRUE(state.piecesSince(3)->empty());
}

TEST_F(Serve_FramePieces, APieceBeforeAnyWholeFrameOrOutsideItIsDropped)
{
    state.apply(frameReport(solidJPEG(16, 16, 255, 0, 0), json { { "x", 0 }, { "y", 0 }, { "width", 16 }, { "height", 16 } }));
    EXPECT_FALSE(state.frame()) << "nothing to paint it on";

    auto whole = solidJPEG(64, 64, 128, 128, 128);
    auto outside = solidJPEG(16, 16, 255, 0, 0);
    EXPECT_FALSE(composeFrame(std::string(whole.begin(), whole.end()), { { 56, 56, 16, 16, std::make_shared<const std::string>(outside.begin(), outside.end()) } }, 90));
    EXPECT_FALSE(composeFrame(std::string(whole.begin(), whole.end()), { { 0, 0, 16, 16, std::make_shared<const std::string>("not a JPEG") } }, 90));
}

TEST_F(Serve_FramePieces, PiecesKeptAreBounded)
{
    state.apply(frameReport(solidJPEG(64, 64, 128, 128, 128)));
    auto red = solidJPEG(16, 16, 255, 0, 0);
    for (std::size_t i = 0; i <= PhoneState::kPiecesKept; ++i)
        state.apply(frameReport(red, json { { "x", 0 }, { "y", 0 }, { "width", 16 }, { "height", 16 } }));
    EXPECT_FALSE(state.piecesSince(1)) << "painted into a whole frame, the oldest pieces are gone";
    auto newest = state.status()["frame"].get<std::uint64_t>();
    EXPECT_TRUE(state.piecesSince(newest)->empty());
}

} // namespace
} // namespace sim
