// System symbol images: only names in the platform's catalogue give one, silently
// otherwise, as on a phone.

#include "UIKitTestSupport.h"

#include "UIKit/UIImage.h"
#include "UIKit/UIImageSymbolConfiguration.h"
#include "UIKit/UISymbolCatalogue.h"

using namespace uikit_test;

class UIKit_SystemSymbols : public UIKitTest { };

TEST_F(UIKit_SystemSymbols, ANameOutsideTheCatalogueGivesNilAndLogsNothing)
{
    LogCapture log;
    auto configuration = UIImageSymbolConfiguration::configurationWithPointSize(13);
    for (const char* name : { "forward.fil", "Forward.fill", "play.fill ", "pause", "no.such.symbol", "" }) {
        EXPECT_FALSE(UIImage::systemImageNamed(name, configuration.get())) << "'" << name << "'";
        EXPECT_FALSE(UIImage::systemImageNamed(name)) << "'" << name << "'";
    }
    EXPECT_TRUE(log.lines().empty());
}

TEST_F(UIKit_SystemSymbols, EveryCataloguedNameGivesAnImageSizedByItsPointSize)
{
    ASSERT_FALSE(UISymbolCatalogue().empty());
    for (const auto& entry : UISymbolCatalogue()) {
        SCOPED_TRACE(entry.name);
        auto image = UIImage::systemImageNamed(entry.name, UIImageSymbolConfiguration::configurationWithPointSize(13).get());
        ASSERT_TRUE(image);
        EXPECT_TRUE(image->isSymbolImage());
        EXPECT_EQ(image->symbolName(), entry.name);
        EXPECT_DOUBLE_EQ(image->size().width, entry.widthInEms * 13);
        EXPECT_DOUBLE_EQ(image->size().height, entry.heightInEms * 13);
        // 17 points without a configuration.
        EXPECT_DOUBLE_EQ(UIImage::systemImageNamed(entry.name)->size().height, entry.heightInEms * 17);
    }
    EXPECT_TRUE(UISymbolCatalogueLookup("forward.fill"));
    EXPECT_FALSE(UISymbolCatalogueLookup("forward.fil"));
}
