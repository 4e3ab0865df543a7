// The existence test of the read and list operations, on the foundation's directory listing.
#pragma once

#include <string>

namespace util {

// Whether the folder (directories admitted) or the ordinary file (hidden and system files not
// found) exists. Relative paths are taken from the current folder.
bool FolderExists(const std::wstring& path);
bool FileExists(const std::wstring& path);

}  // namespace util
