// Simple case folding of UTF-16 code units: two units are equal ignoring case when their folds
// are equal. Covers the whole Basic Multilingual Plane; surrogates fold to themselves.
#pragma once

#include <cstdint>

namespace rx {

uint16_t FoldCase(uint16_t unit);

}  // namespace rx
