#include "regexp/CharSet.h"

#include <algorithm>

#include "regexp/CaseFold.h"

namespace rx {

void CharSet::AddRange(uint16_t lo, uint16_t hi) {
    ranges_.emplace_back(lo, hi);
}

void CharSet::AddSet(const CharSet& other) {
    ranges_.insert(ranges_.end(), other.ranges_.begin(), other.ranges_.end());
}

void CharSet::Finish() { Normalize(); }

void CharSet::Normalize() {
    std::sort(ranges_.begin(), ranges_.end());
    std::vector<std::pair<uint16_t, uint16_t>> merged;
    for (auto r : ranges_) {
        if (!merged.empty() && static_cast<uint32_t>(r.first) <= static_cast<uint32_t>(merged.back().second) + 1) {
            merged.back().second = std::max(merged.back().second, r.second);
        } else {
            merged.push_back(r);
        }
    }
    ranges_.swap(merged);
    ascii_[0] = ascii_[1] = 0;
    highStart_ = ranges_.size();
    for (size_t i = 0; i < ranges_.size(); ++i) {
        auto [lo, hi] = ranges_[i];
        for (uint32_t c = lo; c <= hi && c < 128; ++c) ascii_[c >> 6] |= uint64_t{1} << (c & 63);
        if (hi >= 128 && highStart_ == ranges_.size()) highStart_ = i;
    }
}

bool CharSet::ContainsHigh(uint16_t c) const {
    auto first = ranges_.begin() + static_cast<long>(highStart_);
    auto it = std::upper_bound(first, ranges_.end(), c,
                               [](uint16_t v, const std::pair<uint16_t, uint16_t>& r) { return v < r.first; });
    return it != first && (it - 1)->second >= c;
}

void CharSet::Negate() {
    Normalize();
    std::vector<std::pair<uint16_t, uint16_t>> out;
    uint32_t next = 0;
    for (auto [lo, hi] : ranges_) {
        if (lo > next) out.emplace_back(static_cast<uint16_t>(next), static_cast<uint16_t>(lo - 1));
        next = static_cast<uint32_t>(hi) + 1;
    }
    if (next <= 0xFFFF) out.emplace_back(static_cast<uint16_t>(next), uint16_t{0xFFFF});
    ranges_.swap(out);
    Normalize();
}

void CharSet::CloseOverCase() {
    // Two passes over the code space: the folds of the members, then every unit whose fold is one
    // of them. Only classes compiled with IgnoreCase pay this, once, at compile time.
    std::vector<bool> folds(0x10000, false);
    for (auto [lo, hi] : ranges_)
        for (uint32_t c = lo; c <= hi; ++c) folds[FoldCase(static_cast<uint16_t>(c))] = true;
    std::vector<std::pair<uint16_t, uint16_t>> out;
    for (uint32_t c = 0; c <= 0xFFFF; ++c) {
        if (!folds[FoldCase(static_cast<uint16_t>(c))]) continue;
        if (!out.empty() && out.back().second + 1u == c) out.back().second = static_cast<uint16_t>(c);
        else out.emplace_back(static_cast<uint16_t>(c), static_cast<uint16_t>(c));
    }
    ranges_.swap(out);
    Normalize();
}

CharSet CharSet::Digit() {
    CharSet s;
    s.ranges_ = {{'0', '9'}};
    s.Normalize();
    return s;
}

CharSet CharSet::Word() {
    CharSet s;
    s.ranges_ = {{'0', '9'}, {'A', 'Z'}, {'_', '_'}, {'a', 'z'}};
    s.Normalize();
    return s;
}

CharSet CharSet::Space() {
    CharSet s;
    s.ranges_ = {{'\t', '\r'}, {' ', ' '}};   // \t \n \v \f \r and space
    s.Normalize();
    return s;
}

}  // namespace rx
