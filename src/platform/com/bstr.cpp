// BSTR: a 32-bit byte count, then the wide characters, then a terminating NUL. The pointer handed
// out points at the first character, so a BSTR reads as a plain NUL-terminated wide string.
#include <cstdlib>
#include <cstring>
#include <limits>

#include "zpv4870_runtime.h"

namespace {

using Prefix = std::uint32_t;
constexpr std::size_t kMaxBytes = std::numeric_limits<Prefix>::max() - sizeof(OLECHAR);

Prefix* HeaderOf(BSTR s) { return reinterpret_cast<Prefix*>(reinterpret_cast<char*>(s) - sizeof(Prefix)); }

// Room for byteLen bytes of text plus a whole wide NUL; the text is copied when given.
BSTR AllocBytes(const void* data, std::size_t byteLen) {
    if (byteLen > kMaxBytes) return nullptr;
    const std::size_t total = sizeof(Prefix) + byteLen + sizeof(OLECHAR) + sizeof(OLECHAR);
    auto* block = static_cast<char*>(std::malloc(total));
    if (!block) return nullptr;
    *reinterpret_cast<Prefix*>(block) = static_cast<Prefix>(byteLen);
    char* text = block + sizeof(Prefix);
    if (data)
        std::memcpy(text, data, byteLen);
    else
        std::memset(text, 0, byteLen);
    // NUL after the bytes, padded so that a byte-length string still ends in a whole wide NUL.
    std::memset(text + byteLen, 0, 2 * sizeof(OLECHAR));
    return reinterpret_cast<BSTR>(text);
}

}  // namespace

BSTR SysAllocString(const OLECHAR* psz) {
    if (!psz) return nullptr;
    return SysAllocStringLen(psz, static_cast<UINT>(std::wcslen(psz)));
}

BSTR SysAllocStringLen(const OLECHAR* pch, UINT cch) {
    return AllocBytes(pch, static_cast<std::size_t>(cch) * sizeof(OLECHAR));
}

BSTR SysAllocStringByteLen(const char* psz, UINT len) { return AllocBytes(psz, len); }

int SysReAllocStringLen(BSTR* pbstr, const OLECHAR* psz, UINT cch) {
    if (!pbstr) return 0;
    BSTR fresh = SysAllocStringLen(psz, cch);  // psz may point into *pbstr: copy before freeing
    if (!fresh) return 0;
    SysFreeString(*pbstr);
    *pbstr = fresh;
    return 1;
}

int SysReAllocString(BSTR* pbstr, const OLECHAR* psz) {
    if (!psz) {
        if (!pbstr) return 0;
        SysFreeString(*pbstr);
        *pbstr = nullptr;
        return 1;
    }
    return SysReAllocStringLen(pbstr, psz, static_cast<UINT>(std::wcslen(psz)));
}

void SysFreeString(BSTR bstr) {
    if (bstr) std::free(HeaderOf(bstr));
}

UINT SysStringByteLen(BSTR bstr) { return bstr ? *HeaderOf(bstr) : 0; }

UINT SysStringLen(BSTR bstr) { return SysStringByteLen(bstr) / sizeof(OLECHAR); }

void* CoTaskMemAlloc(std::size_t cb) { return std::malloc(cb ? cb : 1); }

void CoTaskMemFree(void* pv) { std::free(pv); }
