// How the elements of lists and binary blocks are laid out in the caller's memory, by the size
// letter of the specifier, and the safe-array element type that matches.
#pragma once

#include <bit>
#include <cstddef>
#include <span>

#include "zpv4870_runtime.h"

namespace zpv::io {

struct ElementLayout {
    char size;  // size letter, 0 when none
    std::size_t bytes;
    VARTYPE vt;
};

// The first row is also the layout when the size letter is absent.
inline constexpr ElementLayout kBlockElements[] = {
    {0, 1, VT_UI1}, {'h', 2, VT_I2}, {'l', 4, VT_I4}, {'z', 4, VT_R4}, {'I', 8, VT_I8}, {'Z', 8, VT_R8},
};
inline constexpr ElementLayout kIntegerElements[] = {
    {0, 4, VT_I4}, {'l', 4, VT_I4}, {'b', 1, VT_UI1}, {'h', 2, VT_I2}, {'I', 8, VT_I8},
};
inline constexpr ElementLayout kRealElements[] = {
    {0, 4, VT_R4},
    {'l', 8, VT_R8},
    {'L', 8, VT_R8},
};

inline const ElementLayout& LayoutOf(std::span<const ElementLayout> table, char size) {
    for (const ElementLayout& row : table)
        if (row.size == size) return row;
    return table.front();
}

// E_INVALIDARG unless array is a one-dimensional, zero-based vector of vt.
inline HRESULT CheckVector(const SAFEARRAY* array, VARTYPE vt) {
    if (!array || array->cDims != 1 || array->rgsabound[0].lLbound != 0 || array->vt != vt) return E_INVALIDARG;
    return S_OK;
}

// Copies count elements of the given width, reversing the bytes of each when the wanted order
// differs from this machine's.
inline void CopyElements(BYTE* to, const BYTE* from, std::size_t count, std::size_t width, bool bigEndian) {
    const bool swap = width > 1 && bigEndian != (std::endian::native == std::endian::big);
    for (std::size_t i = 0; i < count; ++i, to += width, from += width)
        for (std::size_t b = 0; b < width; ++b) to[b] = from[swap ? width - 1 - b : b];
}

}  // namespace zpv::io
