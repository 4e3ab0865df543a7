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

// A file in the making: deleted unless Commit renamed it over its target.
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

    bool Commit(const std::wstring& target) {
        file_.Reset();
        if (!::MoveFileExW(path_.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return false;
        path_.clear();
        return true;
    }

private:
    HANDLE Create(const std::wstring& target, DWORD attributes) {
        // Same folder as the target, so that the rename never crosses a volume.
        const size_t slash = target.find_last_of(L"\\/:");
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
    const std::wstring target = PrefixedPathOf(FullPathOf(path));
    // A read-only file is not ours to replace; a hidden or system one stays so.
    DWORD attributes = ::GetFileAttributesW(target.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        attributes = FILE_ATTRIBUTE_NORMAL;
    } else if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) {
        return false;
    } else {
        attributes &= FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;
        if (!attributes) attributes = FILE_ATTRIBUTE_NORMAL;
    }
    TemporaryFile temporary(target, attributes);
    return temporary.IsOpen() && temporary.Write(bytes) && temporary.Commit(target);
}

}  // namespace util
