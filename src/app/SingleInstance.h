// The single-instance guard: a named mutex of the user's logon tells a starting copy that another one runs.
#pragma once

#include <windows.h>

namespace app {

// No namespace prefix: one instance per logon.
inline constexpr const char* kMutexName = "Canopia_Mutex";

// How the mutex is opened: OpenMutexA, unless a test stands in for the moment between two copies starting.
using MutexOpen = HANDLE(WINAPI*)(DWORD access, BOOL inherit, LPCSTR name);

enum class InstanceClaim { First, AnotherCopyRuns };

// Opens the mutex to see whether another copy runs; when none does, creates it and holds it until the process
// ends. Two copies started at the same moment can both miss the open: the creation then finds the mutex made
// by the other (ERROR_ALREADY_EXISTS), which also counts as another copy running. A creation that fails
// altogether lets the program run without the guard.
InstanceClaim singleInstanceClaim(const char* name = kMutexName, MutexOpen open = ::OpenMutexA);

}  // namespace app
