// The arguments of a C wrapper as the object member takes them. Each C parameter (or pair of a
// size and a buffer) becomes one argument object that converts to the member's parameter type, so
// a wrapper calls its member with the argument objects in order. A C type that does not fit the
// member's type does not build. Outputs are written to the caller only by Commit, after success.
#pragma once

#include <algorithm>
#include <cstring>
#include <string>
#include <type_traits>

#include "capi/copy_out.h"
#include "capi/status_translation.h"

namespace zpv::capi {

// Arguments without a pointer to check or an output to write.
struct InputArgument {
    static ViStatus CheckPresent(ViSession) { return VI_SUCCESS; }
    static ViStatus Commit(ViSession) { return VI_SUCCESS; }
};

template <class C>
struct In : InputArgument {
    C value;
    template <class T>
    operator T() const {
        if constexpr (std::is_same_v<C, ViReal64>) {
            static_assert(std::is_same_v<T, double>, "a ViReal64 parameter for a member that takes no double");
            return value;
        } else if constexpr (std::is_same_v<C, ViBoolean>) {
            static_assert(std::is_same_v<T, VARIANT_BOOL>, "a ViBoolean parameter for a member that takes no boolean");
            return value ? VARIANT_TRUE : VARIANT_FALSE;
        } else {
            static_assert(std::is_same_v<C, ViInt32> && (std::is_same_v<T, LONG> || std::is_enum_v<T>),
                          "a ViInt32 parameter for a member that takes no integer or enumeration");
            return static_cast<T>(value);
        }
    }
};

struct TextIn : InputArgument {
    explicit TextIn(ViConstString text) {
        if (text) value.Attach(com::AllocBstr(std::string_view(text)));
    }
    operator BSTR() const { return value; }
    CComBSTR value;
};

// A caller's array as a safe array of the member's element type.
template <VARTYPE Type, class Element>
struct ArrayIn : InputArgument {
    ArrayIn(ViInt32 count, const Element* elements) {
        const ULONG n = elements && count > 0 ? static_cast<ULONG>(count) : 0;
        array = SafeArrayCreateVector(Type, 0, n);
        if (!array) throw std::bad_alloc();
        void* data = nullptr;
        if (n && SUCCEEDED(SafeArrayAccessData(array, &data))) {
            std::memcpy(data, elements, n * sizeof(Element));
            SafeArrayUnaccessData(array);
        }
    }
    ArrayIn(const ArrayIn&) = delete;
    ~ArrayIn() { SafeArrayDestroy(array); }
    operator SAFEARRAY*() const { return array; }
    SAFEARRAY* array = nullptr;
};
using RealArrayIn = ArrayIn<VT_R8, ViReal64>;
using ByteArrayIn = ArrayIn<VT_UI1, ViByte>;

// A checked output pointer.
template <class C>
struct Out {
    Out(C* target, const char* name) : target(target), name(name) {}
    ViStatus CheckPresent(ViSession vi) const { return target ? VI_SUCCESS : NullParameter(vi, name); }

    template <class T>
    operator T*() {
        if constexpr (std::is_same_v<C, ViReal64>)
            static_assert(std::is_same_v<T, double>, "a ViReal64 output for a member that gives no double");
        else if constexpr (std::is_same_v<C, ViBoolean>)
            static_assert(std::is_same_v<T, VARIANT_BOOL>, "a ViBoolean output for a member that gives no boolean");
        else
            static_assert(std::is_same_v<C, ViInt32> && (std::is_same_v<T, LONG> || std::is_enum_v<T>),
                          "a ViInt32 output for a member that gives no integer or enumeration");
        static_assert(sizeof(T) <= sizeof storage);
        commit = [](const void* from, C* to) {
            const T value = *static_cast<const T*>(from);
            if constexpr (std::is_same_v<T, VARIANT_BOOL>) *to = value ? VI_TRUE : VI_FALSE;
            else *to = static_cast<C>(value);
        };
        return new (storage) T{};
    }
    ViStatus Commit(ViSession) {
        if (commit) commit(storage, target);
        return VI_SUCCESS;
    }

    C* target;
    const char* name;
    alignas(8) unsigned char storage[8];
    void (*commit)(const void*, C*) = nullptr;
};

// A text output: the copy-out rule, whose result becomes the wrapper's when the call succeeded.
struct TextOut {
    TextOut(ViInt32 bufferSize, ViChar* buffer) : bufferSize(bufferSize), buffer(buffer) {}
    static ViStatus CheckPresent(ViSession) { return VI_SUCCESS; }
    operator BSTR*() { return &value; }
    ViStatus Commit(ViSession) { return CopyOut(value, bufferSize, buffer); }

    ViInt32 bufferSize;
    ViChar* buffer;
    CComBSTR value;
};

// An array output: as many elements as the caller has room for (its actual size, where the member
// reports one, is a separate output).
struct RealArrayOut {
    RealArrayOut(ViInt32 capacity, ViReal64* elements) : capacity(capacity), elements(elements) {}
    RealArrayOut(const RealArrayOut&) = delete;
    ~RealArrayOut() { SafeArrayDestroy(array); }
    static ViStatus CheckPresent(ViSession) { return VI_SUCCESS; }
    operator SAFEARRAY**() { return &array; }
    ViStatus Commit(ViSession) {
        void* data = nullptr;
        if (!array || !elements || capacity <= 0 || FAILED(SafeArrayAccessData(array, &data))) return VI_SUCCESS;
        const auto n = std::min<std::size_t>(array->rgsabound[0].cElements, static_cast<std::size_t>(capacity));
        std::memcpy(elements, data, n * sizeof(ViReal64));
        SafeArrayUnaccessData(array);
        return VI_SUCCESS;
    }

    ViInt32 capacity;
    ViReal64* elements;
    SAFEARRAY* array = nullptr;
};

// The caller's storage for a read straight into it.
struct BytesInto : InputArgument {
    ViByte* buffer;
    operator BYTE*() const { return buffer; }
};

}  // namespace zpv::capi
