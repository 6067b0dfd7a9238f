#include "platform/ivi/session_service.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

TEST(IviSessionService, HandlesCarryOneValueAndDieAtDispose) {
    ViSession a = 0, b = 0;
    ASSERT_EQ(IviSession_New(&a), VI_SUCCESS);
    ASSERT_EQ(IviSession_New(&b), VI_SUCCESS);
    EXPECT_NE(a, 0u);
    EXPECT_NE(a, b);
    int cookie = 7;
    EXPECT_EQ(IviSession_SetDataPtr(a, &cookie), VI_SUCCESS);
    void* data = nullptr;
    EXPECT_EQ(IviSession_GetDataPtr(a, &data), VI_SUCCESS);
    EXPECT_EQ(data, &cookie);
    EXPECT_EQ(IviSession_GetDataPtr(b, &data), VI_SUCCESS);
    EXPECT_EQ(data, nullptr);

    EXPECT_EQ(IviSession_Dispose(a), VI_SUCCESS);
    EXPECT_EQ(IviSession_GetDataPtr(a, &data), IVI_ERROR_INVALID_SESSION_HANDLE);
    EXPECT_EQ(IviSession_Dispose(a), IVI_ERROR_INVALID_SESSION_HANDLE);
    EXPECT_EQ(IviSession_Lock(a, nullptr), IVI_ERROR_INVALID_SESSION_HANDLE);
    EXPECT_EQ(IviSession_SetError(a, -1, "x"), IVI_ERROR_INVALID_SESSION_HANDLE);
    EXPECT_EQ(IviSession_GetDataPtr(0xDEADBEEF, &data), IVI_ERROR_INVALID_SESSION_HANDLE);
    IviSession_Dispose(b);
}

TEST(IviSessionService, ErrorsArePerSessionAndPerThreadForSessionZero) {
    ViSession s = 0;
    ASSERT_EQ(IviSession_New(&s), VI_SUCCESS);
    EXPECT_EQ(IviSession_SetError(s, -42, "session text"), VI_SUCCESS);
    EXPECT_EQ(IviSession_SetError(0, -7, "thread text"), VI_SUCCESS);

    std::thread([] {
        ViStatus code = 1;
        char text[32] = "unchanged";
        EXPECT_EQ(IviSession_GetError(0, sizeof text, &code, text), VI_SUCCESS);
        EXPECT_EQ(code, 0);
        EXPECT_STREQ(text, "");
    }).join();

    ViStatus code = 0;
    char small[8];
    // Asking for the size, then a truncated copy, keep nothing from being lost until delivered.
    EXPECT_EQ(IviSession_GetError(s, 0, &code, nullptr), 13);
    EXPECT_EQ(IviSession_GetError(s, sizeof small, &code, small), 13);
    EXPECT_STREQ(small, "session");
    EXPECT_EQ(code, -42);
    char text[64];
    EXPECT_EQ(IviSession_SetError(s, -43, "again"), VI_SUCCESS);
    EXPECT_EQ(IviSession_GetError(s, sizeof text, &code, text), VI_SUCCESS);
    EXPECT_EQ(code, -43);
    EXPECT_STREQ(text, "again");
    EXPECT_EQ(IviSession_GetError(s, sizeof text, &code, text), VI_SUCCESS);
    EXPECT_EQ(code, 0);  // delivered errors are cleared

    EXPECT_EQ(IviSession_GetError(0, -1, &code, text), VI_SUCCESS);
    EXPECT_EQ(code, -7);
    EXPECT_STREQ(text, "thread text");
    IviSession_SetError(0, -8, "t");
    EXPECT_EQ(IviSession_ClearError(0), VI_SUCCESS);
    EXPECT_EQ(IviSession_GetError(0, -1, &code, text), VI_SUCCESS);
    EXPECT_EQ(code, 0);
    IviSession_Dispose(s);
}

TEST(IviSessionService, LockIsRecursiveAndHonoursTheCallerFlag) {
    ViSession s = 0;
    ASSERT_EQ(IviSession_New(&s), VI_SUCCESS);
    ViBoolean has = VI_FALSE;
    EXPECT_EQ(IviSession_Lock(s, &has), VI_SUCCESS);
    EXPECT_EQ(has, VI_TRUE);
    EXPECT_EQ(IviSession_Lock(s, &has), VI_SUCCESS);  // already held: no second level
    EXPECT_EQ(IviSession_Lock(s, nullptr), VI_SUCCESS);

    std::atomic<bool> acquired{false};
    std::thread other([&] {
        IviSession_Lock(s, nullptr);
        acquired = true;
        IviSession_Unlock(s, nullptr);
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(acquired);
    EXPECT_EQ(IviSession_Unlock(s, nullptr), VI_SUCCESS);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_FALSE(acquired);  // one level still held
    EXPECT_EQ(IviSession_Unlock(s, &has), VI_SUCCESS);
    EXPECT_EQ(has, VI_FALSE);
    EXPECT_EQ(IviSession_Unlock(s, &has), VI_SUCCESS);  // flag says not held: nothing to do
    other.join();
    EXPECT_TRUE(acquired);
    IviSession_Dispose(s);
}

TEST(IviSessionService, DisposeReleasesAWaiter) {
    ViSession s = 0;
    ASSERT_EQ(IviSession_New(&s), VI_SUCCESS);
    ASSERT_EQ(IviSession_Lock(s, nullptr), VI_SUCCESS);
    ViStatus waiterStatus = VI_SUCCESS;
    std::thread waiter([&] { waiterStatus = IviSession_Lock(s, nullptr); });
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_EQ(IviSession_Dispose(s), VI_SUCCESS);
    waiter.join();
    EXPECT_EQ(waiterStatus, IVI_ERROR_INVALID_SESSION_HANDLE);
}

}  // namespace
