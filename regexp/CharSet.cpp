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
    // Only the cased units (a few thousand, grouped by their fold) can bring others in: a group
    // with a member in the set joins it whole. Every other unit is alone in its class.
    Normalize();
    const auto cased = CasedUnits();
    std::vector<std::pair<uint16_t, uint16_t>> joining;
    for (size_t i = 0; i < cased.size();) {
        size_t j = i;
        bool in = false;
        for (; j < cased.size() && cased[j].first == cased[i].first; ++j) in = in || Contains(cased[j].second);
        if (in)
            for (size_t k = i; k < j; ++k) joining.emplace_back(cased[k].second, cased[k].second);
        i = j;
    }
    if (joining.empty()) return;
    ranges_.insert(ranges_.end(), joining.begin(), joining.end());
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
