#include "capi/status_translation.h"

#include <cstdint>
#include <string>
#include <unordered_map>

#include "platform/com/text_conversion.h"
#include "platform/ivi/session_service.h"

namespace zpv::capi {

namespace {

constexpr std::uint32_t kDriverErrors = 0x80047000, kCDriverErrors = 0xBFFA0000;

// Driver error offsets that keep their offset in the C range.
constexpr std::uint32_t kDriverOffsets[] = {0x00, 0x01, 0x02, 0x03, 0x04, 0x0B, 0x10, 0x11, 0x12, 0x13, 0x1D,
                                            0x20, 0x23, 0x44, 0x49, 0x4A, 0x4B, 0x4C, 0x56, 0x57, 0x58, 0x59,
                                            0x5B, 0x5C, 0x5D, 0x5E, 0x5F, 0x60, 0x61, 0x62, 0x63, 0x64, 0x65,
                                            0x66, 0x67};

struct StatusRow {
    std::uint32_t hresult;
    std::uint32_t status;
};
// The class and I/O codes, and the warnings.
constexpr StatusRow kOtherStatuses[] = {
    {0x80044214, 0xBFFA4214}, {0x80044215, 0xBFFA4215}, {0x80044216, 0xBFFA4216},
    {0x80042006, 0xBFFA2001}, {0x8004200B, 0xBFFA2002}, {0x80042007, 0xBFFA2003}, {0x8004200E, 0xBFFA2004},
    {0x80042010, 0xBFFA2005}, {0x8004200F, 0xBFFA2006}, {0x80042004, 0xBFFA2007}, {0x80042008, 0xBFFA2008},
    {0x80042005, 0xBFFA2009}, {0x80042002, 0xBFFA200A}, {0x8004200A, 0xBFFA200B}, {0x8004200C, 0xBFFA200C},
    {0x80042003, 0xBFFA200D}, {0x80042009, 0xBFFA200E}, {0x8004200D, 0xBFFA200F}, {0x80042001, 0xBFFA2001},
    {0x00047065, 0x3FFA0065}, {0x00047066, 0x3FFA0066}, {0x00047067, 0x3FFA0067}, {0x00047068, 0x3FFA0068},
    {0x00047069, 0x3FFA0069},
};

const std::unordered_map<std::uint32_t, std::uint32_t>& StatusMap() {
    static const auto map = [] {
        std::unordered_map<std::uint32_t, std::uint32_t> m;
        for (std::uint32_t n : kDriverOffsets) m[kDriverErrors + n] = kCDriverErrors + n;
        for (const StatusRow& row : kOtherStatuses) m[row.hresult] = row.status;
        return m;
    }();
    return map;
}

}  // namespace

std::uint32_t ObjectStatusOf(ViStatus status) {
    std::uint32_t lowest = 0;
    for (const auto& [hresult, translated] : StatusMap())
        if (static_cast<ViStatus>(translated) == status && (lowest == 0 || hresult < lowest)) lowest = hresult;
    return lowest;
}

ViStatus TranslateStatus(HRESULT hr) {
    if (hr == S_OK) return VI_SUCCESS;
    const auto& map = StatusMap();
    auto it = map.find(static_cast<std::uint32_t>(hr));
    return it == map.end() ? static_cast<ViStatus>(hr) : static_cast<ViStatus>(it->second);
}

ViStatus ToStatus(ViSession session, HRESULT hr) {
    if (hr == S_OK) return VI_SUCCESS;
    const ViStatus status = TranslateStatus(hr);
    CComPtr<IErrorInfo> info;
    if (GetErrorInfo(0, &info) == S_OK && info) {
        CComBSTR description;
        info->GetDescription(&description);
        IviSession_SetError(session, status, com::Utf8FromBstr(description).c_str());
    }
    return status;
}

ViStatus SetError(ViSession session, ViStatus status, const char* text) {
    // A check that fails before the session is looked at (an absent pointer, an unknown
    // attribute) reports its own status even with a handle that is not valid; the text then
    // goes to the thread's last error, where ZPV4870_GetError with session 0 finds it.
    if (IviSession_SetError(session, status, text) != VI_SUCCESS && session != VI_NULL)
        IviSession_SetError(VI_NULL, status, text);
    return status;
}

ViStatus NullParameter(ViSession session, const char* name) {
    const std::string text = std::string("Parameter ") + name + " is VI_NULL.";
    return SetError(session, ZPV4870_ERROR_NULL_POINTER, text.c_str());
}

}  // namespace zpv::capi
