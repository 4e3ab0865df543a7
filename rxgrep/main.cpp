// rxgrep: the engine on the command line, for scripts and benchmarks.
//
//   rxgrep [-i] [-m] [--first] [--count | --json | --replace TEXT] [--budget N] PATTERN [FILE]
//
// Reads FILE (or standard input) as UTF-8, a leading byte-order mark skipped. Prints one line per
// match, "FirstIndex<TAB>Length<TAB>Value" (indexes in UTF-16 code units), or the count, or one
// JSON object per match, or the whole replaced text. Exit status: 0 done (with or without a
// match), 1 bad command line or unreadable file, 2 rejected pattern, 3 step budget exhausted.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "regexp/RegExp.h"

namespace {

enum class Output { Lines, Count, Json, Replace };

struct Options {
    bool ignoreCase = false, multiline = false, first = false;
    Output output = Output::Lines;
    std::string replacement;
    uint64_t budget = rx::RegExp::DefaultStepBudget;
    std::string pattern;
    std::string file;
    bool haveFile = false;
};

int Usage(const char* why) {
    std::fprintf(stderr, "rxgrep: %s\nusage: rxgrep [-i] [-m] [--first] [--count | --json | --replace TEXT] "
                         "[--budget N] PATTERN [FILE]\n", why);
    return 1;
}

bool SetOutput(Options& o, Output out) {
    if (o.output != Output::Lines) return false;
    o.output = out;
    return true;
}

// Returns 0 when the command line is sound, else the exit status to end with.
int ParseArgs(int argc, char** argv, Options& o) {
    bool optionsDone = false, havePattern = false;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (!optionsDone && a.size() > 1 && a[0] == '-') {
            if (a == "--") optionsDone = true;
            else if (a == "-i") o.ignoreCase = true;
            else if (a == "-m") o.multiline = true;
            else if (a == "--first") o.first = true;
            else if (a == "--count") { if (!SetOutput(o, Output::Count)) return Usage("--count, --json and --replace exclude each other"); }
            else if (a == "--json") { if (!SetOutput(o, Output::Json)) return Usage("--count, --json and --replace exclude each other"); }
            else if (a == "--replace") {
                if (i + 1 >= argc) return Usage("--replace needs a text");
                if (!SetOutput(o, Output::Replace)) return Usage("--count, --json and --replace exclude each other");
                o.replacement = argv[++i];
            } else if (a == "--budget") {
                if (i + 1 >= argc) return Usage("--budget needs a number");
                char* end = nullptr;
                const char* v = argv[++i];
                unsigned long long n = std::strtoull(v, &end, 10);
                if (!*v || *end || n == 0 || v[0] == '-') return Usage("--budget needs a positive whole number");
                o.budget = n;
            } else {
                return Usage(("unknown option " + a).c_str());
            }
        } else if (!havePattern) {
            o.pattern = a;
            havePattern = true;
        } else if (!o.haveFile) {
            o.file = a;
            o.haveFile = true;
        } else {
            return Usage("too many arguments");
        }
    }
    return havePattern ? 0 : Usage("no pattern");
}

bool ReadInput(const Options& o, std::string& bytes) {
    if (o.haveFile) {
#ifdef _WIN32
        std::ifstream in(rx::FromUtf8(o.file).c_str(), std::ios::binary);  // the file name may not fit the ANSI code page
#else
        std::ifstream in(o.file, std::ios::binary);
#endif
        if (!in) return false;
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        return !in.bad();
    }
    std::ostringstream all;
    all << std::cin.rdbuf();
    bytes = all.str();
    return true;
}

void JsonString(std::string& out, rx::StringView s) {
    static const char* hex = "0123456789abcdef";
    out += '"';
    for (char c : rx::ToUtf8(s)) {
        auto u = static_cast<unsigned char>(c);
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\b': out += "\\b"; break;
        case '\f': out += "\\f"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (u < 0x20) {
                out += "\\u00";
                out += hex[u >> 4];
                out += hex[u & 15];
            } else {
                out += c;
            }
        }
    }
    out += '"';
}

void PrintMatches(const Options& o, const rx::MatchCollection& matches) {
    std::string out;
    if (o.output == Output::Count) {
        out = std::to_string(matches.Count()) + "\n";
    } else {
        for (const rx::Match& m : matches) {
            if (o.output == Output::Json) {
                out += "{\"index\":" + std::to_string(m.FirstIndex()) + ",\"length\":" + std::to_string(m.Length()) +
                       ",\"value\":";
                JsonString(out, m.ValueView());
                out += ",\"submatches\":[";
                for (long g = 0; g < m.SubMatchCount(); ++g) {
                    if (g) out += ',';
                    auto sub = m.SubMatch(g);
                    if (sub) JsonString(out, *sub);
                    else out += "null";
                }
                out += "]}\n";
            } else {
                out += std::to_string(m.FirstIndex()) + "\t" + std::to_string(m.Length()) + "\t" +
                       rx::ToUtf8(m.ValueView()) + "\n";
            }
            if (out.size() > (1u << 20)) {
                std::fwrite(out.data(), 1, out.size(), stdout);
                out.clear();
            }
        }
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
}

}  // namespace

static int Run(int argc, char** argv) {
    Options o;
    if (int rc = ParseArgs(argc, argv, o)) return rc;
    std::string bytes;
    if (!ReadInput(o, bytes)) {
        std::fprintf(stderr, "rxgrep: cannot read %s\n", o.file.c_str());
        return 1;
    }
    std::string_view body = bytes;
    if (body.substr(0, 3) == "\xEF\xBB\xBF") body.remove_prefix(3);

    rx::RegExp re;
    re.Pattern(rx::FromUtf8(o.pattern));
    re.IgnoreCase(o.ignoreCase);
    re.Multiline(o.multiline);
    re.Global(!o.first);
    re.StepBudget(o.budget);
    try {
        if (o.output == Output::Replace) {
            std::string out = rx::ToUtf8(re.Replace(rx::FromUtf8(body), rx::FromUtf8(o.replacement)));
            std::fwrite(out.data(), 1, out.size(), stdout);
        } else {
            PrintMatches(o, re.Execute(rx::FromUtf8(body)));
        }
    } catch (const base::Error& e) {
        std::fflush(stdout);
        std::fprintf(stderr, "error %ld: %s\n", e.Number(), e.what());
        return e.Number() == rx::err::BudgetExceeded ? 3 : 2;
    }
    return 0;
}

#ifdef _WIN32
int wmain(int argc, wchar_t** wargv) {
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stdin), _O_BINARY);
    std::vector<std::string> args;
    std::vector<char*> argv;
    for (int i = 0; i < argc; ++i) args.push_back(rx::ToUtf8(wargv[i]));
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    return Run(argc, argv.data());
}
#else
int main(int argc, char** argv) { return Run(argc, argv); }
#endif
