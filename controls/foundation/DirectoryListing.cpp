// A Unicode directory listing returning one entry per call; paths go through "\\?\" so long and
// non-ANSI names work.
#include "controls/foundation/Common.h"

#include "host/Error.h"

namespace foundation {

namespace {

struct FindTraits {
    using Handle = HANDLE;
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { ::FindClose(h); }
};
using UniqueFind = host::UniqueHandle<FindTraits>;

struct ListingState {
    UniqueFind search;
    DWORD attributes = 0;
};
ListingState& Listing() {
    static ListingState state;
    return state;
}

// The path behind "\\?\" ("\\server\share" in its "UNC\server\share" form); a path that
// already carries the prefix (or names a device, "\\.\") is taken as it is.
std::wstring LongForm(const std::wstring& path) {
    if (path.rfind(L"\\\\?\\", 0) == 0 || path.rfind(L"\\\\.\\", 0) == 0) return path;
    if (path.size() >= 2 && path[0] == L'\\' && path[1] == L'\\') return L"\\\\?\\UNC\\" + path.substr(2);
    return L"\\\\?\\" + path;
}

std::wstring CutAtNul(const wchar_t* s) { return std::wstring(s); }

std::wstring VolumeLabel(const std::wstring& mask) {
    wchar_t label[MAX_PATH + 1] = {};
    if (mask.empty()) {
        if (!GetVolumeInformationW(nullptr, label, MAX_PATH + 1, nullptr, nullptr, nullptr, nullptr, 0)) return {};
        return CutAtNul(label);
    }
    wchar_t root[MAX_PATH + 1] = {};
    std::wstring path = LongForm(mask);
    if (!GetVolumePathNameW(path.c_str(), root, MAX_PATH)) return {};
    if (!GetVolumeInformationW(root, label, MAX_PATH + 1, nullptr, nullptr, nullptr, nullptr, 0)) return {};
    return CutAtNul(label);
}

// The entry's name when the attribute mask admits it, else "".
std::wstring Admitted(const WIN32_FIND_DATAW& data, DWORD mask) {
    DWORD attrs = data.dwFileAttributes;
    if (attrs != FILE_ATTRIBUTE_NORMAL &&
        (attrs & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY) & ~mask) != 0)
        return {};
    std::wstring name = CutAtNul(data.cFileName);
    if (name == L"." || name == L"..") return {};
    return name;
}

}  // namespace

std::wstring ListDirectoryEntry(const std::wstring& mask, DWORD attributes) {
    ListingState& s = Listing();
    if (attributes == 8) {
        s.search.Reset();
        return VolumeLabel(mask);
    }
    WIN32_FIND_DATAW data{};
    if (!mask.empty()) {
        s.search.Reset();
        std::wstring m = mask;
        wchar_t last = m.back();
        if (last == L'\\' || last == L':' || last == L'/') m += L"*.*";
        s.attributes = attributes;
        std::wstring path = LongForm(m);
        s.search.Reset(FindFirstFileW(path.c_str(), &data));
        if (!s.search) {
            if (GetLastError() > 12) host::Raise(52);
            return {};
        }
    } else {
        if (!s.search) host::Raise(host::err::InvalidProcedureCall);
        if (!FindNextFileW(s.search.Get(), &data)) {
            s.search.Reset();
            return {};
        }
    }
    for (;;) {
        std::wstring name = Admitted(data, s.attributes);
        if (!name.empty()) return name;
        if (!FindNextFileW(s.search.Get(), &data)) {
            s.search.Reset();
            return {};
        }
    }
}

DWORD GetPathAttributes(const std::wstring& path) {
    std::wstring p = LongForm(path);
    DWORD attrs = GetFileAttributesW(p.c_str());
    if (attrs == INVALID_FILE_ATTRIBUTES) host::Raise(53);
    return attrs == FILE_ATTRIBUTE_NORMAL ? 0 : attrs;
}

}  // namespace foundation
