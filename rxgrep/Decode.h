// UTF-8 -> UTF-16 for rxgrep's input, at memory speed where the processor allows: the same
// units, and the same U+FFFD for every invalid sequence, as rx::FromUtf8 (the one-character-at-
// a-time reading), which still decodes whatever the vector paths do not take.
#pragma once

#include <cstddef>
#include <string_view>

#include "regexp/Text.h"

namespace rxgrep {

enum class DecodePath {
    Scalar,  // rx::FromUtf8 alone (which takes ASCII runs 16 bytes at a time where built with SSE2)
    Ssse3,   // 64 bytes at a time: ASCII widened, one- to three-byte characters by byte shuffles
};

// The fastest path this processor runs (asked of the processor once).
DecodePath BestDecodePath();

// Decodes utf8 into out, which has room for utf8.size() units (never more are written); returns
// how many units the text has. A path the processor lacks falls back to the best one it has.
size_t DecodeUtf8(std::string_view utf8, rx::Char* out, DecodePath path);
inline size_t DecodeUtf8(std::string_view utf8, rx::Char* out) { return DecodeUtf8(utf8, out, BestDecodePath()); }

}  // namespace rxgrep
