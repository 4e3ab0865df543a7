// UTF-8 decoding, which rxgrep and the tests run on every input: the fast paths (ASCII blocks,
// three-byte runs) must give what a plain one-character-at-a-time reading gives, wherever a
// block boundary falls and whatever is broken in the input.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "regexp/Text.h"

namespace {

// The documented reading, one character at a time: a well-formed sequence is its character
// (two units above U+FFFF), anything else one U+FFFD per byte it could not use.
rx::String Reference(const std::string& s) {
    rx::String out;
    auto at = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
    auto cont = [&](size_t k) { return k < s.size() && (at(k) & 0xC0) == 0x80; };
    for (size_t i = 0; i < s.size();) {
        const unsigned char b = at(i);
        uint32_t cp = 0xFFFD;
        size_t len = 1;
        if (b < 0x80) {
            cp = b;
        } else if (b >= 0xC2 && b < 0xE0 && cont(i + 1)) {
            cp = (b & 0x1Fu) << 6 | (at(i + 1) & 0x3Fu);
            len = 2;
        } else if (b >= 0xE0 && b < 0xF0 && cont(i + 1) && cont(i + 2)) {
            cp = (b & 0x0Fu) << 12 | (at(i + 1) & 0x3Fu) << 6 | (at(i + 2) & 0x3Fu);
            if (cp < 0x800) cp = 0xFFFD;
            len = 3;
        } else if (b >= 0xF0 && b < 0xF5 && cont(i + 1) && cont(i + 2) && cont(i + 3)) {
            cp = (b & 0x07u) << 18 | (at(i + 1) & 0x3Fu) << 12 | (at(i + 2) & 0x3Fu) << 6 | (at(i + 3) & 0x3Fu);
            if (cp < 0x10000 || cp > 0x10FFFF) cp = 0xFFFD;
            len = 4;
        }
        if (cp >= 0x10000) {
            out += static_cast<rx::Char>(0xD800 + ((cp - 0x10000) >> 10));
            out += static_cast<rx::Char>(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            out += static_cast<rx::Char>(cp);
        }
        i += len;
    }
    return out;
}

}  // namespace

TEST(Text, Utf8DecodingAgreesWithTheOneCharacterReading) {
    const std::string pieces[] = {"a", "abcdefghijklmnopq", " ", "\xC3\xA9", "\xE4\xB8\xAD", "\xE6\x96\x87\xE5\xAD\x97",
                                  "\xF0\x9F\x98\x80", "\xED\xA0\xBD", "\xE0\x80\x80", "\xC0\xAF", "\xF4\x90\x80\x80",
                                  "\x80", "\xFF", "\xE4\xB8", "\xF0\x9F\x98", "\xC3", "\r\n", std::string(1, '\0')};
    std::mt19937 rng(20261207);
    for (int round = 0; round < 3000; ++round) {
        std::string s;
        const int count = static_cast<int>(rng() % 40);
        for (int k = 0; k < count; ++k) s += pieces[rng() % std::size(pieces)];
        ASSERT_EQ(rx::FromUtf8(s), Reference(s)) << "round " << round;
        // and every cut of it: a sequence broken at the end, block boundaries everywhere
        const size_t cut = s.empty() ? 0 : rng() % s.size();
        ASSERT_EQ(rx::FromUtf8(s.substr(cut)), Reference(s.substr(cut))) << "round " << round << " from " << cut;
    }
}
