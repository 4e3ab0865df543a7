#include "bench/regexp/Dialect.h"

namespace rxbench {

namespace {

bool IsClassEscapeAt(const rx::String& p, size_t k) {
    if (k + 1 >= p.size() || p[k] != u'\\') return false;
    switch (p[k + 1]) {
    case u'd': case u'D': case u'w': case u'W': case u's': case u'S': return true;
    default: return false;
    }
}

}  // namespace

rx::String EscapeDashBesideClassEscape(const rx::String& p) {
    rx::String out;
    bool inClass = false;
    bool afterClassEscape = false;
    for (size_t k = 0; k < p.size(); ++k) {
        rx::Char c = p[k];
        if (c == u'\\' && k + 1 < p.size()) {
            afterClassEscape = inClass && IsClassEscapeAt(p, k);
            out += c;
            out += p[++k];
            continue;
        }
        if (!inClass && c == u'[') {
            inClass = true;
        } else if (inClass && c == u']') {
            inClass = false;
        } else if (inClass && c == u'-' && (afterClassEscape || IsClassEscapeAt(p, k + 1))) {
            out += u'\\';
        }
        afterClassEscape = false;
        out += c;
    }
    return out;
}

}  // namespace rxbench
