// rxgrep's vector decoding against the one-character-at-a-time reading (rx::FromUtf8): the same
// units for every input, on every path this processor has, wherever a broken or unusual
// sequence falls relative to the 16- and 64-byte blocks and to the end of the text.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "rxgrep/Decode.h"

namespace {

using rxgrep::DecodePath;

std::vector<DecodePath> Paths() {
    std::vector<DecodePath> paths;
    for (int p = 0; p <= static_cast<int>(rxgrep::BestDecodePath()); ++p) paths.push_back(static_cast<DecodePath>(p));
    return paths;
}

// Decodes into a buffer of exactly utf8.size() units followed by guard units that must stay.
rx::String Decode(const std::string& utf8, DecodePath path) {
    constexpr size_t kGuard = 64;
    constexpr rx::Char kMark = 0xA5A5;
    std::vector<rx::Char> out(utf8.size() + kGuard, kMark);
    const size_t units = rxgrep::DecodeUtf8(utf8, out.data(), path);
    EXPECT_LE(units, utf8.size());
    for (size_t k = utf8.size(); k < out.size(); ++k)
        if (out[k] != kMark) {
            ADD_FAILURE() << "wrote past the buffer, unit " << k - utf8.size();
            break;
        }
    return rx::String(out.data(), std::min(units, utf8.size()));
}

std::string Hex(const std::string& s) {
    static const char* digits = "0123456789ABCDEF";
    std::string h;
    for (unsigned char c : s.substr(0, 200)) {
        h += digits[c >> 4];
        h += digits[c & 15];
        h += ' ';
    }
    return h;
}

void ExpectSameOnEveryPath(const std::string& s, const std::string& what) {
    const rx::String want = rx::FromUtf8(s);
    for (DecodePath path : Paths())
        ASSERT_EQ(Decode(s, path), want) << what << ", path " << static_cast<int>(path) << ", " << s.size()
                                         << " bytes: " << Hex(s);
}

// Every form the decoder has to tell apart, well formed or not.
const std::vector<std::string>& Oddities() {
    static const std::vector<std::string> forms = {
        "\xC3\xA9", "\xDF\xBF", "\xC2\x80",                          // two bytes, lowest and highest
        "\xE0\xA0\x80", "\xEF\xBF\xBF", "\xE4\xB8\xAD",              // three bytes
        "\xED\x9F\xBF", "\xED\xA0\x80", "\xED\xBF\xBF",              // just below and in the surrogates
        "\xEF\xBF\xBD",                                              // U+FFFD itself
        "\xF0\x90\x80\x80", "\xF4\x8F\xBF\xBF", "\xF0\x9F\x98\x80",  // four bytes
        "\xC0\x80", "\xC1\xBF", "\xE0\x80\x80", "\xE0\x9F\xBF",      // overlong
        "\xF0\x80\x80\x80", "\xF0\x8F\xBF\xBF",
        "\xF4\x90\x80\x80", "\xF7\xBF\xBF\xBF", "\xF5\x80", "\xF8\x88\x80\x80\x80", "\xFE", "\xFF",  // out of range
        "\xC3", "\xE4", "\xE4\xB8", "\xF0", "\xF0\x9F", "\xF0\x9F\x98",  // truncated
        "\x80", "\xBF", "\x80\x80\x80\x80\x80",                       // stray continuation bytes
        "\xC3\xA9\xA9", "\xE4\xB8\xAD\x80",                          // one continuation too many
        "\xE4\xC3\xA9", "\xE4\xB8" "a", "\xC3" "a",                  // a lead cut short by the next character
        std::string(1, '\0'), "\x7F",
    };
    return forms;
}

std::string Fill(const std::string& unit, size_t bytes) {
    std::string s;
    while (s.size() < bytes) s += unit;
    return s;
}

}  // namespace

TEST(Decode, LongRunsOfEachKindAndTheirEnds) {
    const std::string kinds[] = {"a", "\xC3\xA9", "\xE4\xB8\xAD", "\xF0\x9F\x98\x80", "ab\xE4\xB8\xAD", "\xD0\x9F\xE4\xB8\xAD" "x"};
    for (const std::string& kind : kinds)
        for (size_t bytes : {0, 1, 15, 16, 17, 63, 64, 65, 79, 80, 127, 128, 129, 191, 192, 193, 4096, 70001})
            ExpectSameOnEveryPath(Fill(kind, bytes).substr(0, bytes), "run of " + Hex(kind));
}

