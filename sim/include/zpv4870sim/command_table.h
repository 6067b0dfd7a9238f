// The instrument's command tree: every header it knows, what forms it takes and who serves it.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace zpv::sim {

struct Call;
struct ParamType;
using Handler = void (*)(Call&);

enum class Availability : std::uint8_t { AllModels, AdvancedOnly, StandardOnly };

// Where a stored setting lives: instrument-wide, in the file being edited of one mode's file store,
// or in the sequence being edited of the list program being edited.
enum class Scope : std::uint8_t { None, Global, ManualFile, StepFile, PulseFile, ListFile, ListSequence };

enum Forms : std::uint8_t { kSetForm = 1, kQueryForm = 2, kBothForms = 3 };

struct CommandRow {
    std::string header;  // long-form mnemonics, short form in capitals: "OUTPut:VOLTage:AC"
    std::uint8_t forms = kBothForms;
    Availability availability = Availability::AllModels;
    std::uint8_t setParams = 1;    // parameters the set form takes
    std::uint8_t queryParams = 0;  // parameters the query form takes
    // Stored settings: where the value lives, what the set form accepts, the value after *RST.
    Scope scope = Scope::None;
    const ParamType* type = nullptr;
    std::string defaultValue;
    Handler handler = nullptr;  // nullptr: a plain stored setting
    int arg = 0;                // handed to the handler: a measured quantity, a mode's file store
};

class CommandTable {
public:
    static const CommandTable& Instance();

    // The row for a header path, nodes in short or long form and any letter case, or nullptr.
    const CommandRow* Find(std::span<const std::string> path) const;
    // Same for a whole header text such as "OUTP:FREQ"; nullptr when unknown.
    const CommandRow* Find(std::string_view header) const;
    const std::vector<CommandRow>& Rows() const { return rows_; }

private:
    CommandTable();
    void Insert(const CommandRow& row);

    struct Node {
        std::string mnemonic;
        std::unordered_map<std::string, std::uint32_t> children;  // by short and by long spelling
        const CommandRow* row = nullptr;
    };
    std::vector<CommandRow> rows_;
    std::vector<Node> nodes_;
};

}  // namespace zpv::sim
