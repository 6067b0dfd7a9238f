// A list program as its YAML file describes it, checked whole before anything is sent:
//
//   program:                 # optional: settings of ListMode.Program
//     base: time
//     count: 1
//   sequences:               # one entry per sequence, in order: settings of ListMode.Sequence
//     - voltage_ac_start: 0
//       voltage_ac_end: 115
//       frequency_start: 60
//       time: 2
//
// Setting names are the attribute names in any letter case, with or without underscores
// (voltage_ac_start, VoltageAcStart); values as `zpv4870 set` takes them.
#pragma once

#include <string>
#include <vector>

#include "attribute_catalog.h"

namespace zpv::cli {

// Sequences a list program of any model holds (the instrument refuses the next LIST:SEQ:ADD).
inline constexpr std::size_t kMaxListSequences = 100;

struct Setting {
    const Attribute* attribute;
    std::string value;
};

struct ListProgram {
    std::vector<Setting> program;
    std::vector<std::vector<Setting>> sequences;
    // How long each sequence runs, as far as its settings tell (0 when they do not).
    std::vector<double> seconds;
};

// Throws UsageError "<file>:<line>: <what is wrong>" for the first mistake.
ListProgram LoadListProgram(const std::string& path);
// The same for a file's text; path names it in messages.
ListProgram ParseListProgram(const std::string& text, const std::string& path);

}  // namespace zpv::cli
