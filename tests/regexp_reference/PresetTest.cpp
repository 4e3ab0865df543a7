// The workbench's eight preset patterns and the benchmark's patterns on realistic texts, run
// the way the workbench runs them (Global, Multiline, case-sensitive), against the reference.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "regexp/RegExp.h"
#include "tests/regexp_reference/KnownDifferences.h"
#include "tests/regexp_support/ReferenceRegExp.h"

namespace rxtest {
namespace {

rx::String Utf16(std::u16string_view s) { return rx::String(s.begin(), s.end()); }

const char16_t* const kPresets[] = {
    u"[\\u4e00-\\u9fa5]",
    u"[\\u4E00-\\u9FA5A-Za-z0-9_]+",
    u"[A-Za-z0-9_]+",
    u"\\w+([-+.]\\w+)*@\\w+([-.]\\w+)*\\.\\w+([-.]\\w+)*",
    u"https?://([\\w-]+\\.)+[\\w-]+(/[\\w-./?%&=]*)?",
    u"[a-zA-Z0-9][-a-zA-Z0-9]{0,62}(\\.[a-zA-Z0-9][-a-zA-Z0-9]{0,62})+\\.?",
    u"<(\\S*?)[^>]*>.*?|<.*?/>",
    u"((2(5[0-5]|[0-4]\\d))|[0-1]?\\d{1,2})(\\.((2(5[0-5]|[0-4]\\d))|[0-1]?\\d{1,2})){3}",
};

const char16_t* const kTexts[] = {
    u"联系我们：service@example.com.cn 或 zhang.san+news@mail-1.example.org，电话 010-12345678。\r\n"
    u"访问 https://www.example.com/path/to/page.html?id=42&lang=zh 或 http://sub.domain-name.cn/。\r\n"
    u"服务器 192.168.1.254 与 10.0.0.1 通信；无效地址 256.300.1.1 与 1.2.3。\r\n",
    u"<html><body><div class=\"main\">正则表达式</div><br/><img src=\"a.png\" /><p>段落 text</p></body></html>\r\n"
    u"<a href=\"https://example.com/\">链接</a> <not a tag\r\n",
    u"int main(int argc, char** argv) { return snake_case_name + CamelCase2 - _under; }\r\n"
    u"中文、English、混合 text_123 以及 ＦＵＬＬ width。\r\n\r\n",
};

// The benchmark's patterns (name TAB pattern, after a header line).
std::vector<rx::String> BenchPatterns() {
    std::ifstream in(std::string(RX_SHARED_DIR) + "/bench/patterns.tsv", std::ios::binary);
    std::vector<rx::String> patterns;
    std::string line;
    std::getline(in, line);  // the header
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        size_t tab = line.find('\t');
        if (tab != std::string::npos) patterns.push_back(rx::FromUtf8(line.substr(tab + 1)));
    }
    return patterns;
}

// The start of the benchmark corpus, cut at a line end.
rx::String CorpusSample(size_t bytes) {
    std::ifstream in(std::string(RX_SHARED_DIR) + "/bench/corpus.txt", std::ios::binary);
    std::string text(bytes, '\0');
    in.read(text.data(), static_cast<std::streamsize>(bytes));
    text.resize(static_cast<size_t>(in.gcount()));
    size_t end = text.rfind('\n');
    text.resize(end == std::string::npos ? 0 : end + 1);
    return rx::FromUtf8(text);
}

TEST(ReferenceComparison, PresetAndBenchmarkPatternsOnRealisticTexts) {
    ComApartment apartment;
    ReferenceRegExp reference;

    std::vector<rx::String> patterns;
    for (const char16_t* p : kPresets) patterns.push_back(Utf16(p));
    std::vector<rx::String> bench = BenchPatterns();
    ASSERT_GE(bench.size(), 8u) << "patterns.tsv not found under " << RX_SHARED_DIR;
    patterns.insert(patterns.end(), bench.begin(), bench.end());

    std::vector<rx::String> texts;
    for (const char16_t* t : kTexts) texts.push_back(Utf16(t));
    texts.push_back(CorpusSample(12 * 1024));
    ASSERT_GT(texts.back().size(), 1000u) << "corpus.txt not found under " << RX_SHARED_DIR;

    int compared = 0, matched = 0, explained = 0;
    for (const rx::String& pattern : patterns) {
        for (const rx::String& text : texts) {
            Case c;
            c.pattern = pattern;
            c.text = text;
            c.replacement = Utf16(u"[$&|$1]");
            c.global = c.multiline = true;
            ASSERT_EQ(WhyNotComparable(c), nullptr);
            MakeSafeForReference(c);
            Outcome ours = RunOurs(c, rx::RegExp::DefaultStepBudget);
            Outcome ref = reference.Run(c);
            ++compared;
            if (!ours.matches.empty()) ++matched;
            if (Agree(c, ours, ref)) continue;
            const KnownDifference* known = Explain(c, ours, ref);
            if (known) {
                ++explained;
                continue;
            }
            // Long texts: show the pattern, the counts and the first differing match only.
            size_t k = 0;
            while (k < ours.matches.size() && k < ref.matches.size() && ours.matches[k] == ref.matches[k]) ++k;
            auto show = [&](const Outcome& o) {
                if (o.status != Outcome::Status::Ok) return Describe(o);
                std::string s = std::to_string(o.matches.size()) + " matches";
                if (k < o.matches.size()) {
                    Outcome one;
                    one.matches = {o.matches[k]};
                    s += ", #" + std::to_string(k) + ": " + Describe(one);
                }
                return s;
            };
            ADD_FAILURE() << "pattern \"" << Quote(pattern) << "\" on a text of " << text.size()
                          << " units\n    ours:      " << show(ours) << "\n    reference: " << show(ref);
        }
    }
    std::printf("%d pattern/text pairs, %d with matches, %d explained by known Wine differences\n", compared, matched,
                explained);
    EXPECT_GT(matched, compared / 2);
}

}  // namespace
}  // namespace rxtest
