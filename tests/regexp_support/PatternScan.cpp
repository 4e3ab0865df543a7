#include "tests/regexp_support/PatternScan.h"

#include <string_view>
#include <vector>

namespace rxtest {

namespace {

bool IsDigit(rx::Char c) { return c >= u'0' && c <= u'9'; }
bool IsHex(rx::Char c) {
    return IsDigit(c) || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}
bool IsClassEscapeLetter(rx::Char c) {
    return c == u'd' || c == u'D' || c == u'w' || c == u'W' || c == u's' || c == u'S';
}

// Recursive descent over alternation, sequence, term and atom: each returns whether that part
// may match empty. Malformed input ends the scan with "may".
class EmptyScan {
public:
    explicit EmptyScan(rx::StringView p) : p_(p) {}

    bool Run() {
        bool r = Alternation();
        return r || i_ < p_.size();  // a stray ')' leaves text over: unsure
    }

private:
    bool AtEnd() const { return i_ >= p_.size(); }
    rx::Char Peek(size_t k = 0) const { return i_ + k < p_.size() ? p_[i_ + k] : rx::Char(0); }

    bool Alternation() {
        bool r = Sequence();
        while (!AtEnd() && Peek() == u'|') {
            ++i_;
            r = Sequence() || r;
        }
        return r;
    }

    bool Sequence() {
        bool all = true;
        while (!AtEnd() && Peek() != u'|' && Peek() != u')') all = Term() && all;
        return all;
    }

    bool Term() {
        bool r = Atom();
        for (;;) {
            rx::Char c = Peek();
            if (c == u'?' || c == u'*') { ++i_; r = true; }
            else if (c == u'+') { ++i_; }
            else if (c == u'{') {
                int min = 0;
                if (!Quantifier(&min)) return true;  // a '{' of doubtful meaning: unsure
                r = r || min == 0;
            } else {
                return r;
            }
        }
    }

    // {n}, {n,} or {n,m}; leaves i_ after it.
    bool Quantifier(int* min) {
        size_t k = i_ + 1;
        if (k >= p_.size() || !IsDigit(p_[k])) return false;
        *min = 0;
        while (k < p_.size() && IsDigit(p_[k])) *min = *min * 10 + (p_[k++] - u'0');
        if (k < p_.size() && p_[k] == u',') {
            ++k;
            while (k < p_.size() && IsDigit(p_[k])) ++k;
        }
        if (k >= p_.size() || p_[k] != u'}') return false;
        i_ = k + 1;
        return true;
    }

    bool Atom() {
        rx::Char c = p_[i_++];
        switch (c) {
        case u'^': case u'$':
            return true;
        case u'(': {
            bool assertion = Peek() == u'?' && (Peek(1) == u'=' || Peek(1) == u'!');
            if (Peek() == u'?') i_ += 2;
            bool r = Alternation();
            if (AtEnd()) return true;
            ++i_;  // ')'
            return assertion || r;
        }
        case u'[':
            SkipClass();
            return false;
        case u'\\': {
            if (AtEnd()) return true;
            rx::Char e = p_[i_++];
            if (e == u'b' || e == u'B') return true;
            // Take in every character that could belong to the escape: taking too many can only
            // turn "cannot match empty" into "may", never the other way round.
            if (e == u'u' || e == u'x') {
                for (int n = 0; n < (e == u'u' ? 4 : 2) && IsHex(Peek()); ++n) ++i_;
            } else if (e == u'c') {
                if (!AtEnd()) ++i_;
            } else if (IsDigit(e)) {
                while (IsDigit(Peek())) ++i_;
            }
            return e >= u'1' && e <= u'9';  // a back-reference may be empty
        }
        default:
            return false;
        }
    }

    void SkipClass() {
        if (Peek() == u'^') ++i_;
        while (!AtEnd() && Peek() != u']') {
            if (Peek() == u'\\') ++i_;
            ++i_;
        }
        if (!AtEnd()) ++i_;
    }

