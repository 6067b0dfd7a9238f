// "Did you mean": the known name closest to what a user typed, when it is close enough to be the
// likely intent.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace zpv::cli {

// Compared without letter case; close means at most a third of the typed name's letters differ.
std::optional<std::string> ClosestName(const std::string& typed, const std::vector<std::string>& known);

// " (did you mean 'X'?)", or empty when nothing is close.
std::string DidYouMean(const std::string& typed, const std::vector<std::string>& known);

}  // namespace zpv::cli
