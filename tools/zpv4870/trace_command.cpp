// trace view: a trace file rendered to a static HTML page with the trace stylesheet (xsltproc).
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "commands.h"
#include "output.h"

extern char** environ;

namespace zpv::cli {

namespace {

bool Exists(const std::string& path) {
    struct stat s {};
    return ::stat(path.c_str(), &s) == 0;
}

// ZPV4870_TRACE_XSLT, the IVI root's copy, the installed one, then the source tree's.
std::string Stylesheet() {
    if (const char* chosen = std::getenv("ZPV4870_TRACE_XSLT")) return chosen;
    std::vector<std::string> candidates;
    if (const char* root = std::getenv("ZPV4870_IVI_ROOT"))
        candidates.push_back(std::string(root) + "/Components/Kaltrix/trace.xslt");
    candidates.push_back(ZPV4870_INSTALLED_XSLT);
    candidates.push_back(ZPV4870_SOURCE_XSLT);
    for (const std::string& path : candidates)
        if (Exists(path)) return path;
    throw Failure("the trace stylesheet trace.xslt was not found (set ZPV4870_TRACE_XSLT)");
}

}  // namespace

int ViewTrace(const Common& common, const std::string& tracePath, std::string htmlPath) {
    if (!Exists(tracePath)) throw UsageError("no trace file " + tracePath);
    if (htmlPath.empty()) htmlPath = tracePath + ".html";
    const std::string stylesheet = Stylesheet();
    std::vector<std::string> words = {"xsltproc", "--nonet", "--output", htmlPath, stylesheet, tracePath};
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawnp(&pid, "xsltproc", nullptr, nullptr, argv.data(), environ) != 0)
        throw Failure("xsltproc could not be started (Debian package xsltproc)");
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) throw Failure("xsltproc could not render " + tracePath);
    if (common.json) std::printf("%s\n", JsonObject({{"html", JsonString(htmlPath)}}).c_str());
    else std::printf("%s\n", htmlPath.c_str());
    return 0;
}

}  // namespace zpv::cli
