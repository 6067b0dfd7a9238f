#include <chrono>
#include <thread>

#include <gtest/gtest.h>

#include "platform/visa/resource_locks.h"

namespace zpv::visa {
namespace {

class VisaLocks : public ::testing::Test {
protected:
    ResourceLocks locks_;
    const std::string name_ = "TCPIP0::10.1.1.1::5025::SOCKET";
    const ResourceLocks::Owner a_ = ResourceLocks::NewOwner(), b_ = ResourceLocks::NewOwner(),
                               c_ = ResourceLocks::NewOwner();
};

TEST_F(VisaLocks, ExclusiveLockNestsAndShutsOthersOut) {
    EXPECT_EQ(locks_.Lock(name_, a_, VI_EXCLUSIVE_LOCK, 0, {}, nullptr), VI_SUCCESS);
    EXPECT_EQ(locks_.Lock(name_, a_, VI_EXCLUSIVE_LOCK, 0, {}, nullptr), VI_SUCCESS_NESTED_EXCLUSIVE);
    EXPECT_TRUE(locks_.MayAccess(name_, a_));
    EXPECT_FALSE(locks_.MayAccess(name_, b_));
    EXPECT_TRUE(locks_.MayAccess("ASRL1::INSTR", b_)) << "locks are per resource";
    EXPECT_EQ(locks_.Lock(name_, b_, VI_SHARED_LOCK, 50, {}, nullptr), VI_ERROR_RSRC_LOCKED);

    EXPECT_EQ(locks_.Unlock(name_, a_), VI_SUCCESS_NESTED_EXCLUSIVE);
    EXPECT_FALSE(locks_.MayAccess(name_, b_));
    EXPECT_EQ(locks_.Unlock(name_, a_), VI_SUCCESS);
    EXPECT_TRUE(locks_.MayAccess(name_, b_));
    EXPECT_EQ(locks_.Unlock(name_, a_), VI_ERROR_SESN_NLOCKED);
    EXPECT_EQ(locks_.Lock(name_, a_, 3, 0, {}, nullptr), VI_ERROR_INV_LOCK_TYPE);
}

TEST_F(VisaLocks, SharedLockAdmitsOnlyHoldersOfItsKey) {
    std::string key;
    EXPECT_EQ(locks_.Lock(name_, a_, VI_SHARED_LOCK, 0, {}, &key), VI_SUCCESS);
    EXPECT_FALSE(key.empty());
    std::string joined;
    EXPECT_EQ(locks_.Lock(name_, b_, VI_SHARED_LOCK, 0, key, &joined), VI_SUCCESS);
    EXPECT_EQ(joined, key);
    EXPECT_EQ(locks_.Lock(name_, c_, VI_SHARED_LOCK, 30, "some-other-key", nullptr), VI_ERROR_RSRC_LOCKED);
    EXPECT_TRUE(locks_.MayAccess(name_, b_));
    EXPECT_FALSE(locks_.MayAccess(name_, c_));
    // A sharer may take the exclusive lock; the other sharers are shut out until it is released.
    EXPECT_EQ(locks_.Lock(name_, a_, VI_EXCLUSIVE_LOCK, 30, {}, nullptr), VI_SUCCESS);
    EXPECT_FALSE(locks_.MayAccess(name_, b_));

    locks_.ReleaseAll(name_, a_);
    EXPECT_TRUE(locks_.MayAccess(name_, b_));
    EXPECT_FALSE(locks_.MayAccess(name_, c_));
    EXPECT_EQ(locks_.Unlock(name_, b_), VI_SUCCESS);
    EXPECT_TRUE(locks_.MayAccess(name_, c_));
}

TEST_F(VisaLocks, WaitingLockIsGrantedWhenReleasedWithinItsTimeout) {
    ASSERT_EQ(locks_.Lock(name_, a_, VI_EXCLUSIVE_LOCK, 0, {}, nullptr), VI_SUCCESS);
    std::thread holder([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        locks_.Unlock(name_, a_);
    });
    EXPECT_EQ(locks_.Lock(name_, b_, VI_EXCLUSIVE_LOCK, 5000, {}, nullptr), VI_SUCCESS);
    holder.join();
    EXPECT_FALSE(locks_.MayAccess(name_, a_));
}

}  // namespace
}  // namespace zpv::visa
