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
    Ssse3,   // 16 bytes at a time, each giving the unit of the character that ends there (a
             // four-byte one its two units at its last two bytes; a broken sequence read one by one)
    Avx2,    // the same 32 bytes at a time
};

// The fastest path this processor runs (asked of the processor once).
DecodePath BestDecodePath();

// Decodes utf8 into out, which has room for utf8.size() units (never more are written); returns
// how many units the text has. A path the processor lacks falls back to the best one it has.
size_t DecodeUtf8(std::string_view utf8, rx::Char* out, DecodePath path);
inline size_t DecodeUtf8(std::string_view utf8, rx::Char* out) { return DecodeUtf8(utf8, out, BestDecodePath()); }

// From this size on a text is worth a second thread: starting one costs some tens of
// microseconds, decoding a megabyte about 0.3 ms.
constexpr size_t kTwoThreadsFrom = size_t{1} << 20;

// DecodeUtf8 with a text of at least `twoThreadsFrom` bytes decoded in two threads, each half
// by one (and each half of `out` first touched by the thread that writes it, so that the system
// clears the new pages in both at once). The same units as DecodeUtf8, in the same room; one
// thread where a second cannot be started, has not started by the time the first half is done,
// or the text has no character start past its middle.
size_t DecodeUtf8InTwo(std::string_view utf8, rx::Char* out, DecodePath path = BestDecodePath(),
                       size_t twoThreadsFrom = kTwoThreadsFrom);

// The units DecodeUtf8 gives for well-formed UTF-8: a unit per byte that is no continuation
// byte (80-BF), and one more per four-byte lead (F0-FF, a surrogate pair). Broken bytes may
// decode to more or fewer.
size_t WellFormedUnits(std::string_view utf8);

}  // namespace rxgrep
