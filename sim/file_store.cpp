#include "file_store.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace zpv::sim {

namespace {

// Names come back as one word in answers, so they stay short and free of blanks, quotes and commas.
bool IsValidName(std::string_view name) {
    return !name.empty() && name.size() <= 32 && std::all_of(name.begin(), name.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-' || c == '.';
    });
}

}  // namespace

FileStore::FileStore(Scope scope) : scope_(scope) { files_.push_back(NewFile(kFirstFile)); }

StoredFile FileStore::NewFile(std::string_view name) const {
    StoredFile file{std::string(name), SettingValues(scope_), {}};
    if (scope_ == Scope::ListFile) file.sequences.Add();
    return file;
}

std::optional<size_t> FileStore::IndexOf(std::string_view name) const {
    for (size_t i = 0; i < files_.size(); ++i)
        if (files_[i].name == name) return i;
    return std::nullopt;
}

bool FileStore::CanCreate(std::string_view name) const {
    return IsValidName(name) && !IndexOf(name) && files_.size() < kCapacity;
}

bool FileStore::Add(std::string_view name) {
    if (!CanCreate(name)) return false;
    files_.push_back(NewFile(name));
    return true;
}

bool FileStore::Copy(std::string_view source, std::string_view destination) {
    const auto from = IndexOf(source);
    if (!from || !CanCreate(destination)) return false;
    StoredFile copy = files_[*from];
    copy.name = destination;
    files_.push_back(std::move(copy));
    return true;
}

bool FileStore::Delete(std::string_view name) {
    const auto index = IndexOf(name);
    if (!index || files_.size() == 1) return false;
    files_.erase(files_.begin() + static_cast<std::ptrdiff_t>(*index));
    // A deleted selection falls back to the first file; later ones shift down with their files.
    for (size_t* selection : {&edited_, &loaded_}) {
        if (*selection == *index) *selection = 0;
        else if (*selection > *index) --*selection;
    }
    return true;
}

bool FileStore::Edit(std::string_view name) {
    const auto index = IndexOf(name);
    if (index) edited_ = *index;
    return index.has_value();
}

bool FileStore::EditAt(double position) {
    if (position != std::trunc(position) || position < 1 || position > static_cast<double>(files_.size())) return false;
    edited_ = static_cast<size_t>(position) - 1;
    return true;
}

bool FileStore::Load(std::string_view name) {
    const auto index = IndexOf(name);
    if (index) loaded_ = *index;
    return index.has_value();
}

}  // namespace zpv::sim
