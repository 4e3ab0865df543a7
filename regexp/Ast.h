// The parsed pattern: a tree of nodes kept in one arena and linked by index, so that neither
// building, walking nor freeing it recurses, however deeply the pattern nests.
#pragma once

#include <cstdint>
#include <vector>

#include "regexp/CharSet.h"

namespace rx {

enum class NodeKind : uint8_t {
    Empty,            // matches the empty string
    Char,             // value = code unit
    Set,              // value = index into Ast::sets
    Any,              // '.': any unit but line feed
    LineStart,        // '^'
    LineEnd,          // '$'
    WordBoundary,     // \b
    NotWordBoundary,  // \B
    BackRef,          // value = group number (1-based)
    Group,            // value = group number (1-based); kids[0] = body
    LookAhead,        // negate; kids[0] = body
    Alternation,      // kids = alternatives
    Concat,           // kids = terms
    Repeat,           // min, max, greedy; kids[0] = atom
};

struct Node {
    explicit Node(NodeKind k = NodeKind::Empty) : kind(k) {}

    NodeKind kind;
    bool greedy = true;
    bool negate = false;
    uint32_t value = 0;
    uint32_t min = 0, max = 0;     // Repeat; max == kInfinite for no upper bound
    uint32_t capFirst = 0;         // groups inside this atom: [capFirst, capEnd) (1-based numbers)
    uint32_t capEnd = 0;
    std::vector<int32_t> kids;
};

constexpr uint32_t kInfinite = 0xFFFFFFFFu;

struct Ast {
    std::vector<Node> nodes;
    std::vector<CharSet> sets;
    int32_t root = -1;
    uint32_t groupCount = 0;

    int32_t Add(Node n) {
        nodes.push_back(std::move(n));
        return static_cast<int32_t>(nodes.size() - 1);
    }
};

}  // namespace rx
