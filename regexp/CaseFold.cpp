#include "regexp/CaseFold.h"

#include <algorithm>
#include <vector>

namespace rx {
namespace {
#include "regexp/CaseFoldTable.inc"

struct FoldIndex {
    std::vector<std::pair<uint16_t, uint16_t>> cased;  // (fold, unit), ordered
    std::vector<uint16_t> units;                        // the units of `cased`, same order

    FoldIndex() {
        std::vector<uint32_t> foldedTo(0x10000, 0);  // how many units fold to each unit
        for (uint32_t u = 0; u <= 0xFFFF; ++u) ++foldedTo[FoldCase(static_cast<uint16_t>(u))];
        for (uint32_t u = 0; u <= 0xFFFF; ++u) {
            const uint16_t f = FoldCase(static_cast<uint16_t>(u));
            if (f != u || foldedTo[f] > 1) cased.emplace_back(f, static_cast<uint16_t>(u));
        }
        std::sort(cased.begin(), cased.end());
        for (auto [f, u] : cased) units.push_back(u);
    }
};

const FoldIndex& Index() {
    static const FoldIndex index;
    return index;
}
}  // namespace

uint16_t FoldCase(uint16_t unit) {
    return static_cast<uint16_t>(unit + kFoldBlocks[kFoldBlockIndex[unit >> 8]][unit & 0xFF]);
}

std::span<const uint16_t> CasedUnitsFoldingTo(uint16_t folded) {
    const FoldIndex& x = Index();
    auto lo = std::lower_bound(x.cased.begin(), x.cased.end(), std::make_pair(folded, uint16_t{0}));
    auto hi = lo;
    while (hi != x.cased.end() && hi->first == folded) ++hi;
    return {x.units.data() + (lo - x.cased.begin()), static_cast<size_t>(hi - lo)};
}

std::span<const std::pair<uint16_t, uint16_t>> CasedUnits() { return Index().cased; }

}  // namespace rx
