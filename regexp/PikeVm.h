// The linear matcher: a Pike VM over the same program as the backtracking matcher. All the ways
// through the pattern advance together, one text unit at a time, in the order of their priority;
// a way that reaches a state some earlier way already holds at the same position is dropped, since
// from there it could only find what that earlier way finds first. The work is bounded by the
// text's length times the number of states, whatever the pattern's nesting, and the answer is the
// one the backtracker gives (leftmost start, then the first way in priority order).
//
// A state is the instruction, the units a single-unit loop or a string has taken so far, the
// counters of the counted loops being run, and for each empty-iteration mark only whether it was
// set at the current position (an earlier mark never stops a loop, so a way that has taken a unit
// carries no marks at all). Capture slots are carried along but are not part of the state:
// nothing reads them before the match ends, as long as the pattern has no back-reference.
// Look-aheads stay with the backtracker (Handles).
#pragma once

#include <cstdint>
#include <vector>

#include "regexp/Closure.h"
#include "regexp/Matcher.h"
#include "regexp/Program.h"
#include "regexp/StepCounter.h"

namespace rx {

class PikeVm {
public:
    // `starts` gives the positions where a match may begin (the search's first-unit filter); its
    // stop flag ends a search as it ends the backtracker's.
    PikeVm(const Program& program, const Matcher& starts, const Char* text, size_t length);

    // True when the program needs nothing the linear matcher cannot follow: no back-reference,
    // no look-ahead.
    static bool Handles(const Program& program);

    // The leftmost match starting at or after `from` (only at `from` when anchored). On Match,
    // the first `slotCount` spans (2: the match alone; 2 * (groups + 1): with its groups) are
    // appended to `spans`. The search stops with BudgetExceeded after stepBudget steps, with
    // Stopped once the stop flag is set (looked at as often as the backtracker looks) and with
    // OutOfMemory when its state lists would pass the memory cap.
    Status Search(size_t from, bool anchored, size_t slotCount, uint64_t stepBudget, std::vector<int32_t>& spans);
    uint64_t Steps() const { return steps_.Spent(); }

private:
    struct Thread {
        int32_t pc;
        int32_t count;     // units taken by the Star or String at pc
        uint32_t payload;  // offset of its registers and slots in the list's pool
    };
    struct List {
        std::vector<Thread> threads;
        std::vector<int32_t> pool;
        void Clear() {
            threads.clear();
            pool.clear();
        }
    };
    class Ways;  // what a way does in the closure walk at a unit to take and at the pattern's end

    bool Follow(List& list, int32_t pc, int32_t count, size_t pos);
    void Add(List& list, int32_t pc, int32_t count);
    void Grow();
    bool Visit(int32_t pc, int32_t count);
    void NewPosition();
    bool OverCap() const;
    void ProbeCost();
    uint16_t At(size_t i) const { return static_cast<uint16_t>(text_[i]); }
    static constexpr size_t kCachedEntries = size_t{1} << 16;  // 512 KB of table

    const Matcher& starts_;
    const Char* text_;
    size_t length_;
    size_t slotCount_ = 2;
    StepCounter steps_;
    size_t maxInts_;                   // the memory cap, in 32-bit entries
    size_t maxStateInts_;              // the part of it the states seen may take

    List lists_[2];                    // the ways at this position and at the next
    rx::Closure closure_;              // the counters and slots of the way being followed
    bool matched_ = false;
    std::vector<int32_t> best_;

    // states seen at the current position: an open-addressing table of keys stored in keys_
    std::vector<uint32_t> direct_;     // per (instruction, count 0 or 1): the stamp of its last visit
    std::vector<int32_t> key_;
    std::vector<int32_t> keys_;
    std::vector<uint64_t> table_;      // per entry: position stamp << 32 | 1 + index of the key
    uint32_t stamp_ = 0;               // which entries belong to the current position
    size_t keyCount_ = 0;
    size_t keyWidth_ = 0;
    int64_t probeCost_ = 1;            // steps charged for each key looked at or stored
};

}  // namespace rx
