// What both formatted I/O engines ask of the enum keyword maps: the converter of a specifier's
// enum in the call context of the moment, and the instrument model the keywords depend on.
#pragma once

#include <string_view>

#include "io/element_layout.h"
#include "io/format_token.h"
#include "io/formatted_io.h"

namespace zpv::io {

// S_OK with the converter; E_INVALIDARG without keyword maps; an unknown name is reported.
HRESULT ResolveEnum(const FormatServices& services, const FormatToken& token,
                    const keywords::IEnumCommandConverter** converter);

// One element of an enum list: VARIANT_BOOL for the boolean keywords, a 32-bit value otherwise.
inline ElementLayout EnumElementLayout(const FormatToken& token) {
    return token.booleanEnum ? ElementLayout{0, 2, VT_BOOL} : ElementLayout{0, 4, VT_I4};
}

inline std::string_view EnumModel(const FormatServices& services) {
    return services.enumContext ? services.enumContext->InstrumentModel() : "";
}

}  // namespace zpv::io
