// The Unicode directory listing the utility class uses as its existence test.
//
// ListDirectoryEntry stands in for the routine of the same name in the foundation's Common
// module until that module is built; it behaves the same (one entry per call, "" at the end,
// error 52 for a bad name, 5 when continued without an open search) but for the volume label,
// which nothing here asks for, and keeps its own search, so the two never disturb each other.
#pragma once

#include <string>

namespace util {

// A non-empty mask starts a listing and answers its first entry that the attribute mask admits
// (2 hidden, 4 system, 16 directories); an empty mask continues it.
std::wstring ListDirectoryEntry(const std::wstring& mask, long attributes);
// Closes the open listing, if any.
void EndDirectoryListing();

// Whether the folder (directories admitted) or the ordinary file (hidden and system files not
// found) exists. Relative paths are taken from the current folder.
bool FolderExists(const std::wstring& path);
bool FileExists(const std::wstring& path);

}  // namespace util
