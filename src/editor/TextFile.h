// Reading a text file into rows and writing the text back without ever losing the old file.
#pragma once

#include <cstdio>
#include <functional>
#include <string>
#include <string_view>

class TRowBaseList;

namespace textfile {

constexpr std::size_t kReadChunk = 64 * 1024;

// Appends the rows of `file` to an empty list: breaks at CR LF, lone CR and lone LF (a CR at the end of one
// read and an LF at the start of the next are one break), reading stops at the first 0x1A byte, and text after
// the last break becomes a raTextEnd row. `chunk` is the read size (tests use small ones). False on a read
// error (the rows read so far stay).
bool ReadRows(std::FILE* file, TRowBaseList& rows, std::size_t chunk = kReadChunk);
// The same from a string.
void TextToRows(std::string_view text, TRowBaseList& rows);

// Writes a new file beside `path` through `write` (which returns false when a write failed), flushes and
// closes it, and only then puts it in place of `path`. On any failure the old file is unchanged, the new one
// removed, and false returned.
bool WriteReplacing(const std::string& path, const std::function<bool(std::FILE*)>& write);
bool WriteReplacing(const std::string& path, std::string_view content);

}  // namespace textfile
