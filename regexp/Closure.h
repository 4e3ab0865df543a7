// What the two matchers that follow every way at once (the linear matcher and the lazy DFA)
// share: how a way's registers are kept, the log that takes back a way's writes before the ways
// waiting behind it go on, and the walk from a place in the program over every instruction that
// consumes nothing, in the backtracker's order of priority.
//
// A way's registers are the counters of the counted loops being run and, for each
// empty-iteration mark, only whether it was set at the current place: an earlier mark never stops
// a loop, so a way that has taken a unit carries no marks at all. A matcher may keep more beside
// the counters (the linear matcher: the capture slots).
//
// The walk leaves to the matcher what differs between them, through the class given to Walk (a
// template argument, so that its calls are inlined into the walk):
//   void Step()                         one step of the budget; throws when the search must end
//   bool Visit(int32_t pc, int32_t count)  false when an earlier way already reached this state
//                                       (pc, count, registers, marks) at this place
//   bool Match()                        a way reached the pattern's end; true cuts the ways
//                                       after it (they have lower priority)
//   void Take(int32_t pc, int32_t count)  a way at a consuming instruction takes the unit
//   bool Holds(Op assertion)            an anchor or a word boundary at this place
//   void Save(int32_t slot)             a group's edge passed
//   void ResetGroups(int32_t from, int32_t to)  a loop's next iteration forgets its groups
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "regexp/CaseFold.h"
#include "regexp/Program.h"

namespace rx {

// Which unit the text holds at a place's either side, as far as anchors and \b care.
enum Side : int32_t { Edge = 0, WordUnit = 1, Break = 2, Other = 3 };

inline Side SideOfUnit(uint16_t unit) {
    if (unit == '\n' || unit == '\r') return Break;
    const bool word = (unit >= 'a' && unit <= 'z') || (unit >= 'A' && unit <= 'Z') || (unit >= '0' && unit <= '9') ||
                      unit == '_';
    return word ? WordUnit : Other;
}

// Whether the anchor or word boundary holds between a unit of side `before` and one of `after`.
inline bool AssertionHolds(Op op, Side before, Side after) {
    switch (op) {
    case Op::LineStart: return before == Edge;
    case Op::LineStartM: return before == Edge || before == Break;
    case Op::LineEnd: return after == Edge;
    case Op::LineEndM: return after == Edge || after == Break;
    case Op::WordBoundary: return (before == WordUnit) != (after == WordUnit);
    case Op::NotWordBoundary: return (before == WordUnit) == (after == WordUnit);
    default: return false;
    }
}

class Closure {
public:
    explicit Closure(const Program& program);

    // True when the program needs nothing these matchers cannot follow: no back-reference, no
    // look-ahead.
    static bool Follows(const Program& program);

    uint32_t Counters() const { return counters_; }
    size_t MarkWords() const { return marks_.size(); }
    // The registers of the way being followed: the counters first, then what the matcher keeps.
    std::vector<int32_t>& Regs() { return regs_; }
    const std::vector<uint32_t>& Marks() const { return marks_; }
    void ClearMarks() { std::fill(marks_.begin(), marks_.end(), 0u); }
    size_t LogCapacity() const { return stack_.capacity(); }
    void ReleaseLog() { stack_ = {}; }

    // A write to the registers that the ways waiting on the log must not see.
    void Write(int32_t index, int32_t value) {
        int32_t& v = regs_[static_cast<size_t>(index)];
        if (v == value) return;
        stack_.push_back(Item{Restore, 0, index, v});
        v = value;
    }

    // Whether the consuming instruction at pc, count units into it, takes `unit` (< 0: the
    // text's edge, which none takes).
    bool Takes(int32_t pc, int32_t count, int32_t unit) const {
        if (unit < 0) return false;
        const auto u = static_cast<uint16_t>(unit);
        const int32_t* arg = code_ + pc + 1;
        switch (static_cast<Op>(code_[pc])) {
        case Op::Char: return u == static_cast<uint16_t>(arg[0]);
        case Op::CharFold: return FoldCase(u) == static_cast<uint16_t>(arg[0]);
        case Op::String: return u == static_cast<uint16_t>(arg[1 + count]);
        case Op::StringFold: return FoldCase(u) == static_cast<uint16_t>(arg[1 + count]);
        case Op::Any: return u != '\n';
        case Op::Set: return prog_.sets[static_cast<size_t>(arg[0])].Contains(u);
        case Op::Star: case Op::StarLazy: case Op::StarAtomic: return UnitMatches(arg[0], arg[1], u);
        default: return false;
        }
    }

