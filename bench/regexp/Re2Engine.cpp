// RE2 on UTF-8 made from the same text (once per text, outside the timing), multiline. Our
// dialect's \uXXXX becomes RE2's \x{XXXX}; RE2 has no back-references or look-aheads and
// rejects such patterns. Its $ in multiline mode ends a line before LF only (ours before CR too).
#include <re2/re2.h>

#include "bench/regexp/Engines.h"

namespace rxbench {

namespace {

std::string Re2Syntax(const rx::String& pattern) {
    rx::String out;
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '\\' && i + 5 < pattern.size() && pattern[i + 1] == 'u') {
            out += u"\\x{";
            out.append(pattern, i + 2, 4);
            out += u"}";
            i += 5;
        } else if (pattern[i] == '\\' && i + 1 < pattern.size()) {
            out += pattern[i];
            out += pattern[++i];
        } else {
            out += pattern[i];
        }
    }
    return "(?m)" + rx::ToUtf8(out);
}

class Re2Engine : public Engine {
public:
    const char* Name() const override { return "RE2"; }

    std::string Prepare(const rx::String& pattern) override {
        RE2::Options options;
        options.set_log_errors(false);
        options.set_max_mem(256 << 20);
        re_ = std::make_unique<RE2>(Re2Syntax(pattern), options);
        if (!re_->ok()) return re_->error();
        return {};
    }

    CountResult Count(const rx::String& text) override {
        if (source_ != &text || utf8_.empty() != text.empty()) {
            utf8_ = rx::ToUtf8(text);
            source_ = &text;
        }
        const re2::StringPiece subject(utf8_);
        size_t start = 0;
        long n = 0;
        re2::StringPiece match;
        while (start <= subject.size()) {
            if (!re_->Match(subject, start, subject.size(), RE2::UNANCHORED, &match, 1)) break;
            ++n;
            const size_t begin = static_cast<size_t>(match.data() - subject.data());
            size_t end = begin + match.size();
            if (match.empty()) {
                // one character further: past the whole UTF-8 sequence
                ++end;
                while (end < subject.size() && (static_cast<unsigned char>(subject[end]) & 0xC0) == 0x80) ++end;
            }
            start = end;
        }
        return {n, {}};
    }

private:
    std::unique_ptr<RE2> re_;
    std::string utf8_;
    const rx::String* source_ = nullptr;  // not owned: the text utf8_ was made from
};

}  // namespace

std::unique_ptr<Engine> MakeRe2Engine() { return std::make_unique<Re2Engine>(); }

}  // namespace rxbench
