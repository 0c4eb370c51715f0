// Reading rows from a file or a string, and the write-beside-then-replace save.
#include "editor/TextFile.h"

#include <algorithm>
#include <cstring>

#include "editor/RowBaseList.h"

namespace textfile {
bool ReadRows(std::FILE* file, TRowBaseList& rows, std::size_t chunk) {
    std::setvbuf(file, nullptr, _IONBF, 0);  // the rows' blocks are the only buffer
    return rows.LoadRows(
        [file](char* buffer, std::size_t size) -> long {
            const std::size_t got = std::fread(buffer, 1, size, file);
            if (got == 0 && std::ferror(file)) return -1;
            return static_cast<long>(got);
        },
        chunk);
}

void TextToRows(std::string_view text, TRowBaseList& rows) {
    std::size_t at = 0;
    rows.LoadRows(
        [text, &at](char* buffer, std::size_t size) -> long {
            const std::size_t n = std::min(size, text.size() - at);
            if (n) std::memcpy(buffer, text.data() + at, n);
            at += n;
            return static_cast<long>(n);
        },
        kReadChunk);
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
