#include "PropertyList.h"

#include "NSArray.h"
#include "NSData.h"
#include "NSDate.h"
#include "NSDictionary.h"
#include "NSNumber.h"
#include "NSString.h"

#include <plist/plist.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <limits>
#include <memory>
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
        std::int32_t seconds = 0;
        std::int32_t microseconds = 0;
        plist_get_date_val(node, &seconds, &microseconds);
        return NSDate::dateWithTimeIntervalSinceReferenceDate(seconds + microseconds / 1e6);
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
    if (auto string = objc_cast<NSString>(mutableObject))
        return Node(plist_new_string(string->UTF8String()));
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
        double interval = date->timeIntervalSinceReferenceDate();
        if (!std::isfinite(interval) || std::fabs(interval) >= std::numeric_limits<std::int32_t>::max()) {
            *error = "a date outside the range a property list can hold";
            return nullptr;
        }
        double seconds = std::floor(interval);
        return Node(plist_new_date(static_cast<std::int32_t>(seconds), static_cast<std::int32_t>(std::lround((interval - seconds) * 1e6))));
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

bool writeAll(int descriptor, const std::string& text)
{
    std::size_t written = 0;
    while (written < text.size()) {
        ssize_t count = ::write(descriptor, text.data() + written, text.size() - written);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return false;
        written += static_cast<std::size_t>(count);
    }
    return true;
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
    int descriptor = ::open(hostPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) {
        result.missing = errno == ENOENT || errno == ENOTDIR;
        result.error = result.missing ? "missing" : hostPath + ": " + std::strerror(errno);
        return result;
    }
    std::vector<std::uint8_t> bytes;
    std::uint8_t buffer[16384];
    while (true) {
        ssize_t count = ::read(descriptor, buffer, sizeof(buffer));
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0) {
            result.error = hostPath + ": " + std::strerror(errno);
            ::close(descriptor);
            return result;
        }
        if (!count)
            break;
        bytes.insert(bytes.end(), buffer, buffer + count);
    }
    ::close(descriptor);
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
    return text;
}

bool writePropertyListAtomically(const NSObject* value, const std::string& hostPath, std::string* error)
{
    std::string ignored;
    std::string& reason = error ? *error : ignored;
    std::string xml = xmlPropertyList(value, &reason);
    if (xml.empty())
        return false;

    std::filesystem::path target(hostPath);
    std::filesystem::path folder = target.parent_path().empty() ? std::filesystem::path(".") : target.parent_path();
    std::error_code folderError;
    std::filesystem::create_directories(folder, folderError);
    if (folderError) {
        reason = folder.string() + ": " + folderError.message();
        return false;
    }

    // The temporary file sits beside the target so the rename stays within one file
    // system, which is what makes it atomic.
    std::string temporary = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
    int descriptor = ::mkstemp(temporary.data());
    if (descriptor < 0) {
        reason = temporary + ": " + std::strerror(errno);
        return false;
    }
    auto fail = [&](const std::string& what) {
        reason = what + ": " + std::strerror(errno);
        ::close(descriptor);
        ::unlink(temporary.c_str());
        return false;
    };
    // mkstemp makes the file private; preference files are readable by the device's
    // other processes (the Settings app reads what SpringBoard's store wrote).
    if (::fchmod(descriptor, 0644) < 0)
        return fail(temporary);
    if (!writeAll(descriptor, xml) || ::fsync(descriptor) < 0)
        return fail(temporary);
    if (::close(descriptor) < 0) {
        reason = temporary + ": " + std::strerror(errno);
        ::unlink(temporary.c_str());
        return false;
    }
    if (::rename(temporary.c_str(), hostPath.c_str()) < 0) {
        reason = hostPath + ": " + std::strerror(errno);
        ::unlink(temporary.c_str());
        return false;
    }
    // Make the rename itself durable.
    int folderDescriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderDescriptor >= 0) {
        ::fsync(folderDescriptor);
        ::close(folderDescriptor);
    }
    return true;
}

} // namespace platform
