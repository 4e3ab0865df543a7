// Counting a plain ASCII literal on the raw UTF-8 bytes. An ASCII byte is never part of another
// character's UTF-8 form, and decoding turns every ASCII byte into the unit of the same value
// and every other byte into units above ASCII, so the literal's occurrences in the bytes are
// its occurrences in the decoded text: the same leftmost, non-overlapping ones the engine
// counts, found without decoding.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace rx {
class Program;
}

namespace rxgrep {

// The bytes the compiled program matches when it matches exactly one string, of ASCII
// characters, and nothing else: a sequence of units (a case-insensitive one only where no other
// unit shares its fold, as with digits and punctuation), without choice, repetition, anchor or
// assertion. Empty when the program is no such literal.
std::string AsciiLiteral(const rx::Program& program);

// The leftmost non-overlapping occurrences of `needle` (not empty) in `hay`; with firstOnly,
// whether there is one (1 or 0).
uint64_t CountOccurrences(std::string_view hay, std::string_view needle, bool firstOnly);

}  // namespace rxgrep
