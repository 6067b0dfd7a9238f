#include "resources/message_table.h"

#include <cstddef>

namespace zpv::resources {

namespace {

constexpr MessageRow kMessages[] = {
#define ZPV_MESSAGE(id, name, status, help, text) {id, #name, ZPV_HR(status), help, text},
#include "resources/messages.inc"
#undef ZPV_MESSAGE
};

// FindMessage indexes by id, so the ids must run 1, 2, 3, ... without gaps.
constexpr bool IdsAreContiguous() {
    for (std::size_t i = 0; i < std::size(kMessages); ++i)
        if (kMessages[i].id != i + 1) return false;
    return true;
}
static_assert(IdsAreContiguous(), "message ids must be 1..N in order");

}  // namespace

std::span<const MessageRow> MessageTable() { return kMessages; }

const MessageRow* FindMessage(unsigned id) {
    if (id == 0 || id > std::size(kMessages)) return nullptr;
    return &kMessages[id - 1];
}

}  // namespace zpv::resources
