// The single-instance guard.
#include "app/SingleInstance.h"

#include "win/WinHandles.h"

namespace app {

InstanceClaim singleInstanceClaim(const char* name, MutexOpen open) {
    if (win::UniqueHandle existing{open(MUTEX_ALL_ACCESS, FALSE, name)}) return InstanceClaim::AnotherCopyRuns;
    win::UniqueHandle created{::CreateMutexA(nullptr, FALSE, name)};
    if (created && ::GetLastError() == ERROR_ALREADY_EXISTS) return InstanceClaim::AnotherCopyRuns;
    // Held for the program's life and never closed: the process's end releases it.
    (void)created.release();
    return InstanceClaim::First;
}

}  // namespace app
