// Text files in UTF-8 and in code page 936, on our own byte layer: the platform's text stream
// component cannot be used where this runs, and these are the results it would give.

#include "util/clsUtil.h"

#include "util/CodePage.h"
#include "util/Existence.h"
#include "util/FileBytes.h"
#include "util/TextFiles.h"

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

std::wstring ReadText(const std::wstring& fileName, UINT codePage) {
    if (!util::FileExists(fileName)) return L"";
    std::string bytes = util::ReadFileBytes(fileName);
    std::string_view content = bytes;
    if (codePage == CP_UTF8 && content.starts_with(kUtf8Mark)) content.remove_prefix(kUtf8Mark.size());
    return util::Decode(content, codePage);
}

}  // namespace

namespace util {

bool SaveTextFile(const std::wstring& text, const std::wstring& fileName, UINT codePage) noexcept {
    try {
        // the whole text is converted before the file is touched: a failed conversion raises
        return ReplaceFileBytes(fileName, Encode(text, codePage));
    } catch (...) {
        return false;
    }
}

}  // namespace util

namespace {

// A save reports nothing, whatever goes wrong.
void SaveText(const std::wstring& text, const std::wstring& fileName, UINT codePage) noexcept {
    util::SaveTextFile(text, fileName, codePage);
}

}  // namespace

std::wstring clsUtil::ReadUTF8File(const std::wstring& FileName) const {
    return ReadText(FileName, CP_UTF8);
}

void clsUtil::SaveUTF8File(const std::wstring& Text, const std::wstring& FileName) const {
    SaveText(Text, FileName, CP_UTF8);
}

std::wstring clsUtil::ReadANSIFile(const std::wstring& FileName) const {
    return ReadText(FileName, util::kGb2312);
}

void clsUtil::SaveANSIFile(const std::wstring& Text, const std::wstring& FileName) const {
    SaveText(Text, FileName, util::kGb2312);
}
