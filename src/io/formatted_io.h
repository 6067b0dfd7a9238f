// The formatted I/O engines: printf-style output into a byte sink and scanf-style input from the
// read buffer, with the instrument extensions (IEEE 488.2 number forms, lists, quoted strings,
// enum keywords, binary blocks).
//
// Arguments, left to right: for output, first one int per '*' in a specifier, then the value;
// for input, first one LONG* per '#', then the destination. Value types by specifier:
//   integers  b: int (8-bit value), h: int (16-bit value), I: long long, otherwise int (32-bit)
//   reals     double (output); input destinations double* with l/L, else float*
//   strings   const char*, $B: const wchar_t* (BSTR), $C: const std::string*
//             input: char[width], $B: BSTR* (freed and replaced), $C: std::string*
//   lists     a pointer to the first element, or with $S a SAFEARRAY* of the matching type
//   blocks    a pointer to the first element, or with $S a SAFEARRAY*
//   enums     int (VARIANT_BOOL for "VARIANT_BOOL"); input LONG* or VARIANT_BOOL*
// Input '#' amounts are written back with what was stored (elements, characters or bytes).
#pragma once

#include <cstdarg>
#include <string>
#include <vector>

#include "keywords/enum_formatter.h"
#include "errors/error_reporter.h"
#include "io/argument_cursor.h"
#include "io/byte_sink.h"
#include "io/enum_lookup_context.h"
#include "io/io_buffer.h"

namespace zpv::io {

// What the engines call on: failures with their own text, and enum keyword lookups.
struct FormatServices {
    errors::IErrorReporter* reporter = nullptr;       // null: statuses without published text
    const keywords::IEnumFormatter* enums = nullptr;     // null: enum specifiers fail
    const IEnumLookupContext* enumContext = nullptr;  // null: empty context and model
};

// Renders format into sink. S_OK, or the first failure; bytes already written stay in the sink.
HRESULT FormattedOutput(IByteSink* sink, const char* format, ArgumentCursor& args, const FormatServices& services);
HRESULT FormattedOutputV(IByteSink* sink, const char* format, va_list args, const FormatServices& services);

// Parses the response in buffer by format. S_OK when the last conversion consumed the end of the
// response, kStatusMoreData when bytes remain, or a failure; a failed conversion leaves the
// destinations after it untouched.
HRESULT FormattedInput(IIoBuffer* buffer, const char* format, ArgumentCursor& args, const FormatServices& services);
HRESULT FormattedInputV(IIoBuffer* buffer, const char* format, va_list args, const FormatServices& services);

// Reads an IEEE 488.2 block ("#" first, "#0" up to the end of the response) as elements of width
// bytes, in this machine's byte order; a partial last element is dropped.
HRESULT ReadBlockElements(IIoBuffer* buffer, std::size_t width, std::vector<BYTE>& data);

// Appends the rendered format to text (the command text of a trace record).
HRESULT FormatToString(std::string& text, const FormatServices& services, const char* format, ...);

}  // namespace zpv::io
