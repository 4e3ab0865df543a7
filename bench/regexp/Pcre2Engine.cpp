// PCRE2 on UTF-16 code units, multiline, interpreted or compiled by its JIT; \uXXXX read the
// way our dialect reads it (PCRE2_ALT_BSUX).
#define PCRE2_CODE_UNIT_WIDTH 16
#include <pcre2.h>

#include "bench/regexp/Engines.h"

namespace rxbench {

namespace {

class Pcre2Engine : public Engine {
public:
    explicit Pcre2Engine(bool jit) : jit_(jit) {}
    ~Pcre2Engine() override { Release(); }
    const char* Name() const override { return jit_ ? "PCRE2-JIT" : "PCRE2"; }

    std::string Prepare(const rx::String& pattern) override {
        Release();
        int code = 0;
        PCRE2_SIZE offset = 0;
        re_ = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.data()), pattern.size(),
                            PCRE2_MULTILINE | PCRE2_ALT_BSUX, &code, &offset, nullptr);
        if (!re_) {
            PCRE2_UCHAR message[256];
            pcre2_get_error_message(code, message, 256);
            std::string text;
            for (PCRE2_UCHAR* p = message; *p; ++p) text += static_cast<char>(*p);
            return text;
        }
        if (jit_) {
            const int rc = pcre2_jit_compile(re_, PCRE2_JIT_COMPLETE);
            if (rc != 0) return "pcre2_jit_compile error " + std::to_string(rc);
            // the JIT's default 32 KB stack is too small for long matches of a group loop
            context_ = pcre2_match_context_create(nullptr);
            stack_ = pcre2_jit_stack_create(32 * 1024, 64 * 1024 * 1024, nullptr);
            pcre2_jit_stack_assign(context_, nullptr, stack_);
        }
        data_ = pcre2_match_data_create_from_pattern(re_, nullptr);
        return {};
    }

    CountResult Count(const rx::String& text) override {
        auto subject = reinterpret_cast<PCRE2_SPTR>(text.data());
        PCRE2_SIZE start = 0, length = text.size();
        long n = 0;
        while (start <= length) {
            int rc = pcre2_match(re_, subject, length, start, 0, data_, context_);
            if (rc == PCRE2_ERROR_NOMATCH) break;
            if (rc < 0) return {-1, "pcre2_match error " + std::to_string(rc)};
            PCRE2_SIZE* span = pcre2_get_ovector_pointer(data_);
            ++n;
            start = span[1] > span[0] ? span[1] : span[0] + 1;
        }
        return {n, {}};
    }

private:
    void Release() {
        if (data_) pcre2_match_data_free(data_);
        if (context_) pcre2_match_context_free(context_);
        if (stack_) pcre2_jit_stack_free(stack_);
        if (re_) pcre2_code_free(re_);
        data_ = nullptr;
        context_ = nullptr;
        stack_ = nullptr;
        re_ = nullptr;
    }

    bool jit_;
    pcre2_match_context* context_ = nullptr;
    pcre2_jit_stack* stack_ = nullptr;
    pcre2_code* re_ = nullptr;
    pcre2_match_data* data_ = nullptr;
};

}  // namespace

std::unique_ptr<Engine> MakePcre2Engine() { return std::make_unique<Pcre2Engine>(false); }
std::unique_ptr<Engine> MakePcre2JitEngine() { return std::make_unique<Pcre2Engine>(true); }

}  // namespace rxbench
