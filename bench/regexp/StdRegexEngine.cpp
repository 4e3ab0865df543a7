// std::wregex with the ECMAScript grammar. libstdc++'s matcher recurses per character of a
// match, so it runs on a thread of its own with a large stack; an error it raises (say
// error_stack or error_complexity) is reported, not fatal.
#include <pthread.h>

#include <regex>
#include <string>

#include "bench/regexp/Engines.h"

namespace rxbench {

namespace {

std::wstring Widen(const rx::String& s) { return std::wstring(s.begin(), s.end()); }

class StdRegexEngine : public Engine {
public:
    const char* Name() const override { return "std::wregex"; }

    std::string Prepare(const rx::String& pattern) override {
        try {
            re_ = std::wregex(Widen(pattern), std::regex_constants::ECMAScript | std::regex_constants::multiline);
        } catch (const std::regex_error& e) {
            return e.what();
        }
        return {};
    }

    CountResult Count(const rx::String& text) override {
        job_ = {this, Widen(text), {}};
        pthread_attr_t attr;
        pthread_attr_init(&attr);
        pthread_attr_setstacksize(&attr, kStack);
        pthread_t thread;
        if (pthread_create(&thread, &attr, &Run, &job_) != 0) {
            pthread_attr_destroy(&attr);
            return {-1, "no thread"};
        }
        pthread_join(thread, nullptr);
        pthread_attr_destroy(&attr);
        return job_.result;
    }

private:
    static constexpr size_t kStack = size_t(256) << 20;

    struct Job {
        StdRegexEngine* self;
        std::wstring text;
        CountResult result;
    };

    static void* Run(void* arg) {
        Job& job = *static_cast<Job*>(arg);
        try {
            long n = 0;
            // regex_iterator advances past an empty match the way the workbench's engine does
            for (std::wsregex_iterator it(job.text.begin(), job.text.end(), job.self->re_), end; it != end; ++it) ++n;
            job.result = {n, {}};
        } catch (const std::exception& e) {
            job.result = {-1, e.what()};
        }
        return nullptr;
    }

    std::wregex re_;
    Job job_;
};

}  // namespace

std::unique_ptr<Engine> MakeStdRegexEngine() { return std::make_unique<StdRegexEngine>(); }

}  // namespace rxbench
