#include "DemoPictures.h"

#include "sim/lumetrix-sim/scenario/Tokenizer.h"
#include "sim/render/Pictures.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace sim {

std::vector<DemoPicture> demoPictures(const std::vector<nlohmann::json>& transcript, const std::string& directory)
{
    std::vector<DemoPicture> pictures;
    for (auto& entry : transcript) {
        if (entry.value("type", "") != "step")
            continue;
        std::vector<scenario::Token> tokens;
        try {
            tokens = scenario::tokenizeLine(entry.value("text", std::string()));
        } catch (const std::exception&) {
            continue;
        }
        // `settings snapshot` pictures the Settings app the same way: skip the first word.
        std::size_t command = 0;
        if (tokens.size() > 1 && !tokens[0].quoted && tokens[0].text == "settings")
            command = 1;
        if (tokens.size() < command + 2 || tokens[command].quoted || tokens[command].text != "snapshot")
            continue;
        const std::string& name = tokens[command + 1].text;
        fs::path file(name);
        if (file.is_relative())
            file = fs::path(directory) / file;
        // A quoted last word after the file is the caption.
        std::string caption = tokens.size() > command + 2 && tokens.back().quoted ? tokens.back().text : fs::path(name).stem().string();
        pictures.push_back({ file.string(), caption });
    }
    return pictures;
}

int contactSheetThumbnailWidth()
{
    return render::pictures().contactSheetThumbnailWidth();
}

bool writeContactSheet(const std::vector<DemoPicture>& pictures, const std::string& path,
    const std::map<std::string, nlohmann::json>& thumbnails)
{
    if (pictures.empty())
        return false;
    std::vector<render::ContactSheetPicture> entries;
    for (auto& picture : pictures) {
        auto kept = thumbnails.find(picture.path);
        entries.push_back({ picture.path, picture.caption, kept == thumbnails.end() ? nullptr : &kept->second });
    }
    return render::pictures().writeContactSheet("Lumetrix demo", entries, path);
}

} // namespace sim
