// Runs each hostile case in a child process and prints its wall time, how it ended (match count
// or error number) and the child's peak resident memory. The cases are ones that once ran for
// seconds past the step budget, grew the stack past its cap, or compiled for seconds.
//
//   build/native/bench/hostile/hostilebench [NAME]   (a name runs that case only)
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "regexp/RegExp.h"

namespace {

struct Case {
    const char* name;
    const char* what;
    std::function<rx::String()> pattern;
    std::function<rx::String()> text;
    bool ignoreCase = false;
    uint64_t budget = rx::RegExp::DefaultStepBudget;
};

rx::String Repeat(const std::string& s, size_t n) {
    rx::String one = rx::FromUtf8(s), out;
    out.reserve(one.size() * n);
    for (size_t i = 0; i < n; ++i) out += one;
    return out;
}

rx::String NestedLookAheads(size_t depth) { return Repeat("(?=(", depth) + rx::FromUtf8("a") + Repeat("))", depth); }

rx::String Numbered(const std::string& head, const std::string& tail, size_t n) {
    std::string s;
    for (size_t i = 0; i < n; ++i) s += (i ? "|" : "") + head + std::to_string(i) + tail;
    return rx::FromUtf8(s);
}

std::vector<Case> Cases() {
    auto text = [](const char* t) { return [t] { return rx::FromUtf8(t); }; };
    std::vector<Case> cases;
    for (size_t depth : {10000, 30000, 100000})
        cases.push_back({depth == 10000 ? "lookahead-nest-10k" : depth == 30000 ? "lookahead-nest-30k" : "lookahead-nest-100k",
                         "(?=( x N, a, )) x N on xxaxx, budget 1M", [depth] { return NestedLookAheads(depth); },
                         text("xxaxx"), false, 1'000'000});
    cases.push_back({"empty-iterations", "(a?){2147483647} on aaa", text("(a?){2147483647}"), text("aaa")});
    cases.push_back({"group-reset", "()\\1x then (b) x 50000 on 400k a, budget 10M",
                     [] { return rx::FromUtf8("()\\1x") + Repeat("(b)", 50000); },
                     [] { return rx::String(400000, u'a'); }, false, 10'000'000});
    cases.push_back({"counted-nest", "((((a{1,100}){1,100}){1,100}){1,100})b on 5000 a, budget 20M",
                     text("((((a{1,100}){1,100}){1,100}){1,100})b"), [] { return rx::String(5000, u'a'); }, false,
                     20'000'000});
    // the same ending in a class, with a 'b' before the run of a, so that the search cannot be
    // skipped for the want of one (a plain b after the run would tell that no start before a b
    // can match) and every start is tried
    cases.push_back({"counted-nest-b", "((((a{1,100}){1,100}){1,100}){1,100})[bc] on b then 5000 a, budget 20M",
                     text("((((a{1,100}){1,100}){1,100}){1,100})[bc]"), [] { return rx::FromUtf8("b") + rx::String(5000, u'a'); },
                     false, 20'000'000});
    cases.push_back({"neg-lookahead-nest-30k", "(?! x 30000, a, ) x 30000 on xxaxx",
                     [] { return Repeat("(?!", 30000) + rx::FromUtf8("a") + Repeat(")", 30000); }, text("xxaxx")});
    cases.push_back({"fold-literals", "k0|k1|...|k9999, IgnoreCase (compile)", [] { return Numbered("k", "", 10000); },
                     text(""), true});
    cases.push_back({"plain-literals", "k0|k1|...|k9999 (compile)", [] { return Numbered("k", "", 10000); }, text("")});
    cases.push_back({"fold-negated-sets", "[^k0]|[^k1]|...|[^k9999], IgnoreCase (compile)",
                     [] { return Numbered("[^k", "]", 10000); }, text(""), true});
    cases.push_back({"any-alternatives", ".0|.1|...|.9999 (compile)", [] { return Numbered(".", "", 10000); }, text("")});
    return cases;
}

// In the child: compile and run, print how it ended.
int RunCase(const Case& c) {
    rx::RegExp re;
    re.Pattern(c.pattern());
    re.IgnoreCase(c.ignoreCase);
    re.Global(true);
    re.StepBudget(c.budget);
    const rx::String t = c.text();
    try {
        std::printf("%lld matches", re.Count(t));
    } catch (const base::Error& e) {
        std::printf("error %ld", e.Number());
    }
    std::fflush(stdout);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    // CPU time as well as wall time: on a shared machine the wall clock says more about the load
    std::printf("%-22s %9s %9s %9s  %-16s %s\n", "case", "ms", "cpu ms", "peak MB", "outcome", "what");
    for (const Case& c : Cases()) {
        if (argc > 1 && std::strcmp(argv[1], c.name) != 0) continue;
        int out[2];
        if (pipe(out) != 0) return 1;
        std::fflush(stdout);  // or the child prints what is buffered again
        const auto t0 = std::chrono::steady_clock::now();
        pid_t pid = fork();
        if (pid == 0) {
            dup2(out[1], 1);
            close(out[0]);
            _exit(RunCase(c));
        }
        close(out[1]);
        std::string outcome;
        char buf[256];
        for (ssize_t n; (n = read(out[0], buf, sizeof buf)) > 0;) outcome.append(buf, static_cast<size_t>(n));
        close(out[0]);
        int status = 0;
        rusage use{};
        wait4(pid, &status, 0, &use);
        const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) outcome = "died (status " + std::to_string(status) + ")";
        const double cpu = (use.ru_utime.tv_sec + use.ru_stime.tv_sec) * 1e3 + (use.ru_utime.tv_usec + use.ru_stime.tv_usec) / 1e3;
        std::printf("%-22s %9.1f %9.1f %9.1f  %-16s %s\n", c.name, ms, cpu, use.ru_maxrss / 1024.0, outcome.c_str(), c.what);
        std::fflush(stdout);
    }
    return 0;
}
