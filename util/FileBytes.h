// Whole-file reads and replace-or-keep writes on the Win32 file API.
#pragma once

#include <string>
#include <string_view>

namespace util {

// The file's bytes. Raises 3002 "File could not be opened." or 3003 "File could not be read.".
std::string ReadFileBytes(const std::wstring& path);

// Writes `bytes` to a new file in the target's folder and puts it in the target's place
// (ReplaceFileW for an existing file, which keeps its security, streams and creation time), so
// the target afterwards holds either all of `bytes` or what it held before. A file of several
// names (hard links) and a stream ("a.txt:s", only on a volume with streams) are written in
// place instead; a symbolic link keeps leading to its file. False on any failure, with nothing
// left behind.
bool ReplaceFileBytes(const std::wstring& path, std::string_view bytes);

}  // namespace util
