// The tweak and the pane export their C names, the runtime's one-per-process identities and
// the send-site records, and none of their own C++: each of those would be looked up
// across the process when the library loads (and could bind to another library's copy).

#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

namespace {

// The defined dynamic symbols of `library`, demangled, as `nm -DC --defined-only` lists them.
std::vector<std::string> exportedSymbols(const std::string& library)
{
    std::vector<std::string> symbols;
    FILE* pipe = popen(("nm -DC --defined-only '" + library + "' 2>/dev/null").c_str(), "r");
    if (!pipe)
        return symbols;
    char line[4096];
    while (std::fgets(line, sizeof line, pipe)) {
        std::string text(line);
        if (!text.empty() && text.back() == '\n')
            text.pop_back();
        // "ADDRESS TYPE NAME"
        std::size_t name = text.find(' ', text.find(' ') + 1);
        if (name != std::string::npos)
            symbols.push_back(text.substr(name + 1));
    }
    pclose(pipe);
    return symbols;
}

bool isRuntimeIdentityOrRecord(const std::string& symbol)
{
    return symbol.rfind("objc::sendSignature<", 0) == 0 || symbol.rfind("objc::SendSiteRecord<", 0) == 0
        || (symbol.rfind("objc::Block<", 0) == 0 && symbol.find(">::s_signature") != std::string::npos);
}

void expectOnlyItsSurface(const std::string& library)
{
    std::vector<std::string> symbols = exportedSymbols(library);
    ASSERT_FALSE(symbols.empty()) << "nm listed nothing for " << library;
    for (const std::string& symbol : symbols) {
        bool cName = symbol.find("::") == std::string::npos && symbol.find('(') == std::string::npos;
        EXPECT_TRUE(cName || isRuntimeIdentityOrRecord(symbol)) << library << " exports " << symbol;
    }
}

TEST(Startup_ExportedSymbols, TheTweakExportsItsVariablesAndTheRuntimesIdentitiesOnly)
{
    expectOnlyItsSurface(LUMETRIX_TWEAK_LIBRARY);
    std::set<std::string> exported;
    for (const std::string& symbol : exportedSymbols(LUMETRIX_TWEAK_LIBRARY))
        exported.insert(symbol);
    // What hosts read by name: the settings table, a setting, a layout constant, the frame.
    for (const char* name : { "lumetrixSettings", "enable", "barwidth", "bottomConstant", "HomeFrame", "rootwindow", "pfs" })
        EXPECT_TRUE(exported.count(name)) << name << " is not exported";
    // A send the tweak makes with a signature the platform also sends with is one
    // identity in the process, not one per library.
    bool anySignature = false;
    for (const std::string& symbol : exported)
        anySignature |= symbol.rfind("objc::sendSignature<", 0) == 0;
    EXPECT_TRUE(anySignature);
}

TEST(Startup_ExportedSymbols, ThePaneExportsNoCxxOfItsOwn)
{
    expectOnlyItsSurface(LUMETRIX_PANE_LIBRARY);
}

} // namespace
