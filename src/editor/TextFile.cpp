// Reading rows from a file or a string, and the write-beside-then-replace save.
#include "editor/TextFile.h"

#include <cstring>
#include <memory>

#include "editor/RowBaseList.h"

namespace textfile {
namespace {

constexpr char kEof = 0x1A;

// Splits [p, end) into rows. A row that runs past `end` is kept in `carry`; a CR that is the last byte sets
// `pendingCr`, so that an LF starting the next chunk is taken as the second half of the same break.
void scanChunk(const char* p, const char* end, std::string& carry, bool& pendingCr, TRowBaseList& rows) {
    auto findOr = [end](const char* from, char c) -> const char* {
        if (from >= end) return end;
        const void* q = std::memchr(from, c, static_cast<std::size_t>(end - from));
        return q ? static_cast<const char*>(q) : end;
    };
    const char* lineStart = p;
    const char* nextCr = findOr(p, '\r');
    const char* nextLf = findOr(p, '\n');
    for (;;) {
        const char* brk;
        const char* after;
        if (nextCr < nextLf) {
            brk = nextCr;
            if (brk + 1 == end) {
                after = end;
                pendingCr = true;
            } else {
                after = brk + (brk[1] == '\n' ? 2 : 1);
            }
        } else if (nextLf < end) {
            brk = nextLf;
            after = brk + 1;
        } else {
            break;
        }
        if (carry.empty()) {
            rows.BulkAppend(std::string_view(lineStart, static_cast<std::size_t>(brk - lineStart)), raLineEnd);
        } else {
            carry.append(lineStart, brk);
            rows.BulkAppend(carry, raLineEnd);
            carry.clear();
        }
        lineStart = after;
        if (nextCr < after) nextCr = findOr(after, '\r');
        if (nextLf < after) nextLf = findOr(after, '\n');
    }
    carry.append(lineStart, end);
}

}  // namespace

bool ReadRows(std::FILE* file, TRowBaseList& rows, std::size_t chunk) {
    if (chunk == 0) chunk = kReadChunk;
    std::unique_ptr<char[]> buffer(new char[chunk]);
    std::setvbuf(file, nullptr, _IONBF, 0);  // our buffer is the only one
    std::string carry;
    bool pendingCr = false;
    bool ok = true;
    for (bool stop = false; !stop;) {
        const std::size_t got = std::fread(buffer.get(), 1, chunk, file);
        if (got == 0) {
            ok = !std::ferror(file);
            break;
        }
        const char* p = buffer.get();
        const char* end = p + got;
        if (const void* z = std::memchr(p, kEof, got)) {
            end = static_cast<const char*>(z);
            stop = true;
        }
        if (pendingCr) {
            pendingCr = false;
            if (p < end && *p == '\n') ++p;
        }
        scanChunk(p, end, carry, pendingCr, rows);
    }
    if (!carry.empty()) rows.BulkAppend(carry, raTextEnd);
    rows.BulkEnd();
    return ok;
}

void TextToRows(std::string_view text, TRowBaseList& rows) {
    const std::size_t eof = text.find(kEof);
    if (eof != std::string_view::npos) text = text.substr(0, eof);
    std::string carry;
    bool pendingCr = false;
    scanChunk(text.data(), text.data() + text.size(), carry, pendingCr, rows);
    if (!carry.empty()) rows.BulkAppend(carry, raTextEnd);
    rows.BulkEnd();
}

bool WriteReplacing(const std::string& path, const std::function<bool(std::FILE*)>& write) {
    const std::string fresh = path + ".~cnp";
    std::FILE* f = std::fopen(fresh.c_str(), "wb");
    if (!f) return false;
    bool ok = write(f);
    ok = std::fflush(f) == 0 && ok;
    ok = !std::ferror(f) && ok;
    ok = std::fclose(f) == 0 && ok;
    if (!ok) {
        std::remove(fresh.c_str());
        return false;
    }
    if (std::rename(fresh.c_str(), path.c_str()) == 0) return true;
    // Where a rename does not replace an existing file (Windows), the old file steps aside first and comes
    // back if the new one cannot take its place. Only a file we could write ourselves is moved: never a
    // folder, never a read-only file.
    std::FILE* existing = std::fopen(path.c_str(), "r+b");
    if (!existing) {
        std::remove(fresh.c_str());
        return false;
    }
    std::fclose(existing);
    const std::string old = path + ".~cnp-old";
    std::remove(old.c_str());
    if (std::rename(path.c_str(), old.c_str()) != 0) {
        std::remove(fresh.c_str());
        return false;
    }
    if (std::rename(fresh.c_str(), path.c_str()) != 0) {
        std::rename(old.c_str(), path.c_str());
        std::remove(fresh.c_str());
        return false;
    }
    std::remove(old.c_str());
    return true;
}

bool WriteReplacing(const std::string& path, std::string_view content) {
    return WriteReplacing(path, [content](std::FILE* f) {
        return std::fwrite(content.data(), 1, content.size(), f) == content.size();
    });
}

}  // namespace textfile
