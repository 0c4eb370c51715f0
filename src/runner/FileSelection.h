// The file list of a multi-selection file-open dialog, and joining a folder with a name.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace runner {

// "folder" + "\" + "name", without doubling the backslash of a root (C:\) or a folder that ends in one.
// A folder ending in a 0x5C trail byte (表) still gets its separator.
std::string pathJoin(std::string_view folder, std::string_view name);

// The full paths of an explorer-style file-open result: either one full path, or the folder followed by
// the names, each NUL-terminated, the list ended by an empty string. The dialog's order is kept.
std::vector<std::string> selectedFilesSplit(const char* buffer, std::size_t size);

}  // namespace runner
