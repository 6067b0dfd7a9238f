#include "core/simulated_value_store.h"

#include <gtest/gtest.h>

#include "ZPV4870.h"
#include "core/range_check.h"

namespace zpv::driver {
namespace {

TEST(SimulatedValueStore, DefaultsUntilSetThenValueUntilInvalidated) {
    SimulatedValueStore store;
    EXPECT_EQ(store.Get<LONG>("IZPV4870System.Alarm", 5), 5);
    store.Put<LONG>("IZPV4870System.Alarm", 7);
    EXPECT_EQ(store.Get<LONG>("IZPV4870System.Alarm", 5), 7);
    store.Put<ZPV4870RangeEnum>("IZPV4870ManualMode.Range", ZPV4870RangeLow);
    EXPECT_EQ(store.Get<ZPV4870RangeEnum>("IZPV4870ManualMode.Range", ZPV4870RangeAuto), ZPV4870RangeLow);

    store.InvalidateAll();
    EXPECT_EQ(store.Get<LONG>("IZPV4870System.Alarm", 5), 5);
    EXPECT_EQ(store.Size(), 2u);  // invalidation keeps the entries
    store.Clear();
    EXPECT_EQ(store.Size(), 0u);
}

TEST(SimulatedValueStore, StringsAreCopiedInAndOut) {
    SimulatedValueStore store;
    BSTR dflt = store.Get<BSTR>("IZPV4870OutputPhase.Waveform", L"SINE");
    EXPECT_STREQ(dflt, L"SINE");
    SysFreeString(dflt);

    BSTR value = SysAllocString(L"Clipped");
    store.Put<BSTR>("IZPV4870OutputPhase.Waveform", value);
    SysFreeString(value);  // the store kept its own copy
    BSTR a = store.Get<BSTR>("IZPV4870OutputPhase.Waveform", L"SINE");
    BSTR b = store.Get<BSTR>("IZPV4870OutputPhase.Waveform", L"SINE");
    EXPECT_STREQ(a, L"Clipped");
    EXPECT_NE(a, b);
    SysFreeString(a);
    SysFreeString(b);

    // Keys are exact: the class interface's key is another entry.
    BSTR other = store.Get<BSTR>("IIviACPwrOutputPhase.Waveform", L"");
    EXPECT_STREQ(other, L"");
    SysFreeString(other);
}

TEST(RangeCheck, BoundsAllowARoundingStep) {
    EXPECT_TRUE(InRange(45.0000000000001, 0.0, 45.0));
    EXPECT_FALSE(InRange(45.001, 0.0, 45.0));
    EXPECT_TRUE(InRange(-1e-15, 0.0, 45.0));  // within the 1e-14 floor
    EXPECT_FALSE(InRange(-1e-13, 0.0, 45.0));
    EXPECT_FALSE(InRange(std::nan(""), 0.0, 45.0));
    EXPECT_TRUE(InRange(9L, 0L, 9L));
    EXPECT_FALSE(InRange(10L, 0L, 9L));
}

}  // namespace
}  // namespace zpv::driver
