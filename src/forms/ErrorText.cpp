// The text of the application-wide error box.
#include "forms/ErrorText.h"

#include "core/Cp932.h"

namespace forms {

std::string errorBoxText(std::string_view message) {
    std::string text(message);
    if (text.empty()) return text;
    const std::size_t last = cp932::prevCharPos(message, message.size());
    if (static_cast<unsigned char>(message[last]) > static_cast<unsigned char>('.')) text += '.';
    return text;
}

}  // namespace forms
