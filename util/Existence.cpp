#include "util/Existence.h"

#include <windows.h>

#include "controls/foundation/Common.h"
#include "util/Paths.h"

namespace util {
namespace {

// The listing goes through "\\?\", which takes no relative path: the full path is made first.
bool Listed(const std::wstring& fullPath, DWORD attributes) {
    const bool found = !foundation::ListDirectoryEntry(fullPath, attributes).empty();
    // Run the listing to its end, which closes it: a search left open would keep the folder
    // busy. A mask without wildcards has one entry, so this is one more call.
    if (found)
        while (!foundation::ListDirectoryEntry(L"", attributes).empty()) {
        }
    return found;
}

// Drive and share roots keep their separator: without it they name no directory entry.
bool IsRoot(const std::wstring& full) {
    if (full.size() >= 2 && full.size() <= 3 && full[1] == L':') return true;
    if (full.size() >= 2 && full[0] == L'\\' && full[1] == L'\\') {
        size_t separators = 0;
        for (size_t i = 2; i + 1 < full.size(); ++i)
            if (full[i] == L'\\') ++separators;
        return separators <= 1;
    }
    return false;
}

}  // namespace

bool FolderExists(const std::wstring& path) {
    if (path.empty()) return false;
    std::wstring full = FullPathOf(path);
    // With its trailing separator the folder's contents would be listed instead of the folder,
    // and a folder holding only hidden entries would look missing.
    while (full.size() > 1 && (full.back() == L'\\' || full.back() == L'/') && !IsRoot(full)) full.pop_back();
    return Listed(full, FILE_ATTRIBUTE_DIRECTORY);
}

bool FileExists(const std::wstring& path) {
    return !path.empty() && Listed(FullPathOf(path), 0);
}

}  // namespace util
