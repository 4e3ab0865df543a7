// What the utility tests share: a fresh folder per test (removed with its contents), raw file
// access for checking what the code under test wrote, and the number of a raised error.
#pragma once

#include <functional>
#include <string>

namespace utiltest {

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::wstring& Path() const { return path_; }  // ends with "\"
    std::wstring operator/(const std::wstring& name) const { return path_ + name; }
    std::wstring Listing() const;  // the names in the folder, sorted, joined with "|"

private:
    std::wstring path_;
};

std::string ReadBytes(const std::wstring& path);
void WriteBytes(const std::wstring& path, const std::string& bytes);
void MakeFolder(const std::wstring& path);

// The number of the base::Error that `call` raised; 0 when it raised none.
long ErrorNumberOf(const std::function<void()>& call);

}  // namespace utiltest
