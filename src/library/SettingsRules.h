// Settings-file rules that need no platform: reading stored integers, and the paths derived from the
// executable's path (the program folder and the settings file beside it).
#pragma once

#include <optional>
#include <string>
#include <string_view>

// A stored integer: decimal with an optional sign, or hexadecimal after "0x"/"0X" when the text is longer
// than two characters. nullopt for anything else, including a value that does not fit in an int.
std::optional<int> profileIntegerParse(std::string_view text);

// A stored boolean is read as an integer, non-zero meaning true; nullopt when the text is no integer.
std::optional<bool> profileBooleanParse(std::string_view text);

// The settings file of an executable: the extension after the last "." of the file-name part replaced by
// ".ini", or ".ini" appended when the file name has no ".".
std::string iniPathFromExePath(std::string_view exePath);

// The folder of an executable, without a trailing backslash except for a root ("C:\", "\").
std::string folderFromExePath(std::string_view exePath);

// A text read that filled its buffer may end in the first half of a double-byte character; that half is
// dropped so no caller ever sees a lead byte without its trail byte.
std::string_view profileTextCut(std::string_view text, std::size_t bufferBytes);
