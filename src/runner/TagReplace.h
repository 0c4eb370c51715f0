// Tags of the batch run and the Shift-JIS path parts they stand for.
#pragma once

#include <cstring>
#include <string>
#include <string_view>

namespace runner {

// The parts of one full path. A separator is a backslash or a colon; a 0x5C trail byte (表, ソ) is none.
struct PathParts {
    std::string directory;  // up to the last separator; a drive root keeps its backslash (C:\)
    std::string fileName;   // after the last separator
    std::string baseName;   // file name before its last dot (the whole name when it has no dot)
    std::string extension;  // from the last dot of the file name, dot included; empty without a dot
};
PathParts pathPartsSplit(std::string_view path);

// What the five tags become for one file of a batch; computed once per file, used for every line.
struct TagValues {
    std::string filePath;  // [%FILEPATH%]
    std::string folder;    // [%FOLDER%]: the directory part and one backslash
    std::string fileName;  // [%FILENAME%]
    std::string fileExt;   // [%FILEEXT%]
    std::string number;    // [%NUMBER%]: 1-based position in the selection
};
TagValues tagValuesFor(const std::string& filePath, int number);

// The line with every tag replaced, in the order FILEPATH, FOLDER, FILENAME, FILEEXT, NUMBER, letter case
// ignored. A tag's search goes on after the text it inserted; later tags also search earlier insertions.
std::string scriptTagReplace(std::string line, const TagValues& values);
void scriptTagReplaceInPlace(std::string& line, const TagValues& values);
std::string scriptTagReplace(const std::string& line, const std::string& filePath, int number);

// True when the line may hold a tag; lines without '[' are written as they are.
inline bool lineMayHoldTag(std::string_view line) noexcept {
    return !line.empty() && std::memchr(line.data(), '[', line.size()) != nullptr;
}

}  // namespace runner
