// Clipboard blocks of the editor's texts.
#include "editor/ClipboardText.h"

#include <cstring>

namespace editor {

std::string_view ClipboardTextOf(const char* data, std::size_t size) noexcept {
    if (!data || size == 0) return {};
    const void* nul = std::memchr(data, '\0', size);
    return {data, nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - data) : size};
}

std::string ClipboardBlockOf(std::string_view text) {
    std::string block(text.substr(0, text.find('\0')));
    block.push_back('\0');
    return block;
}

}  // namespace editor
