// What an open or save dialog's file buffer says was chosen, and the filter text it is given.
#pragma once

#include <string>
#include <string_view>

namespace dialogs {

// "Text (*.txt)|*.txt|All|*.*" as the dialog wants it: each "|" a NUL, ending in two NULs.
std::wstring DialogFilter(std::wstring_view filter);

struct FileChoice {
    std::wstring fileName;   // one file: its path; several: the folder, NUL, each name NUL-separated
    std::wstring fileTitle;  // one file: its name without the folder; several: empty
};
// The buffer (at most `chars` characters) as the dialog filled it, read at `offset` (the
// dialog's nFileOffset). False when the offset is 0: the dialog gave nothing to read.
bool ReadFileChoice(const wchar_t* buffer, size_t chars, unsigned offset, FileChoice& choice);

}  // namespace dialogs
