#include "bench/regexp/Workload.h"

#include <fstream>
#include <iterator>

namespace rxbench {

std::vector<BenchPattern> LoadPatterns(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<BenchPattern> patterns;
    std::string line;
    std::getline(in, line);  // the header
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        size_t tab = line.find('\t');
        if (tab == std::string::npos) continue;
        std::string body = line.substr(tab + 1);
        patterns.push_back({line.substr(0, tab), body, rx::FromUtf8(body)});
    }
    return patterns;
}

rx::String LoadCorpus(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return rx::FromUtf8(bytes);
}

}  // namespace rxbench
