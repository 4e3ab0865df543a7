#include "TestSupport.h"

#include <windows.h>

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "base/Error.h"

namespace utiltest {
namespace {

std::vector<WIN32_FIND_DATAW> Entries(const std::wstring& folder) {
    std::vector<WIN32_FIND_DATAW> entries;
    WIN32_FIND_DATAW found;
    HANDLE h = ::FindFirstFileW((L"\\\\?\\" + folder + L"*").c_str(), &found);
    if (h == INVALID_HANDLE_VALUE) return entries;
    do {
        std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") entries.push_back(found);
    } while (::FindNextFileW(h, &found));
    ::FindClose(h);
    return entries;
}

void RemoveTree(const std::wstring& folder) {
    for (const auto& entry : Entries(folder)) {
        std::wstring path = L"\\\\?\\" + folder + entry.cFileName;
        ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            RemoveTree(folder + entry.cFileName + L"\\");
        } else {
            ::DeleteFileW(path.c_str());
        }
    }
    ::RemoveDirectoryW((L"\\\\?\\" + folder).c_str());
}

}  // namespace

TempFolder::TempFolder() {
    wchar_t base[MAX_PATH];
    ::GetTempPathW(MAX_PATH, base);
    static unsigned counter;
    for (;;) {
        path_ = base + (L"utiltest" + std::to_wstring(::GetCurrentProcessId()) + L"_" + std::to_wstring(++counter));
        if (::CreateDirectoryW(path_.c_str(), nullptr)) break;
        if (::GetLastError() != ERROR_ALREADY_EXISTS) throw std::runtime_error("no temporary folder");
    }
    path_ += L"\\";
}

TempFolder::~TempFolder() {
    RemoveTree(path_);
}

std::wstring TempFolder::Listing() const {
    std::vector<std::wstring> names;
    for (const auto& entry : Entries(path_)) names.push_back(entry.cFileName);
    std::sort(names.begin(), names.end());
    std::wstring joined;
    for (const auto& n : names) joined += (joined.empty() ? L"" : L"|") + n;
    return joined;
}

std::string ReadBytes(const std::wstring& path) {
    HANDLE h = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot open a file to check it");
    std::string bytes;
    char chunk[4096];
    DWORD got;
    while (::ReadFile(h, chunk, sizeof chunk, &got, nullptr) && got) bytes.append(chunk, got);
    ::CloseHandle(h);
    return bytes;
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE h = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot create a test file");
    DWORD written;
    ::WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(h);
}

void MakeFolder(const std::wstring& path) {
    if (!::CreateDirectoryW(path.c_str(), nullptr)) throw std::runtime_error("cannot create a test folder");
}

long ErrorNumberOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const base::Error& e) {
        return e.Number();
    }
    return 0;
}

}  // namespace utiltest
