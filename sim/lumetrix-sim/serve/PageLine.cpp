#include "PageLine.h"

#include "sim/lumetrix-sim/scenario/ScenarioParser.h"
#include "sim/lumetrix-sim/scenario/Tokenizer.h"

#include <cstdio>

namespace fs = std::filesystem;

namespace sim {

bool staysInsideFolder(const std::string& relativePath)
{
    fs::path path(relativePath);
    if (relativePath.empty() || path.is_absolute() || path.has_root_name() || path.has_root_directory())
        return false;
    for (auto& part : path) {
        if (part == "..")
            return false;
    }
    return true;
}

namespace {

// The host file a line names, if it names one: dump and picture files, artwork.
const scenario::Token* hostFileToken(const std::vector<scenario::Token>& words)
{
    const std::string& name = words[0].text;
    if ((name == "dump" && words.size() >= 3) || (name == "snapshot" && words.size() >= 2))
        return &words[name == "dump" ? 2 : 1];
    if (name == "settings" && words.size() >= 3 && words[1].text == "snapshot")
        return &words[2];
    if (name == "track" && words.size() >= 6 && !(words[5].text == "none" && !words[5].quoted))
        return &words[5];
    return nullptr;
}

void checkFiles(const std::vector<scenario::Token>& words)
{
    if (auto* file = hostFileToken(words); file && !staysInsideFolder(file->text))
        throw PageLineRefused("expected a file inside the session's output folder (a relative path without ..), got " + file->source);
    // A device path lies under the device root only while it never climbs out of it.
    if (words[0].text == "file" && words.size() >= 2) {
        for (auto& part : fs::path(words[1].text)) {
            if (part == "..")
                throw PageLineRefused("expected a device path without .., got " + words[1].source);
        }
    }
}

} // namespace

scenario::Command readPageLine(const std::string& line, const fs::path& outputFolder, int number)
{
    if (line.size() > kMaximumPageLine)
        throw PageLineRefused("expected one line of at most " + std::to_string(kMaximumPageLine) + " bytes");
    if (line.find_first_of("\r\n") != std::string::npos)
        throw PageLineRefused("expected one line, got several");
    // A NUL would end the line for the tokenizer and drop what follows without a word.
    for (std::size_t i = 0; i < line.size(); ++i) {
        auto byte = static_cast<unsigned char>(line[i]);
        if ((byte < 0x20 && byte != '\t') || byte == 0x7F) {
            char code[8];
            std::snprintf(code, sizeof(code), "0x%02X", byte);
            throw PageLineRefused("expected text, got the control character " + std::string(code) + " at byte " + std::to_string(i + 1));
        }
    }
    std::vector<scenario::Token> words;
    try {
        words = scenario::tokenizeLine(line);
    } catch (const scenario::TokenizeError& error) {
        throw PageLineRefused(error.what());
    }
    if (words.empty())
        throw PageLineRefused("expected a command, got an empty line");
    checkFiles(words);

    scenario::ParseOptions options;
    options.dumpDirectory = outputFolder;
    scenario::Scenario parsed;
    try {
        // After `boot`, so the parser's order rules see the phone as it is: on.
        parsed = scenario::parseScenarioText("boot\n" + line, "page", outputFolder, options);
    } catch (const scenario::ScenarioError& error) {
        std::string message = error.what();
        std::string prefix = error.where().prefix();
        throw PageLineRefused(message.rfind(prefix, 0) == 0 ? message.substr(prefix.size()) : message);
    }
    if (parsed.commands.size() != 2)
        throw PageLineRefused("expected a command");
    scenario::Command command = std::move(parsed.commands.back());
    command.where = { "page", number };
    return command;
}

} // namespace sim
