// Shell completion: the candidates for the word being typed, from the tool's own commands and the
// catalog's attribute names and enumeration values, so completion never offers what the tool
// would not take. The bash script (share/bash-completion/zpv4870) asks `zpv4870 complete`.
#pragma once

#include <string>
#include <vector>

#include <CLI/CLI.hpp>

namespace zpv::cli {

// words: the command line after the program name, the word being completed last (maybe "").
// Prints one candidate a line.
int Complete(const CLI::App& app, const std::vector<std::string>& words);

}  // namespace zpv::cli
