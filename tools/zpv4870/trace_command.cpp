// trace view: a trace file rendered to a static HTML page with the trace stylesheet (xsltproc).
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
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


// A trace whose program ended without closing it (killed, crashed) holds every record it finished:
// the text up to the last whole record and the closing tag make it a document again. Empty when
// the trace is complete.
std::string CompletedTrace(const std::string& text, std::size_t& records) {
    const std::string closing = "</TraceRecords>";
    const auto end = text.find_last_not_of(" \t\r\n");
    if (end != std::string::npos && end + 1 >= closing.size() &&
        text.compare(end + 1 - closing.size(), closing.size(), closing) == 0)
        return {};
    const std::string recordEnd = "</Method>";
    std::size_t cut = text.rfind(recordEnd);
    records = 0;
    for (std::size_t at = text.find(recordEnd); at != std::string::npos; at = text.find(recordEnd, at + 1)) ++records;
    if (cut != std::string::npos) return text.substr(0, cut + recordEnd.size()) + "\r\n</TraceRecords>\r\n";
    // No whole record: the prolog and an empty root.
    const std::size_t root = text.find("<TraceRecords");
    if (root == std::string::npos) return {};
    return text.substr(0, root) + "<TraceRecords>\r\n</TraceRecords>\r\n";
}

}  // namespace

int ViewTrace(const Common& common, const std::string& tracePath, std::string htmlPath) {
    if (!Exists(tracePath)) throw UsageError("no trace file " + tracePath);
    if (htmlPath.empty()) htmlPath = tracePath + ".html";
    const std::string stylesheet = Stylesheet();
    std::ifstream in(tracePath, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::size_t records = 0;
    const std::string completed = CompletedTrace(text, records);
    std::string source = tracePath, note;
    if (!completed.empty()) {
        source = htmlPath + ".complete.xml";
        std::ofstream(source, std::ios::binary) << completed;
        note = "This trace is incomplete: its program ended without closing it. The " + std::to_string(records) +
               " records it finished are shown.";
        std::fprintf(stderr, "zpv4870: %s: %s\n", tracePath.c_str(), note.c_str());
    }
    std::vector<std::string> words = {"xsltproc", "--nonet", "--output", htmlPath};
    if (!note.empty()) words.insert(words.end(), {"--stringparam", "incomplete", note});
    words.insert(words.end(), {stylesheet, source});
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawnp(&pid, "xsltproc", nullptr, nullptr, argv.data(), environ) != 0)
        throw Failure("xsltproc could not be started (Debian package xsltproc)");
    int status = 0;
    waitpid(pid, &status, 0);
    if (source != tracePath) std::remove(source.c_str());
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) throw Failure("xsltproc could not render " + tracePath);
    if (common.json) std::printf("%s\n", JsonObject({{"html", JsonString(htmlPath)}}).c_str());
    else std::printf("%s\n", htmlPath.c_str());
    return 0;
}

}  // namespace zpv::cli
