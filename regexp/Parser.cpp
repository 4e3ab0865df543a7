#include "regexp/Parser.h"

#include "base/Error.h"
#include "regexp/RegExp.h"

namespace rx {
namespace {

[[noreturn]] void Fail(long number) {
    switch (number) {
    case err::UnexpectedQuantifier: throw base::Error(number, L"Unexpected quantifier");
    case err::ExpectedBracket: throw base::Error(number, L"Expected ']' in regular expression");
    case err::ExpectedParen: throw base::Error(number, L"Expected ')' in regular expression");
    case err::InvalidRange: throw base::Error(number, L"Invalid range in character set");
    default: throw base::Error(err::Syntax, L"Syntax error in regular expression");
    }
}

int HexValue(Char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool IsOctal(Char c) { return c >= '0' && c <= '7'; }
bool IsDigit(Char c) { return c >= '0' && c <= '9'; }
bool IsLetter(Char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// One open group while parsing: the alternatives finished so far and the terms of the current one.
struct Frame {
    enum Kind { Root, Capture, NonCapture, LookPos, LookNeg } kind = Root;
    uint32_t group = 0;      // Capture: its number
    uint32_t capStart = 0;   // groups allocated before it opened
    std::vector<int32_t> alternatives;
    std::vector<int32_t> terms;
    bool lastQuantifiable = false;  // the last term may take a quantifier
};

// A class item: one unit, or a class escape's set.
struct ClassAtom {
    bool isSet = false;
    uint16_t unit = 0;
    CharSet set;
};

class Parser {
public:
    explicit Parser(StringView p) : p_(p) {}

    Ast Run() {
        stack_.push_back(Frame{});
        while (i_ < p_.size()) Step();
        if (stack_.size() > 1) Fail(err::ExpectedParen);
        ast_.root = CloseBody(stack_.back());
        ast_.groupCount = groups_;
        return std::move(ast_);
    }

private:
    Frame& Top() { return stack_.back(); }

    void Step() {
        Char c = p_[i_];
        switch (c) {
        case '|': ++i_; Top().alternatives.push_back(MakeConcat(Top().terms)); Top().lastQuantifiable = false; break;
        case '(': OpenGroup(); break;
        case ')': CloseGroup(); break;
        case '*': ++i_; Quantify(0, kInfinite); break;
        case '+': ++i_; Quantify(1, kInfinite); break;
        case '?': ++i_; Quantify(0, 1); break;
        case '{': Brace(); break;
        case '^': ++i_; Assertion(NodeKind::LineStart); break;
        case '$': ++i_; Assertion(NodeKind::LineEnd); break;
        case '.': ++i_; Atom(Node{NodeKind::Any}); break;
        case '[': Atom(ParseClass()); break;
        case '\\': Escape(); break;
        default: ++i_; Atom(CharNode(static_cast<uint16_t>(c))); break;
        }
    }

    static Node CharNode(uint16_t c) {
        Node n{NodeKind::Char};
        n.value = c;
        return n;
    }

    void Atom(Node n) {
        Top().terms.push_back(ast_.Add(std::move(n)));
        Top().lastQuantifiable = true;
    }

    void Assertion(NodeKind kind) {
        Top().terms.push_back(ast_.Add(Node{kind}));
        Top().lastQuantifiable = false;
    }

    int32_t MakeConcat(std::vector<int32_t>& terms) {
        int32_t id;
        if (terms.empty()) {
            id = ast_.Add(Node{NodeKind::Empty});
        } else if (terms.size() == 1) {
            id = terms[0];
        } else {
            Node n{NodeKind::Concat};
            n.kids = std::move(terms);
            id = ast_.Add(std::move(n));
        }
        terms.clear();
        return id;
    }

    int32_t CloseBody(Frame& f) {
        f.alternatives.push_back(MakeConcat(f.terms));
        if (f.alternatives.size() == 1) return f.alternatives[0];
        if (int32_t set = MergeUnitAlternatives(f.alternatives); set >= 0) return set;
        Node n{NodeKind::Alternation};
        n.kids = std::move(f.alternatives);
        return ast_.Add(std::move(n));
    }

    // a|b|[0-9] takes one unit whichever way it goes, so it is the class [ab0-9], which the
    // compiler can run as a tight loop. Negated classes stay out: under IgnoreCase their case
    // closure must be taken before the negation, alternative by alternative.
    int32_t MergeUnitAlternatives(const std::vector<int32_t>& alternatives) {
        for (int32_t a : alternatives) {
            const Node& n = ast_.nodes[a];
            if (!(n.kind == NodeKind::Char || (n.kind == NodeKind::Set && !n.negate))) return -1;
        }
        CharSet merged;
        for (int32_t a : alternatives) {
            const Node& n = ast_.nodes[a];
            if (n.kind == NodeKind::Char) merged.Add(static_cast<uint16_t>(n.value));
            else merged.AddSet(ast_.sets[n.value]);
        }
        merged.Finish();
        Node n{NodeKind::Set};
        n.value = static_cast<uint32_t>(ast_.sets.size());
        ast_.sets.push_back(std::move(merged));
        return ast_.Add(std::move(n));
    }

    void OpenGroup() {
        Frame f;
        f.capStart = groups_;
        if (i_ + 1 < p_.size() && p_[i_ + 1] == '?') {
            Char k = i_ + 2 < p_.size() ? p_[i_ + 2] : 0;
            if (k == ':') f.kind = Frame::NonCapture;
            else if (k == '=') f.kind = Frame::LookPos;
            else if (k == '!') f.kind = Frame::LookNeg;
            else Fail(err::Syntax);
            i_ += 3;
        } else {
            f.kind = Frame::Capture;
            f.group = ++groups_;
            i_ += 1;
        }
        stack_.push_back(std::move(f));
    }

    void CloseGroup() {
        if (stack_.size() == 1) Fail(err::Syntax);
        ++i_;
        Frame f = std::move(stack_.back());
        stack_.pop_back();
        int32_t body = CloseBody(f);
        int32_t atom = body;
        if (f.kind == Frame::Capture) {
            Node n{NodeKind::Group};
            n.value = f.group;
            n.kids = {body};
            atom = ast_.Add(std::move(n));
        } else if (f.kind != Frame::NonCapture) {
            Node n{NodeKind::LookAhead};
            n.negate = f.kind == Frame::LookNeg;
            n.kids = {body};
            atom = ast_.Add(std::move(n));
        }
        ast_.nodes[atom].capFirst = f.capStart + 1;
        ast_.nodes[atom].capEnd = groups_ + 1;
        Top().terms.push_back(atom);
        Top().lastQuantifiable = true;
    }

    void Quantify(uint32_t min, uint32_t max) {
        bool greedy = true;
        if (i_ < p_.size() && p_[i_] == '?') {
            greedy = false;
            ++i_;
        }
        Frame& f = Top();
        if (!f.lastQuantifiable || f.terms.empty()) Fail(err::UnexpectedQuantifier);
        int32_t atom = f.terms.back();
        Node n{NodeKind::Repeat};
        n.min = min;
        n.max = max;
        n.greedy = greedy;
        n.capFirst = ast_.nodes[atom].capFirst;
        n.capEnd = ast_.nodes[atom].capEnd;
        n.kids = {atom};
        f.terms.back() = ast_.Add(std::move(n));
        f.lastQuantifiable = false;
    }

    // {n}, {n,} or {n,m} is a quantifier; any other '{' is a literal.
    void Brace() {
        size_t k = i_ + 1;
        uint32_t min = 0, max = 0;
        if (!ReadNumber(k, min)) { ++i_; Atom(CharNode('{')); return; }
        if (k < p_.size() && p_[k] == '}') {
            max = min;
        } else if (k < p_.size() && p_[k] == ',') {
            ++k;
            if (k < p_.size() && p_[k] == '}') {
                max = kInfinite;
            } else if (!ReadNumber(k, max) || k >= p_.size() || p_[k] != '}') {
                ++i_; Atom(CharNode('{')); return;
            }
        } else {
            ++i_; Atom(CharNode('{')); return;
        }
        i_ = k + 1;
        if (max < min) Fail(err::Syntax);
        Quantify(min, max);
    }

    // Reads decimal digits at k; a count too large to hold saturates (no input is that long).
    bool ReadNumber(size_t& k, uint32_t& value) {
        size_t start = k;
        uint64_t v = 0;
        while (k < p_.size() && IsDigit(p_[k])) {
            v = v * 10 + static_cast<uint64_t>(p_[k] - '0');
            if (v > 0x7FFFFFFF) v = 0x7FFFFFFF;
            ++k;
        }
        value = static_cast<uint32_t>(v);
        return k > start;
    }

    // Up to three octal digits, as long as the value stays within one byte.
    uint16_t ReadOctal() {
        uint32_t v = 0;
        for (int n = 0; n < 3 && i_ < p_.size() && IsOctal(p_[i_]); ++n) {
            uint32_t next = v * 8 + static_cast<uint32_t>(p_[i_] - '0');
            if (next > 0377) break;
            v = next;
            ++i_;
        }
        return static_cast<uint16_t>(v);
    }

    bool ReadHex(size_t digits, uint16_t& out) {
        if (i_ + digits > p_.size()) return false;
        uint32_t v = 0;
        for (size_t k = 0; k < digits; ++k) {
            int h = HexValue(p_[i_ + k]);
            if (h < 0) return false;
            v = v * 16 + static_cast<uint32_t>(h);
        }
        i_ += digits;
        out = static_cast<uint16_t>(v);
        return true;
    }

    // The escapes that mean the same inside and outside a class. i_ is past the backslash and
    // at the escape's letter; returns false when the letter is not one of them.
    bool CommonEscape(ClassAtom& a) {
        Char d = p_[i_];
        switch (d) {
        case 'd': case 'D': case 'w': case 'W': case 's': case 'S':
            ++i_;
            a.isSet = true;
            a.set = d == 'd' || d == 'D' ? CharSet::Digit() : d == 'w' || d == 'W' ? CharSet::Word() : CharSet::Space();
            if (d == 'D' || d == 'W' || d == 'S') a.set.Negate();
            return true;
        case 'f': ++i_; a.unit = 0x0C; return true;
        case 'n': ++i_; a.unit = 0x0A; return true;
        case 'r': ++i_; a.unit = 0x0D; return true;
        case 't': ++i_; a.unit = 0x09; return true;
        case 'v': ++i_; a.unit = 0x0B; return true;
        case 'c':
            if (i_ + 1 < p_.size() && IsLetter(p_[i_ + 1])) {
                a.unit = static_cast<uint16_t>(p_[i_ + 1] % 32);
                i_ += 2;
            } else {
                a.unit = '\\';  // a backslash of its own; the 'c' is read next as a literal
            }
            return true;
        case 'x':
            ++i_;
            if (!ReadHex(2, a.unit)) a.unit = 'x';
            return true;
        case 'u':
            ++i_;
            if (!ReadHex(4, a.unit)) a.unit = 'u';
            return true;
        default:
            return false;
        }
    }

    void Escape() {
        ++i_;
        if (i_ >= p_.size()) Fail(err::Syntax);
        Char d = p_[i_];
        if (d == 'b' || d == 'B') {
            ++i_;
            Assertion(d == 'b' ? NodeKind::WordBoundary : NodeKind::NotWordBoundary);
            return;
        }
        ClassAtom a;
        if (CommonEscape(a)) {
            if (a.isSet) {
                Node n{NodeKind::Set};
                n.value = static_cast<uint32_t>(ast_.sets.size());
                ast_.sets.push_back(std::move(a.set));
                Atom(std::move(n));
            } else {
                Atom(CharNode(a.unit));
            }
            return;
        }
        if (d >= '1' && d <= '9') {
            DecimalEscape();
            return;
        }
        if (d == '0') {
            Atom(CharNode(ReadOctal()));
            return;
        }
        ++i_;
        Atom(CharNode(static_cast<uint16_t>(d)));  // identity escape
    }

    // \nml (n 0-3, all octal) is an octal escape; otherwise \nm is a back-reference when at
    // least nm groups open before it, else \n is one (and m a literal) when at least n do; else
    // an octal escape, else the digit itself. Only the groups before the escape count, as the
    // platform documents it: "\12(a)" is a line feed and an "a".
    void DecimalEscape() {
        const uint32_t d1 = static_cast<uint32_t>(p_[i_] - '0');
        if (d1 <= 3 && i_ + 2 < p_.size() && IsOctal(p_[i_ + 1]) && IsOctal(p_[i_ + 2])) {
            Atom(CharNode(ReadOctal()));
            return;
        }
        if (i_ + 1 < p_.size() && IsDigit(p_[i_ + 1])) {
            uint32_t nn = d1 * 10 + static_cast<uint32_t>(p_[i_ + 1] - '0');
            if (nn <= groups_) {
                i_ += 2;
                BackRef(nn);
                return;
            }
        }
        if (d1 <= groups_) {
            ++i_;
            BackRef(d1);
            return;
        }
        if (IsOctal(p_[i_])) {
            Atom(CharNode(ReadOctal()));
            return;
        }
        Atom(CharNode(static_cast<uint16_t>(p_[i_++])));
    }

    void BackRef(uint32_t group) {
        Node n{NodeKind::BackRef};
        n.value = group;
        Atom(std::move(n));
    }

    Node ParseClass() {
        ++i_;  // '['
        Node n{NodeKind::Set};
        if (i_ < p_.size() && p_[i_] == '^') {
            n.negate = true;
            ++i_;
        }
        CharSet set;
        for (;;) {
            if (i_ >= p_.size()) Fail(err::ExpectedBracket);
            if (p_[i_] == ']') {
                ++i_;
                break;
            }
            ClassAtom a = ClassItem();
            if (i_ + 1 < p_.size() && p_[i_] == '-' && p_[i_ + 1] != ']') {
                ++i_;
                ClassAtom b = ClassItem();
                if (a.isSet || b.isSet) {
                    // next to a class escape the hyphen is a literal: [\w-.]
                    AddAtom(set, a);
                    set.Add('-');
                    AddAtom(set, b);
                } else {
                    if (a.unit > b.unit) Fail(err::InvalidRange);
                    set.AddRange(a.unit, b.unit);
                }
            } else {
                AddAtom(set, a);
            }
        }
        set.Finish();
        n.value = static_cast<uint32_t>(ast_.sets.size());
        ast_.sets.push_back(std::move(set));
        return n;
    }

    static void AddAtom(CharSet& set, const ClassAtom& a) {
        if (a.isSet) set.AddSet(a.set);
        else set.Add(a.unit);
    }

    ClassAtom ClassItem() {
        if (i_ >= p_.size()) Fail(err::ExpectedBracket);
        ClassAtom a;
        if (p_[i_] != '\\') {
            a.unit = static_cast<uint16_t>(p_[i_++]);
            return a;
        }
        ++i_;
        if (i_ >= p_.size()) Fail(err::ExpectedBracket);
        if (CommonEscape(a)) return a;
        Char d = p_[i_];
        if (d == 'b') {
            ++i_;
            a.unit = 0x08;  // backspace inside a class
        } else if (IsOctal(d)) {
            a.unit = ReadOctal();
        } else {
            ++i_;
            a.unit = static_cast<uint16_t>(d);
        }
        return a;
    }

    StringView p_;
    size_t i_ = 0;
    uint32_t groups_ = 0;
    Ast ast_;
    std::vector<Frame> stack_;
};

}  // namespace

Ast Parse(StringView pattern) {
    return Parser(pattern).Run();
}

}  // namespace rx
