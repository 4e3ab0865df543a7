#include "EngineTestUtil.h"

namespace rxtest {

rx::String U(const std::string& utf8) { return rx::FromUtf8(utf8); }

namespace {

void Configure(rx::RegExp& re, const std::string& pattern, Flags flags) {
    re.Pattern(U(pattern));
    re.Global(flags.global);
    re.IgnoreCase(flags.ignoreCase);
    re.Multiline(flags.multiline);
}

std::string List(const std::string& pattern, const std::string& text, Flags flags, bool groups) {
    rx::RegExp re;
    Configure(re, pattern, flags);
    std::string out;
    for (const rx::Match& m : re.Execute(U(text))) {
        if (!out.empty()) out += " | ";
        out += std::to_string(m.FirstIndex()) + ":" + std::to_string(m.Length()) + ":" + rx::ToUtf8(m.ValueView());
        if (groups) {
            out += "[";
            for (long g = 0; g < m.SubMatchCount(); ++g) {
                if (g) out += ",";
                auto s = m.SubMatch(g);
                out += s ? rx::ToUtf8(*s) : "-";
            }
            out += "]";
        }
    }
    return out;
}

}  // namespace

std::string Matches(const std::string& pattern, const std::string& text, Flags flags) {
    return List(pattern, text, flags, false);
}

std::string MatchesWithGroups(const std::string& pattern, const std::string& text, Flags flags) {
    return List(pattern, text, flags, true);
}

long ErrorOf(const std::string& pattern, const std::string& text) {
    rx::RegExp re;
    Configure(re, pattern, {});
    try {
        re.Execute(U(text));
    } catch (const base::Error& e) {
        return e.Number();
    }
    return 0;
}

std::string Replace(const std::string& pattern, const std::string& text, const std::string& replacement, Flags flags) {
    rx::RegExp re;
    Configure(re, pattern, flags);
    return rx::ToUtf8(re.Replace(U(text), U(replacement)));
}

}  // namespace rxtest
