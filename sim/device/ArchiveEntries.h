#pragma once
// What a package's archives hold, as the installer looks at them: the members of the
// outer ar archive (debian-binary, control.tar, data.tar) and the entries of a tar. Their
// bytes are ranges of the package file when the archive stores them as they are, else
// views of the decompressed copy kept in `storage`.

#include "ArchiveBytes.h"

#include <ctime>
#include <deque>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

namespace sim {

struct ArchiveMember {
    std::string name; // as the archive gives it ("control.tar.gz")
    ArchiveBytes bytes;
};

struct TarEntry {
    enum class Kind {
        File,
        Folder,
        Other // a link, a device, a FIFO: refused by the installer
    };
    std::string name; // as stored, "./" included
    Kind kind = Kind::Other;
    bool hardLink = false;
    mode_t mode = 0644;
    std::time_t modified = 0;
    ArchiveBytes bytes;
};

struct TarEntries {
    std::vector<TarEntry> entries;
    std::deque<std::string> storage; // the bytes the views point into, when copied
};

} // namespace sim
