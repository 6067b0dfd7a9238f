// One piece of a tokenized format: literal text or one conversion with everything its specifier
// says. Output and input formats share this shape; each grammar numbers its own kinds.
#pragma once

#include <bitset>
#include <cstdint>
#include <string>
#include <vector>

namespace zpv::io {

enum class OutputKind : std::uint8_t {
    Literal,
    Integer,
    IntegerList,
    Real,
    RealList,
    DefiniteBlock,
    IndefiniteBlock,
    RawBinary,
    Character,
    String,
    StringList,
    Enum,
    EnumList,
};

enum class InputKind : std::uint8_t {
    Literal,
    Integer,
    IntegerList,
    Real,
    RealList,
    DefiniteBlock,
    RawBinary,
    Character,
    Line,
    Rest,
    Word,
    CharacterSet,
    StringList,
    Enum,
    EnumCharacterSet,
    EnumList,
};

// Where a width, precision or count comes from.
enum class AmountSource : std::uint8_t {
    None,
    Given,    // digits in the format
    Star,     // output: the next 32-bit integer argument
    Pointer,  // input '#': a LONG* argument, written back with what was stored
};

struct Amount {
    AmountSource source = AmountSource::None;
    int value = 0;  // when Given
};

// How a string argument or destination is held.
enum class StringStorage : std::uint8_t {
    Narrow,  // char array
    Wide,    // $B: BSTR
    Object,  // $C: std::string
};

struct FormatToken {
    std::uint8_t kind = 0;  // an OutputKind or InputKind
    std::string literal;    // literal tokens only; "%%" is held as "%"

    char conversion = 0;    // the conversion letter; '[' for character sets
    char size = 0;          // size letter, 0 when none
    char numberForm = 0;    // after '@': '1' '2' '3' 'H' 'Q' 'B', 0 when none
    char quote = 0;         // '\'' for q, '"' for Q, 0 when none
    bool suppress = false;  // input '*': read and drop
    bool leftAlign = false;
    bool zeroPad = false;
    bool safeArray = false;     // $S
    bool littleEndian = false;  // !ol
    bool list = false;
    StringStorage storage = StringStorage::Narrow;
    std::string flags;  // numeric output flags as written ("-", "+", "0", blank)
    Amount width, precision, count;
    std::string separators;  // list separator bytes
    std::string enumName;
    bool booleanEnum = false;       // the name is VARIANT_BOOL: 16-bit values
    std::bitset<256> characterSet;  // already inverted for "[^...]"
    // Ready printf conversion for the C library when the specifier has no star; else empty.
    std::string cFormat;

    constexpr OutputKind output() const { return static_cast<OutputKind>(kind); }
    constexpr InputKind input() const { return static_cast<InputKind>(kind); }
};

using FormatTokens = std::vector<FormatToken>;

}  // namespace zpv::io
