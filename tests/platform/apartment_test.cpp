#include <gtest/gtest.h>

#include <thread>

#include "platform/com/apartment.h"
#include "zpv4870_runtime.h"

namespace {

// Apartment state is per thread, so each scenario runs on a thread of its own.
template <class F>
void OnNewThread(F f) {
    std::thread(f).join();
}

TEST(Apartment, EntryIsCountedPerThread) {
    OnNewThread([] {
        EXPECT_FALSE(zpv::com::IsApartmentEntered());
        EXPECT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);
        EXPECT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_FALSE);
        EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), RPC_E_CHANGED_MODE);

        // Another thread is unaffected and may choose the other model.
        OnNewThread([] {
            EXPECT_FALSE(zpv::com::IsApartmentEntered());
            EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
            CoUninitialize();
        });

        // Two successful entries; the refused one does not count.
        CoUninitialize();
        EXPECT_TRUE(zpv::com::IsApartmentEntered());
        CoUninitialize();
        EXPECT_FALSE(zpv::com::IsApartmentEntered());
        CoUninitialize();  // unbalanced: harmless

        EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);  // the model may change once left
        CoUninitialize();
    });
}

}  // namespace
