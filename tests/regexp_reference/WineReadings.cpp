#include "tests/regexp_reference/WineReadings.h"

#include "tests/regexp_support/PatternScan.h"

namespace rxtest {

namespace {

// Wine reads '.' as "not a line terminator" (CR, LF, U+2028, U+2029) and \s as every Unicode
// space; the platform reads '.' as "not LF" and \s as [ \f\n\r\t\v].
std::optional<Case> WineDotAndSpace(const Case& c) {
    Case w = c;
    w.pattern = SpellOutWineClasses(c.pattern);
    if (w.pattern == c.pattern) return std::nullopt;
    return w;
}

// Wine's IgnoreCase folds only the ASCII letters (é does not match É, ж not Ж).
std::optional<Case> WineFoldsOnlyAscii(const Case& c) {
    if (!c.ignoreCase) return std::nullopt;
    std::optional<rx::String> expanded = AsciiCaseExpanded(c.pattern);
    if (!expanded) return std::nullopt;
    Case w = c;
    w.pattern = *expanded;
    w.ignoreCase = false;
    return w;
}

// Wine reads a '-' right after a class escape as a literal and goes on ("[\d-a-c]" is \d, '-'
// and the range a-c); the platform takes "\d-a" together as \d, '-', 'a', and "-c" after it.
std::optional<Case> WineDashAfterClassEscape(const Case& c) {
    Case w = c;
    w.pattern = EscapeDashAfterClassEscape(c.pattern);
    if (w.pattern == c.pattern) return std::nullopt;
    return w;
}

// Wine's "\0" takes every octal digit that follows ("\0141" is 'a', "\01411" too); the platform's
// octal escapes have at most three digits in all ("\0141" is form feed, then '1').
std::optional<Case> WineReadsLongOctal(const Case& c) {
    const rx::String& p = c.pattern;
    Case w = c;
    w.pattern.clear();
    bool changed = false;
    for (size_t at = 0; at < p.size(); ++at) {
        if (p[at] != u'\\') { w.pattern += p[at]; continue; }
        unsigned v = 0;
        size_t taken = at + 1 < p.size() && p[at + 1] == u'0' ? WineOctal(p, at + 1, &v) : 0;
        if (taken > 3) {
            static const char hex[] = "0123456789ABCDEF";
            for (char ch : {'\\', 'u', hex[(v >> 12) & 15], hex[(v >> 8) & 15], hex[(v >> 4) & 15], hex[v & 15]}) w.pattern += static_cast<rx::Char>(ch);
            at += taken;
            changed = true;
        } else {
            w.pattern += p[at];
            if (at + 1 < p.size()) w.pattern += p[++at];
        }
    }
    if (!changed) return std::nullopt;
    return w;
}

// Wine reads "\" + digits by the groups before the escape, as we do, but takes every octal digit
// that follows while the value fits a byte ("\1017" is 'A'); ours stop at three ("\101" and '7').
std::optional<Case> WineOctalAfterGroups(const Case& c) {
    std::optional<rx::String> p = OctalByPrecedingGroups(c.pattern, true);
    if (!p) return std::nullopt;
    Case w = c;
    w.pattern = *p;
    return w;
}

// Inside a class, Wine reads "\x" or "\u" without its hex digits as U+0000 ("[\x(]" matches
// only '('; "[a-\x]" is rejected); the platform reads the letter itself.
std::optional<Case> WineShortHexEscapeInClass(const Case& c) {
    const rx::String& p = c.pattern;
    auto hex = [&](size_t at) {
        return at < p.size() && ((p[at] >= u'0' && p[at] <= u'9') || (p[at] >= u'a' && p[at] <= u'f') ||
                                 (p[at] >= u'A' && p[at] <= u'F'));
    };
    Case w = c;
    w.pattern.clear();
    bool inClass = false, changed = false;
    for (size_t k = 0; k < p.size(); ++k) {
        if (p[k] == u'\\' && k + 1 < p.size()) {
            rx::Char e = p[k + 1];
            size_t digits = e == u'x' ? 2 : e == u'u' ? 4 : 0;
            bool complete = true;
            for (size_t d = 0; d < digits; ++d) complete = complete && hex(k + 2 + d);
            if (inClass && digits && !complete) {
                for (char ch : {'\\', 'u', '0', '0', '0', '0'}) w.pattern += static_cast<rx::Char>(ch);
                changed = true;
            } else {
                w.pattern += p[k];
                w.pattern += e;
            }
            ++k;
            continue;
        }
        if (inClass) inClass = p[k] != u']';
        else if (p[k] == u'[') inClass = true;
        w.pattern += p[k];
    }
    if (!changed) return std::nullopt;
    return w;
}

}  // namespace

const std::vector<WineReading>& WineReadings() {
    static const std::vector<WineReading> list = {
        {"WineReadsLongOctal", WineReadsLongOctal},
        {"WineDotAndSpace", WineDotAndSpace},
        {"WineFoldsOnlyAscii", WineFoldsOnlyAscii},
        {"WineDashAfterClassEscape", WineDashAfterClassEscape},
        {"WineShortHexEscapeInClass", WineShortHexEscapeInClass},
        {"WineOctalAfterGroups", WineOctalAfterGroups},
    };
    return list;
}

// Wine inverts some look-aheads whose body matches empty where they stand: "(?=)" at the start
// of the pattern or after a '|' fails and "(?!)" there succeeds, "(?:a*?)(?=)$" fails, while
// "a(?=)" matches "a". Which ones it inverts depends on how its compiler laid the pattern out, so
// this is checked by trying every choice of such look-aheads swapped (there are few).
std::vector<size_t> LookaheadsWithEmptyBody(const rx::String& p) {
    std::vector<size_t> found;
    bool inClass = false;
    for (size_t at = 0; at + 2 < p.size(); ++at) {
        if (p[at] == u'\\') { ++at; continue; }
        if (inClass) { inClass = p[at] != u']'; continue; }
        if (p[at] == u'[') { inClass = true; continue; }
        if (p[at] != u'(' || p[at + 1] != u'?' || (p[at + 2] != u'=' && p[at + 2] != u'!')) continue;
        size_t close = GroupEnd(p, at);
        if (close != rx::String::npos && MayMatchEmpty(rx::StringView(p).substr(at + 3, close - at - 3))) found.push_back(at);
    }
    return found;
}

Case SwapLookaheads(const Case& c, const std::vector<size_t>& at, unsigned choice) {
    Case w = c;
    for (size_t i = 0; i < at.size(); ++i) {
        if (choice & (1u << i)) w.pattern[at[i] + 2] = c.pattern[at[i] + 2] == u'=' ? u'!' : u'=';
    }
    return w;
}

}  // namespace rxtest
