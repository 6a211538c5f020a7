#include "UISymbolCatalogue.h"

const std::vector<UISymbolCatalogueEntry>& UISymbolCatalogue()
{
    static const auto* catalogue = new std::vector<UISymbolCatalogueEntry> {
        { "play.fill", 1, 1 },
        { "pause.fill", 1, 1 },
        { "forward.fill", 1, 1 },
        { "backward.fill", 1, 1 },
        { "arrow.2.circlepath", 1, 1 },
    };
    return *catalogue;
}

const UISymbolCatalogueEntry* UISymbolCatalogueLookup(const std::string& name)
{
    for (const auto& entry : UISymbolCatalogue()) {
        if (name == entry.name)
            return &entry;
    }
    return nullptr;
}
