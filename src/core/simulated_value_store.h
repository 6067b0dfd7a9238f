// The simulated value store of one node object: while simulating, a property setter records its
// value here and the getter returns it (or the property's default when nothing was recorded).
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <unordered_map>

#include "zpv4870_runtime.h"

namespace zpv::driver {

class CCacheEntryBase {
public:
    virtual ~CCacheEntryBase() = default;
    virtual void Invalidate() { valid_ = false; }
    void Validate() { valid_ = true; }
    bool IsValid() const { return valid_; }

private:
    bool valid_ = false;
};

// How a property type is kept: enumerations as 32-bit values, strings as owned wide text.
template <class T>
struct CacheEntryTraits {
    using Stored = std::conditional_t<std::is_enum_v<T>, LONG, T>;
    static Stored ToStored(const T& v) { return static_cast<Stored>(v); }
    static T FromStored(const Stored& s) { return static_cast<T>(s); }
};
template <>
struct CacheEntryTraits<BSTR> {
    using Stored = std::wstring;
    static Stored ToStored(BSTR v) { return v ? Stored(v, SysStringLen(v)) : Stored(); }
    // A fresh copy for the caller.
    static BSTR FromStored(const Stored& s) { return SysAllocStringLen(s.data(), static_cast<UINT>(s.size())); }
};

template <class T>
class CCacheEntry final : public CCacheEntryBase {
public:
    using Traits = CacheEntryTraits<T>;
    void Invalidate() override {
        CCacheEntryBase::Invalidate();
        value_ = {};
    }
    void Set(const T& v) {
        value_ = Traits::ToStored(v);
        Validate();
    }
    const typename Traits::Stored& Stored() const { return value_; }

private:
    typename Traits::Stored value_{};
};

class SimulatedValueStore {
public:
    // The entry filed under key, created invalid when absent; a key always holds one type.
    template <class T>
    CCacheEntry<T>& Entry(std::string_view key) {
        auto it = entries_.find(key);
        if (it == entries_.end())
            it = entries_.emplace(std::string(key), std::make_unique<CCacheEntry<T>>()).first;
        return static_cast<CCacheEntry<T>&>(*it->second);
    }

    template <class T>
    void Put(std::string_view key, const T& value) {
        Entry<T>(key).Set(value);
    }

    // The stored value, or the default when nothing valid is stored (strings: a new copy).
    template <class T, class D>
    T Get(std::string_view key, const D& defaultValue) {
        auto& entry = Entry<T>(key);
        if (entry.IsValid()) return CacheEntryTraits<T>::FromStored(entry.Stored());
        if constexpr (std::is_same_v<T, BSTR>)
            return SysAllocStringLen(std::wstring_view(defaultValue).data(),
                                     static_cast<UINT>(std::wstring_view(defaultValue).size()));
        else
            return static_cast<T>(defaultValue);
    }

    void InvalidateAll() {
        for (auto& [key, entry] : entries_) entry->Invalidate();
    }
    void Clear() { entries_.clear(); }
    std::size_t Size() const { return entries_.size(); }

private:
    struct KeyHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    std::unordered_map<std::string, std::unique_ptr<CCacheEntryBase>, KeyHash, std::equal_to<>> entries_;
};

}  // namespace zpv::driver
