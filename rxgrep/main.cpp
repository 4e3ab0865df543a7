// rxgrep: the engine on the command line, for scripts and benchmarks.
//
//   rxgrep [-i] [-m] [--first] [--count | --json | --replace TEXT] [--budget N] PATTERN [FILE]
//
// Reads FILE (or standard input) as UTF-8, a leading byte-order mark skipped. Prints one line per
// match, "FirstIndex<TAB>Length<TAB>Value" (indexes in UTF-16 code units), or the count, or one
// JSON object per match, or the whole replaced text. Every failure is told on standard error
// and has its own exit status (see Exit).
#include <sys/stat.h>
#ifndef _WIN32
#include <sys/mman.h>
#endif

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "regexp/Program.h"
#include "regexp/RegExp.h"
#include "rxgrep/AsciiSteps.h"
#include "rxgrep/Decode.h"
#include "rxgrep/LineWindows.h"
#include "rxgrep/Prefilter.h"

namespace {

enum Exit : int {
    Done = 0,           // with or without a match
    BadInput = 1,       // a bad command line, or input that cannot be read
    Rejected = 2,       // the pattern was rejected (error 5017 to 5021)
    OverBudget = 3,     // error 5099: the step budget ran out
    OutOfMemory = 4,    // error 7, or the input or the output did not fit in memory
    WriteFailed = 5,    // standard output could not be written (a full disk, a closed pipe)
};

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
    return BadInput;
}

bool SetOutput(Options& o, Output out) {
    if (o.output != Output::Lines) return false;
    o.output = out;
    return true;
}

