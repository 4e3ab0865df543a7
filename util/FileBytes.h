// Whole-file reads and replace-or-keep writes on the Win32 file API.
#pragma once

#include <string>
#include <string_view>

namespace util {

// The file's bytes. Raises 3002 "File could not be opened." or 3003 "File could not be read.".
std::string ReadFileBytes(const std::wstring& path);

// Writes `bytes` to a new file in the target's folder and renames it over the target, so the
// target afterwards holds either all of `bytes` or what it held before. False on any failure,
// with nothing left behind.
bool ReplaceFileBytes(const std::wstring& path, std::string_view bytes);

}  // namespace util
