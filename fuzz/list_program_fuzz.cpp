// Any bytes as a list program file: a program of checked settings, or a usage error naming the
// file and line; nothing else may come out.
#include <cstddef>
#include <cstdint>
#include <string>

#include "list_program.h"
#include "commands.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    try {
        const zpv::cli::ListProgram program = zpv::cli::ParseListProgram(text, "fuzz.yaml");
        if (program.sequences.size() != program.seconds.size()) __builtin_trap();
    } catch (const zpv::cli::UsageError&) {
    }
    return 0;
}
