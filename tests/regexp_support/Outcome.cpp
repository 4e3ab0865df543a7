#include "tests/regexp_support/Outcome.h"

#include <cstdio>


namespace rxtest {

bool SameResult(const Outcome& a, const Outcome& b) {
    if (a.status != b.status) return false;
    if (a.status != Outcome::Status::Ok) return true;
    return a.matches == b.matches && a.test == b.test && a.replaced == b.replaced;
}

std::string Quote(rx::StringView s) {
    std::string out;
    for (rx::Char ch : s) {
        auto c = static_cast<unsigned>(ch);
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '"': out += "\\\""; break;
        case '\r': out += "\\r"; break;
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c >= 0x20 && c < 0x7F) {
                out += static_cast<char>(c);
            } else {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04X", c);
                out += buf;
            }
        }
    }
    return out;
}

std::string Describe(const Case& c) {
    std::string out = "#" + std::to_string(c.number) + " pattern \"" + Quote(c.pattern) + "\" flags ";
    out += c.ignoreCase ? 'i' : '-';
    out += c.global ? 'g' : '-';
    out += c.multiline ? 'm' : '-';
    out += " text \"" + Quote(c.text) + "\" replacement \"" + Quote(c.replacement) + "\"";
    return out;
}

std::string Describe(const Outcome& o) {
    switch (o.status) {
    case Outcome::Status::Rejected: return "rejected (" + std::to_string(o.errorNumber) + ")";
    case Outcome::Status::TooComplex: return "over the step budget";
    case Outcome::Status::Ok: break;
    }
    std::string out = std::to_string(o.matches.size()) + " match(es)";
    for (const MatchRecord& m : o.matches) {
        out += " [" + std::to_string(m.index) + "+" + std::to_string(m.length) + " \"" + Quote(m.value) + "\"";
        for (const auto& sub : m.subMatches) out += sub ? " \"" + Quote(*sub) + "\"" : std::string(" <none>");
        out += "]";
    }
    out += o.test ? "; Test true" : "; Test false";
    out += "; Replace \"" + Quote(o.replaced) + "\"";
    return out;
}

}  // namespace rxtest
