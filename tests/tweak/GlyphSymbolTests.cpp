// The glyphs the tweak shows are system symbols the platform has: a symbol name the
// platform does not know gives no image on a phone, and the glyph would be empty.

#include "support/InSpringBoard.h"
#include "support/PlayerAccess.h"

#include "SpringBoard/SBDeviceApplicationSceneViewController.h"
#include "UIKit/UIImageSymbolConfiguration.h"
#include "UIKit/UISymbolCatalogue.h"

using namespace testing_support;

namespace {

// The row's glyphs: previous, next, play/pause (after the backdrop).
void expectCataloguedGlyphs(UIView* row)
{
    ASSERT_TRUE(row);
    ASSERT_EQ(row->subviews().size(), 4u);
    for (std::size_t i = 1; i < 4; ++i) {
        auto glyph = static_cast<UIImageView*>(row->subviews()[i].get());
        ASSERT_TRUE(glyph->image()) << "glyph " << i << " has no image";
        EXPECT_TRUE(UISymbolCatalogueLookup(glyph->image()->symbolName())) << glyph->image()->symbolName();
    }
}

} // namespace

TEST(Tweak_Glyphs, BothPlayersShowSymbolsFromTheCatalogueWhetherPlayingOrNot)
{
    TemporaryDevice device;
    inSpringBoard(device, [](sim::SpringBoardSession& session) {
        SpringBoard& springBoard = session.springBoard();
        springBoard.boot();
        springBoard.unlock();
        auto app = springBoard.openApp("com.example.notes");
        session.runFor(0.2);
        // Both players catch up with the playing state when they are built.
        EXPECT_EQ(symbolOf(playerView(lockScreenHost(springBoard), "pauseicon")), "pause.fill");
        EXPECT_EQ(symbolOf(playerView(app, "pauseicon")), "pause.fill");
        expectCataloguedGlyphs(playerView(lockScreenHost(springBoard), "subView"));
        expectCataloguedGlyphs(playerView(app, "subView"));
    }, playingTrack(200, sim::SpringBoardProcess::kDefaultStartTime));
}

TEST(Tweak_Glyphs, AMisspeltSymbolLeavesTheTweaksImageViewEmpty)
{
    TemporaryDevice device;
    inSpringBoard(device, [](sim::SpringBoardSession& session) {
        session.springBoard().boot();
        auto glyph = playerView<UIImageView>(lockScreenHost(session.springBoard()), "pauseicon");
        ASSERT_TRUE(glyph && glyph->image());
        // What the tweak's glyph refresh would show with one letter missing: nothing.
        glyph->setImage(UIImage::systemImageNamed("pause.fil", UIImageSymbolConfiguration::configurationWithPointSize(13).get()).get());
        EXPECT_FALSE(glyph->image());
        EXPECT_EQ(symbolOf(glyph), "");
    });
}
