#include "tests/regexp_support/PatternWriter.h"

namespace rxtest {

namespace {

// Weighted: the plain letters come up most so that generated patterns find something.
constexpr char16_t kAlphabet[] = {
    u'a', u'a', u'a', u'b', u'b', u'b', u'c', u'c', u'B', u'A', u'1', u'7', u' ', u'\r', u'\n',
    u'\u00E9', u'\u00C9', u'\u0416', u'\u0436', u'\u4E2D', u'_', u'-', u'\u00A0'};

bool IsSyntax(rx::Char c) {
    switch (c) {
    case '\\': case '^': case '$': case '.': case '|': case '?': case '*': case '+':
    case '(': case ')': case '[': case ']': case '{': case '}':
        return true;
    default:
        return false;
    }
}

}  // namespace

rx::Char AlphabetChar(Random& rng) { return static_cast<rx::Char>(rng.Pick(kAlphabet)); }

void PatternWriter::Put(const char* ascii) {
    while (*ascii) out_ += static_cast<rx::Char>(*ascii++);
}

void PatternWriter::PutHex(unsigned value, int digits) {
    const char* hex = rng_.Percent(50) ? "0123456789abcdef" : "0123456789ABCDEF";
    for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4) out_ += static_cast<rx::Char>(hex[(value >> shift) & 15]);
}

rx::String PatternWriter::WellFormed() {
    out_.clear();
    opened_ = closed_ = 0;
    Alternation(0);
    return out_;
}

void PatternWriter::Alternation(int depth) {
    Sequence(depth);
    while (rng_.Percent(depth == 0 ? 20 : 30)) {
        Put(u'|');
        Sequence(depth);
    }
}

void PatternWriter::Sequence(int depth) {
    // An empty alternative is legal and a case of its own.
    int terms = rng_.Percent(5) ? 0 : rng_.Between(1, depth == 0 ? 4 : 3);
    for (int i = 0; i < terms; ++i) Term(depth);
}

void PatternWriter::Term(int depth) {
    if (Atom(depth) && rng_.Percent(30)) Quantifier();
}

bool PatternWriter::Atom(int depth) {
    switch (rng_.Below(20)) {
    case 0: case 1: case 2: case 3: case 4: case 5:
        Literal();
        return true;
    case 6:
        Put(u'.');
        return true;
    case 7: case 8: {
        static const char* const kEscapes[] = {"\\d", "\\D", "\\w", "\\W", "\\s", "\\S"};
        Put(rng_.Pick(kEscapes));
        return true;
    }
    case 9: case 10:
        Class();
        return true;
    case 11: case 12:
        if (depth >= 3) { Literal(); return true; }
        return Group(depth);
    case 13: case 14: {
        static const char* const kAssertions[] = {"^", "$", "\\b", "\\B"};
        Put(rng_.Pick(kAssertions));
        return false;
    }
    case 15:
        if (opened_ == 0 || (closed_ == 0 && !rng_.Percent(20))) { Literal(); return true; }
        Put(u'\\');
        // Mostly a group that is already closed; now and then the group we are inside (which the
        // reference cannot take: it crashes).
        PutHex(static_cast<unsigned>(closed_ > 0 && rng_.Percent(95) ? rng_.Between(1, closed_) : rng_.Between(1, opened_)), 1);
        return true;
    case 16: case 17:
        Escape();
        return true;
    default:
        NotAQuantifier();
        return false;
    }
}

bool PatternWriter::Group(int depth) {
    int kind = static_cast<int>(rng_.Below(10));
    bool capturing = kind < 6;
    if (capturing) {
        Put(u'(');
        ++opened_;
    } else {
        static const char* const kOpeners[] = {"(?:", "(?:", "(?=", "(?!"};
        Put(kOpeners[kind - 6]);
    }
    Alternation(depth + 1);
    Put(u')');
    if (capturing) ++closed_;
    // A quantified look-ahead is left out: it only multiplies cases without new behaviour.
    return kind < 8;
}

void PatternWriter::Literal() {
    rx::Char c = AlphabetChar(rng_);
    if (IsSyntax(c)) Put(u'\\');
    Put(c);
}

void PatternWriter::Escape() {
    switch (rng_.Below(12)) {
    case 0: {
        static const char* const kControls[] = {"\\f", "\\n", "\\r", "\\t", "\\v"};
        Put(rng_.Pick(kControls));
        break;
    }
    case 1: case 2:
        Put("\\x");
        PutHex(rng_.Percent(80) ? (AlphabetChar(rng_) & 0xFF) : rng_.Below(256), 2);
        break;
    case 3: case 4:
        Put("\\u");
        PutHex(rng_.Percent(80) ? AlphabetChar(rng_) : rng_.Below(0x10000), 4);
        break;
    case 5: {
        Put("\\c");
        static const char kLetters[] = "JMIjmAaZz";
        Put(static_cast<rx::Char>(kLetters[rng_.Below(sizeof kLetters - 1)]));
        break;
    }
    case 6: {
        // Octal escapes; the ones with a leading zero cannot be read as back-references.
        static const char* const kOctal[] = {"\\0", "\\012", "\\015", "\\0141", "\\01", "\\101", "\\141", "\\40"};
        Put(rng_.Pick(kOctal));
        break;
    }
    case 7: case 8: case 9: {
        static const char kSyntax[] = "\\^$.|?*+()[]{}/-";
        Put(u'\\');
        Put(static_cast<rx::Char>(kSyntax[rng_.Below(sizeof kSyntax - 1)]));
        break;
    }
    case 10: {
        // Identity escapes of characters that carry no meaning after a backslash.
        static const char16_t kPlain[] = {u'e', u'g', u'q', u'z', u'a', u'_', u' ', u'\u00E9', u'\u4E2D', u'@'};
        Put(u'\\');
        Put(static_cast<rx::Char>(rng_.Pick(kPlain)));
        break;
    }
    default:
        Put(rng_.Percent(50) ? "\\x4" : "\\u00e");  // too few hex digits: an identity escape
        break;
    }
}

