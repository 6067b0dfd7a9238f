// find: the instruments this machine can reach, with their resource strings and
// identities.
#include <cstdio>
#include <string>
#include <vector>

#include "zpv4870/find.hpp"

#include "commands.h"
#include "output.h"

namespace zpv::cli {

int Find(const Common& common, double timeoutSeconds, bool mdns) {
    const zpv4870::FoundInstruments found = zpv4870::find_instruments(
        {.timeout = std::chrono::milliseconds(static_cast<long long>(timeoutSeconds * 1000.0 + 0.5)), .mdns = mdns});
    // Where was asked goes to stderr: stdout stays the list, for people and for
    // scripts alike.
    for (const std::string& note : found.notes) std::fprintf(stderr, "note: %s\n", note.c_str());
    if (common.json) {
        std::vector<std::string> items;
        for (const auto& instrument : found.instruments) {
            std::vector<std::string> resources;
            for (const std::string& resource : instrument.resources) resources.push_back(JsonString(resource));
            items.push_back(JsonObject({{"address", JsonString(instrument.address)},
                                        {"resources", JsonArray(resources)},
                                        {"manufacturer", JsonString(instrument.manufacturer)},
                                        {"model", JsonString(instrument.model)},
                                        {"serial", JsonString(instrument.serial)},
                                        {"firmware", JsonString(instrument.firmware)},
                                        {"problem", JsonString(instrument.problem)}}));
        }
        std::printf("%s\n", JsonArray(items).c_str());
        return 0;
    }
    if (found.instruments.empty()) std::fprintf(stderr, "no instruments found\n");
    for (const auto& instrument : found.instruments) {
        if (!instrument.model.empty())
            std::printf("%s  %s %s, serial %s, firmware %s\n", instrument.address.c_str(),
                        instrument.manufacturer.c_str(), instrument.model.c_str(), instrument.serial.c_str(),
                        instrument.firmware.c_str());
        else
            std::printf("%s  %s\n", instrument.address.c_str(),
                        instrument.problem.empty() ? "(not asked)" : instrument.problem.c_str());
        for (const std::string& resource : instrument.resources) std::printf("    %s\n", resource.c_str());
    }
    return 0;
}

}  // namespace zpv::cli