    // Where a way at the consuming instruction pc (count units into it) goes once it has taken
    // its unit; false for any other instruction.
    bool After(int32_t pc, int32_t count, int32_t& next, int32_t& nextCount) const {
        const int32_t* arg = code_ + pc + 1;
        switch (static_cast<Op>(code_[pc])) {
        case Op::Char: case Op::CharFold: case Op::Set: next = pc + 2; nextCount = 0; return true;
        case Op::Any: next = pc + 1; nextCount = 0; return true;
        case Op::String: case Op::StringFold:
            if (count + 1 == arg[0]) {
                next = pc + 2 + arg[0];
                nextCount = 0;
            } else {
                next = pc;
                nextCount = count + 1;
            }
            return true;
        case Op::Star: case Op::StarLazy: case Op::StarAtomic: {
            // past the minimum of an unbounded loop every count behaves alike: one state
            const auto min = static_cast<uint32_t>(arg[2]), max = static_cast<uint32_t>(arg[3]);
            uint32_t n = static_cast<uint32_t>(count) + 1;
            if (max == kInfinite && n > min) n = min;
            next = pc;
            nextCount = static_cast<int32_t>(n);
            return true;
        }
        default: return false;
        }
    }

    // Follows every way from (pc, count) that consumes nothing, in priority order, before the
    // unit `unit` (< 0: at the text's end); `ways` is told what each way meets. Returns true when
    // a way reached the pattern's end and `ways` cut the ways after it; the registers and marks
    // are then as they were when the walk began.
    template <class Ways>
    bool Walk(Ways& ways, int32_t pc, int32_t count, int32_t unit);

private:
    enum ItemKind : int32_t { Explore, TakeLater, LoopExit, Restore, RestoreMark };
    struct Item {
        int32_t kind;
        int32_t pc;
        int32_t a;  // count (Explore, TakeLater), counter register (LoopExit), index (Restore*)
        int32_t b;  // mark register (LoopExit), old value (Restore*)
    };

    bool UnitMatches(int32_t kind, int32_t operand, uint16_t unit) const {
        switch (static_cast<UnitKind>(kind)) {
        case UnitKind::Char: return unit == static_cast<uint16_t>(operand);
        case UnitKind::CharFold: return FoldCase(unit) == static_cast<uint16_t>(operand);
        case UnitKind::Set: return prog_.sets[static_cast<size_t>(operand)].Contains(unit);
        case UnitKind::Any: return unit != '\n';
        }
        return false;
    }
    void SetMark(int32_t reg, bool here) {
        const auto m = static_cast<uint32_t>(regIndex_[static_cast<size_t>(reg)]);
        uint32_t& word = marks_[m >> 5];
        const bool was = (word >> (m & 31)) & 1;
        if (was == here) return;
        stack_.push_back(Item{RestoreMark, 0, static_cast<int32_t>(m), was ? 1 : 0});
        word ^= 1u << (m & 31);
    }
    bool MarkHere(int32_t reg) const {
        const auto m = static_cast<uint32_t>(regIndex_[static_cast<size_t>(reg)]);
        return (marks_[m >> 5] >> (m & 31)) & 1;
    }
    void FlipMark(int32_t m) { marks_[static_cast<uint32_t>(m) >> 5] ^= 1u << (m & 31); }
    // A loop left behind: its counter and mark no longer tell states apart.
    void LeaveLoop(int32_t reg, int32_t mark) {
        Write(regIndex_[static_cast<size_t>(reg)], 0);
        if (mark >= 0) SetMark(mark, false);
    }
    // Drops the ways still waiting (they have lower priority than a match), undoing their writes.
    void Unwind() {
        while (!stack_.empty()) {
            const Item& item = stack_.back();
            if (item.kind == Restore) regs_[static_cast<size_t>(item.a)] = item.b;
            else if (item.kind == RestoreMark) FlipMark(item.a);
            stack_.pop_back();
        }
    }
    void AtLoop(const int32_t* arg, int32_t& pc);
    bool AtCounterNext(const int32_t* arg, int32_t& pc);

