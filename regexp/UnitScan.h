// The vector scans of the matchers: where a unit, one of a few units, a literal, or a unit outside
// a few ranges first stands. Eight units at a time with SSE2 where the target has it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "regexp/Text.h"

namespace rx {

// The first position at or after `from` holding `unit`, or `length`.
size_t FindUnit(const Char* text, size_t from, size_t length, uint16_t unit);
// The first position at or after `from` (before `length`) holding one of the n (1 to 4) units,
// or `length`.
size_t FindAnyOf(const Char* text, size_t from, size_t length, const uint16_t* units, int n);
// The first place at or after `from` where the n units of `literal` stand, or length + 1.
size_t FindLiteral(const Char* text, size_t from, size_t length, const uint16_t* literal, size_t n);
// The first place in [pos, limit) whose unit lies in none of the n ranges (1 to kMaxLaneRanges),
// or `limit`. The ranges are given as lanes: per range sixteen units, its low end eight times,
// then its width (high - low) eight times (PutLaneRange writes range k).
constexpr size_t kMaxLaneRanges = 6;
size_t SkipLaneRanges(const Char* text, size_t pos, size_t limit, const uint16_t* lanes, size_t n);
void PutLaneRange(uint16_t* lanes, size_t k, uint16_t low, uint16_t high);

}  // namespace rx
