// A fresh folder under the temporary folder for one test, removed with everything in it when
// the test ends; plus small file helpers for reading back what the code under test wrote.
#pragma once

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

    // Names of everything in the folder, sorted, joined with "|".
    std::wstring Listing() const;

private:
    std::wstring path_;
};

std::string ReadBytes(const std::wstring& path);
void WriteBytes(const std::wstring& path, const std::string& bytes);
void MakeFolder(const std::wstring& path);

}  // namespace utiltest
