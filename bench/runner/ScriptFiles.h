// The files the combined-script benchmark writes and reads through: on each build the kind the program uses.
#pragma once

#include <memory>
#include <string>

#include "runner/ScriptText.h"

namespace benchfiles {

std::unique_ptr<runner::ByteSource> openScript(const std::string& path);  // throws IoError
std::unique_ptr<runner::ByteSink> createOutput(const std::string& path);  // throws IoError

}  // namespace benchfiles