// Decimal digits only (no sign, no blank), a value from 1 up to 2^64 - 1.
bool ParseBudget(const char* v, uint64_t& n) {
    if (!*v) return false;
    n = 0;
    for (; *v; ++v) {
        if (*v < '0' || *v > '9') return false;
        const auto d = static_cast<uint64_t>(*v - '0');
        if (n > (UINT64_MAX - d) / 10) return false;
        n = n * 10 + d;
    }
    return n != 0;
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
                if (!ParseBudget(argv[++i], o.budget)) return Usage("--budget needs a whole number from 1 to 18446744073709551615");
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

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

// The input's bytes: a regular file mapped where the system can (no copy, no buffer to fill),
// anything else read whole into one buffer.
class InputBytes {
public:
    InputBytes() = default;
    InputBytes(const InputBytes&) = delete;
    InputBytes& operator=(const InputBytes&) = delete;
    ~InputBytes() { Release(); }

    std::string_view View() const { return mapped_ ? std::string_view(mapped_, mappedSize_) : std::string_view(bytes_); }
    void Release() {
#ifndef _WIN32
        if (mapped_) munmap(const_cast<char*>(mapped_), mappedSize_);
#endif
        mapped_ = nullptr;
        std::string().swap(bytes_);
    }

    // False with errno set when the input cannot be read.
    bool Load(std::FILE* in) {
        struct stat st {};
        if (fstat(fileno(in), &st) != 0) return false;
        if (S_ISDIR(st.st_mode)) {
            errno = EISDIR;
            return false;
        }
        const bool sized = S_ISREG(st.st_mode) && st.st_size > 0;
        if (sized && static_cast<unsigned long long>(st.st_size) >= bytes_.max_size()) throw std::bad_alloc();
#ifndef _WIN32
        if (sized) {
            // (not populated up front: a fault maps a file's cached pages sixteen at a time, and
            // the faults come as the reading goes, on both threads where it takes two; mapping
            // every page first in one call made whole runs 0.3-0.5 ms slower)
            void* p = mmap(nullptr, static_cast<size_t>(st.st_size), PROT_READ, MAP_PRIVATE, fileno(in), 0);
            if (p != MAP_FAILED) {
                mapped_ = static_cast<const char*>(p);
                mappedSize_ = static_cast<size_t>(st.st_size);
                madvise(p, mappedSize_, MADV_SEQUENTIAL);
                return true;
            }
        }
#endif
        // one more byte sees the end; anything else (a pipe, an empty file, which may be one the
        // system fills as it is read) from a small first block up, so that an empty input does not
        // cost a megabyte of cleared pages
        return ReadAll(in, sized ? static_cast<size_t>(st.st_size) + 1 : kFirstBlock);
    }

private:
    static constexpr size_t kFirstBlock = size_t{64} << 10;

    bool ReadAll(std::FILE* in, size_t block) {
        size_t have = 0;
        for (;;) {
            bytes_.resize(have + block);
            const size_t got = std::fread(bytes_.data() + have, 1, block, in);
            have += got;
            if (got < block) break;
            block = std::max(block, have);  // a pipe: grow geometrically
        }
        bytes_.resize(have);
        return !std::ferror(in);
    }

    std::string bytes_;
    const char* mapped_ = nullptr;
    size_t mappedSize_ = 0;
};

// False with a message told when the input cannot be read.
bool ReadInput(const Options& o, InputBytes& input) {
    const char* name = o.haveFile ? o.file.c_str() : "standard input";
    errno = 0;
    bool ok;
    if (o.haveFile) {
#ifdef _WIN32
        std::unique_ptr<std::FILE, FileCloser> in(_wfopen(reinterpret_cast<const wchar_t*>(rx::FromUtf8(o.file).c_str()), L"rb"));
#else
        std::unique_ptr<std::FILE, FileCloser> in(std::fopen(o.file.c_str(), "rb"));
#endif
        ok = in && input.Load(in.get());
    } else {
        ok = input.Load(stdin);
    }
    if (!ok) std::fprintf(stderr, "rxgrep: cannot read %s: %s\n", name, std::strerror(errno ? errno : EIO));
    return ok;
}

// A JSON string. A lone surrogate (which has no UTF-8 form) is written as its \uXXXX escape, so
// every line stays valid JSON; a pair goes out as its four-byte UTF-8 character.
void JsonString(std::string& out, rx::StringView s) {
    static const char* hex = "0123456789abcdef";
    auto escape = [&](unsigned u) {
        out += "\\u";
        for (int shift = 12; shift >= 0; shift -= 4) out += hex[(u >> shift) & 15];
    };
    out += '"';
    size_t plain = 0;  // start of the run not yet written
    auto flush = [&](size_t end) {
        if (end > plain) out += rx::ToUtf8(s.substr(plain, end - plain));
    };
    for (size_t i = 0; i < s.size(); ++i) {
        const auto u = static_cast<unsigned>(static_cast<uint16_t>(s[i]));
        const char* named = nullptr;
        switch (u) {
        case '"': named = "\\\""; break;
        case '\\': named = "\\\\"; break;
        case '\b': named = "\\b"; break;
        case '\f': named = "\\f"; break;
        case '\n': named = "\\n"; break;
        case '\r': named = "\\r"; break;
        case '\t': named = "\\t"; break;
        default: break;
        }
        const bool high = u >= 0xD800 && u < 0xDC00, low = u >= 0xDC00 && u < 0xE000;
        if (high && i + 1 < s.size() && static_cast<uint16_t>(s[i + 1]) >= 0xDC00 && static_cast<uint16_t>(s[i + 1]) < 0xE000) {
            ++i;  // a pair: stays in the run
            continue;
        }
        if (!named && u >= 0x20 && !high && !low) continue;
        flush(i);
        plain = i + 1;
        if (named) out += named;
        else escape(u);
    }
    flush(s.size());
    out += '"';
}

// fwrite that remembers a failure; the caller asks at the end (after the final flush).
struct Writer {
    bool failed = false;
    void Write(const std::string& s) {
        if (!failed && !s.empty() && std::fwrite(s.data(), 1, s.size(), stdout) != s.size()) failed = true;
    }
    bool Finish() {
        if (std::fflush(stdout) != 0 || std::ferror(stdout)) failed = true;
        return !failed;
    }
};

void PrintMatches(const Options& o, const rx::MatchCollection& matches, Writer& w) {
    std::string out;
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
            w.Write(out);
            out.clear();
            if (w.failed) return;
        }
    }
    w.Write(out);
}

