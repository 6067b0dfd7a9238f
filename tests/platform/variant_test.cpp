#include <gtest/gtest.h>

#include "platform/com/text_conversion.h"
#include "platform/probe_object.h"

namespace {

using zpv::com::ViewOf;
using zpv::com::test_support::NewProbe;
using zpv::com::test_support::RefCount;

// Ownership mistakes show up as leaks or double frees under the sanitizer.
TEST(Variant, ClearFreesOnlyWhatItOwns) {
    VARIANT a{VARTYPE(VT_ARRAY | VT_BSTR), 0, 0, 0, {}};
    a.parray = SafeArrayCreateVector(VT_BSTR, 0, 1);
    static_cast<BSTR*>(a.parray->pvData)[0] = SysAllocString(L"element");
    EXPECT_EQ(VariantClear(&a), S_OK);
    EXPECT_EQ(a.vt, VT_EMPTY);

    CComBSTR referent(L"mine");
    VARIANT r{VARTYPE(VT_BYREF | VT_BSTR), 0, 0, 0, {}};
    r.pbstrVal = &referent;
    EXPECT_EQ(VariantClear(&r), S_OK);
    EXPECT_EQ(ViewOf(referent), L"mine");

    VARIANT bad{VT_VARIANT, 0, 0, 0, {42}};
    EXPECT_EQ(VariantClear(&bad), DISP_E_BADVARTYPE);
    EXPECT_EQ(bad.vt, VT_VARIANT);
}

TEST(Variant, CopyReplacesTheDestination) {
    auto oldProbe = NewProbe(), newProbe = NewProbe();
    VARIANT dst{VT_UNKNOWN, 0, 0, 0, {}};
    dst.punkVal = oldProbe.Get();
    oldProbe->AddRef();
    VARIANT src{VT_DISPATCH, 0, 0, 0, {}};
    src.punkVal = newProbe.Get();
    ASSERT_EQ(VariantCopy(&dst, &src), S_OK);
    EXPECT_EQ(RefCount(oldProbe), 1u);
    EXPECT_EQ(RefCount(newProbe), 2u);
    VariantClear(&dst);

    // The source lives in the destination's array: clearing first would free it before the read.
    dst.vt = VT_ARRAY | VT_VARIANT;
    dst.parray = SafeArrayCreateVector(VT_VARIANT, 0, 1);
    auto* inner = static_cast<VARIANT*>(dst.parray->pvData);
    inner->vt = VT_BSTR;
    inner->bstrVal = SysAllocString(L"inner");
    ASSERT_EQ(VariantCopy(&dst, inner), S_OK);
    ASSERT_EQ(dst.vt, VT_BSTR);
    EXPECT_EQ(ViewOf(dst.bstrVal), L"inner");
    EXPECT_EQ(VariantCopy(&dst, &dst), S_OK);
    EXPECT_EQ(ViewOf(dst.bstrVal), L"inner");
    VariantClear(&dst);
}

}  // namespace
