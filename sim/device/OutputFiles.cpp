#include "OutputFiles.h"

#include "Platform/BeneathFolder.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace sim {

namespace {

fs::path& confinedFolder()
{
    static auto* folder = new fs::path;
    return *folder;
}

// `path` relative to the confined folder, when it lies in it by its words.
std::optional<std::string> insideConfinedFolder(const std::string& hostPath)
{
    const fs::path& folder = confinedFolder();
    if (folder.empty())
        return std::nullopt;
    fs::path relative = fs::absolute(hostPath).lexically_normal().lexically_relative(folder);
    if (relative.empty() || *relative.begin() == "..")
        return std::nullopt;
    return relative.string();
}

} // namespace

void confineOutputFilesTo(fs::path folder)
{
    confinedFolder() = folder.empty() ? fs::path() : fs::absolute(folder).lexically_normal();
}

std::FILE* openOutputFile(const std::string& hostPath, std::string* error)
{
    int descriptor = -1;
    if (auto relative = insideConfinedFolder(hostPath)) {
        platform::BeneathFolder folder(confinedFolder().string());
        bool ledOut = false;
        descriptor = folder.openRegularForWriting(*relative, error, &ledOut);
        if (descriptor < 0 && ledOut && error)
            *error = hostPath + " leads outside the output folder (through a link)";
    } else {
        std::error_code ignored;
        fs::path target(hostPath);
        if (target.has_parent_path())
            fs::create_directories(target.parent_path(), ignored);
        descriptor = platform::openRegularFileForWriting(hostPath, error);
    }
    if (descriptor < 0)
        return nullptr;
    std::FILE* file = ::fdopen(descriptor, "wb");
    if (!file) {
        if (error)
            *error = std::strerror(errno);
        ::close(descriptor);
    }
    return file;
}

bool writeOutputFile(const std::string& hostPath, const std::string& contents, std::string* error)
{
    std::FILE* file = openOutputFile(hostPath, error);
    if (!file)
        return false;
    bool written = std::fwrite(contents.data(), 1, contents.size(), file) == contents.size();
    if (std::fclose(file) != 0 || !written) {
        if (error)
            *error = std::strerror(errno);
        return false;
    }
    return true;
}

} // namespace sim
