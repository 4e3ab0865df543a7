#include "util/FileBytes.h"

#include <windows.h>

#include <cstdio>
#include <new>
#include <utility>

#include "host/Handles.h"

#include "util/Errors.h"
#include "util/Paths.h"

namespace util {
namespace {

struct FileTraits {
    using Handle = HANDLE;
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { ::CloseHandle(h); }
};
using FileHandle = host::UniqueHandle<FileTraits>;

void CopyCreationTime(const std::wstring& from, const std::wstring& to) {
    FileHandle source(::CreateFileW(from.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    FILETIME created;
    if (!source || !::GetFileTime(source.Get(), &created, nullptr, nullptr)) return;
    FileHandle copy(::CreateFileW(to.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    if (copy) ::SetFileTime(copy.Get(), &created, nullptr, nullptr);
}

// "name:stream": the last component names an alternate data stream of a file.
bool NamesStream(const std::wstring& prefixedPath) {
    const size_t slash = prefixedPath.find_last_of(L"\\/");
    return prefixedPath.find(L':', slash == std::wstring::npos ? 0 : slash + 1) != std::wstring::npos;
}

// Whether the volume holding the path keeps alternate data streams (where it does not, a name
// with a colon would become a stray file of that name, or fail).
bool VolumeHasStreams(const std::wstring& prefixedPath) {
    wchar_t root[MAX_PATH + 1] = {};
    DWORD flags = 0;
    return ::GetVolumePathNameW(prefixedPath.c_str(), root, MAX_PATH) &&
           ::GetVolumeInformationW(root, nullptr, 0, nullptr, nullptr, &flags, nullptr, 0) &&
           (flags & FILE_NAMED_STREAMS) != 0;
}

// The file a symbolic link leads to (the path itself when it is none or cannot be followed),
// and how many names the file has.
std::wstring FileBehind(const std::wstring& prefixedPath, DWORD& links) {
    links = 1;
    FileHandle file(::CreateFileW(prefixedPath.c_str(), FILE_READ_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0,
                                  nullptr));
    if (!file) return prefixedPath;
    BY_HANDLE_FILE_INFORMATION info;
    if (::GetFileInformationByHandle(file.Get(), &info)) links = info.nNumberOfLinks;
    if (!(::GetFileAttributesW(prefixedPath.c_str()) & FILE_ATTRIBUTE_REPARSE_POINT)) return prefixedPath;
    std::wstring final(MAX_PATH, L'\0');
    DWORD got = ::GetFinalPathNameByHandleW(file.Get(), final.data(), static_cast<DWORD>(final.size()), 0);
    if (got >= final.size()) {
        final.resize(got + 1);
        got = ::GetFinalPathNameByHandleW(file.Get(), final.data(), static_cast<DWORD>(final.size()), 0);
    }
    if (got == 0 || got >= final.size()) return prefixedPath;
    final.resize(got);
    return final;
}

// Writes the bytes over the file's own content: every name of a linked file and a stream keep
// being what they are. Used only where a new file cannot take the old one's place.
bool WriteInPlace(const std::wstring& prefixedPath, std::string_view bytes, DWORD disposition) {
    FileHandle file(::CreateFileW(prefixedPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, disposition,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    while (!bytes.empty()) {
        DWORD chunk = bytes.size() > (1u << 20) ? (1u << 20) : static_cast<DWORD>(bytes.size());
        DWORD written = 0;
        if (!::WriteFile(file.Get(), bytes.data(), chunk, &written, nullptr) || written == 0) return false;
        bytes.remove_prefix(written);
    }
    return ::SetEndOfFile(file.Get()) && ::FlushFileBuffers(file.Get());
}

// A file in the making: deleted unless Place or Replace put it in its target's place.
class TemporaryFile {
public:
    TemporaryFile(const std::wstring& target, DWORD attributes) : file_(Create(target, attributes)) {}
    ~TemporaryFile() {
        file_.Reset();
        if (!path_.empty()) ::DeleteFileW(path_.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    bool IsOpen() const { return static_cast<bool>(file_); }

    bool Write(std::string_view bytes) {
        while (!bytes.empty()) {
            DWORD chunk = bytes.size() > (1u << 20) ? (1u << 20) : static_cast<DWORD>(bytes.size());
            DWORD written = 0;
            if (!::WriteFile(file_.Get(), bytes.data(), chunk, &written, nullptr) || written == 0) return false;
            bytes.remove_prefix(written);
        }
        return ::FlushFileBuffers(file_.Get()) != 0;
    }

    // Puts the new file where nothing was.
    bool Place(const std::wstring& target) {
        file_.Reset();
        if (!::MoveFileExW(path_.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH)) return false;
        path_.clear();
        return true;
    }

    // Puts the new file in the place of the existing target with ReplaceFileW, which keeps the
    // target's security, alternate streams, creation time and attributes. Where it cannot be
    // used (a file system or share without it) the new file is renamed over the target, given
    // at least the target's creation time.
    bool Replace(const std::wstring& target) {
        file_.Reset();
        // A target that another program holds without letting it go (no delete sharing) cannot
        // be replaced; it is not handed to ReplaceFileW, which under Wine leaves a temporary
        // file of its own behind in that case.
        if (!FileHandle(::CreateFileW(target.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, 0, nullptr)))
            return false;
        if (::ReplaceFileW(target.c_str(), path_.c_str(), nullptr,
                           REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS, nullptr, nullptr)) {
            path_.clear();
            return true;
        }
        switch (::GetLastError()) {
        case ERROR_UNABLE_TO_REMOVE_REPLACED:  // both files as they were: the target stays
        case ERROR_SHARING_VIOLATION:
        case ERROR_ACCESS_DENIED:
        case ERROR_FILE_NOT_FOUND:
            return false;
        case ERROR_UNABLE_TO_MOVE_REPLACEMENT:  // the target is gone, the new file still ours
            break;
        default:
            CopyCreationTime(target, path_);
            break;
        }
        if (!::MoveFileExW(path_.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return false;
        path_.clear();
        return true;
    }

private:
    HANDLE Create(const std::wstring& target, DWORD attributes) {
        // Same folder as the target, so that the rename never crosses a volume.
        const size_t slash = target.find_last_of(L"\\/");
        const std::wstring folder = slash == std::wstring::npos ? std::wstring() : target.substr(0, slash + 1);
        static unsigned counter;
        for (int attempt = 0; attempt < 16; ++attempt) {
            wchar_t name[32];
            std::swprintf(name, 32, L"~sv%04lx%04x.tmp", ::GetCurrentProcessId() & 0xFFFF, ++counter & 0xFFFF);
            std::wstring candidate = folder + name;
            HANDLE h = ::CreateFileW(candidate.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, attributes,
                                     nullptr);
            if (h != INVALID_HANDLE_VALUE) {
                path_ = std::move(candidate);
                return h;
            }
            if (::GetLastError() != ERROR_FILE_EXISTS && ::GetLastError() != ERROR_ALREADY_EXISTS) break;
        }
        return INVALID_HANDLE_VALUE;
    }

    std::wstring path_;
    FileHandle file_;
};

}  // namespace

std::string ReadFileBytes(const std::wstring& path) {
    FileHandle file(::CreateFileW(PrefixedPathOf(FullPathOf(path)).c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                  nullptr));
    if (!file) Raise(err::FileNotOpened);
    LARGE_INTEGER size;
    if (!::GetFileSizeEx(file.Get(), &size)) Raise(err::FileNotRead);
    if (size.QuadPart > 0x3FFFFFFF) Raise(base::err::OutOfMemory);
    std::string bytes;
    try {
        bytes.resize(static_cast<size_t>(size.QuadPart));
    } catch (const std::bad_alloc&) {
        Raise(base::err::OutOfMemory);
    }
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD got = 0;
        if (!::ReadFile(file.Get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &got, nullptr))
            Raise(err::FileNotRead);
        if (got == 0) break;  // the file shrank while we read it
        done += got;
    }
    bytes.resize(done);
    return bytes;
}

bool ReplaceFileBytes(const std::wstring& path, std::string_view bytes) {
    if (path.empty()) return false;
    std::wstring target = PrefixedPathOf(FullPathOf(path));
    // A stream cannot be renamed over: it is written where it is, on a volume that has streams.
    if (NamesStream(target)) return VolumeHasStreams(target) && WriteInPlace(target, bytes, OPEN_ALWAYS);
    // A read-only file is not ours to replace; a hidden or system one stays so.
    DWORD attributes = ::GetFileAttributesW(target.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (!exists) {
        attributes = FILE_ATTRIBUTE_NORMAL;
    } else if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) {
        return false;
    } else {
        // a symbolic link stays a link to the file it names, which takes the new content; a
        // file of several names (hard links) is written in place so that every name sees it
        DWORD links = 1;
        target = FileBehind(target, links);
        if (links > 1) return WriteInPlace(target, bytes, OPEN_EXISTING);
        attributes &= FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;
        if (!attributes) attributes = FILE_ATTRIBUTE_NORMAL;
    }
    TemporaryFile temporary(target, attributes);
    if (!temporary.IsOpen() || !temporary.Write(bytes)) return false;
    return exists ? temporary.Replace(target) : temporary.Place(target);
}

}  // namespace util
