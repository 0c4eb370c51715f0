// The editor's texts on the clipboard: reading a CF_TEXT block safely and making one.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace editor {

// The text of a clipboard block: up to its first NUL, and never past the block's size (data without a
// terminating NUL is bounded by the block). Null data gives an empty text.
std::string_view ClipboardTextOf(const char* data, std::size_t size) noexcept;

// The bytes of a CF_TEXT block for `text`: the text up to any NUL it holds, and a terminating NUL.
std::string ClipboardBlockOf(std::string_view text);

}  // namespace editor
