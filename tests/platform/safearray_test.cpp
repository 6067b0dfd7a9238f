#include <gtest/gtest.h>

#include <memory>

#include "platform/com/text_conversion.h"
#include "platform/probe_object.h"

namespace {

using zpv::com::ViewOf;
using zpv::com::test_support::NewProbe;
using zpv::com::test_support::RefCount;

struct ArrayDeleter {
    void operator()(SAFEARRAY* psa) const { EXPECT_EQ(SafeArrayDestroy(psa), S_OK); }
};
using ArrayPtr = std::unique_ptr<SAFEARRAY, ArrayDeleter>;

ArrayPtr Vector(VARTYPE vt, LONG lbound, ULONG count) { return ArrayPtr(SafeArrayCreateVector(vt, lbound, count)); }

TEST(SafeArray, CreateVectorDescribesEachElementType) {
    const struct {
        VARTYPE vt;
        UINT size;
        USHORT extraFeature;
    } kTypes[] = {{VT_I1, 1, 0},   {VT_UI1, 1, 0},  {VT_I2, 2, 0},  {VT_UI2, 2, 0},
                  {VT_BOOL, 2, 0}, {VT_I4, 4, 0},   {VT_UI4, 4, 0}, {VT_INT, 4, 0},
                  {VT_UINT, 4, 0}, {VT_R4, 4, 0},   {VT_I8, 8, 0},  {VT_UI8, 8, 0},
                  {VT_R8, 8, 0},   {VT_BSTR, sizeof(BSTR), FADF_BSTR},
                  {VT_UNKNOWN, sizeof(IUnknown*), FADF_UNKNOWN},
                  {VT_VARIANT, sizeof(VARIANT), FADF_VARIANT}};
    for (const auto& t : kTypes) {
        SCOPED_TRACE(t.vt);
        ArrayPtr a = Vector(t.vt, 0, 3);
        ASSERT_TRUE(a);
        EXPECT_EQ(SafeArrayGetElemsize(a.get()), t.size);
        EXPECT_EQ(SafeArrayGetDim(a.get()), 1u);
        EXPECT_EQ(a->fFeatures, FADF_HAVEVARTYPE | t.extraFeature);
        VARTYPE vt = VT_EMPTY;
        EXPECT_EQ(SafeArrayGetVartype(a.get(), &vt), S_OK);
        EXPECT_EQ(vt, t.vt);
        const auto* bytes = static_cast<const unsigned char*>(a->pvData);
        for (UINT i = 0; i < 3 * t.size; ++i) EXPECT_EQ(bytes[i], 0);
    }
    for (VARTYPE vt : {VARTYPE(VT_EMPTY), VARTYPE(VT_DATE), VARTYPE(VT_DISPATCH), VARTYPE(VT_ARRAY | VT_I4)})
        EXPECT_EQ(SafeArrayCreateVector(vt, 0, 1), nullptr) << vt;
}

TEST(SafeArray, BoundsAndIndexing) {
    ArrayPtr a = Vector(VT_I4, -2, 4);
    LONG lb = 0, ub = 0;
    ASSERT_EQ(SafeArrayGetLBound(a.get(), 1, &lb), S_OK);
    ASSERT_EQ(SafeArrayGetUBound(a.get(), 1, &ub), S_OK);
    EXPECT_EQ(lb, -2);
    EXPECT_EQ(ub, 1);
    EXPECT_EQ(SafeArrayGetLBound(a.get(), 2, &lb), DISP_E_BADINDEX);
    EXPECT_EQ(SafeArrayGetUBound(a.get(), 0, &ub), DISP_E_BADINDEX);

    for (LONG i = -2; i <= 1; ++i) {
        LONG v = i * 10;
        ASSERT_EQ(SafeArrayPutElement(a.get(), &i, &v), S_OK);
    }
    const auto* data = static_cast<const LONG*>(a->pvData);
    EXPECT_EQ(data[0], -20);  // index relative to the lower bound
    EXPECT_EQ(data[3], 10);
    LONG idx = 0, out = 0;
    EXPECT_EQ(SafeArrayGetElement(a.get(), &idx, &out), S_OK);
    EXPECT_EQ(out, 0);

    for (LONG bad : {-3, 2}) {
        EXPECT_EQ(SafeArrayGetElement(a.get(), &bad, &out), DISP_E_BADINDEX);
        EXPECT_EQ(SafeArrayPutElement(a.get(), &bad, &out), DISP_E_BADINDEX);
    }
    EXPECT_EQ(SafeArrayGetElement(a.get(), nullptr, &out), E_INVALIDARG);
    EXPECT_EQ(SafeArrayPutElement(a.get(), &idx, nullptr), E_INVALIDARG);
    EXPECT_EQ(SafeArrayGetElement(nullptr, &idx, &out), E_INVALIDARG);

    ArrayPtr empty = Vector(VT_R8, 5, 0);
    ASSERT_EQ(SafeArrayGetUBound(empty.get(), 1, &ub), S_OK);
    EXPECT_EQ(ub, 4);
    EXPECT_EQ(SafeArrayGetElement(empty.get(), &ub, &out), DISP_E_BADINDEX);
}

TEST(SafeArray, BstrElementsAreCopiedInAndOut) {
    ArrayPtr a = Vector(VT_BSTR, 0, 2);
    CComBSTR text;
    text.Attach(SysAllocStringLen(L"a\0b", 3));  // the embedded NUL must survive every copy
    LONG i = 1;
    ASSERT_EQ(SafeArrayPutElement(a.get(), &i, text.Get()), S_OK);
    EXPECT_NE(static_cast<BSTR*>(a->pvData)[1], text.Get());

    CComBSTR out;
    ASSERT_EQ(SafeArrayGetElement(a.get(), &i, &out), S_OK);
    EXPECT_NE(out.Get(), static_cast<BSTR*>(a->pvData)[1]);
    EXPECT_EQ(ViewOf(out), std::wstring_view(L"a\0b", 3));

    // Replacing frees the old string (a leak would show under the sanitizer); null is a valid BSTR.
    ASSERT_EQ(SafeArrayPutElement(a.get(), &i, CComBSTR(L"new").Get()), S_OK);
    ASSERT_EQ(SafeArrayPutElement(a.get(), &i, nullptr), S_OK);
    EXPECT_EQ(static_cast<BSTR*>(a->pvData)[1], nullptr);
}

TEST(SafeArray, InterfaceElementsHoldTheirOwnReferences) {
    auto first = NewProbe();
    auto second = NewProbe();
    {
        ArrayPtr a = Vector(VT_UNKNOWN, 0, 1);
        LONG i = 0;
        ASSERT_EQ(SafeArrayPutElement(a.get(), &i, static_cast<IUnknown*>(first.Get())), S_OK);
        EXPECT_EQ(RefCount(first), 2u);

        CComPtr<IUnknown> out;
        ASSERT_EQ(SafeArrayGetElement(a.get(), &i, &out), S_OK);
        EXPECT_EQ(out.Get(), static_cast<IUnknown*>(first.Get()));
        EXPECT_EQ(RefCount(first), 3u);

        ASSERT_EQ(SafeArrayPutElement(a.get(), &i, static_cast<IUnknown*>(second.Get())), S_OK);
        EXPECT_EQ(RefCount(first), 2u);  // only `out` still holds one
        EXPECT_EQ(RefCount(second), 2u);
    }
    EXPECT_EQ(RefCount(second), 1u);  // released by destroy
}

TEST(SafeArray, VariantElementsAreDeepCopied) {
    ArrayPtr a = Vector(VT_VARIANT, 1, 1);
    VARIANT in;
    in.vt = VT_BSTR;
    in.bstrVal = SysAllocString(L"value");
    LONG i = 1;
    ASSERT_EQ(SafeArrayPutElement(a.get(), &i, &in), S_OK);
    VariantClear(&in);

    VARIANT out;
    out.vt = 0xFFFF;  // garbage: the out parameter is treated as uninitialized
    ASSERT_EQ(SafeArrayGetElement(a.get(), &i, &out), S_OK);
    ASSERT_EQ(out.vt, VT_BSTR);
    EXPECT_EQ(ViewOf(out.bstrVal), L"value");
    EXPECT_NE(out.bstrVal, static_cast<VARIANT*>(a->pvData)[0].bstrVal);
    VariantClear(&out);
}

TEST(SafeArray, LockedArrayRefusesDestructiveCalls) {
    SAFEARRAY* a = SafeArrayCreateVector(VT_BSTR, 0, 2);
    void* data = nullptr;
    ASSERT_EQ(SafeArrayAccessData(a, &data), S_OK);
    EXPECT_EQ(data, a->pvData);
    static_cast<BSTR*>(data)[0] = SysAllocString(L"owned by the array");
    SAFEARRAYBOUND bound{5, 0};
    EXPECT_EQ(SafeArrayDestroy(a), DISP_E_ARRAYISLOCKED);
    EXPECT_EQ(SafeArrayDestroyData(a), DISP_E_ARRAYISLOCKED);
    EXPECT_EQ(SafeArrayRedim(a, &bound), DISP_E_ARRAYISLOCKED);
    EXPECT_EQ(SafeArrayUnaccessData(a), S_OK);
    EXPECT_EQ(SafeArrayUnaccessData(a), E_UNEXPECTED);

    EXPECT_EQ(SafeArrayDestroyData(a), S_OK);  // frees the string, keeps the array usable
    EXPECT_EQ(static_cast<BSTR*>(a->pvData)[0], nullptr);
    EXPECT_EQ(SafeArrayDestroy(a), S_OK);
}

TEST(SafeArray, CopyIsDeep) {
    auto probe = NewProbe();
    ArrayPtr a = Vector(VT_VARIANT, 3, 2);
    auto* v = static_cast<VARIANT*>(a->pvData);
    v[0].vt = VT_BSTR;
    v[0].bstrVal = SysAllocString(L"s");
    v[1].vt = VT_UNKNOWN;
    v[1].punkVal = probe.Get();
    probe->AddRef();

    SAFEARRAY* raw = nullptr;
    ASSERT_EQ(SafeArrayCopy(a.get(), &raw), S_OK);
    ArrayPtr copy(raw);
    LONG lb = 0;
    SafeArrayGetLBound(copy.get(), 1, &lb);
    EXPECT_EQ(lb, 3);
    const auto* c = static_cast<VARIANT*>(copy->pvData);
    EXPECT_NE(c[0].bstrVal, v[0].bstrVal);
    EXPECT_EQ(ViewOf(c[0].bstrVal), L"s");
    EXPECT_EQ(RefCount(probe), 3u);
    copy.reset();
    EXPECT_EQ(RefCount(probe), 2u);
}

TEST(SafeArray, RedimKeepsElementsAndReleasesTruncatedOnes) {
    auto probe = NewProbe();
    ArrayPtr a = Vector(VT_UNKNOWN, 0, 2);
    LONG i = 1;
    SafeArrayPutElement(a.get(), &i, static_cast<IUnknown*>(probe.Get()));

    SAFEARRAYBOUND grow{4, 0};
    ASSERT_EQ(SafeArrayRedim(a.get(), &grow), S_OK);
    auto* e = static_cast<IUnknown**>(a->pvData);
    EXPECT_EQ(e[1], static_cast<IUnknown*>(probe.Get()));
    EXPECT_EQ(e[2], nullptr);
    EXPECT_EQ(e[3], nullptr);

    SAFEARRAYBOUND shrink{1, 0};
    ASSERT_EQ(SafeArrayRedim(a.get(), &shrink), S_OK);
    EXPECT_EQ(RefCount(probe), 1u);
    LONG ub = 0;
    SafeArrayGetUBound(a.get(), 1, &ub);
    EXPECT_EQ(ub, 0);
}

}  // namespace
