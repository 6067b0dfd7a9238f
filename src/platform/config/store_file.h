// Changing the store file without losing anything: one editor at a time across processes (a lock
// beside the file), the change made on the document as it stands (what an edit does not name,
// including elements, attributes and comments this reader does not know, and the document type,
// stays as it was), the new content checked by the same reader that Initialize uses, and only
// then written to a temporary file and renamed over the old one.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/config/config_store.h"

namespace zpv::config {

// One edit of the store's document. Kinds are the element names of the store
// ("HardwareAsset", "DriverSession", "LogicalName", "SoftwareModule"); names compare in any
// letter case.
class StoreEdit {
public:
    explicit StoreEdit(const std::optional<std::string>& current, const std::string& path);
    ~StoreEdit();
    StoreEdit(const StoreEdit&) = delete;
    StoreEdit& operator=(const StoreEdit&) = delete;

    // The store as it was before this edit.
    const Store& Before() const { return before_; }

    bool Has(std::string_view kind, std::string_view name) const;
    // Sets one attribute of the entry, which is added at the end when there is none.
    void Set(std::string_view kind, std::string_view name, const char* attribute, std::string_view value);
    // Removes the entry; false when there is none.
    bool Remove(std::string_view kind, std::string_view name);
    // Removes every entry of a kind whose attribute has this value (any letter case).
    void RemoveWhere(std::string_view kind, const char* attribute, std::string_view value);
    // Sets one item of the session's "Configurable Initial Settings", keeping the others.
    void SetInitialSetting(std::string_view session, std::string_view setting, const char* type, std::string_view value);
    // Adds the driver's software module when the store has none.
    void EnsureModule(std::string_view name, std::string_view repCap, std::string_view physicalName);

    // The document's new text.
    std::string Text() const;

private:
    struct Document;
    std::unique_ptr<Document> document_;
    Store before_;
};

// Applies change to the store at path (a new store when the file does not exist) and writes the
// result, which must read back as a valid store. Returns the error text, empty on success;
// change may throw std::runtime_error to refuse.
std::string EditStore(const std::string& path, const std::function<void(StoreEdit&)>& change);

}  // namespace zpv::config
