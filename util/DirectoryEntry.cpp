#include "util/DirectoryEntry.h"

#include <windows.h>

#include "host/Handles.h"

#include "util/Errors.h"
#include "util/Paths.h"

namespace util {
namespace {

constexpr long kHidden = FILE_ATTRIBUTE_HIDDEN;
constexpr long kSystem = FILE_ATTRIBUTE_SYSTEM;
constexpr long kDirectory = FILE_ATTRIBUTE_DIRECTORY;

struct FindTraits {
    using Handle = HANDLE;
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { ::FindClose(h); }
};
using FindHandle = host::UniqueHandle<FindTraits>;

struct Search {
    FindHandle handle;
    long attributes = 0;
};

// The listing that an empty mask continues.
Search& OpenSearch() {
    static Search search;
    return search;
}

std::wstring UpToNul(const wchar_t* s, size_t capacity) {
    size_t n = 0;
    while (n < capacity && s[n]) ++n;
    return std::wstring(s, n);
}

// The name of `found` if the listing admits it, else "".
std::wstring Admitted(const WIN32_FIND_DATAW& found, long attributes) {
    const DWORD a = found.dwFileAttributes;
    if (a != FILE_ATTRIBUTE_NORMAL && (a & (kHidden | kSystem | kDirectory) & ~static_cast<DWORD>(attributes)))
        return L"";
    std::wstring name = UpToNul(found.cFileName, MAX_PATH);
    if ((a & kDirectory) && (name == L"." || name == L"..")) return L"";
    return name;
}

// The first admitted entry from `found` on; the end of the listing closes it.
std::wstring NextAdmitted(Search& search, WIN32_FIND_DATAW& found) {
    for (;;) {
        std::wstring name = Admitted(found, search.attributes);
        if (!name.empty()) return name;
        if (!::FindNextFileW(search.handle.Get(), &found)) {
            search.handle.Reset();
            return L"";
        }
    }
}

// Drive and share roots keep their separator: without it they name no directory entry.
bool IsRoot(const std::wstring& full) {
    if (full.size() <= 3 && full.size() >= 2 && full[1] == L':') return true;
    if (full.size() >= 2 && full[0] == L'\\' && full[1] == L'\\') {
        size_t separators = 0;
        for (size_t i = 2; i < full.size(); ++i)
            if (full[i] == L'\\' && i + 1 < full.size()) ++separators;
        return separators <= 1;
    }
    return false;
}

}  // namespace

std::wstring ListDirectoryEntry(const std::wstring& mask, long attributes) {
    Search& search = OpenSearch();
    WIN32_FIND_DATAW found{};
    if (mask.empty()) {
        if (!search.handle) Raise(base::err::InvalidProcedureCall);
        if (!::FindNextFileW(search.handle.Get(), &found)) {
            search.handle.Reset();
            return L"";
        }
        return NextAdmitted(search, found);
    }
    search.handle.Reset();
    std::wstring pattern = mask;
    const wchar_t last = pattern.back();
    if (last == L'\\' || last == L':' || last == L'/') pattern += L"*.*";
    search.attributes = attributes;
    HANDLE h = ::FindFirstFileW(PrefixedPathOf(pattern).c_str(), &found);
    if (h == INVALID_HANDLE_VALUE) {
        // Not found, no more files and the like are a plain "nothing there"; a malformed name
        // or an unreachable device is the caller's error.
        if (::GetLastError() > 12) Raise(err::BadFileName);
        return L"";
    }
    search.handle.Reset(h);
    return NextAdmitted(search, found);
}

void EndDirectoryListing() {
    OpenSearch().handle.Reset();
}

// An existence test holds no search open: it would keep the parent folder from being removed.
bool FolderExists(const std::wstring& path) {
    if (path.empty()) return false;
    std::wstring full = FullPathOf(path);
    // With its trailing separator the folder's contents would be listed instead of the folder,
    // and a folder holding only hidden entries would look missing.
    while (full.size() > 1 && (full.back() == L'\\' || full.back() == L'/') && !IsRoot(full)) full.pop_back();
    const bool found = !ListDirectoryEntry(full, kDirectory).empty();
    EndDirectoryListing();
    return found;
}

bool FileExists(const std::wstring& path) {
    if (path.empty()) return false;
    const bool found = !ListDirectoryEntry(FullPathOf(path), 0).empty();
    EndDirectoryListing();
    return found;
}

}  // namespace util
