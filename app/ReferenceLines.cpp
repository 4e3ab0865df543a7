#include "app/ReferenceLines.h"

#include <iterator>

namespace workbench {
namespace {

struct Entry {
    const wchar_t* syntax;
    const wchar_t* meaning;
};

// Punctuation is exactly as users have always read it, including the ASCII comma in the
// capture line.
constexpr Entry kEntries[] = {
    {L".", L"除换行符以外的所有字符。"},
    {L"^", L"字符串开头。"},
    {L"$", L"字符串结尾。"},
    {L"\\d,\\w,\\s", L"匹配数字、字符、空格。"},
    {L"\\D,\\W,\\S", L"匹配非数字、非字符、非空格。"},
    {L"[abc]", L"匹配 a、b 或 c 中的一个字母。"},
    {L"[a-z]", L"匹配 a 到 z 中的一个字母。"},
    {L"[^abc]", L"匹配除了 a、b 或 c 中的其他字母。"},
    {L"aa|bb", L"匹配 aa 或 bb。"},
    {L"?", L"0 次或 1 次匹配。"},
    {L"*", L"匹配 0 次或多次。"},
    {L"+", L"匹配 1 次或多次。"},
    {L"{n}", L"匹配 n次。"},
    {L"{n,}", L"匹配 n次以上。"},
    {L"{m,n}", L"最少 m 次，最多 n 次匹配。"},
    {L"(expr)", L"捕获 expr 子模式,以 \\1 使用它。"},
    {L"(?:expr)", L"忽略捕获的子模式。"},
    {L"(?=expr)", L"正向预查模式 expr。"},
    {L"(?!expr)", L"负向预查模式 expr。"},
};

constexpr std::size_t kSyntaxField = 10;

}  // namespace

std::vector<std::wstring> ReferenceLines() {
    std::vector<std::wstring> lines;
    lines.reserve(std::size(kEntries));
    for (const Entry& e : kEntries) {
        std::wstring line = e.syntax;
        line.resize(kSyntaxField, L' ');
        lines.push_back(line + L"=> " + e.meaning);
    }
    return lines;
}

}  // namespace workbench
