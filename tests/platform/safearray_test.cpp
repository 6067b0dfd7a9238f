#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "platform/com/block_recycler.h"
#include "platform/com/owned_bytes.h"
#include "platform/com/text_conversion.h"
#include "platform/probe_object.h"

namespace {

using zpv::com::test_support::NewProbe;
using zpv::com::test_support::RefCount;

struct ArrayDeleter {
    void operator()(SAFEARRAY* psa) const { EXPECT_EQ(SafeArrayDestroy(psa), S_OK); }
};
using ArrayPtr = std::unique_ptr<SAFEARRAY, ArrayDeleter>;

TEST(SafeArray, CreateAndIndex) {
    EXPECT_EQ(SafeArrayCreateVector(VT_DATE, 0, 1), nullptr);
    ArrayPtr a(SafeArrayCreateVector(VT_I4, -2, 4));
    LONG ub = 0, out = 1;
    EXPECT_EQ(SafeArrayGetUBound(a.get(), 1, &ub), S_OK);
    EXPECT_EQ(ub, 1);
    EXPECT_EQ(SafeArrayGetUBound(a.get(), 2, &ub), DISP_E_BADINDEX);
    for (LONG i = -2; i <= 1; ++i) ASSERT_EQ(SafeArrayPutElement(a.get(), &i, &i), S_OK);
    EXPECT_EQ(static_cast<LONG*>(a->pvData)[3], 1);  // indices count from the lower bound
    for (LONG bad : {-3, 2}) EXPECT_EQ(SafeArrayGetElement(a.get(), &bad, &out), DISP_E_BADINDEX);
}

// Leaks and double frees in element ownership show up under the sanitizer.
TEST(SafeArray, ElementsOwnTheirContents) {
    ArrayPtr s(SafeArrayCreateVector(VT_BSTR, 0, 1));
    CComBSTR text;
    text.Attach(SysAllocStringLen(L"a\0b", 3));
    LONG i = 0;
    ASSERT_EQ(SafeArrayPutElement(s.get(), &i, text.Get()), S_OK);
    CComBSTR out;
    ASSERT_EQ(SafeArrayGetElement(s.get(), &i, &out), S_OK);
    EXPECT_NE(out.Get(), static_cast<BSTR*>(s->pvData)[0]);
    EXPECT_EQ(zpv::com::ViewOf(out), std::wstring_view(L"a\0b", 3));
    ASSERT_EQ(SafeArrayPutElement(s.get(), &i, nullptr), S_OK);  // frees the old string

    auto first = NewProbe(), second = NewProbe();
    ArrayPtr u(SafeArrayCreateVector(VT_UNKNOWN, 0, 1));
    ASSERT_EQ(SafeArrayPutElement(u.get(), &i, static_cast<IUnknown*>(first.Get())), S_OK);
    ASSERT_EQ(SafeArrayPutElement(u.get(), &i, static_cast<IUnknown*>(second.Get())), S_OK);
    EXPECT_EQ(RefCount(first), 1u);
    SAFEARRAY* copy = nullptr;
    ASSERT_EQ(SafeArrayCopy(u.get(), &copy), S_OK);
    EXPECT_EQ(RefCount(second), 3u);
    SafeArrayDestroy(copy);
    u.reset();
    EXPECT_EQ(RefCount(second), 1u);
}

TEST(SafeArray, LockingAndResizing) {
    auto probe = NewProbe();
    ArrayPtr a(SafeArrayCreateVector(VT_UNKNOWN, 0, 2));
    LONG i = 1;
    SafeArrayPutElement(a.get(), &i, static_cast<IUnknown*>(probe.Get()));

    void* data = nullptr;
    ASSERT_EQ(SafeArrayAccessData(a.get(), &data), S_OK);
    SAFEARRAYBOUND bound{4, 0};
    EXPECT_EQ(SafeArrayRedim(a.get(), &bound), DISP_E_ARRAYISLOCKED);
    EXPECT_EQ(SafeArrayDestroy(a.get()), DISP_E_ARRAYISLOCKED);
    EXPECT_EQ(SafeArrayUnaccessData(a.get()), S_OK);

    ASSERT_EQ(SafeArrayRedim(a.get(), &bound), S_OK);
    auto* e = static_cast<IUnknown**>(a->pvData);
    EXPECT_EQ(e[1], static_cast<IUnknown*>(probe.Get()));
    EXPECT_EQ(e[3], nullptr);
    bound.cElements = 1;
    ASSERT_EQ(SafeArrayRedim(a.get(), &bound), S_OK);
    EXPECT_EQ(RefCount(probe), 1u);  // the truncated element was released
}

}  // namespace

namespace {

// A byte array as a reply builds it: bytes written into OwnedBytes, then handed over.
SAFEARRAY* ReplyOf(std::size_t size, BYTE fill) {
    zpv::com::OwnedBytes bytes;
    if (!bytes.Reserve(4096) || !bytes.Reserve(size)) return nullptr;
    std::memset(bytes.data(), fill, size);
    bytes.Grow(size);
    return bytes.ReleaseAsSafeArray();
}

bool AllAre(SAFEARRAY* array, std::size_t size, BYTE fill) {
    const auto* data = static_cast<const BYTE*>(array->pvData);
    return array->rgsabound[0].cElements == size && std::all_of(data, data + size, [&](BYTE b) { return b == fill; });
}

}  // namespace

// Replies read one after another reuse a destroyed array's block, yet a block still held by a
// live array is never handed to the next reply.
TEST(SafeArray, ReplyBlocksAreReusedOnlyOnceReleased) {
    std::size_t usable = 0;
    std::free(zpv::com::recycler::Take(1, &usable));  // whatever earlier tests left kept
    SAFEARRAY* first = ReplyOf(100000, 1);
    ASSERT_NE(first, nullptr);
    const void* firstBlock = first->pvData;
    SAFEARRAY* second = ReplyOf(100000, 2);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(second->pvData, firstBlock);
    EXPECT_TRUE(AllAre(first, 100000, 1)) << "the second reply wrote into the first";
    EXPECT_TRUE(AllAre(second, 100000, 2));
    SafeArrayDestroy(first);
    SAFEARRAY* third = ReplyOf(90000, 3);
    ASSERT_NE(third, nullptr);
    EXPECT_EQ(third->pvData, firstBlock) << "the released block serves the next reply";
    EXPECT_TRUE(AllAre(third, 90000, 3));
    EXPECT_TRUE(AllAre(second, 100000, 2));
    // Too large to hold idle: a plain allocation, still exact.
    SAFEARRAY* large = ReplyOf(8u << 20, 4);
    ASSERT_NE(large, nullptr);
    EXPECT_TRUE(AllAre(large, 8u << 20, 4));
    for (SAFEARRAY* array : {second, third, large}) SafeArrayDestroy(array);
}
