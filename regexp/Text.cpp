#include "regexp/Text.h"

namespace rx {

String FromUtf8(std::string_view s) {
    String out;
    out.reserve(s.size());
    size_t i = 0;
    const size_t n = s.size();
    auto cont = [&](size_t k) { return k < n && (static_cast<unsigned char>(s[k]) & 0xC0) == 0x80; };
    while (i < n) {
        unsigned char b = static_cast<unsigned char>(s[i]);
        uint32_t cp;
        size_t len;
        if (b < 0x80) { cp = b; len = 1; }
        else if (b >= 0xC2 && b < 0xE0 && cont(i + 1)) {
            cp = ((b & 0x1Fu) << 6) | (s[i + 1] & 0x3F); len = 2;
        } else if (b >= 0xE0 && b < 0xF0 && cont(i + 1) && cont(i + 2)) {
            cp = ((b & 0x0Fu) << 12) | ((s[i + 1] & 0x3Fu) << 6) | (s[i + 2] & 0x3F); len = 3;
            if (cp < 0x800) { cp = 0xFFFD; }
        } else if (b >= 0xF0 && b < 0xF5 && cont(i + 1) && cont(i + 2) && cont(i + 3)) {
            cp = ((b & 0x07u) << 18) | ((s[i + 1] & 0x3Fu) << 12) | ((s[i + 2] & 0x3Fu) << 6) | (s[i + 3] & 0x3F);
            len = 4;
            if (cp < 0x10000 || cp > 0x10FFFF) { cp = 0xFFFD; }
        } else { cp = 0xFFFD; len = 1; }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out += static_cast<Char>(0xD800 + (cp >> 10));
            out += static_cast<Char>(0xDC00 + (cp & 0x3FF));
        } else {
            out += static_cast<Char>(cp);
        }
        i += len;
    }
    return out;
}

std::string ToUtf8(StringView t) {
    std::string out;
    out.reserve(t.size());
    for (size_t i = 0; i < t.size(); ++i) {
        uint32_t c = static_cast<uint16_t>(t[i]);
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < t.size()) {
            uint32_t lo = static_cast<uint16_t>(t[i + 1]);
            if (lo >= 0xDC00 && lo < 0xE000) {
                c = 0x10000 + ((c - 0xD800) << 10) + (lo - 0xDC00);
                ++i;
            }
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

}  // namespace rx
