// One-call search and replace on our engine. Each call builds its own RegExp, so no state
// passes from one call to the next. A rejected pattern's error reaches the caller.

#include "util/clsUtil.h"

#include "regexp/RegExp.h"

namespace {

void Configure(rx::RegExp& re, const std::wstring& pattern) {
    re.Pattern(pattern);
    re.IgnoreCase(false);
    re.Global(true);
    re.Multiline(true);
}

}  // namespace

std::wstring clsUtil::StringReplaceByRegExp(const std::wstring& SourceText, const std::wstring& MatchPattern,
                                            const std::wstring& ReplaceText) const {
    if (SourceText.empty()) return L"";
    if (MatchPattern.empty()) return SourceText;
    rx::RegExp re;
    Configure(re, MatchPattern);
    return re.Replace(SourceText, ReplaceText);
}

long clsUtil::StringSearchByRegExp(const std::wstring& SourceText, const std::wstring& MatchPattern) const {
    if (SourceText.empty() || MatchPattern.empty()) return 0;
    rx::RegExp re;
    Configure(re, MatchPattern);
    rx::MatchCollection matches = re.Execute(rx::StringView(SourceText));
    if (matches.Count() == 0) return -1;
    return matches.Item(0).FirstIndex() + 1;
}
