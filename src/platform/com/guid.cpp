// Text form of GUIDs: "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}".
#include "zpv4870_runtime.h"

namespace {

constexpr int kGuidChars = 38;  // without the terminator

constexpr int kDashPositions[] = {9, 14, 19, 24};

OLECHAR* PutHex(OLECHAR* out, std::uint32_t value, int digits) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4) *out++ = kDigits[(value >> shift) & 0xF];
    return out;
}

int HexValue(OLECHAR c) {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    return -1;
}

// The caller has already checked that the digits are hex.
std::uint32_t GetHex(const OLECHAR* text, int digits) {
    std::uint32_t value = 0;
    for (int i = 0; i < digits; ++i) value = (value << 4) | static_cast<std::uint32_t>(HexValue(text[i]));
    return value;
}

bool IsDashPosition(int i) {
    for (int d : kDashPositions)
        if (i == d) return true;
    return false;
}

}  // namespace

int StringFromGUID2(REFGUID guid, LPOLESTR lpsz, int cchMax) {
    if (!lpsz || cchMax < kGuidChars + 1) return 0;
    OLECHAR* p = lpsz;
    *p++ = L'{';
    p = PutHex(p, guid.Data1, 8);
    *p++ = L'-';
    p = PutHex(p, guid.Data2, 4);
    *p++ = L'-';
    p = PutHex(p, guid.Data3, 4);
    *p++ = L'-';
    p = PutHex(p, guid.Data4[0], 2);
    p = PutHex(p, guid.Data4[1], 2);
    *p++ = L'-';
    for (int i = 2; i < 8; ++i) p = PutHex(p, guid.Data4[i], 2);
    *p++ = L'}';
    *p = L'\0';
    return kGuidChars + 1;
}

HRESULT CLSIDFromString(LPCOLESTR lpsz, CLSID* pclsid) {
    if (!pclsid) return E_POINTER;
    *pclsid = GUID_NULL;
    if (!lpsz) return CO_E_CLASSSTRING;

    // Check the shape first so that no read goes past a short string's terminator.
    for (int i = 0; i < kGuidChars; ++i) {
        const OLECHAR c = lpsz[i];
        const bool ok = i == 0                 ? c == L'{'
                        : i == kGuidChars - 1  ? c == L'}'
                        : IsDashPosition(i)    ? c == L'-'
                                               : HexValue(c) >= 0;
        if (!ok) return CO_E_CLASSSTRING;
    }
    if (lpsz[kGuidChars] != L'\0') return CO_E_CLASSSTRING;

    CLSID id{};
    id.Data1 = GetHex(lpsz + 1, 8);
    id.Data2 = static_cast<std::uint16_t>(GetHex(lpsz + 10, 4));
    id.Data3 = static_cast<std::uint16_t>(GetHex(lpsz + 15, 4));
    constexpr int kByteOffsets[] = {20, 22, 25, 27, 29, 31, 33, 35};
    for (int i = 0; i < 8; ++i) id.Data4[i] = static_cast<std::uint8_t>(GetHex(lpsz + kByteOffsets[i], 2));
    *pclsid = id;
    return S_OK;
}