    const Program& prog_;
    const int32_t* code_;
    uint32_t counters_ = 0;          // registers that count a loop's iterations
    uint32_t markCount_ = 0;         // registers that mark an iteration's start
    std::vector<int32_t> regIndex_;  // per register: its index among the counters or the marks
    std::vector<int32_t> loopMark_;  // per Loop instruction: the mark register of its body, or -1
    std::vector<int32_t> regs_;
    std::vector<uint32_t> marks_;    // one bit per mark: set at the current place
    std::vector<Item> stack_;        // the ways waiting, and the writes to take back before them
};

// The counted loop's head: a way below its minimum goes into the body, one at its maximum leaves,
// one between does both, greedy or lazy first.
inline void Closure::AtLoop(const int32_t* arg, int32_t& pc) {
    const int32_t index = regIndex_[static_cast<size_t>(arg[0])];
    const auto c = static_cast<uint32_t>(regs_[static_cast<size_t>(index)]);
    const auto min = static_cast<uint32_t>(arg[1]), max = static_cast<uint32_t>(arg[2]);
    const int32_t mark = loopMark_[static_cast<size_t>(pc)];
    if (c < min) {
        pc += 6;
    } else if (c >= max) {
        LeaveLoop(arg[0], mark);
        pc = arg[4];
    } else if (arg[3]) {
        stack_.push_back(Item{LoopExit, arg[4], arg[0], mark});
        pc += 6;
    } else {
        stack_.push_back(Item{Explore, pc + 6, 0, 0});
        LeaveLoop(arg[0], mark);
        pc = arg[4];
    }
}

// The counted loop's tail: an optional iteration that matched nothing fails; else it counts
// (past the minimum of an unbounded loop every count behaves alike, so the count stops there).
inline bool Closure::AtCounterNext(const int32_t* arg, int32_t& pc) {
    const int32_t index = regIndex_[static_cast<size_t>(arg[0])];
    const int32_t c = regs_[static_cast<size_t>(index)];
    if (arg[1] >= 0 && static_cast<uint32_t>(c) >= static_cast<uint32_t>(arg[2]) && MarkHere(arg[1])) return false;
    if (static_cast<uint32_t>(arg[3]) != kInfinite || static_cast<uint32_t>(c) < static_cast<uint32_t>(arg[2]))
        Write(index, c + 1);
    pc += 5;
    return true;
}

template <class Ways>
bool Closure::Walk(Ways& ways, int32_t startPc, int32_t startCount, int32_t unit) {
    stack_.clear();
    stack_.push_back(Item{Explore, startPc, startCount, 0});
    while (!stack_.empty()) {
        const Item item = stack_.back();
        stack_.pop_back();
        int32_t pc = item.pc, count = item.a;
        switch (item.kind) {
        case Restore: regs_[static_cast<size_t>(item.a)] = item.b; continue;
        case RestoreMark: FlipMark(item.a); continue;
        case TakeLater: ways.Take(item.pc, item.a); continue;
        case LoopExit:
            LeaveLoop(item.a, item.b);
            count = 0;
            break;
        default: break;
        }
        for (;;) {
            ways.Step();
            if (!ways.Visit(pc, count)) break;
            const int32_t* arg = code_ + pc + 1;
            const auto op = static_cast<Op>(code_[pc]);
            bool go = true;
            switch (op) {
            case Op::Match:
                if (ways.Match()) {
                    Unwind();
                    return true;
                }
                go = false;
                break;
            case Op::Char: case Op::CharFold: case Op::String: case Op::StringFold: case Op::Any: case Op::Set:
                if (Takes(pc, count, unit)) ways.Take(pc, count);
                go = false;
                break;
            case Op::Star: case Op::StarAtomic: {
                // greedy: one more unit before leaving
                const auto min = static_cast<uint32_t>(arg[2]), max = static_cast<uint32_t>(arg[3]);
                if (static_cast<uint32_t>(count) < max && Takes(pc, count, unit)) ways.Take(pc, count);
                if (static_cast<uint32_t>(count) >= min) {
                    pc += 5;
                    count = 0;
                } else {
                    go = false;
                }
                break;
            }
            case Op::StarLazy: {
                const auto min = static_cast<uint32_t>(arg[2]), max = static_cast<uint32_t>(arg[3]);
                const bool more = static_cast<uint32_t>(count) < max && Takes(pc, count, unit);
                if (static_cast<uint32_t>(count) >= min) {
                    // leaving first; one more unit only after every way from there
                    if (more) stack_.push_back(Item{TakeLater, pc, count, 0});
                    pc += 5;
                    count = 0;
                } else {
                    if (more) ways.Take(pc, count);
                    go = false;
                }
                break;
            }
            case Op::LineStart: case Op::LineStartM: case Op::LineEnd: case Op::LineEndM: case Op::WordBoundary:
            case Op::NotWordBoundary:
                go = ways.Holds(op);
                pc += 1;
                break;
            case Op::Jump: pc = arg[0]; break;
            case Op::Split:
                stack_.push_back(Item{Explore, arg[0], 0, 0});
                pc += 2;
                break;
            case Op::SplitLazy:
                stack_.push_back(Item{Explore, pc + 2, 0, 0});
                pc = arg[0];
                break;
            case Op::Save: ways.Save(arg[0]); pc += 2; break;
            case Op::ResetGroups: ways.ResetGroups(arg[0], arg[1]); pc += 3; break;
            case Op::SetMark: SetMark(arg[0], true); pc += 2; break;
            case Op::CheckProgress:
                // an optional iteration that matched nothing ends the loop as a failure
                go = !MarkHere(arg[0]);
                pc += 2;
                break;
            case Op::CounterInit: Write(regIndex_[static_cast<size_t>(arg[0])], 0); pc += 2; break;
            case Op::Loop: AtLoop(arg, pc); break;
            case Op::CounterNext: go = AtCounterNext(arg, pc); break;
            default:  // back-references and look-aheads never come here (Follows)
                go = false;
                break;
            }
            if (!go) break;
        }
    }
    return false;
}

}  // namespace rx