    rx::StringView p_;
    size_t i_ = 0;
};

// Calls onClass(begin, end) for the body of every class (between '[' or "[^" and ']') and
// onOutside(position) for every character outside classes that is not part of an escape, and
// onEscape(position) for every escape outside classes.
template <typename Body, typename Outside>
void Walk(rx::StringView p, Body onClass, Outside onOutside) {
    size_t i = 0;
    while (i < p.size()) {
        if (p[i] == u'\\') {
            onOutside(i, true);
            i += 2;
        } else if (p[i] == u'[') {
            size_t start = i + 1;
            if (start < p.size() && p[start] == u'^') ++start;
            size_t k = start;
            while (k < p.size() && p[k] != u']') k += p[k] == u'\\' ? 2 : 1;
            if (k > p.size()) k = p.size();
            onClass(i, start, k);
            i = k + 1;
        } else {
            onOutside(i, false);
            ++i;
        }
    }
}

void Append(rx::String& out, std::u16string_view s) {
    for (char16_t c : s) out += static_cast<rx::Char>(c);
}

// Wine's white space (its ctype table's spaces) and the complement of it, as class contents.
constexpr std::u16string_view kWineSpace =
    u"\\t\\n\\v\\f\\r \\u00A0\\u1680\\u2000-\\u200A\\u2028\\u2029\\u202F\\u205F\\u3000\\uFEFF";
constexpr std::u16string_view kWineNonSpace =
    u"\\u0000-\\u0008\\u000E-\\u001F\\u0021-\\u009F\\u00A1-\\u167F\\u1681-\\u1FFF\\u200B-\\u2027"
    u"\\u202A-\\u202E\\u2030-\\u205E\\u2060-\\u2FFF\\u3001-\\uFEFE\\uFF00-\\uFFFF";

}  // namespace

bool MayMatchEmpty(rx::StringView pattern) { return EmptyScan(pattern).Run(); }

bool HasClassEscapeRangeEnd(rx::StringView pattern) {
    // The length of the class item at k: a plain unit, or an escape with its digits.
    auto itemLength = [&](size_t k, size_t end) -> size_t {
        if (pattern[k] != u'\\' || k + 1 >= end) return 1;
        rx::Char e = pattern[k + 1];
        size_t digits = e == u'u' ? 4 : e == u'x' ? 2 : e == u'c' ? 1 : 0;
        size_t n = 2;
        while (n < 2 + digits && k + n < end && (e == u'c' || IsHex(pattern[k + n]))) ++n;
        if (e >= u'0' && e <= u'7') {
            while (k + n < end && pattern[k + n] >= u'0' && pattern[k + n] <= u'7') ++n;
        }
        return n;
    };
    auto isClassEscape = [&](size_t k, size_t end) {
        return k + 1 < end && pattern[k] == u'\\' && IsClassEscapeLetter(pattern[k + 1]);
    };
    bool found = false;
    Walk(
        pattern,
        [&](size_t, size_t begin, size_t end) {
            // Items in order; a '-' between two items with a class escape on either side.
            size_t k = begin;
            bool prevIsClassEscape = false;
            bool havePrev = false;
            while (k < end) {
                size_t next = k + itemLength(k, end);
                if (pattern[k] == u'-' && havePrev && next < end) {
                    if (prevIsClassEscape || isClassEscape(next, end)) found = true;
                    k = next + itemLength(next, end);  // the range's far end goes with it
                    havePrev = false;
                    continue;
                }
                havePrev = true;
                prevIsClassEscape = isClassEscape(k, end);
                k = next;
            }
        },
        [](size_t, bool) {});
    return found;
}

rx::String SpellOutWineClasses(rx::StringView p) {
    rx::String out;
    Walk(
        p,
        [&](size_t open, size_t begin, size_t end) {
            out.append(p.substr(open, begin - open));
            auto isSpaceEscape = [&](size_t k) {
                return k + 1 < end && p[k] == u'\\' && (p[k + 1] == u's' || p[k + 1] == u'S');
            };
            bool afterSpaceEscape = false;
            for (size_t k = begin; k < end && k < p.size();) {
                if (isSpaceEscape(k)) {
                    Append(out, p[k + 1] == u's' ? kWineSpace : kWineNonSpace);
                    k += 2;
                    afterSpaceEscape = true;
                    continue;
                }
                // A '-' beside \s or \S is a literal; spelled out, it would join two ranges.
                bool dashBesideSpace = p[k] == u'-' && (afterSpaceEscape || isSpaceEscape(k + 1));
                afterSpaceEscape = false;
                if (dashBesideSpace) {
                    Append(out, u"\\-");
                    ++k;
                } else {
                    size_t n = p[k] == u'\\' ? 2 : 1;
                    out.append(p.substr(k, n));
                    k += n;
                }
            }
            if (end < p.size()) out += u']';
        },
        [&](size_t i, bool escape) {
            if (escape && i + 1 < p.size() && (p[i + 1] == u's' || p[i + 1] == u'S')) {
                Append(out, p[i + 1] == u's' ? u"[" : u"[^");
                Append(out, kWineSpace);
                out += u']';
            } else if (escape) {
                out.append(p.substr(i, 2));
            } else if (p[i] == u'.') {
                Append(out, u"[^\\n\\r\\u2028\\u2029]");
            } else {
                out += p[i];
            }
        });
    return out;
}

rx::String EscapeDashAfterClassEscape(rx::StringView p) {
    rx::String out;
    bool inClass = false, afterClassEscape = false;
    for (size_t k = 0; k < p.size(); ++k) {
        if (p[k] == u'\\' && k + 1 < p.size()) {
            afterClassEscape = inClass && IsClassEscapeLetter(p[k + 1]);
            out += p[k];
            out += p[++k];
            continue;
        }
        if (!inClass && p[k] == u'[') {
            inClass = true;
            if (k + 1 < p.size() && p[k + 1] == u'^') out += p[k++];
        } else if (inClass && p[k] == u']') {
            inClass = false;
        } else if (inClass && p[k] == u'-' && afterClassEscape) {
            out += u'\\';
        }
        afterClassEscape = false;
        out += p[k];
    }
    return out;
}

size_t GroupEnd(rx::StringView p, size_t open) {
    int depth = 0;
    bool inClass = false;
    for (size_t k = open; k < p.size(); ++k) {
        rx::Char c = p[k];
        if (c == u'\\') { ++k; continue; }
        if (inClass) { inClass = c != u']'; continue; }
        if (c == u'[') inClass = true;
        else if (c == u'(') ++depth;
        else if (c == u')' && --depth == 0) return k;
    }
    return rx::StringView::npos;
}

namespace {

// The positions of the '(' of the capturing groups, in order.
std::vector<size_t> GroupOpenings(rx::StringView p) {
    std::vector<size_t> open;
    bool inClass = false;
    for (size_t k = 0; k < p.size(); ++k) {
        if (p[k] == u'\\') { ++k; continue; }
        if (inClass) { inClass = p[k] != u']'; continue; }
        if (p[k] == u'[') inClass = true;
        else if (p[k] == u'(' && (k + 1 >= p.size() || p[k + 1] != u'?')) open.push_back(k);
    }
    return open;
}

void PutUnit(rx::String& out, unsigned c) {
    static const char hex[] = "0123456789ABCDEF";
    out += u'\\';
    out += u'u';
    for (int shift = 12; shift >= 0; shift -= 4) out += static_cast<rx::Char>(hex[(c >> shift) & 15]);
}

bool IsOctalDigit(rx::Char c) { return c >= u'0' && c <= u'7'; }

}  // namespace

bool HasBackReferenceInsideItsGroup(rx::StringView p) {
    std::vector<size_t> open = GroupOpenings(p);
    bool inClass = false;
    for (size_t k = 0; k + 1 < p.size(); ++k) {
        if (inClass) { if (p[k] == u'\\') ++k; else inClass = p[k] != u']'; continue; }
        if (p[k] == u'[') { inClass = true; continue; }
        if (p[k] != u'\\') continue;
        rx::Char d = p[++k];
        if (d < u'1' || d > u'9') continue;
        // "\141" is an octal escape, not group 1
        if (d <= u'3' && k + 2 < p.size() && IsOctalDigit(p[k + 1]) && IsOctalDigit(p[k + 2])) continue;
        size_t group = static_cast<size_t>(d - u'0');
        if (group > open.size()) continue;
        size_t end = GroupEnd(p, open[group - 1]);
        if (open[group - 1] < k && (end == rx::StringView::npos || k < end)) return true;
    }
    return false;
}

size_t WineOctal(rx::StringView p, size_t at, unsigned* value) {
    size_t n = 0;
    *value = 0;
    while (at + n < p.size() && IsOctalDigit(p[at + n])) {
        unsigned next = *value * 8 + static_cast<unsigned>(p[at + n] - u'0');
        if (next <= 0377) *value = next;
        ++n;
    }
    return n;
}

std::optional<rx::String> OctalByPrecedingGroups(rx::StringView p, bool wineDigits) {
    std::vector<size_t> open = GroupOpenings(p);
    rx::String out;
    bool inClass = false, changed = false;
    for (size_t k = 0; k < p.size(); ++k) {
        rx::Char c = p[k];
        if (inClass || c != u'\\' || k + 1 >= p.size() || p[k + 1] < u'1' || p[k + 1] > u'9') {
            if (c == u'\\' && k + 1 < p.size()) {
                out += c;
                out += p[++k];
                continue;
            }
            if (inClass) inClass = c != u']';
            else if (c == u'[') inClass = true;
            out += c;
            continue;
        }
        size_t before = 0;
        while (before < open.size() && open[before] < k) ++before;
        auto digit = [&](size_t at) { return at < p.size() && IsDigit(p[at]) ? static_cast<int>(p[at] - u'0') : -1; };
        int n = digit(k + 1), m = digit(k + 2), l = digit(k + 3);
        size_t used = 0;     // digits taken into an octal escape
        unsigned value = 0;
        if (wineDigits && n <= 7 && static_cast<size_t>(n) > before && !(m >= 0 && static_cast<size_t>(n * 10 + m) <= before)) {
            used = WineOctal(p, k + 1, &value);
        } else if (n <= 3 && m >= 0 && m <= 7 && l >= 0 && l <= 7) {
            used = 3;
            value = static_cast<unsigned>(n * 64 + m * 8 + l);
            if (wineDigits) used = WineOctal(p, k + 1, &value);
        } else if (m >= 0 && static_cast<size_t>(n * 10 + m) <= before) {
            used = 0;  // \nm back-reference
        } else if (static_cast<size_t>(n) <= before) {
            used = 0;  // \n back-reference, m literal
        } else if (n <= 7 && m >= 0 && m <= 7) {
            used = 2;
            value = static_cast<unsigned>(n * 8 + m);
        } else if (n <= 7) {
            used = 1;
            value = static_cast<unsigned>(n);
        } else {
            out += static_cast<rx::Char>(u'0' + n);  // \8, \9: the digit itself
            ++k;
            changed = true;
            continue;
        }
        if (used == 0) {
            // a back-reference; the digit after a one-digit one is a literal
            bool two = m >= 0 && static_cast<size_t>(n * 10 + m) <= before;
            out += u'\\';
            out += p[k + 1];
            if (two) out += p[k + 2];
            else if (m >= 0) { PutUnit(out, static_cast<unsigned>(u'0' + m)); ++k; changed = true; }
            k += two ? 2 : 1;
            continue;
        }
        PutUnit(out, value);
        k += used;
        changed = true;
    }
    if (!changed) return std::nullopt;
    return out;
}

bool HasNumberedSubstitution(rx::StringView replacement) {
    for (size_t k = 0; k + 1 < replacement.size(); ++k) {
        if (replacement[k] == u'$' && IsDigit(replacement[k + 1])) return true;
    }
    return false;
}

}  // namespace rxtest

