#include "io/format_cache.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <mutex>
#include <shared_mutex>
#include <string>
#include <unordered_map>

namespace zpv::io {

namespace {

struct CachedFormat {
    std::string text;
    FormatDirection direction;
    bool valid;
    FormatTokens tokens;
};

// Formats built at run time could grow the table without bound; past this many, a format that
// is not yet known is tokenized for the one call and dropped again.
constexpr std::size_t kMaxCachedFormats = 4096;

class FormatTable {
public:
    const CachedFormat* Find(std::string_view text, FormatDirection direction) {
        std::shared_lock lock(mutex_);
        const auto it = entries_.find(Key(text, direction));
        return it == entries_.end() ? nullptr : it->second.get();
    }

    // Null when the table is full; entry then stays with the caller.
    const CachedFormat* Insert(std::unique_ptr<CachedFormat>& entry) {
        std::unique_lock lock(mutex_);
        if (entries_.size() >= kMaxCachedFormats) return nullptr;
        std::string key = Key(entry->text, entry->direction);
        const auto [it, inserted] = entries_.try_emplace(std::move(key), std::move(entry));
        return it->second.get();  // a concurrent first call may have won; its entry is the same
    }

private:
    static std::string Key(std::string_view text, FormatDirection direction) {
        std::string key;
        key.reserve(text.size() + 1);
        key.push_back(direction == FormatDirection::Output ? 'O' : 'I');
        key.append(text);
        return key;
    }

    std::shared_mutex mutex_;
    std::unordered_map<std::string, std::unique_ptr<CachedFormat>> entries_;
};

FormatTable& Table() {
    static FormatTable table;
    return table;
}

// Each thread remembers the last formats it used by address, so the usual call (a literal seen
// before) costs a pointer probe and a string compare, and no lock.
struct RecentSlot {
    const char* address;
    const CachedFormat* entry;
};
constexpr std::size_t kRecentSlots = 64;
thread_local RecentSlot recent[kRecentSlots];

std::size_t SlotOf(const char* format, FormatDirection direction) {
    const auto bits = reinterpret_cast<std::uintptr_t>(format);
    return ((bits >> 3) ^ (bits >> 9) ^ static_cast<std::uintptr_t>(direction)) % kRecentSlots;
}

thread_local std::unique_ptr<CachedFormat> uncached;

}  // namespace

const FormatTokens* CachedFormatTokens(const char* format, FormatDirection direction) {
    RecentSlot& slot = recent[SlotOf(format, direction)];
    // The address alone proves nothing: a caller's buffer may hold a different format now.
    if (slot.address == format && slot.entry->direction == direction &&
        std::strcmp(slot.entry->text.c_str(), format) == 0)
        return slot.entry->valid ? &slot.entry->tokens : nullptr;

    const std::string_view text(format);
    const CachedFormat* entry = Table().Find(text, direction);
    if (!entry) {
        auto fresh = std::make_unique<CachedFormat>();
        fresh->text.assign(text);
        fresh->direction = direction;
        fresh->valid = TokenizeFormat(text, direction, fresh->tokens);
        entry = Table().Insert(fresh);
        if (!entry) {
            // Table full: this thread keeps its copy alive until its next uncached format.
            uncached = std::move(fresh);
            return uncached->valid ? &uncached->tokens : nullptr;
        }
    }
    slot = {format, entry};
    return entry->valid ? &entry->tokens : nullptr;
}

}  // namespace zpv::io
