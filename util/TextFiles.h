// The save behind SaveUTF8File and SaveANSIFile, in any code page.
#pragma once

#include <windows.h>

#include <string>

namespace util {

// `text` in the code page, in place of the file's content (FileBytes' ReplaceFileBytes). False,
// the file as it was, when the text does not convert or the file cannot be written; never raises.
bool SaveTextFile(const std::wstring& text, const std::wstring& fileName, UINT codePage) noexcept;

}  // namespace util