namespace rxtest {

namespace {

bool IsAsciiLetter(unsigned c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
unsigned Partner(unsigned c) { return c ^ 0x20; }

int HexValue(rx::Char c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
}

void PutEscapedUnit(rx::String& out, unsigned c) {
    static const char hex[] = "0123456789ABCDEF";
    out += u'\\';
    out += u'u';
    for (int shift = 12; shift >= 0; shift -= 4) out += static_cast<rx::Char>(hex[(c >> shift) & 15]);
}

// The escape at p[i] == '\\' as one code unit, when it is one: sets *value and *length.
// Returns false for class escapes, assertions, back-references and anything doubtful.
bool LiteralEscape(rx::StringView p, size_t i, unsigned* value, size_t* length) {
    if (i + 1 >= p.size()) return false;
    rx::Char e = p[i + 1];
    auto hexRun = [&](size_t from, int digits, unsigned* v) {
        *v = 0;
        for (int n = 0; n < digits; ++n) {
            if (from + n >= p.size() || HexValue(p[from + n]) < 0) return false;
            *v = *v * 16 + static_cast<unsigned>(HexValue(p[from + n]));
        }
        return true;
    };
    if (e == u'x' || e == u'u') {
        int digits = e == u'x' ? 2 : 4;
        if (!hexRun(i + 2, digits, value)) return false;
        *length = 2 + static_cast<size_t>(digits);
        return true;
    }
    if (e >= u'0' && e <= u'9') return false;
    if (e == u'c') {
        // \cX is a control character; "\c" before anything else is doubtful: length 0
        bool letter = i + 2 < p.size() && IsAsciiLetter(p[i + 2]);
        *value = 0;
        *length = letter ? 3 : 0;
        return letter;
    }
    static const std::u16string_view kSpecial = u"dDwWsSbBfnrtv";
    if (kSpecial.find(static_cast<char16_t>(e)) != std::u16string_view::npos) {
        *value = 0;  // a control character or a class: no letter, copied as it stands
        *length = 2;
        return e != u'd' && e != u'D' && e != u'w' && e != u'W' && e != u's' && e != u'S' && e != u'b' && e != u'B';
    }
    *value = e;  // an identity escape
    *length = 2;
    return true;
}

}  // namespace

std::optional<rx::String> AsciiCaseExpanded(rx::StringView p) {
    rx::String out;
    size_t i = 0;
    while (i < p.size()) {
        rx::Char c = p[i];
        if (c == u'\\') {
            // A back-reference becomes case-sensitive; good enough where it captured no letter.
            if (i + 1 < p.size() && p[i + 1] >= u'1' && p[i + 1] <= u'9') {
                if (i + 2 < p.size() && p[i + 2] >= u'0' && p[i + 2] <= u'9') return std::nullopt;
                out.append(p.substr(i, 2));
                i += 2;
                continue;
            }
            if (i + 1 < p.size() && p[i + 1] == u'0') {
                // \0 and up to two more octal digits: at most 077, never a letter
                size_t n = 2;
                while (n < 4 && i + n < p.size() && p[i + n] >= u'0' && p[i + n] <= u'7') ++n;
                if (i + n < p.size() && p[i + n] >= u'0' && p[i + n] <= u'9') return std::nullopt;
                out.append(p.substr(i, n));
                i += n;
                continue;
            }
            unsigned v = 0;
            size_t len = 2;
            bool literal = LiteralEscape(p, i, &v, &len);
            if (len == 0) return std::nullopt;
            if (literal && IsAsciiLetter(v)) {
                out += u'[';
                PutEscapedUnit(out, v);
                PutEscapedUnit(out, Partner(v));
                out += u']';
            } else {
                out.append(p.substr(i, std::min(len, p.size() - i)));
            }
            i += len;
        } else if (c == u'[') {
            size_t k = i + 1;
            out += u'[';
            if (k < p.size() && p[k] == u'^') out += p[k++];
            rx::String partners;
            while (k < p.size() && p[k] != u']') {
                // one item: a unit (plain or escaped), maybe the start of a range
                unsigned lo = 0;
                size_t len = 1;
                bool literal = true;
                if (p[k] == u'\\' && k + 1 < p.size() && p[k + 1] == u'0') {
                    // \0 and up to two more octal digits
                    len = 2;
                    lo = 0;
                    while (len < 4 && k + len < p.size() && p[k + len] >= u'0' && p[k + len] <= u'7') lo = lo * 8 + (p[k + len++] - u'0');
                    if (k + len < p.size() && p[k + len] >= u'0' && p[k + len] <= u'9') return std::nullopt;
                } else if (p[k] == u'\\') {
                    literal = LiteralEscape(p, k, &lo, &len);
                    if (len == 0) return std::nullopt;
                    if (!literal && k + 1 < p.size() && p[k + 1] >= u'0' && p[k + 1] <= u'9') return std::nullopt;
                    if (!literal) len = 2;
                } else {
                    lo = p[k];
                }
                if (k + len > p.size()) return std::nullopt;
                out.append(p.substr(k, len));
                k += len;
                unsigned hi = lo;
                if (literal && k + 1 < p.size() && p[k] == u'-' && p[k + 1] != u']') {
                    size_t len2 = 1;
                    if (p[k + 1] == u'\\') {
                        if (!LiteralEscape(p, k + 1, &hi, &len2) || len2 == 0) return std::nullopt;
                    } else {
                        hi = p[k + 1];
                    }
                    if (k + 1 + len2 > p.size()) return std::nullopt;
                    out.append(p.substr(k, 1 + len2));
                    k += 1 + len2;
                }
                if (literal) {
                    for (unsigned u = lo; u <= hi && u < 0x80; ++u) {
                        if (IsAsciiLetter(u)) PutEscapedUnit(partners, Partner(u));
                    }
                }
            }
            // Before a trailing '-', which would otherwise start a range with them.
            if (out.size() >= 2 && out.back() == u'-' && out[out.size() - 2] != u'\\') out.insert(out.size() - 1, partners);
            else out += partners;
            if (k < p.size()) out += u']';
            i = k + 1;
        } else if (IsAsciiLetter(c)) {
            out += u'[';
            out += c;
            out += static_cast<rx::Char>(Partner(c));
            out += u']';
            ++i;
        } else {
            out += c;
            ++i;
        }
    }
    return out;
}

}  // namespace rxtest