TEST(Decode, GoodTextAfterALongStretchOfFourByteOrBrokenCharacters) {
    // the fallback takes ever longer stretches while blocks keep failing; where good text
    // resumes, at any offset, the vector path picks up again with the same answer
    const std::string bad[] = {"\xF0\x9F\x98\x80", "\xFF", "\xE4\xB8"};
    const std::string good[] = {"a", "\xE4\xB8\xAD", "x\xC3\xA9\xE4\xB8\xAD "};
    for (const std::string& b : bad)
        for (const std::string& g : good)
            for (size_t stretch : {100, 5000, 20000})
                for (size_t shift = 0; shift < 4; ++shift)
                    ExpectSameOnEveryPath(std::string(shift, 'a') + Fill(b, stretch) + Fill(g, 9000) + Fill(b, 70),
                                          "stretch of " + Hex(b) + " then " + Hex(g));
}

TEST(Decode, EveryOddFormAtEveryOffsetOfTheBlocks) {
    // each form after 0..130 bytes of a filler (so it meets both ends of the 16- and 64-byte
    // blocks and the windows), followed by more filler or by the end of the text
    const std::string fillers[] = {"a", "\xE4\xB8\xAD", "\xC3\xA9", "a\xE4\xB8\xAD", "\xF0\x9F\x98\x80", "ab\xF0\x9F\x98\x80"};
    for (const std::string& filler : fillers) {
        const std::string lead = Fill(filler, 200);
        for (const std::string& form : Oddities())
            for (size_t at = 0; at <= 130; ++at) {
                const std::string head = lead.substr(0, at);  // may cut the filler's last character
                ExpectSameOnEveryPath(head + form + lead.substr(0, 150), "form " + Hex(form) + " at " + std::to_string(at));
                ExpectSameOnEveryPath(head + form, "form " + Hex(form) + " ending the text at " + std::to_string(at));
            }
    }
}

// Offsets on both sides of the 16-, 32- and 64-byte steps of the vector paths (and of the byte
// after a block, which tells whether its last character ends there).
std::vector<size_t> AroundTheSteps() {
    std::vector<size_t> at;
    for (size_t step = 0; step <= 192; step += 16)
        for (size_t k = step < 4 ? 0 : step - 4; k <= step + 4; ++k)
            if (at.empty() || k > at.back()) at.push_back(k);
    return at;
}

TEST(Decode, AsciiRunsOfEveryLengthBetweenOtherCharacters) {
    // lanes where a character ends are kept and the rest dropped, whatever the mix: ASCII runs of
    // 0..70 bytes between two-, three- and four-byte characters, from the text's start and from
    // one to three bytes into it (starting inside a character)
    const std::string others[] = {"\xC3\xA9", "\xE4\xB8\xAD", "\xF0\x9F\x98\x80", "\xE4\xB8\xAD\xD0\x9F", "\xE3\x80\x82\xE6\x96\x87"};
    for (size_t run = 0; run <= 70; ++run)
        for (const std::string& other : others) {
            std::string s;
            for (size_t k = 0; s.size() < 400; ++k) s += std::string(run + k % 3, static_cast<char>('a' + k % 26)) + other;
            for (size_t from = 0; from < 4; ++from)
                ExpectSameOnEveryPath(s.substr(from), "ASCII runs of " + std::to_string(run) + " and " + Hex(other));
        }
}

TEST(Decode, EveryOddFormAmongAsciiRunsOfEveryLength) {
    // each form (broken, four-byte, surrogate, overlong, past U+10FFFF) around each step of the
    // vector paths in text of ASCII runs of every length 0..70 and two-, three- and four-byte
    // characters, followed by more such text or ending the text
    const std::vector<size_t> offsets = AroundTheSteps();
    for (size_t run = 0; run <= 70; ++run) {
        std::string text;
        while (text.size() < 400)
            text += std::string(run, 'x') + "\xE4\xB8\xAD" + std::string(run / 2, 'y') + "\xC3\xA9" +
                    std::string(run / 3, 'z') + "\xF0\x9F\x98\x80";
        for (const std::string& form : Oddities())
            for (size_t at : offsets) {
                const std::string head = text.substr(0, at);
                ExpectSameOnEveryPath(head + form + text.substr(at, 120),
                                      "form " + Hex(form) + " at " + std::to_string(at) + ", runs of " + std::to_string(run));
                ExpectSameOnEveryPath(head + form, "form " + Hex(form) + " ending the text at " + std::to_string(at) +
                                                       ", runs of " + std::to_string(run));
            }
    }
}

