#include "io/enum_resolution.h"

#include "io/io_failure.h"

namespace zpv::io {

HRESULT ResolveEnum(const FormatServices& services, const FormatToken& token,
                    const keywords::IEnumCommandConverter** converter) {
    if (!services.enums) return E_INVALIDARG;
    const std::string_view context = services.enumContext ? services.enumContext->CurrentCallContext() : "";
    *converter = services.enums->Resolve(token.enumName, context);
    if (*converter) return S_OK;
    return ReportIoFailure(services.reporter, FormatText("Unrecognized enum name '%s'.", token.enumName.c_str()));
}

}  // namespace zpv::io
