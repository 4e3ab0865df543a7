// rxgrepbench: the parts of `rxgrep --count` on the corpus, each timed alone in CPU time (the
// median of several runs): reading the raw file, decoding it on each path the processor has,
// the engine counting on the decoded text, and counting by windows of lines on one thread and
// on two, and counting on the raw bytes the patterns of fixed
// length over ASCII sets. Also decoding speed on one-kind texts (ASCII,
// two-, three- and four-byte characters, broken bytes), where the paths differ most.
//
//   rxgrepbench [--shared DIR] [--runs N] [PATTERN...]
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "regexp/RegExp.h"
#include "rxgrep/AsciiSteps.h"
#include "rxgrep/Decode.h"
#include "rxgrep/LineWindows.h"

namespace {

double CpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

double WallMs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

double Median(int runs, const std::function<void()>& work, double (*clock)() = CpuMs) {
    std::vector<double> ms;
    for (int r = 0; r < runs; ++r) {
        const double t0 = clock();
        work();
        ms.push_back(clock() - t0);
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

// Decoding into a buffer fresh from the system, as rxgrep does (huge pages asked for): the
// clearing of its pages counts, and with two threads each clears its own half. The ways take
// turns run by run, so that each meets the same moments of the machine's load; CPU time of
// every thread and wall time of the same runs, each the median.
struct DecodeWay {
    const char* name;
    std::function<size_t(std::string_view, rx::Char*)> decode;
};

void FreshBufferRows(const std::string& bytes, int runs, const std::vector<DecodeWay>& ways) {
    const size_t size = bytes.size() * sizeof(rx::Char);
    std::vector<std::vector<double>> cpu(ways.size()), wall(ways.size());
    for (int r = 0; r < runs; ++r)
        for (size_t k = 0; k < ways.size(); ++k) {
            const double c0 = CpuMs(), w0 = WallMs();
            void* p = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
            madvise(p, size, MADV_HUGEPAGE);
            ways[k].decode(bytes, static_cast<rx::Char*>(p));
            munmap(p, size);
            cpu[k].push_back(CpuMs() - c0);
            wall[k].push_back(WallMs() - w0);
        }
    for (size_t k = 0; k < ways.size(); ++k) {
        std::sort(cpu[k].begin(), cpu[k].end());
        std::sort(wall[k].begin(), wall[k].end());
        std::printf("  %-34s CPU %6.2f ms  wall %6.2f ms\n", ways[k].name, cpu[k][cpu[k].size() / 2], wall[k][wall[k].size() / 2]);
    }
}

// The file mapped with its pages populated, one byte of each page read: what any reader of the
// file pays before decoding starts.
double RawRead(const std::string& path, int runs) {
    volatile unsigned sink = 0;
    return Median(runs, [&] {
        const int fd = open(path.c_str(), O_RDONLY);
        struct stat st {};
        fstat(fd, &st);
        const auto size = static_cast<size_t>(st.st_size);
        void* p = mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
        unsigned sum = 0;
        for (size_t k = 0; k < size; k += 4096) sum += static_cast<const unsigned char*>(p)[k];
        sink = sink + sum;
        munmap(p, size);
        close(fd);
    });
}

std::string ReadFile(const std::string& path) {
    std::string bytes;
    if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
        char block[1 << 16];
        size_t got;
        while ((got = std::fread(block, 1, sizeof block, f)) > 0) bytes.append(block, got);
        std::fclose(f);
    }
    return bytes;
}

const char* PathName(rxgrep::DecodePath p) {
    switch (p) {
    case rxgrep::DecodePath::Scalar: return "scalar";
    case rxgrep::DecodePath::Ssse3: return "ssse3";
    case rxgrep::DecodePath::Avx2: return "avx2";

    }
    return "?";
}

void DecodeRow(const char* name, const std::string& bytes, int runs) {
    std::vector<rx::Char> out(bytes.size() + 1);
    std::printf("%-22s %8.2f MB", name, static_cast<double>(bytes.size()) / 1e6);
    for (int p = 0; p <= static_cast<int>(rxgrep::BestDecodePath()); ++p) {
        const auto path = static_cast<rxgrep::DecodePath>(p);
        const double ms = Median(runs, [&] { rxgrep::DecodeUtf8(bytes, out.data(), path); });
        std::printf("  %s %7.2f ms %5.2f ns/B", PathName(path), ms, ms * 1e6 / static_cast<double>(bytes.size()));
    }
    std::printf("\n");
}

// Counting by windows of lines on one thread and on two, taking turns run by run: CPU time of
// every thread and wall time of the same runs (each a median), and how many windows the second
// thread counted in the last run.
void WindowRows(const std::string& corpus, const std::string& pattern, int runs) {
    rx::RegExp re;
    re.Pattern(rx::FromUtf8(pattern));
    re.Global(true);
    const bool sure = rxgrep::CountableByWindows(re.Compiled(), re.StepBudget(), corpus.size());
    if (!sure && !rxgrep::CheckableByWindows(re.Compiled())) {
        std::printf("  %-16s not counted by windows\n", pattern.c_str());
        return;
    }
    const size_t oneThread = SIZE_MAX, two = rxgrep::kCountInTwoFrom;
    std::vector<double> cpu[2], wall[2];
    size_t byHelper = 0;
    long long count = 0;
    for (int r = 0; r < runs; ++r)
        for (int k = 0; k < 2; ++k) {
            const double c0 = CpuMs(), w0 = WallMs();
            count = rxgrep::CountByWindows(re, corpus,
                                           {rxgrep::kWindowBytes, k ? two : oneThread, true, &byHelper, !sure});
            cpu[k].push_back(CpuMs() - c0);
            wall[k].push_back(WallMs() - w0);
        }
    std::printf("  %-16s %8lld matches%s", pattern.c_str(), count, sure ? "" : " (checked)");
    for (int k = 0; k < 2; ++k) {
        std::sort(cpu[k].begin(), cpu[k].end());
        std::sort(wall[k].begin(), wall[k].end());
        std::printf("  %s CPU %6.2f wall %6.2f ms", k ? "two threads" : "one thread", cpu[k][cpu[k].size() / 2],
                    wall[k][wall[k].size() / 2]);
    }
    std::printf("  (%zu windows counted by the second)\n", byHelper);
}

std::string Repeat(const std::vector<std::string>& pieces, size_t bytes, unsigned seed) {
    std::mt19937 rng(seed);
    std::string s;
    while (s.size() < bytes) s += pieces[rng() % pieces.size()];
    return s;
}

}  // namespace

int main(int argc, char** argv) {
    std::string shared = RX_SHARED_DIR;
    int runs = 15;
    std::vector<std::string> patterns;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--shared") && i + 1 < argc) shared = argv[++i];
        else if (!std::strcmp(argv[i], "--runs") && i + 1 < argc) runs = std::max(1, std::atoi(argv[++i]));
        else patterns.push_back(argv[i]);
    }
    if (patterns.empty()) patterns = {"zqzqzq", "\\w+@\\w+", "a"};
    const std::string path = shared + "/bench/corpus.txt";
    const std::string corpus = ReadFile(path);
    if (corpus.empty()) {
        std::fprintf(stderr, "cannot read %s (use --shared DIR)\n", path.c_str());
        return 1;
    }
    std::printf("corpus %s: %zu bytes; CPU time, median of %d runs; best decoding path here: %s\n", path.c_str(),
                corpus.size(), runs, PathName(rxgrep::BestDecodePath()));
    std::printf("raw read (mmap, populate, touch each page): %.2f ms\n\n", RawRead(path, runs));

