// What the benchmark runs: the named patterns of patterns.tsv and the corpus as UTF-16.
#pragma once

#include <string>
#include <vector>

#include "regexp/Text.h"

namespace rxbench {

struct BenchPattern {
    std::string name;
    std::string utf8;  // for printing
    rx::String pattern;
};

// "name TAB pattern" per line after a header line. Empty when the file cannot be read.
std::vector<BenchPattern> LoadPatterns(const std::string& path);
// The whole file converted once; empty when it cannot be read.
rx::String LoadCorpus(const std::string& path);

}  // namespace rxbench