// The decoded text for --count and --replace: one buffer of UTF-16 units, sized for the worst
// case (a unit per byte). On Linux its pages are asked for as huge pages: the buffer is written
// once from end to end, and faulting it in 4 KB pages cost more than decoding into it.
class UnitBuffer {
public:
    explicit UnitBuffer(size_t units) : bytes_(std::max<size_t>(units, 1) * sizeof(rx::Char)) {
#ifndef _WIN32
        void* p = mmap(nullptr, bytes_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (p == MAP_FAILED) throw std::bad_alloc();
        madvise(p, bytes_, MADV_HUGEPAGE);
        data_ = static_cast<rx::Char*>(p);
#else
        data_ = new rx::Char[bytes_ / sizeof(rx::Char)];
#endif
    }
    UnitBuffer(const UnitBuffer&) = delete;
    UnitBuffer& operator=(const UnitBuffer&) = delete;
    ~UnitBuffer() {
#ifndef _WIN32
        munmap(data_, bytes_);
#else
        delete[] data_;
#endif
    }
    rx::Char* Data() const { return data_; }

private:
    size_t bytes_;
    rx::Char* data_;
};

// The count of a pattern of fixed length over ASCII sets (a plain literal among them), taken on
// the raw bytes where it is sure to be the engine's: see EngineCountsWithinBudget. -1 where the
// engine has to count.
long long CountOnTheBytes(const Options& o, const rx::Program& program, std::string_view body) {
    if (o.output != Output::Count) return -1;
    const rxgrep::AsciiSteps steps = rxgrep::AsciiStepsOf(program);
    if (!rxgrep::EngineCountsWithinBudget(steps, o.budget, body.size())) return -1;
    return static_cast<long long>(rxgrep::CountOccurrences(body, steps.sets, o.first));
}

// The count taken a window of lines at a time into one small buffer, where that is sure to be the
// same count (no buffer of the whole text's size to be cleared page by page), or shown to be by
// the windows' runs, or by the first window's alone for a program anchored at the text's start;
// -1 where the whole text is to be counted.
long long CountByWindows(const Options& o, rx::RegExp& re, std::string_view body) {
    if (o.output != Output::Count) return -1;
    const rx::Program& program = re.Compiled();
    if (const long long count = rxgrep::CountFromTheStart(re, body); count >= 0) return count;
    if (rxgrep::CountableByWindows(program, o.budget, body.size())) return rxgrep::CountByWindows(re, body);
    if (!rxgrep::CheckableByWindows(program)) return -1;
    rxgrep::WindowCounting how;
    how.checked = true;
    return rxgrep::CountByWindows(re, body, how);
}

int Run(int argc, char** argv) {
    Options o;
    if (int rc = ParseArgs(argc, argv, o)) return rc;
    Writer w;
    try {
        InputBytes input;
        if (!ReadInput(o, input)) return BadInput;
        std::string_view body = input.View();
        if (body.substr(0, 3) == "\xEF\xBB\xBF") body.remove_prefix(3);

        rx::RegExp re;
        re.Pattern(rx::FromUtf8(o.pattern));
        re.IgnoreCase(o.ignoreCase);
        re.Multiline(o.multiline);
        re.Global(!o.first);
        re.StepBudget(o.budget);
        // a rejected pattern is told before anything is decoded; a pattern that cannot match
        // these bytes needs no decoding at all (a replacement still writes the whole text)
        const rx::Program& program = re.Compiled();
        if (const long long count = CountOnTheBytes(o, program, body); count >= 0) {
            w.Write(std::to_string(count) + "\n");
        } else if (o.output != Output::Replace && rxgrep::RulesOutEveryMatch(program, body)) {
            if (o.output == Output::Count) w.Write("0\n");
        } else if (const long long count = CountByWindows(o, re, body); count >= 0) {
            w.Write(std::to_string(count) + "\n");
        } else if (o.output == Output::Replace || o.output == Output::Count) {
            UnitBuffer units(body.size());
            const rx::StringView text(units.Data(), rxgrep::DecodeUtf8InTwo(body, units.Data()));
            input.Release();
            if (o.output == Output::Replace) w.Write(rx::ToUtf8(re.Replace(text, rx::FromUtf8(o.replacement))));
            else w.Write(std::to_string(re.Count(text)) + "\n");  // counted one by one, none kept
        } else {
            // the collection keeps the text its matches point into: decoded straight into it
            rx::String owned(body.size(), rx::Char{});
            owned.resize(rxgrep::DecodeUtf8InTwo(body, owned.data()));
            input.Release();
            PrintMatches(o, re.Execute(std::move(owned)), w);
        }
    } catch (const base::Error& e) {
        std::fflush(stdout);
        std::fprintf(stderr, "error %ld: %s\n", e.Number(), e.what());
        if (e.Number() == rx::err::BudgetExceeded) return OverBudget;
        if (e.Number() == base::err::OutOfMemory) return OutOfMemory;
        return Rejected;
    } catch (const std::bad_alloc&) {
        std::fflush(stdout);
        std::fprintf(stderr, "error 7: Out of memory\n");
        return OutOfMemory;
    } catch (const std::length_error&) {
        std::fflush(stdout);
        std::fprintf(stderr, "error 7: Out of memory\n");
        return OutOfMemory;
    }
    if (!w.Finish()) {
        std::fprintf(stderr, "rxgrep: cannot write the output: %s\n", std::strerror(errno ? errno : EIO));
        return WriteFailed;
    }
    return Done;
}

}  // namespace

#ifdef _WIN32
int wmain(int argc, wchar_t** wargv) {
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stdin), _O_BINARY);
    std::vector<std::string> args;
    std::vector<char*> argv;
    for (int i = 0; i < argc; ++i) args.push_back(rx::ToUtf8(reinterpret_cast<const rx::Char*>(wargv[i])));
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    return Run(argc, argv.data());
}
#else
int main(int argc, char** argv) { return Run(argc, argv); }
#endif
