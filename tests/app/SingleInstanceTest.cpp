// The single-instance guard against real named mutexes under Wine, including two copies starting at once.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "app/SingleInstance.h"
#include "win/WinHandles.h"

namespace {

// A mutex name of this test process alone, so that the cases do not meet each other or a running program.
std::string uniqueName(const char* what) {
    return "CanopiaSingleInstanceTest_" + std::to_string(::GetCurrentProcessId()) + "_" + what;
}

// The other copy created the mutex just after this copy's open missed it.
HANDLE WINAPI openMissesIt(DWORD, BOOL, LPCSTR) { return nullptr; }

}  // namespace

TEST(SingleInstance, TheFirstCopyHoldsTheMutexAndEveryLaterOneIsRefused) {
    const std::string name = uniqueName("first");
    EXPECT_EQ(app::singleInstanceClaim(name.c_str()), app::InstanceClaim::First);
    // Held after the claim: a later copy finds it with its open, and also with its creation.
    const win::UniqueHandle held{::OpenMutexA(SYNCHRONIZE, FALSE, name.c_str())};
    EXPECT_TRUE(held);
    EXPECT_EQ(app::singleInstanceClaim(name.c_str()), app::InstanceClaim::AnotherCopyRuns);
    EXPECT_EQ(app::singleInstanceClaim(name.c_str(), openMissesIt), app::InstanceClaim::AnotherCopyRuns);
}

TEST(SingleInstance, ACopyWhoseOpenMissedTheOtherIsStillRefusedByTheCreation) {
    const std::string name = uniqueName("race");
    const win::UniqueHandle other{::CreateMutexA(nullptr, FALSE, name.c_str())};
    ASSERT_TRUE(other);
    EXPECT_EQ(app::singleInstanceClaim(name.c_str(), openMissesIt), app::InstanceClaim::AnotherCopyRuns);
}

TEST(SingleInstance, AStartSucceedsOnceTheRunningCopyHasGone) {
    const std::string name = uniqueName("gone");
    {
        const win::UniqueHandle ended{::CreateMutexA(nullptr, FALSE, name.c_str())};
        ASSERT_TRUE(ended);
    }
    EXPECT_EQ(app::singleInstanceClaim(name.c_str()), app::InstanceClaim::First);
}