    std::string ascii;
    for (char c : corpus)
        if (static_cast<unsigned char>(c) < 0x80) ascii += c;
    DecodeRow("corpus", corpus, runs);
    DecodeRow("corpus, ASCII only", ascii, runs);
    DecodeRow("CJK (3-byte)", Repeat({"\xE4\xB8\xAD", "\xE6\x96\x87", "\xE5\xAD\x97", "\xE9\xBE\x99"}, 4 << 20, 1), runs);
    DecodeRow("Cyrillic (2-byte)", Repeat({"\xD0\x9F", "\xD1\x80", "\xD0\xB8", " "}, 4 << 20, 2), runs);
    DecodeRow("emoji (4-byte)", Repeat({"\xF0\x9F\x98\x80", "\xF0\x9F\x8E\x89"}, 4 << 20, 3), runs);
    DecodeRow("CJK word, ASCII word", Repeat({"\xE4\xB8\xAD\xE6\x96\x87", "ab ", "\xE5\xAD\x97 "}, 4 << 20, 4), runs);
    DecodeRow("broken bytes", Repeat({"\x80", "\xFF", "\xE4\xB8", "\xC3", "a"}, 4 << 20, 5), runs);
    std::string emojiLines;  // an emoji starting each line of the corpus, as in chat text
    for (char c : corpus) {
        emojiLines += c;
        if (c == '\n') emojiLines += "\xF0\x9F\x98\x80 ";
    }
    DecodeRow("corpus, emoji a line", emojiLines, runs);

    std::printf("\nthe corpus decoded into a new buffer (its pages cleared by the system):\n");
    FreshBufferRows(corpus, runs,
                    {{"one thread", [](std::string_view b, rx::Char* o) { return rxgrep::DecodeUtf8(b, o); }},
                     {"two threads", [](std::string_view b, rx::Char* o) { return rxgrep::DecodeUtf8InTwo(b, o); }}});

    std::vector<rx::Char> text(corpus.size());
    text.resize(rxgrep::DecodeUtf8(corpus, text.data()));
    std::printf("\nengine alone, Count on the decoded corpus (%zu units):\n", text.size());
    for (const std::string& p : patterns) {
        rx::RegExp re;
        re.Pattern(rx::FromUtf8(p));
        re.Global(true);
        long long count = 0;
        const double ms = Median(runs, [&] { count = re.Count(rx::StringView(text.data(), text.size())); });
        std::printf("  %-16s %8lld matches %8.2f ms\n", p.c_str(), count, ms);
    }
    std::printf("\ncounted by windows of lines, on one thread and on two:\n");
    for (const std::string& p : patterns) WindowRows(corpus, p, runs);
    std::printf("\ncounted on the raw bytes (fixed length, ASCII sets at each offset):\n");
    for (const std::string& p : patterns) {
        rx::RegExp re;
        re.Pattern(rx::FromUtf8(p));
        const rxgrep::AsciiSteps steps = rxgrep::AsciiStepsOf(re.Compiled());
        if (steps.sets.empty()) {
            std::printf("  %-16s (no such pattern)\n", p.c_str());
            continue;
        }
        uint64_t count = 0;
        const double ms = Median(runs, [&] { count = rxgrep::CountOccurrences(corpus, steps.sets, false); });
        std::printf("  %-16s %8llu matches %8.2f ms\n", p.c_str(), static_cast<unsigned long long>(count), ms);
    }
    return 0;
}
