// Path spellings for the file API.
#pragma once

#include <string>

namespace util {

// The absolute form of `path` (relative to the current folder, "/" made "\"); `path` itself
// when it cannot be resolved.
std::wstring FullPathOf(const std::wstring& path);

// `path` behind the "\\?\" prefix (a network path in its "UNC\" form), which lifts the
// 260-character limit and turns off the file API's own path rewriting.
std::wstring PrefixedPathOf(const std::wstring& path);

}  // namespace util
