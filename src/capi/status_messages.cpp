#include "capi/status_messages.h"

#include "capi/status_rows.h"

#include <unordered_map>

namespace zpv::capi {

namespace {

struct MessageRow {
    ViStatus status;
    const char* text;
};

constexpr MessageRow kMessages[] = {
#define ZPV_STATUS_MESSAGE_ROW(Status, Text) {Status, Text},
    ZPV_C_STATUSES(ZPV_STATUS_MESSAGE_ROW)
#undef ZPV_STATUS_MESSAGE_ROW
};

}  // namespace

std::string_view StatusMessage(ViStatus status) {
    static const auto map = [] {
        std::unordered_map<ViStatus, std::string_view> m;
        for (const MessageRow& row : kMessages) m.insert_or_assign(row.status, row.text);
        return m;
    }();
    const auto it = map.find(status);
    return it == map.end() ? std::string_view() : it->second;
}

}  // namespace zpv::capi
