#include "trace/trace_file_name.h"

#include "platform/registry/registry.h"

#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

namespace zpv::trace {

namespace {

bool EndsWithNoCase(const std::string& text, const char* suffix) {
    const std::size_t n = std::char_traits<char>::length(suffix);
    return text.size() >= n && strcasecmp(text.c_str() + text.size() - n, suffix) == 0;
}

std::string CurrentDirectory() {
    char buffer[4096];
    return getcwd(buffer, sizeof buffer) ? buffer : ".";
}

std::string InCurrentDirectory(const std::string& name) {
    return !name.empty() && name.front() == '/' ? name : CurrentDirectory() + "/" + name;
}

bool IsDirectory(const std::string& path) {
    struct stat s {};
    return ::stat(path.c_str(), &s) == 0 && S_ISDIR(s.st_mode);
}

bool IsFile(const std::string& path) {
    struct stat s {};
    return ::stat(path.c_str(), &s) == 0 && S_ISREG(s.st_mode);
}

}  // namespace

std::string TraceFilePath(const std::string& traceName, const std::string& identifier, std::time_t now) {
    if (traceName.empty()) {
        std::tm local{};
        localtime_r(&now, &local);
        char stamp[32];
        std::strftime(stamp, sizeof stamp, "%Y-%m-%d_%H-%M-%S", &local);
        return InCurrentDirectory(identifier + "_" + stamp + ".xml");
    }
    return InCurrentDirectory(EndsWithNoCase(traceName, ".xml") ? traceName : traceName + ".xml");
}

std::string StylesheetPath(const std::string& transform) {
    std::string name = transform.empty() ? "trace.xslt" : transform;
    if (!EndsWithNoCase(name, ".xslt")) name += ".xslt";
    std::string path = name;
    if (name.find('/') == std::string::npos) {
        // ZPV4870_IVI_ROOT for a session of its own, else the registry's IVI root directory.
        const char* chosen = std::getenv("ZPV4870_IVI_ROOT");
        const std::string root = chosen && *chosen ? chosen : registry::IviStandardRootDir();
        if (root.empty()) return {};
        const std::string components = root + "/Components/";
        const std::string folder =
            IsDirectory(components + "Kaltrix") ? components + "Kaltrix" : components + "Veridane Tools";
        path = folder + "/" + name;
    }
    return IsFile(path) ? InCurrentDirectory(path) : std::string();
}

}  // namespace zpv::trace
