#include "dialogs/FileChoice.h"

#include <algorithm>

namespace dialogs {

std::wstring DialogFilter(std::wstring_view filter) {
    std::wstring text(filter);
    std::replace(text.begin(), text.end(), L'|', L'\0');
    while (text.size() < 2 || text[text.size() - 1] != L'\0' || text[text.size() - 2] != L'\0') text.push_back(L'\0');
    return text;
}

bool ReadFileChoice(const wchar_t* buffer, size_t chars, unsigned offset, FileChoice& choice) {
    if (offset == 0 || offset >= chars) return false;
    std::wstring_view all(buffer, chars);
    if (buffer[offset - 1] != L'\0') {
        choice.fileName = std::wstring(all.substr(0, all.find(L'\0')));
        choice.fileTitle = offset < choice.fileName.size() ? choice.fileName.substr(offset) : std::wstring();
        return true;
    }
    // Several files: the folder and the names up to the double NUL, inner NULs kept.
    size_t end = all.find(std::wstring_view(L"\0\0", 2));
    choice.fileName = std::wstring(all.substr(0, end == std::wstring_view::npos ? chars : end));
    while (!choice.fileName.empty() && choice.fileName.back() == L'\0') choice.fileName.pop_back();
    choice.fileTitle.clear();
    return true;
}

}  // namespace dialogs
