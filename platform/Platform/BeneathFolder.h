#pragma once
// Opening files beneath a folder, with the folder's boundary kept by the kernel: a path
// given as relative to a folder (a device path under the device root, a file in an output
// folder) may not lead out of it by "..", an absolute link, a link that climbs out, or a
// /proc magic link, however the folder's contents were laid out before or change during
// the call. Checking a path and then opening it would leave a window for a link to appear
// in between; here each step is resolved relative to an open folder.
//
// openat2 with RESOLVE_BENEATH does the resolution where the kernel has it (Linux 5.6);
// elsewhere every component is opened with O_NOFOLLOW, so no link is followed at all.

#include <string>
#include <sys/types.h>

namespace platform {

class BeneathFolder {
public:
    // Opens `folder` (a host path, links in it followed: it is trusted); false from valid()
    // when it cannot be opened, with errno set.
    explicit BeneathFolder(const std::string& folder);
    ~BeneathFolder();
    BeneathFolder(const BeneathFolder&) = delete;
    BeneathFolder& operator=(const BeneathFolder&) = delete;

    bool valid() const { return m_descriptor >= 0; }
    int descriptor() const { return m_descriptor; }

    // Opens `relativePath` beneath the folder with open(2)'s `flags` and `mode`, making
    // its missing parent folders (beneath it too) when `makeParents`. -1 with errno when
    // it cannot: EXDEV when the path leads out of the folder (ELOOP in the fallback,
    // where any link does).
    int open(const std::string& relativePath, int flags, mode_t mode = 0644, bool makeParents = false) const;
    // The folder at `relativePath` beneath this one, made (with its parents) when missing,
    // as a descriptor to use with the *at calls; -1 with errno when it cannot.
    int openFolder(const std::string& relativePath, bool make) const;

    // Opens the regular file at `relativePath` for writing, made or emptied, parent folders
    // made; -1 with `error` when it cannot (see writeFile).
    int openRegularForWriting(const std::string& relativePath, std::string* error, bool* ledOut = nullptr) const;
    // Writes `contents` to the regular file at `relativePath` (made, or emptied first),
    // making parent folders; false with `error` saying why: a path leading out, or
    // something other than a regular file there (a FIFO, a device, a folder). `ledOut`, when
    // given, is set for the first.
    bool writeFile(const std::string& relativePath, const std::string& contents, std::string* error, bool* ledOut = nullptr) const;

private:
    int m_descriptor = -1;
};

// Opens the regular file at `hostPath` (links followed: the path is trusted) for writing,
// made or emptied; -1 with `error` when it cannot, or when something other than a regular
// file is there (a FIFO would block the writer until someone read it).
int openRegularFileForWriting(const std::string& hostPath, std::string* error);

// Whether a failed open (errno) was refused for leading out of the folder.
bool ledOutOfFolder(int error);

} // namespace platform
