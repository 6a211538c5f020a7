#include "NSBundle.h"

#include "Platform/Platform.h"
#include "PropertyList.h"

#include <dlfcn.h>
#include <filesystem>
#include <map>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Every bundle asked for, by device path. Bundles live as long as the process, as on iOS.
std::map<std::string, objc::RefPtr<NSBundle>>& bundles()
{
    static auto* bundles = new std::map<std::string, objc::RefPtr<NSBundle>>;
    return *bundles;
}

std::string canonical(const std::string& hostPath)
{
    std::error_code error;
    fs::path path = fs::weakly_canonical(hostPath, error);
    return error ? hostPath : path.string();
}

} // namespace

NSBundle* NSBundle::bundleWithPath(const NSString* devicePath)
{
    return devicePath ? bundleWithPath(devicePath->string()) : nullptr;
}

NSBundle* NSBundle::bundleWithPath(const std::string& devicePath)
{
    std::string path = devicePath;
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    auto& known = bundles();
    if (auto it = known.find(path); it != known.end())
        return it->second.get();
    if (!fs::is_directory(platform::devicePath(path)))
        return nullptr;
    auto bundle = NSBundle::alloc();
    bundle->m_path = path;
    auto info = platform::readPropertyList(platform::devicePath(path + "/Info.plist"));
    auto dictionary = objc_cast<NSDictionary>(info.value.get());
    bundle->m_info = dictionary ? dictionary : NSDictionary::create({}).get();
    known[path] = bundle;
    return bundle.get();
}

NSBundle* NSBundle::bundleForClass(Class cls)
{
    for (; cls; cls = class_getSuperclass(cls)) {
        auto methods = class_copyMethodList(cls);
        if (methods.empty())
            continue;
        Dl_info image {};
        if (!dladdr(reinterpret_cast<void*>(method_getImplementation(methods.front())), &image) || !image.dli_fname)
            return nullptr;
        std::string file = canonical(image.dli_fname);
        for (auto& [path, bundle] : bundles()) {
            if (bundle->isLoaded() && bundle->m_executable == file)
                return bundle.get();
        }
        return nullptr;
    }
    return nullptr;
}

NSString* NSBundle::bundleIdentifier() const
{
    return objc_cast<NSString>(m_info->objectForKey("CFBundleIdentifier"));
}

objc::RefPtr<NSString> NSBundle::pathForResource(const NSString* name, const NSString* type) const
{
    if (!name)
        return nullptr;
    return pathForResource(name->string(), type ? type->string() : std::string());
}

objc::RefPtr<NSString> NSBundle::pathForResource(const std::string& name, const std::string& type) const
{
    std::string devicePath = m_path + "/" + name + (type.empty() ? "" : "." + type);
    if (!fs::is_regular_file(platform::devicePath(devicePath)))
        return nullptr;
    return NSString::create(devicePath);
}

std::string NSBundle::executableHostPath() const
{
    std::vector<std::string> candidates;
    if (auto named = objc_cast<NSString>(m_info->objectForKey("CFBundleExecutable")))
        candidates.push_back(named->string());
    std::string stem = fs::path(m_path).stem().string();
    candidates.push_back(stem);
    candidates.push_back(stem + ".so");
    for (auto& candidate : candidates) {
        std::string hostPath = platform::devicePath(m_path + "/" + candidate);
        if (fs::is_regular_file(hostPath))
            return hostPath;
    }
    return {};
}

bool NSBundle::load()
{
    if (m_handle)
        return true;
    std::string hostPath = executableHostPath();
    if (hostPath.empty()) {
        m_loadError = m_path + ": the bundle has no executable";
        return false;
    }
    // RTLD_GLOBAL, as dyld makes an image's symbols visible to images loaded after it.
    m_handle = dlopen(hostPath.c_str(), RTLD_NOW | RTLD_GLOBAL);
    if (!m_handle) {
        const char* reason = dlerror();
        m_loadError = m_path + ": cannot load the executable (" + (reason ? reason : "unknown error") + ")";
        return false;
    }
    m_executable = canonical(hostPath);
    m_loadError.clear();
    return true;
}

Class NSBundle::principalClass()
{
    auto name = objc_cast<NSString>(m_info->objectForKey("NSPrincipalClass"));
    if (!name || !load())
        return nullptr;
    return objc_getClass(name->UTF8String());
}

std::string NSBundle::descriptionString() const
{
    return "NSBundle <" + m_path + ">" + (m_handle ? " (loaded)" : " (not yet loaded)");
}

void NSBundle::registerRuntimeClass()
{
    if (objc_getClass("NSBundle"))
        return;
    Class cls = objc::defineClass<NSBundle>("NSBundle", NSObject::staticClass());
    objc::addMethod(cls, "bundlePath", +[](NSBundle* self, SEL) -> id {
        return objc_autorelease(NSString::create(self->bundlePath()).leakRef());
    });
}
