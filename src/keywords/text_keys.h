// Hash and equality for string-keyed tables that are looked up by string_view without copying.
#pragma once

#include <cctype>
#include <functional>
#include <string_view>

namespace zpv::keywords {

struct TextHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>()(text); }
};

// Enumeration names and call contexts compare without regard to letter case.
struct CaselessHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const {
        std::size_t hash = 14695981039346656037ull;
        for (char c : text)
            hash = (hash ^ static_cast<unsigned char>(std::tolower(static_cast<unsigned char>(c)))) * 1099511628211ull;
        return hash;
    }
};

struct CaselessEqual {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const {
        if (a.size() != b.size()) return false;
        for (std::size_t i = 0; i < a.size(); ++i)
            if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
                return false;
        return true;
    }
};

}  // namespace zpv::keywords
