// RAII owner for the shell's item lists, apart from WinHandles.h so that only the shell's users pull in
// <shlobj.h> and link shell32.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <memory>

namespace win {

// An item list from the shell (SHGetSpecialFolderLocation, SHBrowseForFolderA, ILClone), freed with ILFree.
struct PidlDeleter {
    void operator()(ITEMIDLIST* p) const noexcept { ::ILFree(p); }
};
using UniquePidl = std::unique_ptr<ITEMIDLIST, PidlDeleter>;

}  // namespace win
