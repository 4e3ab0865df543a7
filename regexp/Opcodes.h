// The matcher's instruction set, in one list: name, size in 32-bit words, operand names (for the
// disassembler). Jump targets are absolute code offsets.
#pragma once

#include <cstddef>
#include <cstdint>

#define RX_OPCODES(X)                                                                         \
    X(Match, 1, "")                                                                           \
    X(Char, 2, "c")                 /* one unit */                                            \
    X(CharFold, 2, "c")             /* one unit, compared by case fold (operand folded) */    \
    X(String, 2, "n")               /* n units follow, one per word */                        \
    X(StringFold, 2, "n")           /* n folded units follow */                               \
    X(Any, 1, "")                   /* any unit but line feed */                              \
    X(Set, 2, "set")                                                                          \
    X(LineStart, 1, "")             /* start of input */                                      \
    X(LineStartM, 1, "")            /* start of input or after CR / LF */                     \
    X(LineEnd, 1, "")               /* end of input */                                        \
    X(LineEndM, 1, "")              /* end of input or before CR / LF */                      \
    X(WordBoundary, 1, "")                                                                    \
    X(NotWordBoundary, 1, "")                                                                 \
    X(Jump, 2, "to")                                                                          \
    X(Split, 2, "alt")              /* go on; on failure resume at alt */                     \
    X(SplitLazy, 2, "alt")          /* go to alt; on failure resume here+2 */                 \
    X(Save, 2, "slot")                                                                        \
    X(ResetGroups, 3, "from,to")    /* slots [from, to) become unset */                       \
    X(SetMark, 2, "reg")            /* reg = position (for the empty-iteration check) */      \
    X(CheckProgress, 2, "reg")      /* fail when position == reg */                           \
    X(CounterInit, 2, "reg")        /* reg = 0 */                                             \
    X(Loop, 6, "reg,min,max,greedy,exit")                                                     \
    X(CounterNext, 5, "reg,mark,min,max") /* empty optional iteration fails; else count it */  \
    X(BackRef, 2, "group")                                                                    \
    X(BackRefFold, 2, "group")                                                                \
    X(LookAhead, 2, "end")          /* body follows; end = after LookEnd */                  \
    X(NegLookAhead, 2, "end")                                                                 \
    X(LookEnd, 1, "")                                                                         \
    X(NegLookEnd, 1, "")                                                                      \
    X(Star, 5, "kind,operand,min,max")     /* greedy single-unit loop */                      \
    X(StarLazy, 5, "kind,operand,min,max") /* lazy single-unit loop */                       \
    X(StarAtomic, 5, "kind,operand,min,max") /* greedy loop that nothing after it could use */

namespace rx {

enum class Op : int32_t {
#define RX_ENUM(name, size, operands) name,
    RX_OPCODES(RX_ENUM)
#undef RX_ENUM
};

constexpr int OpSize(Op op) {
    switch (op) {
#define RX_SIZE(name, size, operands) \
    case Op::name: return size;
        RX_OPCODES(RX_SIZE)
#undef RX_SIZE
    }
    return 1;
}

// The size of the instruction at pc: the string instructions carry their units inline.
inline int InstrSize(const int32_t* code, size_t pc) {
    auto op = static_cast<Op>(code[pc]);
    return (op == Op::String || op == Op::StringFold) ? 2 + code[pc + 1] : OpSize(op);
}

// What a Star loop repeats.
enum class UnitKind : int32_t { Char, CharFold, Set, Any };

}  // namespace rx
