#include <gtest/gtest.h>

#include "platform/com/text_conversion.h"
#include "platform/probe_object.h"

namespace {

using zpv::com::ViewOf;
using zpv::com::test_support::NewProbe;
using zpv::com::test_support::RefCount;

VARIANT Bstr(const wchar_t* s) {
    VARIANT v;
    v.vt = VT_BSTR;
    v.bstrVal = SysAllocString(s);
    return v;
}

VARIANT Unknown(IUnknown* p) {
    p->AddRef();
    VARIANT v;
    v.vt = VT_UNKNOWN;
    v.punkVal = p;
    return v;
}

TEST(Variant, ClearFreesWhatTheVariantOwns) {
    // Ownership mistakes show up as leaks or double frees under the sanitizer.
    VARIANT s = Bstr(L"text");
    EXPECT_EQ(VariantClear(&s), S_OK);
    EXPECT_EQ(s.vt, VT_EMPTY);

    auto probe = NewProbe();
    VARIANT u = Unknown(probe);
    u.vt = VT_DISPATCH;  // released just the same
    EXPECT_EQ(VariantClear(&u), S_OK);
    EXPECT_EQ(RefCount(probe), 1u);

    VARIANT a;
    a.vt = VT_ARRAY | VT_BSTR;
    a.parray = SafeArrayCreateVector(VT_BSTR, 0, 1);
    static_cast<BSTR*>(a.parray->pvData)[0] = SysAllocString(L"element");
    EXPECT_EQ(VariantClear(&a), S_OK);

    BSTR referent = SysAllocString(L"mine");
    VARIANT r;
    r.vt = VT_BYREF | VT_BSTR;
    r.pbstrVal = &referent;
    EXPECT_EQ(VariantClear(&r), S_OK);
    EXPECT_EQ(ViewOf(referent), L"mine");
    SysFreeString(referent);
}

TEST(Variant, ClearRejectsUnknownTypesAndLockedArrays) {
    for (VARTYPE vt : {VARTYPE(15), VARTYPE(VT_VARIANT), VARTYPE(0x1000 | VT_I4), VARTYPE(VT_BYREF | VT_EMPTY)}) {
        VARIANT v;
        v.vt = vt;
        v.llVal = 42;
        EXPECT_EQ(VariantClear(&v), DISP_E_BADVARTYPE) << vt;
        EXPECT_EQ(v.vt, vt);
        EXPECT_EQ(v.llVal, 42);
    }
    VARIANT a;
    a.vt = VT_ARRAY | VT_I4;
    a.parray = SafeArrayCreateVector(VT_I4, 0, 1);
    SafeArrayLock(a.parray);
    EXPECT_EQ(VariantClear(&a), DISP_E_ARRAYISLOCKED);
    SafeArrayUnlock(a.parray);
    EXPECT_EQ(VariantClear(&a), S_OK);
}

TEST(Variant, CopyDuplicatesOwnedValues) {
    VARIANT src;
    src.vt = VT_BSTR;
    src.bstrVal = SysAllocStringLen(L"a\0b", 3);
    VARIANT dst;
    VariantInit(&dst);
    ASSERT_EQ(VariantCopy(&dst, &src), S_OK);
    EXPECT_NE(dst.bstrVal, src.bstrVal);
    EXPECT_EQ(ViewOf(dst.bstrVal), std::wstring_view(L"a\0b", 3));
    EXPECT_EQ(VariantCopy(&dst, &dst), S_OK);  // self copy must not free the string
    EXPECT_EQ(ViewOf(dst.bstrVal), std::wstring_view(L"a\0b", 3));
    VariantClear(&src);

    // The destination's old interface is released, the new one AddRef'd.
    auto oldProbe = NewProbe();
    auto newProbe = NewProbe();
    VARIANT held = Unknown(oldProbe);
    VARIANT u = Unknown(newProbe);
    ASSERT_EQ(VariantCopy(&held, &u), S_OK);
    EXPECT_EQ(RefCount(oldProbe), 1u);
    EXPECT_EQ(RefCount(newProbe), 3u);
    VariantClear(&held);
    VariantClear(&u);

    VARIANT arr;
    arr.vt = VT_ARRAY | VT_I4;
    arr.parray = SafeArrayCreateVector(VT_I4, 0, 2);
    ASSERT_EQ(VariantCopy(&dst, &arr), S_OK);
    EXPECT_NE(dst.parray, arr.parray);
    EXPECT_EQ(dst.parray->rgsabound[0].cElements, 2u);
    VariantClear(&arr);
    VariantClear(&dst);

    LONG target = 7;
    VARIANT ref;
    ref.vt = VT_BYREF | VT_I4;
    ref.plVal = &target;
    ASSERT_EQ(VariantCopy(&dst, &ref), S_OK);
    EXPECT_EQ(dst.plVal, &target);
    EXPECT_EQ(VariantClear(&dst), S_OK);
}

TEST(Variant, CopyFromInsideTheDestination) {
    // The source is an element of the array the destination owns; clearing the destination
    // first would free the source before it is read.
    VARIANT dst;
    dst.vt = VT_ARRAY | VT_VARIANT;
    dst.parray = SafeArrayCreateVector(VT_VARIANT, 0, 1);
    static_cast<VARIANT*>(dst.parray->pvData)[0] = Bstr(L"inner");
    ASSERT_EQ(VariantCopy(&dst, static_cast<VARIANT*>(dst.parray->pvData)), S_OK);
    ASSERT_EQ(dst.vt, VT_BSTR);
    EXPECT_EQ(ViewOf(dst.bstrVal), L"inner");
    VariantClear(&dst);
}

TEST(Variant, CopyOfBadTypeLeavesDestination) {
    VARIANT src;
    src.vt = 0x7F;
    VARIANT dst = Bstr(L"kept");
    EXPECT_EQ(VariantCopy(&dst, &src), DISP_E_BADVARTYPE);
    EXPECT_EQ(ViewOf(dst.bstrVal), L"kept");
    VariantClear(&dst);
}

}  // namespace
