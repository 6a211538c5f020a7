#pragma once
// Property lists on disk: XML and binary files read into Foundation objects, Foundation
// objects written back as XML. Strings, numbers (booleans, integers, reals), data, dates,
// arrays and dictionaries with string keys are the types a property list can hold.

#include "NSObject.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

struct PropertyListResult {
    objc::RefPtr<NSObject> value;
    // Why value is nil: "missing" when there is no file, otherwise what was wrong.
    std::string error;
    bool missing = false;
};

// A property-list file larger than this is refused unread: settings and bundle lists are
// a few kilobytes, and a file that size takes the library seconds.
inline constexpr std::size_t kMaximumPropertyListFileSize = 1024 * 1024;

// `hostPath` is a path on this machine (resolve device paths with devicePath() first).
// Only a regular file of at most kMaximumPropertyListFileSize is read; it is opened
// without blocking, so a FIFO or a device in its place is refused at once.
PropertyListResult readPropertyList(const std::string& hostPath);

// Writes XML to a temporary file beside the target, flushes it to disk and renames it
// over the target, so a reader sees the old file or the new one, never a part. Parent
// folders are made as needed. A value a property list cannot hold writes nothing.
bool writePropertyListAtomically(const NSObject* value, const std::string& hostPath, std::string* error);
// The same as `fileName` in an open folder (a descriptor, O_PATH will do): the temporary
// file, the cleaning and the rename all happen in that folder, wherever links lead.
bool writePropertyListAtomically(const NSObject* value, int folder, const std::string& fileName, std::string* error);

// XML or binary property-list bytes to objects; nil, with the reason, when they are not one.
objc::RefPtr<NSObject> propertyListFromData(const std::vector<std::uint8_t>&, std::string* error);

// The XML text of `value`; empty, with the reason, when a property list cannot hold it.
std::string xmlPropertyList(const NSObject* value, std::string* error);

} // namespace platform
