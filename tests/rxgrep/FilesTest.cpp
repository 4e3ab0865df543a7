// rxgrep on whole files against the engine run directly on the one-character-at-a-time reading
// of the same bytes: the count, the match lines and the replaced text must be what they always
// were, whether the file is decoded on a vector path, partly by the fallback, or not at all
// because its bytes rule every match out.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <unistd.h>

#include "regexp/RegExp.h"

namespace {

class RxgrepFiles : public ::testing::Test {
protected:
    void SetUp() override {
        char dir[] = "/tmp/rxgrep-files-XXXXXX";
        ASSERT_NE(mkdtemp(dir), nullptr);
        dir_ = dir;
    }
    void TearDown() override { std::system(("rm -rf '" + dir_ + "'").c_str()); }

    std::string Write(const std::string& bytes) {
        const std::string path = dir_ + "/f" + std::to_string(files_++) + ".txt";
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    // rxgrep's standard output; the pattern goes through a file-free argument, quoted for sh
    static std::string Run(const std::string& args) {
        std::string out;
        if (FILE* p = popen((std::string(RXGREP_BINARY) + " " + args).c_str(), "r")) {
            char block[4096];
            size_t got;
            while ((got = std::fread(block, 1, sizeof block, p)) > 0) out.append(block, got);
            EXPECT_EQ(pclose(p), 0) << args;
        }
        return out;
    }

    static std::string Quote(const std::string& s) {
        std::string q = "'";
        for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
        return q + "'";
    }

    // The three outputs, the way the engine gives them on the bytes decoded one by one.
    static void ExpectAsTheEngine(const std::string& pattern, const std::string& bytes, const std::string& path) {
        std::string body = bytes;
        if (body.compare(0, 3, "\xEF\xBB\xBF") == 0) body.erase(0, 3);
        const rx::String text = rx::FromUtf8(body);
        rx::RegExp re;
        re.Pattern(rx::FromUtf8(pattern));
        re.Global(true);
        std::string lines;
        for (const rx::Match& m : re.Execute(text))
            lines += std::to_string(m.FirstIndex()) + "\t" + std::to_string(m.Length()) + "\t" + rx::ToUtf8(m.ValueView()) + "\n";
        const std::string q = Quote(pattern) + " " + Quote(path);
        EXPECT_EQ(Run("--count " + q), std::to_string(re.Count(text)) + "\n") << pattern;
        EXPECT_EQ(Run("-- " + q), lines) << pattern;
        EXPECT_EQ(Run("--replace '<$&>' " + q), rx::ToUtf8(re.Replace(text, rx::FromUtf8("<$&>")))) << pattern;
    }

    // --count with options, against the engine's Count with the same ones.
    static void ExpectCountAsTheEngine(const std::string& pattern, bool ignoreCase, bool first, const std::string& bytes,
                                       const std::string& path) {
        std::string body = bytes;
        if (body.compare(0, 3, "\xEF\xBB\xBF") == 0) body.erase(0, 3);
        rx::RegExp re;
        re.Pattern(rx::FromUtf8(pattern));
        re.IgnoreCase(ignoreCase);
        re.Global(!first);
        const std::string options = std::string(ignoreCase ? "-i " : "") + (first ? "--first " : "");
        EXPECT_EQ(Run(options + "--count " + Quote(pattern) + " " + Quote(path)), std::to_string(re.Count(rx::FromUtf8(body))) + "\n")
            << options << pattern << " on " << bytes.size() << " bytes";
    }

    std::string dir_;
    int files_ = 0;
};

std::string MixedText(unsigned seed, size_t bytes, bool broken) {
    const std::string good[] = {"while ", "frame ", "match ", "a@b.cn ", "\r\n", "86.112.886.200 ", "墻儯塩鮹駗 ",
                                "。", "中文", "é", "Привет ", "😀"};
    const std::string bad[] = {"\xFF", "\xE4\xB8", "\x80", "\xC0\xAF", "\xED\xA0\x80", "\xE0\x80\x80", "\xF4\x90\x80\x80"};
    std::mt19937 rng(seed);
    std::string s;
    while (s.size() < bytes) s += broken && rng() % 16 == 0 ? bad[rng() % std::size(bad)] : good[rng() % std::size(good)];
    return s;
}

}  // namespace

TEST_F(RxgrepFiles, TheSameAnswersOnMixedFiles) {
    const std::string patterns[] = {"a", "\\w+@\\w+", "zqzqzq", "中文", "[一-龥]+", "\\d+\\.\\d+", "é", "\xEF\xBF\xBD",
                                    "\xED\xA0\xBD", "(match|frame) ", "^.*$", "x?"};
    for (bool broken : {false, true})
        for (size_t bytes : {size_t{0}, size_t{1}, size_t{100}, size_t{70000}}) {
            const std::string text = MixedText(static_cast<unsigned>(bytes) + broken, bytes, broken);
            const std::string path = Write(text);
            for (const std::string& p : patterns) ExpectAsTheEngine(p, text, path);
        }
}

TEST_F(RxgrepFiles, AByteOrderMarkIsSkippedWhateverFollows) {
    for (const std::string& text : {std::string("\xEF\xBB\xBF") + "abc zq", std::string("\xEF\xBB\xBF"),
                                    std::string("\xEF\xBB\xBF\xEF\xBB\xBF") + "x", std::string("\xEF\xBB") + "zq"}) {
        const std::string path = Write(text);
        for (const char* p : {"zq", "\xEF\xBB\xBF", "\xEF\xBF\xBD", "."}) ExpectAsTheEngine(p, text, path);
    }
}

TEST_F(RxgrepFiles, ARuledOutPatternStillFailsAsItDid) {
    // a rejected pattern is told even where the bytes would rule it out; a missing file too
    const std::string path = Write("nothing here");
    EXPECT_EQ(std::system((std::string(RXGREP_BINARY) + " --count 'zq(' " + Quote(path) + " >/dev/null 2>&1").c_str()) >> 8, 2);
    EXPECT_EQ(std::system((std::string(RXGREP_BINARY) + " --count zq " + Quote(dir_ + "/none") + " >/dev/null 2>&1").c_str()) >> 8, 1);
    EXPECT_EQ(Run("--count zq " + Quote(path)), "0\n");
    EXPECT_EQ(Run("--first --json zq " + Quote(path)), "");
}

TEST_F(RxgrepFiles, LargeFilesAndLiteralsCountedOnTheBytes) {
    // past the size decoded in two threads, with and without broken bytes and a byte-order mark;
    // literals (counted on the bytes) beside patterns that are none (counted by the engine)
    for (bool broken : {false, true})
        for (const char* head : {"", "\xEF\xBB\xBF"}) {
            const std::string text = head + MixedText(broken ? 7u : 8u, (size_t{3} << 19) + 11, broken);
            const std::string path = Write(text);
            for (const char* p : {"a", "ma", "tch ", "\\r\\n", "\\.cn \r", "200 墻", "zqzq", "\\d+\\.\\d+", "a{2}"})
                for (bool first : {false, true}) ExpectCountAsTheEngine(p, false, first, text, path);
            for (const char* p : {"86.1", "@", "é"}) ExpectCountAsTheEngine(p, true, false, text, path);
            ExpectAsTheEngine("200 \\r", text, path);
        }
}

TEST_F(RxgrepFiles, CountsByWindowsOfLinesAsTheEngine) {
    // many windows, one line longer than a window, broken bytes, a byte-order mark; patterns
    // counted a window at a time beside ones that keep the whole text
    for (bool broken : {false, true}) {
        const std::string text = "\xEF\xBB\xBF" + MixedText(broken ? 11u : 12u, size_t{3} << 18, broken) + "\n" +
                                  std::string(100000, 'a') + "b\n" + MixedText(13u, 5000, broken);
        const std::string path = Write(text);
        for (const char* p : {"[ab]", "\\d", ".", "\\b\\w", "\\d{2}", "[一-龥]", "\\B", "(?=a)", "[^a]", "\\s", "x*"})
            for (bool first : {false, true}) ExpectCountAsTheEngine(p, false, first, text, path);
        for (const char* p : {"[A-Z]", "K", "\\x0A"}) ExpectCountAsTheEngine(p, true, false, text, path);
    }
    // a step budget the whole text runs out of is told as the engine tells it
    std::string lines;
    for (int k = 0; k < 200; ++k) lines += "aaaaaaaaaa\n";
    rx::RegExp re;
    re.Pattern(rx::FromUtf8("a(?=[b])"));
    re.Global(true);
    re.StepBudget(2000);
    EXPECT_THROW(re.Count(rx::FromUtf8(lines)), base::Error);
    const std::string cmd = std::string(RXGREP_BINARY) + " --budget 2000 --count 'a(?=[b])' " + Quote(Write(lines));
    EXPECT_EQ(std::system((cmd + " >/dev/null 2>&1").c_str()) >> 8, 3);
    EXPECT_EQ(Run("--count 'a(?=[b])' " + Quote(Write(lines))), "0\n");
}
