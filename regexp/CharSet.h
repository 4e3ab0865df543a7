// A set of UTF-16 code units, as a character class compiles to: a bitmap for ASCII (the hot
// case) and sorted disjoint ranges above it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace rx {

class CharSet {
public:
    // Members are gathered first and put in order once, by Finish (or Negate / CloseOverCase,
    // which leave the set finished too); Contains needs a finished set.
    void AddRange(uint16_t lo, uint16_t hi);
    void Add(uint16_t c) { AddRange(c, c); }
    void AddSet(const CharSet& other);
    void Finish();
    void Negate();
    void CloseOverCase();   // add every unit whose case fold equals a member's fold

    bool Contains(uint16_t c) const {
        if (c < 128) return (ascii_[c >> 6] >> (c & 63)) & 1;
        // most classes have a few ranges above ASCII (a script's block): look at them in line
        const size_t n = ranges_.size() - highStart_;
        if (n <= 4) {
            for (size_t i = highStart_; i < ranges_.size(); ++i)
                if (c >= ranges_[i].first && c <= ranges_[i].second) return true;
            return false;
        }
        return ContainsHigh(c);
    }
    bool Empty() const { return ranges_.empty(); }
    const std::vector<std::pair<uint16_t, uint16_t>>& Ranges() const { return ranges_; }

    // The class escapes of the dialect.
    static CharSet Digit();   // [0-9]
    static CharSet Word();    // [A-Za-z0-9_]
    static CharSet Space();   // [ \f\n\r\t\v]

private:
    void Normalize();
    bool ContainsHigh(uint16_t c) const;

    std::vector<std::pair<uint16_t, uint16_t>> ranges_;  // all members, normalised
    size_t highStart_ = 0;                                 // first range reaching above 127
    uint64_t ascii_[2] = {0, 0};
};

}  // namespace rx
