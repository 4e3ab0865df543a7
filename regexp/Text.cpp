#include "regexp/Text.h"

#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace rx {

String FromUtf8(std::string_view s) {
    // never more units than bytes: written in place, cut to size at the end
    String out(s.size(), Char{});
    out.resize(FromUtf8(s, out.data()));
    return out;
}

namespace {

// One character from b[i] on (a non-ASCII lead or a stray byte): writes its one or two units at
// o and returns how many bytes it took.
inline size_t DecodeOne(const unsigned char* b, size_t i, size_t n, Char*& o) {
    auto cont = [&](size_t k) { return k < n && (b[k] & 0xC0) == 0x80; };
    const unsigned char lead = b[i];
    uint32_t cp;
    size_t len;
    if (lead < 0x80) { cp = lead; len = 1; }
    else if (lead >= 0xE0 && lead < 0xF0 && cont(i + 1) && cont(i + 2)) {  // the BMP past U+07FF first: CJK
        cp = ((lead & 0x0Fu) << 12) | ((b[i + 1] & 0x3Fu) << 6) | (b[i + 2] & 0x3Fu); len = 3;
        if (cp < 0x800) { cp = 0xFFFD; }
    } else if (lead >= 0xC2 && lead < 0xE0 && cont(i + 1)) {
        cp = ((lead & 0x1Fu) << 6) | (b[i + 1] & 0x3Fu); len = 2;
    } else if (lead >= 0xF0 && lead < 0xF5 && cont(i + 1) && cont(i + 2) && cont(i + 3)) {
        cp = ((lead & 0x07u) << 18) | ((b[i + 1] & 0x3Fu) << 12) | ((b[i + 2] & 0x3Fu) << 6) | (b[i + 3] & 0x3Fu);
        len = 4;
        if (cp < 0x10000 || cp > 0x10FFFF) { cp = 0xFFFD; }
    } else { cp = 0xFFFD; len = 1; }
    if (cp >= 0x10000) {
        cp -= 0x10000;
        *o++ = static_cast<Char>(0xD800 + (cp >> 10));
        *o++ = static_cast<Char>(0xDC00 + (cp & 0x3FF));
    } else {
        *o++ = static_cast<Char>(cp);
    }
    return len;
}

}  // namespace

size_t FromUtf8(std::string_view s, Char* const start) {
    Char* o = start;
    size_t i = 0;
    const size_t n = s.size();
    const auto* b = reinterpret_cast<const unsigned char*>(s.data());
#ifdef __SSE2__
    // Sixteen bytes at a time: all of them widened and stored, then kept up to the first
    // non-ASCII byte, from which the characters are decoded one by one until ASCII resumes.
    // Writing ahead is safe: the text never has more units than bytes, so o stays <= start + i.
    const __m128i zero = _mm_setzero_si128();
    while (i + 16 <= n) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(o), _mm_unpacklo_epi8(v, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(o + 8), _mm_unpackhi_epi8(v, zero));
        const auto mask = static_cast<unsigned>(_mm_movemask_epi8(v));
        if (!mask) {
            o += 16;
            i += 16;
            continue;
        }
        const auto ascii = static_cast<size_t>(__builtin_ctz(mask));
        o += ascii;
        i += ascii;
        while (i < n && b[i] >= 0x80) i += DecodeOne(b, i, n, o);
    }
#endif
    while (i < n) {
        if (b[i] < 0x80) *o++ = static_cast<Char>(b[i++]);
        else i += DecodeOne(b, i, n, o);
    }
    return static_cast<size_t>(o - start);
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
