#include "platform/config/store_file.h"

#include <stdexcept>

#include "platform/files/locked_file.h"

namespace zpv::config {

std::string EditStore(const std::string& path, const std::function<void(Store&)>& change) {
    if (path.empty()) return "no configuration store file is named";
    return files::UpdateLocked(path, [&](const std::optional<std::string>& current) {
        LoadResult loaded = current ? ParseStore(*current, path) : LoadResult{};
        if (!loaded.error.empty()) throw std::runtime_error(loaded.error);
        change(loaded.store);
        return SerializeStore(loaded.store);
    });
}

}  // namespace zpv::config
