// identify, errors and reset.
#include <algorithm>
#include <cstdio>
#include <string>

#include "ZPV4870.h"

#include "commands.h"
#include "instrument_identity.h"
#include "output.h"

namespace zpv::cli {

namespace {

}  // namespace

int Identify(const Common& common) {
    CSession session(common.session);
    std::vector<std::pair<std::string, std::string>> fields = IdentityFields(session);
    fields.emplace_back("supported_models",
                        TextAttribute(session, ZPV4870_ATTR_SUPPORTED_INSTRUMENT_MODELS, "reading the models"));
    if (common.json) {
        std::vector<std::pair<std::string, std::string>> json;
        for (const auto& [name, value] : fields) {
            if (name != "supported_models") {
                json.emplace_back(name, JsonString(value));
                continue;
            }
            // A list is an array in JSON, not the driver's comma-separated text.
            std::vector<std::string> models;
            for (std::size_t start = 0; start < value.size();) {
                const std::size_t comma = std::min(value.find(',', start), value.size());
                if (comma > start) models.push_back(JsonString(value.substr(start, comma - start)));
                start = comma + 1;
            }
            json.emplace_back(name, JsonArray(models));
        }
        std::printf("%s\n", JsonObject(json).c_str());
    } else {
        const char* labels[] = {"Manufacturer", "Model", "Serial number", "Firmware", "Driver revision",
                                "Supported models"};
        for (std::size_t i = 0; i < fields.size(); ++i)
            std::printf("%-17s %s\n", (std::string(labels[i]) + ":").c_str(),
                        fields[i].second.empty() ? "-" : fields[i].second.c_str());
    }
    return 0;
}

int DrainErrors(const Common& common) {
    // Status checking opens with "*CLS", which would empty the very queue this command reads.
    SessionOptions options = common.session;
    options.statusCheck = false;
    CSession session(options);
    std::vector<std::string> json;
    int count = 0;
    for (const auto& [code, message] : session.ErrorQueue(256)) {
        ++count;
        if (common.json) json.push_back(JsonObject({{"code", std::to_string(code)}, {"message", JsonString(message)}}));
        else std::printf("%d, \"%s\"\n", static_cast<int>(code), message.c_str());
    }
    if (common.json) std::printf("%s\n", JsonArray(json).c_str());
    else if (count == 0) std::printf("No errors.\n");
    return 0;
}

int Reset(const Common& common) {
    CSession session(common.session);
    session.Check(ZPV4870_reset(session.Handle()), "resetting the instrument");
    if (common.json) std::printf("%s\n", JsonObject({{"reset", "true"}}).c_str());
    else std::printf("Reset.\n");
    return 0;
}

int Register(const Common& common, bool perUser, bool unregister) {
    const HRESULT hr = DllInstall(unregister ? 0 : 1, perUser ? L"user" : nullptr);
    if (hr < 0) {
        char text[96];
        std::snprintf(text, sizeof text, "%s failed (0x%08X): the %s registry could not be written",
                      unregister ? "unregistering" : "registering", static_cast<unsigned>(hr), perUser ? "user's" : "machine's");
        throw Failure(text);
    }
    const char* done = unregister ? "unregistered" : "registered";
    if (common.json) std::printf("%s\n", JsonObject({{done, "true"}, {"user", perUser ? "true" : "false"}}).c_str());
    else std::printf("The driver's classes are %s%s.\n", done, perUser ? " for this user" : "");
    return 0;
}

}  // namespace zpv::cli
