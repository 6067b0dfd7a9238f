#include <gtest/gtest.h>

#include <thread>

#include "platform/com/apartment.h"
#include "zpv4870_runtime.h"

namespace {

TEST(Apartment, EntryIsCountedPerThread) {
    // Fresh threads, so that the test binary's main thread keeps whatever state it has.
    std::thread([] {
        EXPECT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);
        EXPECT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_FALSE);
        EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), RPC_E_CHANGED_MODE);
        std::thread([] {
            EXPECT_FALSE(zpv::com::IsApartmentEntered());
            EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
            CoUninitialize();
        }).join();

        CoUninitialize();  // two successful entries; the refused one does not count
        EXPECT_TRUE(zpv::com::IsApartmentEntered());
        CoUninitialize();
        EXPECT_FALSE(zpv::com::IsApartmentEntered());
        EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
        CoUninitialize();
    }).join();
}

}  // namespace
