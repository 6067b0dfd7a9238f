// What a command prints: a table or lines for people, or one JSON document for scripts.
#pragma once

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace zpv::cli {

// A JSON value written as text as it is built.
std::string JsonString(const std::string& text);

// Pairs of a name and an already-written JSON value, as an object.
std::string JsonObject(const std::vector<std::pair<std::string, std::string>>& members);
std::string JsonArray(const std::vector<std::string>& items);
std::string JsonNumber(double value);

// Columns padded to their widest cell, the first row as the header.
std::string Table(const std::vector<std::vector<std::string>>& rows);

// A number as people read it: up to 6 significant digits.
std::string Number(double value);

// A driver description on one line: its own line breaks (CR LF) become "; ".
std::string OneLine(const std::string& text);

}  // namespace zpv::cli
