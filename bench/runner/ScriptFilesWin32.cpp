// Script files for the Windows benchmark: the very files a batch run reads the script and writes tmp.scr with.
#include "ScriptFiles.h"

#include "runner/Win32Files.h"

namespace benchfiles {

std::unique_ptr<runner::ByteSource> openScript(const std::string& path) {
    return std::make_unique<runner::Win32FileSource>(path);
}

std::unique_ptr<runner::ByteSink> createOutput(const std::string& path) {
    return std::make_unique<runner::Win32FileSink>(path);
}

}  // namespace benchfiles
