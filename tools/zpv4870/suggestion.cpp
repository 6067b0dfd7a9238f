#include "suggestion.h"

#include <algorithm>
#include <cctype>

namespace zpv::cli {

namespace {

// Letters to insert, delete, replace or swap (neighbours) to turn a into b, without case.
std::size_t Distance(const std::string& a, const std::string& b) {
    const auto lower = [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); };
    std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
    for (std::size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
    for (std::size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i)
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t cost = lower(a[i - 1]) == lower(b[j - 1]) ? 0 : 1;
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + cost});
            if (i > 1 && j > 1 && lower(a[i - 1]) == lower(b[j - 2]) && lower(a[i - 2]) == lower(b[j - 1]))
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    return d[a.size()][b.size()];
}

}  // namespace

std::optional<std::string> ClosestName(const std::string& typed, const std::vector<std::string>& known) {
    if (typed.empty() || typed.size() > 200) return std::nullopt;
    std::optional<std::string> best;
    std::size_t bestDistance = typed.size() / 3 + 1;
    for (const std::string& name : known) {
        if (name.size() > typed.size() + bestDistance || typed.size() > name.size() + bestDistance) continue;
        if (const std::size_t distance = Distance(typed, name); distance < bestDistance) {
            bestDistance = distance;
            best = name;
        }
    }
    return best;
}

std::string DidYouMean(const std::string& typed, const std::vector<std::string>& known) {
    const auto close = ClosestName(typed, known);
    return close ? " (did you mean '" + *close + "'?)" : "";
}

}  // namespace zpv::cli
