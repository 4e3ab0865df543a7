// A compiled pattern: the code, its character sets, and what the search loop may use to skip
// positions where no match can start.
#pragma once

#include <bitset>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "regexp/Ast.h"
#include "regexp/CharSet.h"
#include "regexp/Opcodes.h"
#include "regexp/Text.h"
#include "regexp/UnitScan.h"

namespace rx {

struct StartInfo {
    // Where a match may start.
    enum class Anchor { None, InputStart, LineStart } anchor = Anchor::None;
    // When set: a match can only start at a unit of firstUnits (or at a position the anchor allows).
    bool filtered = false;
    std::unique_ptr<std::bitset<0x10000>> firstUnits;
    // When firstUnits holds just one unit: that unit, which the search finds by a fast scan.
    int32_t onlyFirstUnit = -1;
    // A literal every match starts with (case-sensitive), when there is one.
    std::basic_string<uint16_t> prefix;

    // What the first units of every match must satisfy, checked in the search loop before the
    // matcher is entered (unanchored patterns): every match is at least `length` units long,
    // its unit at offset k (k < length) is one of units[k], the units at the two offsets of each
    // `same` pair are equal (a group of one unit and a back-reference to it), and at each offset
    // of `edges` (<= length) a word boundary holds (true) or does not (false).
    struct Filter {
        size_t length = 0;  // 0: no filter
        std::vector<std::bitset<0x10000>> units;
        std::vector<std::pair<uint32_t, uint32_t>> same;
        std::vector<std::pair<uint32_t, bool>> edges;
        // when offset 0 (and 1) allow at most four units: those, for a vector scan
        uint16_t firstList[4] = {0, 0, 0, 0};
        int firstCount = 0;
        uint16_t secondList[4] = {0, 0, 0, 0};
        int secondCount = 0;
        bool firstOnly = false;  // nothing to test past the first unit
    } filter;

    // After a failed attempt the next start may lie further on than the next unit: when every
    // match begins with `skipLead` units of fixed steps and then the single-unit loop at code
    // offset skipLoop, and that loop stopped short of its maximum at q, every start up to
    // q - skipLead reaches the same state after the loop and fails the same way (see the
    // compiler's AnalyseSkip). -1: no such loop.
    int32_t skipLoop = -1;
    uint32_t skipLead = 0;

    // A unit every match contains (case-sensitive), or -1: where the text from a search's start
    // on lacks it, there is no match to look for.
    int32_t requiredUnit = -1;

    // A unit every match consumes, none of the units it may consume before it among `before`:
    // a match starting at p takes every unit from p up to the unit's first place at or after p,
    // each of them in `before`. So a match starts only in the run of `before` units that ends
    // at a place of the unit, or at that place itself when `mayLead` (what comes before the
    // unit in the pattern may consume nothing). unit -1: no such unit.
    // Or a literal a look-ahead reads where the match has come to (\w+(?=ing)): the match takes
    // `before` units from p up to a place of the literal, and the literal's first place at or
    // after p is no further, so p again lies in the run of `before` units that ends there, or at
    // that place (mayLead is set). `unit` is then the literal's first unit.
    struct Pivot {
        int32_t unit = -1;
        std::basic_string<uint16_t> literal;  // the unit alone, or the look-ahead's literal
        std::unique_ptr<std::bitset<0x10000>> before;
        bool mayLead = false;
    } pivot;
};

class Program {
public:
    std::vector<int32_t> code;
    std::vector<CharSet> sets;
    // For each set of at most kLaneRanges ranges: per range its low end and width (high - low),
    // each repeated over eight 16-bit lanes, for the vector scan of a loop over the set; empty
    // for a set of more ranges.
    static constexpr size_t kLaneRanges = kMaxLaneRanges;
    std::vector<std::vector<uint16_t>> setLanes;
    uint32_t groupCount = 0;      // capturing groups
    uint32_t registerCount = 0;   // loop counters and marks
    StartInfo start;
    // The same pattern compiled backwards (each sequence's terms in reverse order), for finding
    // where a match starts from where it ends; only for patterns without back-references and
    // look-aheads, and without the analyses that only a forward search reads.
    std::unique_ptr<Program> reversed;

    std::string Disassemble() const;
};

// Ast -> Program. Raises base::Error 7 when the program would not fit in memory.
std::unique_ptr<Program> Compile(Ast&& ast, bool ignoreCase, bool multiline);

}  // namespace rx
