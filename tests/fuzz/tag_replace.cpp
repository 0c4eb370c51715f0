// Fuzz target: tag substitution with hostile file paths: lead bytes at the end, 0x5C trail bytes (表, ソ), drive
// colons, roots, names thousands of bytes long. The path parts must put the path back together, and the
// replaced line must equal a slow reference that walks the characters afresh after every replacement; text
// without "[%" comes back unchanged.
#include <string>
#include <string_view>
#include <vector>

#include "FuzzSupport.h"
#include "runner/TagReplace.h"

namespace {

constexpr std::string_view kTags[] = {"[%FILEPATH%]", "[%FOLDER%]", "[%FILENAME%]", "[%FILEEXT%]", "[%NUMBER%]"};

bool isSeparator(std::string_view s, std::size_t at) { return s[at] == '\\' || s[at] == ':'; }

bool tagAt(std::string_view s, std::size_t at, std::string_view tag) {
    if (s.size() - at < tag.size()) return false;
    for (std::size_t k = 0; k < tag.size(); ++k) {
        char c = s[at + k];
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        if (c != tag[k]) return false;
    }
    return true;
}

// Each tag in turn: the first match on a character boundary at or after `from`, boundaries found from the start
// of the text as it stands, the search going on after the inserted value.
std::string referenceReplace(std::string s, const runner::TagValues& v) {
    const std::string* values[] = {&v.filePath, &v.folder, &v.fileName, &v.fileExt, &v.number};
    for (int t = 0; t < 5; ++t) {
        std::size_t from = 0;
        for (bool found = true; found;) {
            found = false;
            for (std::size_t at : fuzz::characterStarts(s)) {
                if (at < from || at == s.size() || !tagAt(s, at, kTags[t])) continue;
                s.replace(at, kTags[t].size(), *values[t]);
                from = at + values[t]->size();
                found = true;
                break;
            }
        }
    }
    return s;
}

void checkParts(const std::string& path) {
    const runner::PathParts parts = runner::pathPartsSplit(path);
    // path = directory + (the backslash that closed a folder name, when dropped) + file name.
    FUZZ_CHECK(parts.directory.size() + parts.fileName.size() <= path.size());
    FUZZ_CHECK(path.compare(0, parts.directory.size(), parts.directory) == 0);
    FUZZ_CHECK(path.compare(path.size() - parts.fileName.size(), parts.fileName.size(), parts.fileName) == 0);
    const std::string middle =
        path.substr(parts.directory.size(), path.size() - parts.directory.size() - parts.fileName.size());
    FUZZ_CHECK(middle.empty() || middle == "\\");
    FUZZ_CHECK(parts.baseName + parts.extension == parts.fileName);
    FUZZ_CHECK(parts.extension.empty() || parts.extension[0] == '.');

    // The file name starts after the path's last separator character, and the extension at the file name's last
    // period; a trail byte is neither.
    const std::vector<std::size_t> starts = fuzz::characterStarts(path);
    const std::size_t nameStart = path.size() - parts.fileName.size();
    const std::size_t extensionStart = path.size() - parts.extension.size();
    std::size_t lastSeparator = std::string::npos;
    bool extensionStartSeen = parts.extension.empty();
    for (std::size_t i = 0; i + 1 < starts.size(); ++i) {
        const std::size_t at = starts[i];
        if (starts[i + 1] - at != 1) continue;
        if (isSeparator(path, at)) lastSeparator = at;
        if (path[at] == '.' && at >= nameStart) FUZZ_CHECK(!parts.extension.empty() && at <= extensionStart);
        if (at == extensionStart && path[at] == '.') extensionStartSeen = true;
    }
    FUZZ_CHECK(lastSeparator == std::string::npos ? nameStart == 0 : nameStart == lastSeparator + 1);
    FUZZ_CHECK(extensionStartSeen);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in{data, size};
    const int number = static_cast<int>(in.number(100000));
    // A path: a head, then a piece repeated up to 2000 times, then a tail; so names grow very long.
    const std::string head = fuzz::pieceText(in, 12, false);
    const std::string piece = fuzz::pieceText(in, 3, false);
    const std::size_t repeats = in.byte() < 32 ? in.number(2001) : 0;
    const std::string tail = fuzz::pieceText(in, 12, false);
    std::string path = head;
    for (std::size_t i = 0; i < repeats && !piece.empty(); ++i) path += piece;
    path += tail;
    // A file name may hold tags itself ("[%FOLDER%].dwg"), which later tags replace again: such paths are kept
    // short, or a line full of tags grows to many megabytes.
    if (path.find("[%") != std::string::npos && path.size() > 40) path.resize(40);
    const std::string line = fuzz::pieceText(in, 40, false);

    checkParts(path);
    const runner::TagValues values = runner::tagValuesFor(path, number);
    FUZZ_CHECK(values.filePath == path);
    FUZZ_CHECK(values.folder == runner::pathPartsSplit(path).directory + "\\");
    FUZZ_CHECK(values.number == std::to_string(number));

    const std::string replaced = runner::scriptTagReplace(line, values);
    if (line.find("[%") == std::string::npos) FUZZ_CHECK(replaced == line);
    // The reference walks the whole text after every replacement: long results are left to the checks above.
    if (replaced.size() <= 8192) FUZZ_CHECK(replaced == referenceReplace(line, values));
    return 0;
}
