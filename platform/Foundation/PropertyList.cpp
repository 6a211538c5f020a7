#include "PropertyList.h"

#include "Platform/RegularFile.h"
#include "Platform/WriteAll.h"

#include "NSArray.h"
#include "NSData.h"
#include "NSDate.h"
#include "NSDictionary.h"
#include "NSNumber.h"
#include "NSString.h"
#include "PropertyListShape.h"

#include <plist/plist.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <limits>
#include <memory>
#include <optional>
#include <random>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using objc::RefPtr;

namespace platform {

namespace {

struct NodeDeleter {
    void operator()(void* node) const { plist_free(node); }
};
using Node = std::unique_ptr<void, NodeDeleter>;

// Nesting deeper than this is a malformed or hostile file, not settings.
constexpr unsigned maximumDepth = 512;

// The library's date accessors squeeze seconds into 32 bits (68 years either side of
// 2001), though it keeps a date as a double inside. A binary list carries that double
// whole, so dates go in and out through one: an eight-byte date object as the top object.
constexpr std::uint8_t binaryDateTemplate[] = {
    'b', 'p', 'l', 'i', 's', 't', '0', '0', 0x33, 0, 0, 0, 0, 0, 0, 0, 0, // the date
    8, // offset table: object 0 at byte 8
    0, 0, 0, 0, 0, 0, 1, 1, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 17, // trailer
};

// 0000-01-01T00:00:00Z and 10000-01-01T00:00:00Z, in seconds from 2001: the years an XML
// date (four digits) can say.
constexpr double earliestDate = -63145526400.0;
constexpr double endOfLatestYear = 252423993600.0;

bool isWritableDate(double interval)
{
    return std::isfinite(interval) && interval >= earliestDate && interval < endOfLatestYear;
}

std::optional<double> dateInterval(plist_t node)
{
    char* bytes = nullptr;
    std::uint32_t length = 0;
    plist_to_bin(node, &bytes, &length);
    std::unique_ptr<char, decltype(&std::free)> owner(bytes, &std::free);
    if (!bytes || length < 17 || static_cast<std::uint8_t>(bytes[8]) != 0x33)
        return std::nullopt;
    std::uint64_t word = 0;
    for (int i = 0; i < 8; ++i)
        word = (word << 8) | static_cast<std::uint8_t>(bytes[9 + i]);
    double interval;
    std::memcpy(&interval, &word, sizeof interval);
    return interval;
}

Node dateNode(double interval)
{
    std::uint8_t bytes[sizeof binaryDateTemplate];
    std::memcpy(bytes, binaryDateTemplate, sizeof bytes);
    std::uint64_t word;
    std::memcpy(&word, &interval, sizeof word);
    for (int i = 0; i < 8; ++i)
        bytes[9 + i] = static_cast<std::uint8_t>(word >> (56 - 8 * i));
    plist_t node = nullptr;
    plist_from_bin(reinterpret_cast<const char*>(bytes), sizeof bytes, &node);
    return Node(node);
}

RefPtr<NSObject> objectFromNode(plist_t node, unsigned depth, std::string* error)
{
    if (depth > maximumDepth) {
        *error = "nested too deeply";
        return nullptr;
    }
    switch (plist_get_node_type(node)) {
    case PLIST_BOOLEAN: {
        std::uint8_t value = 0;
        plist_get_bool_val(node, &value);
        return NSNumber::numberWithBool(value);
    }
    case PLIST_UINT: {
        // libplist keeps every integer as 64 unsigned bits; negative values come back
        // as their two's complement.
        std::uint64_t value = 0;
        plist_get_uint_val(node, &value);
        return NSNumber::numberWithLongLong(static_cast<long long>(value));
    }
    case PLIST_REAL: {
        double value = 0;
        plist_get_real_val(node, &value);
        return NSNumber::numberWithDouble(value);
    }
    case PLIST_STRING:
    case PLIST_KEY: {
        std::uint64_t length = 0;
        const char* text = plist_get_string_ptr(node, &length);
        return NSString::create(std::string(text ? text : "", text ? length : 0));
    }
    case PLIST_DATA: {
        std::uint64_t length = 0;
        const char* bytes = plist_get_data_ptr(node, &length);
        return NSData::dataWithBytes(bytes, bytes ? length : 0);
    }
    case PLIST_DATE: {
        auto interval = dateInterval(node);
        if (!interval || !isWritableDate(*interval)) {
            *error = "a date outside the years 0 to 9999 that property lists hold";
            return nullptr;
        }
        return NSDate::dateWithTimeIntervalSinceReferenceDate(*interval);
    }
    case PLIST_UID: {
        // Only keyed archives hold these; read them as the dictionary plutil shows.
        std::uint64_t value = 0;
        plist_get_uid_val(node, &value);
        auto uid = NSMutableDictionary::create();
        uid->setObject(NSNumber::numberWithLongLong(static_cast<long long>(value)).get(), "CF$UID");
        return uid;
    }
    case PLIST_ARRAY: {
        std::vector<RefPtr<NSObject>> objects;
        std::uint32_t size = plist_array_get_size(node);
        objects.reserve(size);
        for (std::uint32_t i = 0; i < size; ++i) {
            auto object = objectFromNode(plist_array_get_item(node, i), depth + 1, error);
            if (!object)
                return nullptr;
            objects.push_back(std::move(object));
        }
        return NSArray::create(std::move(objects));
    }
    case PLIST_DICT: {
        auto dictionary = NSMutableDictionary::create();
        plist_dict_iter iterator = nullptr;
        plist_dict_new_iter(node, &iterator);
        // Frees the iterator on every way out.
        std::unique_ptr<void, decltype(&std::free)> iteratorOwner(iterator, &std::free);
        while (true) {
            char* key = nullptr;
            plist_t value = nullptr;
            plist_dict_next_item(node, iterator, &key, &value);
            if (!value) {
                std::free(key);
                break;
            }
            std::unique_ptr<char, decltype(&std::free)> keyOwner(key, &std::free);
            auto object = objectFromNode(value, depth + 1, error);
            if (!object)
                return nullptr;
            dictionary->setObject(object.get(), std::string_view(key ? key : ""));
        }
        return NSDictionary::create(dictionary->entries());
    }
    default:
        *error = "holds a value of a kind property lists do not have";
        return nullptr;
    }
}

Node nodeFromObject(const NSObject* object, unsigned depth, std::string* error)
{
    if (depth > maximumDepth) {
        *error = "nested too deeply (a collection that contains itself?)";
        return nullptr;
    }
    auto* mutableObject = const_cast<NSObject*>(object);
    if (auto string = objc_cast<NSString>(mutableObject)) {
        // The library takes C strings: what follows a NUL would be dropped without a word.
        if (string->string().find('\0') != std::string::npos) {
            *error = "a string with a NUL character, which a property list file cannot hold";
            return nullptr;
        }
        return Node(plist_new_string(string->UTF8String()));
    }
    if (auto number = objc_cast<NSNumber>(mutableObject)) {
        if (number->isBoolean())
            return Node(plist_new_bool(number->boolValue()));
        if (number->isFloatingPoint())
            return Node(plist_new_real(number->doubleValue()));
        return Node(plist_new_uint(static_cast<std::uint64_t>(number->longLongValue())));
    }
    if (auto data = objc_cast<NSData>(mutableObject))
        return Node(plist_new_data(reinterpret_cast<const char*>(data->bytes()), data->length()));
    if (auto date = objc_cast<NSDate>(mutableObject)) {
        // XML dates are whole seconds: a fraction (only a binary file has one) is rounded.
        double interval = std::round(date->timeIntervalSinceReferenceDate());
        if (!isWritableDate(interval)) {
            *error = "a date outside the years 0 to 9999 that property lists hold";
            return nullptr;
        }
        Node node = dateNode(interval);
        if (!node)
            *error = "a date the property-list library would not take";
        return node;
    }
    if (auto array = objc_cast<NSArray>(mutableObject)) {
        Node node(plist_new_array());
        for (auto& element : array->objects()) {
            Node child = nodeFromObject(element.get(), depth + 1, error);
            if (!child)
                return nullptr;
            plist_array_append_item(node.get(), child.release());
        }
        return node;
    }
    if (auto dictionary = objc_cast<NSDictionary>(mutableObject)) {
        Node node(plist_new_dict());
        for (auto& [key, value] : dictionary->entries()) {
            auto stringKey = objc_cast<NSString>(key.get());
            if (!stringKey) {
                *error = "a dictionary key that is not a string (" + std::string(class_getName(key->getClass())) + ")";
                return nullptr;
            }
            if (stringKey->string().find('\0') != std::string::npos) {
                *error = "a dictionary key with a NUL character, which a property list file cannot hold";
                return nullptr;
            }
            Node child = nodeFromObject(value.get(), depth + 1, error);
            if (!child)
                return nullptr;
            plist_dict_set_item(node.get(), stringKey->UTF8String(), child.release());
        }
        return node;
    }
    *error = std::string("a value a property list cannot hold (") + (object ? class_getName(object->getClass()) : "nil") + ")";
    return nullptr;
}

std::string temporaryPrefix(const std::string& fileName)
{
    return "." + fileName + ".";
}

// A temporary file of ours: ".<name>." and mkstemp's six characters.
bool isTemporaryFileOf(const std::string& candidate, const std::string& fileName)
{
    std::string prefix = temporaryPrefix(fileName);
    return candidate.size() == prefix.size() + 6 && candidate.compare(0, prefix.size(), prefix) == 0;
}

// Removes temporary files that writers killed mid-write left behind. One whose lock can
// be taken has no writer any more; one still locked belongs to a write in progress.
void removeStaleTemporaryFiles(int folder, const std::string& fileName)
{
    int listing = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* entries = listing >= 0 ? ::fdopendir(listing) : nullptr;
    if (!entries) {
        if (listing >= 0)
            ::close(listing);
        return;
    }
    while (dirent* entry = ::readdir(entries)) {
        std::string name = entry->d_name;
        if (!isTemporaryFileOf(name, fileName))
            continue;
        int descriptor = ::openat(folder, name.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
        if (descriptor < 0)
            continue;
        struct stat opened {}, named {};
        // Still the same file under that name once the lock is ours (not renamed into
        // place meanwhile, nor replaced by another writer's).
        if (::flock(descriptor, LOCK_EX | LOCK_NB) == 0 && ::fstat(descriptor, &opened) == 0 && S_ISREG(opened.st_mode)
            && ::fstatat(folder, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 && named.st_ino == opened.st_ino
            && named.st_dev == opened.st_dev)
            ::unlinkat(folder, name.c_str(), 0);
        ::close(descriptor);
    }
    ::closedir(entries);
}

// A new temporary file beside the target, locked, named as mkstemp would name it. A
// cleaner may remove a file between its making and its locking; then another is made.
int lockedTemporaryFile(int folder, const std::string& fileName, std::string& name)
{
    static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::random_device random;
    for (int attempt = 0; attempt < 64; ++attempt) {
        name = temporaryPrefix(fileName);
        for (int i = 0; i < 6; ++i)
            name += letters[random() % (sizeof letters - 1)];
        int descriptor = ::openat(folder, name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (descriptor < 0 && errno == EEXIST)
            continue;
        if (descriptor < 0)
            return -1;
        struct stat status {};
        if (::flock(descriptor, LOCK_EX) == 0 && ::fstat(descriptor, &status) == 0 && status.st_nlink > 0)
            return descriptor;
        ::close(descriptor);
    }
    errno = EAGAIN;
    return -1;
}

} // namespace

RefPtr<NSObject> propertyListFromData(const std::vector<std::uint8_t>& bytes, std::string* error)
{
    std::string ignored;
    std::string& reason = error ? *error : ignored;
    if (bytes.empty()) {
        reason = "empty file, not a property list";
        return nullptr;
    }
    if (bytes.size() > std::numeric_limits<std::uint32_t>::max()) {
        reason = "too large for a property list";
        return nullptr;
    }
    if (std::string shape = propertyListShapeProblem(bytes.data(), bytes.size(), maximumDepth); !shape.empty()) {
        reason = "corrupt property list: " + shape;
        return nullptr;
    }
    plist_t root = nullptr;
    plist_from_memory(reinterpret_cast<const char*>(bytes.data()), static_cast<std::uint32_t>(bytes.size()), &root);
    Node owner(root);
    if (!root) {
        reason = plist_is_binary(reinterpret_cast<const char*>(bytes.data()), static_cast<std::uint32_t>(bytes.size()))
            ? "corrupt binary property list"
            : "not a property list (malformed XML)";
        return nullptr;
    }
    std::string problem;
    auto object = objectFromNode(root, 0, &problem);
    if (!object)
        reason = "corrupt property list: " + problem;
    return object;
}

PropertyListResult readPropertyList(const std::string& hostPath)
{
    PropertyListResult result;
    // Without blocking: a FIFO in a file's place must not hang whoever reads settings, and
    // a device (a link to /dev/zero) or a folder is no property list, however it reads.
    auto file = readRegularFile(hostPath, kMaximumPropertyListFileSize);
    if (!file.ok()) {
        result.missing = file.outcome == RegularFileRead::Outcome::Missing;
        if (result.missing)
            result.error = "missing";
        else if (file.outcome == RegularFileRead::Outcome::TooLarge)
            result.error = hostPath + ": larger than the " + std::to_string(kMaximumPropertyListFileSize / 1024) + " KiB a property list file may be";
        else
            result.error = hostPath + ": " + file.problem;
        return result;
    }
    const std::vector<std::uint8_t>& bytes = file.bytes;
    std::string reason;
    result.value = propertyListFromData(bytes, &reason);
    if (!result.value)
        result.error = hostPath + ": " + reason;
    return result;
}

std::string xmlPropertyList(const NSObject* value, std::string* error)
{
    std::string ignored;
    std::string& reason = error ? *error : ignored;
    if (!value) {
        reason = "nil is not a property list";
        return {};
    }
    std::string problem;
    Node root = nodeFromObject(value, 0, &problem);
    if (!root) {
        reason = "cannot write " + problem;
        return {};
    }
    char* xml = nullptr;
    std::uint32_t length = 0;
    plist_to_xml(root.get(), &xml, &length);
    if (!xml) {
        reason = "the property-list library could not write XML";
        return {};
    }
    std::string text(xml, length);
    plist_to_xml_free(xml);
    // Written, it could never be read back: every value in it would read as its default.
    if (text.size() > kMaximumPropertyListFileSize) {
        reason = "cannot write " + std::to_string(text.size()) + " bytes: a property list file may be at most "
            + std::to_string(kMaximumPropertyListFileSize / 1024) + " KiB";
        return {};
    }
    return text;
}

bool writePropertyListAtomically(const NSObject* value, const std::string& hostPath, std::string* error)
{
    std::string ignored;
    std::string& reason = error ? *error : ignored;
    std::filesystem::path target(hostPath);
    std::filesystem::path folder = target.parent_path().empty() ? std::filesystem::path(".") : target.parent_path();
    std::error_code folderError;
    std::filesystem::create_directories(folder, folderError);
    int descriptor = folderError ? -1 : ::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) {
        reason = folder.string() + ": " + (folderError ? folderError.message() : std::strerror(errno));
        return false;
    }
    bool written = writePropertyListAtomically(value, descriptor, target.filename().string(), &reason);
    ::close(descriptor);
    return written;
}

bool writePropertyListAtomically(const NSObject* value, int folder, const std::string& fileName, std::string* error)
{
    std::string ignored;
    std::string& reason = error ? *error : ignored;
    std::string xml = xmlPropertyList(value, &reason);
    if (xml.empty())
        return false;

    // The temporary file sits beside the target so the rename stays within one file
    // system, which is what makes it atomic. It is locked while it is written, so a
    // writer that finds one unlocked knows its writer died and removes it. Every name is
    // taken in the folder as opened, never by a path resolved again.
    removeStaleTemporaryFiles(folder, fileName);
    std::string temporary;
    int descriptor = lockedTemporaryFile(folder, fileName, temporary);
    if (descriptor < 0) {
        reason = temporary + ": " + std::strerror(errno);
        return false;
    }
    auto fail = [&](const std::string& what) {
        reason = what + ": " + std::strerror(errno);
        ::close(descriptor);
        ::unlinkat(folder, temporary.c_str(), 0);
        return false;
    };
    // The temporary file is made private; preference files are readable by the device's
    // other processes (the Settings app reads what SpringBoard's store wrote).
    if (::fchmod(descriptor, 0644) < 0)
        return fail(temporary);
    if (!platform::writeAll(descriptor, xml) || ::fsync(descriptor) < 0)
        return fail(temporary);
    // Renamed while still locked, so no cleaner takes it for a dead writer's.
    if (::renameat(folder, temporary.c_str(), folder, fileName.c_str()) < 0)
        return fail(fileName);
    ::close(descriptor);
    // Make the rename itself durable.
    int folderDescriptor = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderDescriptor >= 0) {
        ::fsync(folderDescriptor);
        ::close(folderDescriptor);
    }
    return true;
}

} // namespace platform