void PatternWriter::NotAQuantifier() {
    static const char* const kOdd[] = {"{", "a{", "b{x}", "a{1,x}", "{,2}", "]", "}", "a]", "c}", "{a"};
    Put(rng_.Pick(kOdd));
}

void PatternWriter::Quantifier() {
    switch (rng_.Below(6)) {
    case 0: Put(u'?'); break;
    case 1: Put(u'*'); break;
    case 2: Put(u'+'); break;
    case 3: Put(u'{'); PutHex(rng_.Below(4), 1); Put(u'}'); break;
    case 4: Put(u'{'); PutHex(rng_.Below(3), 1); Put(",}"); break;
    default: {
        unsigned lo = rng_.Below(3);
        Put(u'{'); PutHex(lo, 1); Put(u','); PutHex(lo + rng_.Below(3), 1); Put(u'}');
        break;
    }
    }
    if (rng_.Percent(30)) Put(u'?');
}

void PatternWriter::Class() {
    Put(u'[');
    if (rng_.Percent(25)) Put(u'^');
    if (rng_.Percent(3)) {   // [] and [^]
        Put(u']');
        return;
    }
    int items = rng_.Between(1, 4);
    for (int i = 0; i < items; ++i) ClassItem();
    Put(u']');
}

void PatternWriter::ClassItem() {
    switch (rng_.Below(12)) {
    case 0: case 1: case 2: {
        rx::Char c = AlphabetChar(rng_);
        if (c == u'-' || c == u'\\' || c == u'^' || c == u']') Put(u'\\');
        Put(c);
        break;
    }
    case 3: case 4: {
        static const char16_t* const kRanges[] = {u"a-c", u"A-Z", u"0-9", u"b-b", u"\u00E0-\u00FF",
                                                  u"\u0400-\u04FF", u"\u4E00-\u9FA5", u"\\x61-\\x62", u"\\u0041-\\u0061",
                                                  u"!-/", u"\\n-\\r"};
        for (const char16_t* p = rng_.Pick(kRanges); *p; ++p) Put(static_cast<rx::Char>(*p));
        break;
    }
    case 5: case 6: {
        static const char* const kEscapes[] = {"\\d", "\\D", "\\w", "\\W", "\\s", "\\S"};
        Put(rng_.Pick(kEscapes));
        break;
    }
    case 7:
        Put("\\b");  // a backspace inside a class
        break;
    case 8: {
        // A '-' next to a class escape is a literal '-'.
        static const char* const kDash[] = {"\\d-", "-\\w", "\\s-a", "\\w-\\d", "a-\\d"};
        Put(rng_.Pick(kDash));
        break;
    }
    case 9: {
        static const char* const kEscapes[] = {"\\n", "\\r", "\\t", "\\x61", "\\u0416", "\\]", "\\\\", "\\-", "\\^", "\\cJ", "\\012", "\\.", "\\B"};
        Put(rng_.Pick(kEscapes));
        break;
    }
    case 10:
        Put(rng_.Percent(50) ? "." : "$");  // plain characters inside a class
        break;
    default:
        Put(rng_.Percent(50) ? "-" : "[");
        break;
    }
}

rx::String PatternWriter::Malformed() {
    rx::String p = WellFormed();
    static const char16_t* const kBreakers[] = {u"(", u")", u"[", u"[a", u"*", u"a**", u"+?+", u"a{3,1}", u"[c-a]",
                                               u"\\", u"(?", u"(?<a)", u"|?", u"{2}", u"(*)", u"a(", u"[b-\\d-a]",
                                               u"x{1}{2}", u"(?=a", u"[\\x62-a]"};
    rx::String breaker;
    for (const char16_t* q = rng_.Pick(kBreakers); *q; ++q) breaker += static_cast<rx::Char>(*q);
    // At the start, at the end, or in the middle of the well-formed pattern.
    size_t at = rng_.Percent(40) ? p.size() : rng_.Percent(50) ? 0 : rng_.Below(static_cast<uint32_t>(p.size() + 1));
    // Never split an escape: step back over a pending backslash.
    while (at > 0 && at < p.size() && p[at - 1] == u'\\') --at;
    p.insert(at, breaker);
    return p;
}

}  // namespace rxtest
