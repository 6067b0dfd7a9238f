// BSTR: a 32-bit byte count, then the wide characters, then a terminating NUL. The pointer handed
// out points at the first character, so a BSTR reads as a plain NUL-terminated wide string.
#include <malloc.h>

#include <cstdlib>
#include <cstring>
#include <limits>

#include "platform/com/block_recycler.h"
#include "platform/com/bstr_storage.h"
#include "zpv4870_runtime.h"

namespace {

using Prefix = std::uint32_t;
constexpr std::size_t kMaxBytes = std::numeric_limits<Prefix>::max() - sizeof(OLECHAR);

Prefix* HeaderOf(BSTR s) { return reinterpret_cast<Prefix*>(reinterpret_cast<char*>(s) - sizeof(Prefix)); }

std::size_t BlockBytes(std::size_t byteLen) { return sizeof(Prefix) + byteLen + 2 * sizeof(OLECHAR); }

// Sets the length and writes the NUL after the bytes, padded so that a byte-length string still
// ends in a whole wide NUL.
BSTR Finish(char* block, std::size_t byteLen) {
    *reinterpret_cast<Prefix*>(block) = static_cast<Prefix>(byteLen);
    char* text = block + sizeof(Prefix);
    std::memset(text + byteLen, 0, 2 * sizeof(OLECHAR));
    return reinterpret_cast<BSTR>(text);
}

// Room for byteLen bytes of text plus a whole wide NUL; the text is copied when given. Long texts
// (a reply read as text) live in recycled blocks.
BSTR AllocBytes(const void* data, std::size_t byteLen) {
    if (byteLen > kMaxBytes) return nullptr;
    std::size_t usable = 0;
    auto* block = static_cast<char*>(zpv::com::recycler::Take(BlockBytes(byteLen), &usable));
    if (!block) return nullptr;
    char* text = block + sizeof(Prefix);
    if (data)
        std::memcpy(text, data, byteLen);
    else
        std::memset(text, 0, byteLen);
    return Finish(block, byteLen);
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
    if (bstr) zpv::com::recycler::Give(HeaderOf(bstr));
}

UINT SysStringByteLen(BSTR bstr) { return bstr ? *HeaderOf(bstr) : 0; }

UINT SysStringLen(BSTR bstr) { return SysStringByteLen(bstr) / sizeof(OLECHAR); }

void* CoTaskMemAlloc(std::size_t cb) { return std::malloc(cb ? cb : 1); }

void CoTaskMemFree(void* pv) { std::free(pv); }

namespace zpv::com {

BSTR ReserveBstr(std::size_t capacity) {
    if (capacity > kMaxBytes / sizeof(OLECHAR)) return nullptr;
    std::size_t usable = 0;
    auto* block = static_cast<char*>(recycler::Take(BlockBytes(capacity * sizeof(OLECHAR)), &usable));
    return block ? Finish(block, 0) : nullptr;
}

BSTR FinishBstr(BSTR text, std::size_t length) {
    char* block = reinterpret_cast<char*>(HeaderOf(text));
    const std::size_t needed = BlockBytes(length * sizeof(OLECHAR));
    // Much room to spare (a text of many multi-byte characters) goes back.
    if (malloc_usable_size(block) / 2 > needed)
        if (auto* smaller = static_cast<char*>(std::realloc(block, needed))) block = smaller;
    return Finish(block, length * sizeof(OLECHAR));
}

}  // namespace zpv::com
