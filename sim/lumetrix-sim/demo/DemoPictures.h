#pragma once
// The demo's pictures: every `snapshot` and `settings snapshot` step of the run, in
// order, gathered onto one contact sheet with its caption (the step's quoted caption,
// else the file's name).

#include <nlohmann/json.hpp>

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace sim {

struct DemoPicture {
    std::string path;
    std::string caption;
};

// The pictures the transcript's snapshot steps wrote; relative files lie in `directory`.
std::vector<DemoPicture> demoPictures(const std::vector<nlohmann::json>& transcript, const std::string& directory);

// The width the contact sheet reduces every picture to, in pixels.
int contactSheetThumbnailWidth();

// Writes the contact sheet of `pictures` to `path`, from the reduced pictures the run kept
// in memory (by path; contactSheetThumbnailWidth wide, as sim/render/Thumbnail.h writes them) where it has them, else from the
// files. False when there is nothing to show or the file cannot be written.
bool writeContactSheet(const std::vector<DemoPicture>& pictures, const std::string& path,
    const std::map<std::string, nlohmann::json>& thumbnails = {});

} // namespace sim
