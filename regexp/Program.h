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
};

class Program {
public:
    std::vector<int32_t> code;
    std::vector<CharSet> sets;
    uint32_t groupCount = 0;      // capturing groups
    uint32_t registerCount = 0;   // loop counters and marks
    StartInfo start;

    std::string Disassemble() const;
};

// Ast -> Program. Raises base::Error 7 when the program would not fit in memory.
std::unique_ptr<Program> Compile(Ast&& ast, bool ignoreCase, bool multiline);

}  // namespace rx
