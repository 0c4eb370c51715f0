// Splitting the file dialog's selection and joining paths, Shift-JIS aware.
#include "runner/FileSelection.h"

#include "core/Cp932.h"

namespace runner {

namespace {

bool endsWithSeparator(std::string_view folder) {
    if (folder.empty()) return false;
    std::size_t last = cp932::prevCharPos(folder, folder.size());
    return cp932::charLength(folder, last) == 1 && (folder[last] == '\\' || folder[last] == '/');
}

}  // namespace

std::string pathJoin(std::string_view folder, std::string_view name) {
    std::string path(folder);
    if (!endsWithSeparator(folder)) path += '\\';
    path.append(name);
    return path;
}

std::vector<std::string> selectedFilesSplit(const char* buffer, std::size_t size) {
    std::vector<std::string> parts;
    std::size_t pos = 0;
    while (pos < size && buffer[pos] != '\0') {
        std::size_t end = pos;
        while (end < size && buffer[end] != '\0') ++end;
        parts.emplace_back(buffer + pos, end - pos);
        pos = end + 1;
    }
    if (parts.size() <= 1) return parts;  // one file: its full path
    std::vector<std::string> files;
    files.reserve(parts.size() - 1);
    for (std::size_t i = 1; i < parts.size(); ++i) files.push_back(pathJoin(parts[0], parts[i]));
    return files;
}

}  // namespace runner