TEST(Decode, LongTextsWithOddFormsFarApart) {
    // the stream's state over many blocks: each form every few dozen, hundred or thousand bytes
    // of mixed text, so that blocks pass, fail or take four-byte characters after one another in
    // every order, and the one-by-one reading's stretch grows and starts again
    const std::string good[] = {"while ", "frame ", "\r\n", "\xE5\xA2\xBB\xE5\x84\xAF\xE5\xA1\xA9 ",
                                "\xE3\x80\x82", "\xC3\xA9", "\xD0\x9F\xD1\x80\xD0\xB8 ", "x"};
    std::mt19937 rng(2026);
    for (const std::string& form : Oddities())
        for (size_t apart : {37, 300, 5000}) {
            std::string s;
            for (size_t next = apart; s.size() < 30000;) {
                s += good[rng() % std::size(good)];
                if (s.size() < next) continue;
                s += form;
                next = s.size() + apart / 2 + rng() % apart;
            }
            ExpectSameOnEveryPath(s, "form " + Hex(form) + " every " + std::to_string(apart) + " bytes or so");
        }
}

TEST(Decode, RandomMixturesOfGoodAndBrokenCharacters) {
    std::vector<std::string> pieces = Oddities();
    for (const char* good : {"a", "hello world ", "\r\n", "\xE4\xB8\xAD\xE6\x96\x87", "\xE3\x80\x82", "\xD0\x9F\xD1\x80",
                             "\xE5\xAD\x97\xE7\xAC\xA6\xE4\xB8\xB2"})
        for (int k = 0; k < 6; ++k) pieces.push_back(good);  // mostly good, as real text is
    std::mt19937 rng(20261207);
    for (int round = 0; round < 4000; ++round) {
        std::string s;
        const size_t count = rng() % 120;
        for (size_t k = 0; k < count; ++k) s += pieces[rng() % pieces.size()];
        ExpectSameOnEveryPath(s, "round " + std::to_string(round));
        // and from any byte on: the text may start inside a character
        if (!s.empty()) ExpectSameOnEveryPath(s.substr(rng() % s.size()), "round " + std::to_string(round) + ", cut");
    }
}

TEST(Decode, RandomBytes) {
    std::mt19937 rng(17);
    for (int round = 0; round < 3000; ++round) {
        std::string s(rng() % 300, '\0');
        // bytes drawn from the classes that matter: ASCII, continuation, each lead range
        static const unsigned char classes[][2] = {{0x00, 0x7F}, {0x80, 0xBF}, {0xC0, 0xC1}, {0xC2, 0xDF},
                                                   {0xE0, 0xEF}, {0xF0, 0xF4}, {0xF5, 0xFF}};
        for (char& c : s) {
            const auto& cls = classes[rng() % std::size(classes)];
            c = static_cast<char>(cls[0] + rng() % (cls[1] - cls[0] + 1));
        }
        ExpectSameOnEveryPath(s, "round " + std::to_string(round));
    }
}

namespace {

// DecodeUtf8InTwo into a buffer of exactly utf8.size() units and guard units after it, from
// `twoThreadsFrom` bytes on.
rx::String DecodeInTwo(const std::string& utf8, DecodePath path, size_t twoThreadsFrom = 0) {
    constexpr size_t kGuard = 64;
    constexpr rx::Char kMark = 0xA5A5;
    std::vector<rx::Char> out(utf8.size() + kGuard, kMark);
    const size_t units = rxgrep::DecodeUtf8InTwo(utf8, out.data(), path, twoThreadsFrom);
    EXPECT_LE(units, utf8.size());
    for (size_t k = utf8.size(); k < out.size(); ++k)
        if (out[k] != kMark) {
            ADD_FAILURE() << "wrote past the buffer, unit " << k - utf8.size();
            break;
        }
    return rx::String(out.data(), std::min(units, utf8.size()));
}

void ExpectSameInTwo(const std::string& s, const std::string& what) {
    const rx::String want = rx::FromUtf8(s);
    for (DecodePath path : Paths())
        ASSERT_EQ(DecodeInTwo(s, path), want) << what << ", path " << static_cast<int>(path) << ", " << s.size()
                                              << " bytes: " << Hex(s.substr(s.size() / 2 - std::min<size_t>(s.size() / 2, 40)));
}

}  // namespace

