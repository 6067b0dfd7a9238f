// One mode's setting files: which exist, which one the mode's commands edit and which one is loaded.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sequence_list.h"
#include "setting_values.h"

namespace zpv::sim {

struct StoredFile {
    std::string name;
    SettingValues settings;
    SequenceList sequences;  // list mode only
};

class FileStore {
public:
    static constexpr size_t kCapacity = 50;
    static constexpr std::string_view kFirstFile = "DEFAULT";

    // One file at its defaults, edited and loaded.
    explicit FileStore(Scope scope);

    // Each returns false for an unknown source, a name already taken, a malformed name or a full store.
    bool Add(std::string_view name);
    bool Copy(std::string_view source, std::string_view destination);
    bool Delete(std::string_view name);  // never the last file
    bool Edit(std::string_view name);
    bool EditAt(double position);  // numbered from 1
    bool Load(std::string_view name);

    StoredFile& Edited() { return files_[edited_]; }
    const StoredFile& Edited() const { return files_[edited_]; }
    const StoredFile& Loaded() const { return files_[loaded_]; }
    size_t EditedPosition() const { return edited_ + 1; }
    const std::vector<StoredFile>& Files() const { return files_; }

private:
    std::optional<size_t> IndexOf(std::string_view name) const;
    bool CanCreate(std::string_view name) const;
    StoredFile NewFile(std::string_view name) const;

    Scope scope_;
    std::vector<StoredFile> files_;
    size_t edited_ = 0;
    size_t loaded_ = 0;
};

}  // namespace zpv::sim
