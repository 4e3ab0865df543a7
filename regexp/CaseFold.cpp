#include "regexp/CaseFold.h"

namespace rx {
namespace {
#include "regexp/CaseFoldTable.inc"
}  // namespace

uint16_t FoldCase(uint16_t unit) {
    return static_cast<uint16_t>(unit + kFoldBlocks[kFoldBlockIndex[unit >> 8]][unit & 0xFF]);
}

}  // namespace rx
