// Writes one random pattern by walking the grammar of the dialect top-down, so that every
// group, class and quantifier it writes is well formed and every back-reference names a group
// that exists. Corruptions for the malformed share are applied afterwards.
#pragma once

#include "regexp/Text.h"
#include "tests/regexp_support/Random.h"

namespace rxtest {

class PatternWriter {
public:
    explicit PatternWriter(Random& rng) : rng_(rng) {}

    rx::String WellFormed();
    rx::String Malformed();

private:
    void Alternation(int depth);
    void Sequence(int depth);
    void Term(int depth);
    bool Atom(int depth);  // false when what was written takes no quantifier
    bool Group(int depth);  // false for a look-ahead
    void Class();
    void ClassItem();
    void Escape();
    void NotAQuantifier();
    void Quantifier();
    void Literal();
    void Put(const char* ascii);
    void Put(rx::Char c) { out_ += c; }
    void PutHex(unsigned value, int digits);

    Random& rng_;
    rx::String out_;
    int opened_ = 0;   // capturing groups opened so far
    int closed_ = 0;   // of which closed; back-references mostly name these
};

// The alphabet of texts and literals: a b c, an upper-case letter, a digit, a space, CR, LF,
// Latin and Cyrillic letters of both cases, a CJK character.
rx::Char AlphabetChar(Random& rng);

}  // namespace rxtest
