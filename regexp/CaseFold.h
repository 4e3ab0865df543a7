// Simple case folding of UTF-16 code units: two units are equal ignoring case when their folds
// are equal. Covers the whole Basic Multilingual Plane; surrogates fold to themselves.
#pragma once

#include <cstdint>
#include <span>
#include <utility>

namespace rx {

uint16_t FoldCase(uint16_t unit);

// Every unit that shares its fold with another unit or does not fold to itself, as
// (fold, unit) pairs ordered by fold: an index built once from the fold table (a few thousand
// units), so a case-insensitive compile never walks the whole code space.
std::span<const std::pair<uint16_t, uint16_t>> CasedUnits();

// The cased units whose fold is `folded`; empty when its class is not cased.
std::span<const uint16_t> CasedUnitsFoldingTo(uint16_t folded);

// Calls f with every unit whose fold is `folded` (none when nothing folds to it).
template <typename F>
void ForEachUnitFoldingTo(uint16_t folded, F&& f) {
    const auto units = CasedUnitsFoldingTo(folded);
    if (!units.empty()) {
        for (uint16_t u : units) f(u);
    } else if (FoldCase(folded) == folded) {
        f(folded);
    }
}

}  // namespace rx