TEST(DecodeInTwo, EveryOddFormAroundTheMiddle) {
    // the halves meet at the first character start from the middle on: each form placed so that
    // it ends before, spans or starts after that point, in text of one-, two- and three-byte
    // characters (which shift how many units the first half predicts)
    const std::string fillers[] = {"a", "\xE4\xB8\xAD", "\xC3\xA9", "a\xE4\xB8\xAD", "\xF0\x9F\x98\x80" "b"};
    for (const std::string& filler : fillers) {
        const std::string text = Fill(filler, 3000);
        for (const std::string& form : Oddities())
            for (size_t at = text.size() / 2 - 12; at <= text.size() / 2 + 12; ++at) {
                std::string s = text;
                s.insert(at, form);
                ExpectSameInTwo(s, "form " + Hex(form) + " at " + std::to_string(at) + " in " + Hex(filler));
            }
    }
}

TEST(DecodeInTwo, AFirstHalfOfBrokenBytesThatDecodesToMoreOrFewerUnitsThanPredicted) {
    // stray continuation bytes decode to more units than well-formed text of their length, lone
    // four-byte leads to fewer: the second half has to move to where the first half ends
    const std::string broken[] = {"\x80", "\xBF\xBF\x80 ", "\xF0", "\xF0\x9F", "\xF0\x9F\x98", "\xF8\x88\x80\x80\x80",
                                  "\xC3\xA9\xA9", "\xF4\x90\x80\x80", "\xE0\x80\x80"};
    const std::string good[] = {"a", "\xE4\xB8\xAD", "\xF0\x9F\x98\x80"};
    for (const std::string& b : broken)
        for (const std::string& g : good)
            for (size_t bytes : {100, 2000, 70001}) {
                ExpectSameInTwo(Fill(b, bytes / 2) + Fill(g, bytes / 2), "broken " + Hex(b) + " then " + Hex(g));
                ExpectSameInTwo(Fill(g, bytes / 3) + Fill(b, bytes / 3) + Fill(g, bytes / 3), "within " + Hex(g));
                ExpectSameInTwo(Fill(b, bytes), "all " + Hex(b));
            }
}

TEST(DecodeInTwo, NoCharacterStartsAfterTheMiddle) {
    // one thread does it all: every byte from the middle on continues something
    for (const std::string& head : {std::string("abc"), std::string("\xE4\xB8\xAD"), std::string()})
        ExpectSameInTwo(head + std::string(5000, '\x80'), "continuation bytes after " + Hex(head));
    for (size_t bytes : {0, 1, 2, 3, 4})
        ExpectSameInTwo(std::string(bytes, 'x'), "tiny text of " + std::to_string(bytes) + " bytes");
}

TEST(DecodeInTwo, RandomMixturesLargeAndSmall) {
    std::vector<std::string> pieces = Oddities();
    for (const char* good : {"a", "hello world ", "\r\n", "\xE4\xB8\xAD\xE6\x96\x87", "\xD0\x9F\xD1\x80", "\xF0\x9F\x98\x80"})
        for (int k = 0; k < 6; ++k) pieces.push_back(good);
    std::mt19937 rng(1207);
    for (int round = 0; round < 600; ++round) {
        std::string s;
        const size_t count = rng() % 400;
        for (size_t k = 0; k < count; ++k) s += pieces[rng() % pieces.size()];
        ExpectSameInTwo(s, "round " + std::to_string(round));
    }
    // past the size at which rxgrep takes the second thread, at its own threshold
    std::string big;
    while (big.size() < rxgrep::kTwoThreadsFrom + 12345) big += pieces[rng() % pieces.size()];
    for (DecodePath path : Paths()) {
        std::vector<rx::Char> one(big.size()), two(big.size());
        const size_t units = rxgrep::DecodeUtf8(big, one.data(), path);
        ASSERT_EQ(rxgrep::DecodeUtf8InTwo(big, two.data(), path), units);
        ASSERT_TRUE(std::equal(one.begin(), one.begin() + static_cast<long>(units), two.begin()));
    }
}

TEST(DecodeInTwo, WellFormedUnitsCountsWhatWellFormedTextDecodesTo) {
    // lengths around the 16-byte vectors and the 127 rounds after which the lanes are summed
    const std::string kinds[] = {"a", "\xC3\xA9", "\xE4\xB8\xAD", "\xF0\x9F\x98\x80", "ab\xE4\xB8\xAD\xF0\x9F\x98\x80\xD0\x9F"};
    for (const std::string& kind : kinds)
        for (size_t bytes : {0, 15, 16, 17, 2031, 2032, 2033, 4064, 4065, 100000}) {
            std::string s = Fill(kind, bytes);
            EXPECT_EQ(rxgrep::WellFormedUnits(s), rx::FromUtf8(s).size()) << Hex(kind) << " " << bytes;
        }
}
