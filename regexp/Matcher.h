// The matcher: one loop over the program's instructions with an explicit backtrack stack
// (choice points and the undo records of group and register writes), so neither the input's
// length nor the pattern's nesting ever deepens the C++ stack. A step budget bounds the work
// spent in the search for one match; where the budget is looked at, so is the caller's stop flag.
#pragma once

#include <algorithm>
#include <atomic>
#include <bitset>
#include <cstdint>
#include <new>
#include <string_view>
#include <vector>

#include "regexp/Program.h"

#if defined(__GNUC__)
#define RX_ALWAYS_INLINE __attribute__((always_inline)) inline
#else
#define RX_ALWAYS_INLINE inline
#endif

namespace rx {

enum class Status { Match, NoMatch, BudgetExceeded, OutOfMemory, Stopped };

// Many matches of a values-only run found in one call: a matcher appends a match it has found
// (its start and end) and begins the next search where it ends (a unit further on after an
// empty match), as the caller's next call would, while the run can afford another search with
// the same budget, a match can still start there and the spans have room for one more.
struct Batch {
    std::vector<int32_t>* spans;
    uint64_t budget;                   // of each search, at most
    uint64_t runLeft;                  // the steps of the searches together
    uint64_t runNeed;                  // what the run must have left for the next search
    uint64_t allowance = UINT64_MAX;   // what is left of it bounds each search's budget too
    size_t before = SIZE_MAX;          // no match starts at or after this place
    size_t room = SIZE_MAX;            // the size the spans may reach
    uint64_t spent = 0;                // by the searches whose matches were appended
    size_t from = 0;                   // where the search in hand began
    // The budget of the search in hand.
    uint64_t Budget() const { return std::min(budget, allowance - std::min(allowance, spent)); }
    // True when the match (the search in hand spent `steps`) was appended and the next search
    // is to begin at `from`, with Budget().
    bool Next(size_t start, size_t end, uint64_t steps, size_t length);
};

class Matcher {
public:
    // `stop`, when given, is looked at every StopPollSteps steps and at each search's start; once
    // it is set the search ends with Stopped.
    Matcher(const Program& program, const Char* text, size_t length, uint64_t stepBudget,
            const std::atomic<bool>* stop = nullptr);

    Matcher(const Matcher&) = delete;  // (CandidateLead may point into the matcher itself)
    Matcher& operator=(const Matcher&) = delete;

    static constexpr int64_t StopPollSteps = 1 << 16;

    // The leftmost match starting at or after `from`. On Match, the start and end of the match
    // and of each group (-1 for a group that did not take part) are appended to `spans`. With a
    // batch, the matches before it may be appended to the batch's spans first (see Batch; each
    // search with this budget; the one in hand began at batch->from).
    Status Search(size_t from, std::vector<int32_t>& spans, Batch* batch = nullptr);
    const std::atomic<bool>* StopFlag() const { return stop_; }

    // The next position at or after `from` where a match could start, or length + 1.
    size_t NextStart(size_t from) const;
    // The text is a piece of a longer one: a start is not passed over for want of the units that
    // the piece's end cuts off (a literal, a filter's units or a pivot that may lie past it).
    void RestFollows() { restFollows_ = true; }
    // The units that stand at every place NextStart returns (the prefix literal, or the one unit
    // every match starts with); empty when it promises none.
    std::basic_string_view<uint16_t> CandidateLead() const { return lead_; }
    // The steps the last search spent, and the budget of the searches to come.
    uint64_t Steps() const {
        const int64_t rest = budgetLeft_ + left_;
        return rest >= 0 ? budget_ - static_cast<uint64_t>(rest) : budget_ + 1;
    }
    void Budget(uint64_t steps) { budget_ = steps; }

private:
    struct Frame {
        int32_t kind;
        int32_t pc;    // resume point, or the slot / register an undo record restores
        int32_t pos;
        int32_t a;     // old value (undo), previous mark (look-ahead), bound (loops)
    };
    // LookDone heads the records a closed look-ahead kept (a = the index past them), all undo
    // records, inert or inner LookDone regions; Inert is a choice point that such a close took away.
    enum FrameKind : int32_t { Branch, UndoSlot, UndoRegister, LookMark, NegLookMark, StarGreedy, StarLazy, LookDone, Inert };

    bool Renew(int64_t& left);
    std::basic_string_view<uint16_t> FindLead() const;
    Status Ended() const { return stopped_ ? Status::Stopped : Status::BudgetExceeded; }
    RX_ALWAYS_INLINE size_t NextCandidate(size_t from) const;
    RX_ALWAYS_INLINE size_t FilteredCandidate(size_t from) const;
    size_t PivotCandidate(size_t from) const;
    // Under RestFollows, the first start at or after `from` from `tail` on (before the end), else
    // length + 1.
    size_t Tail(size_t tail, size_t from) const {
        const size_t p = std::max(tail, from);
        return restFollows_ && p < length_ ? p : length_ + 1;
    }
    size_t PivotTail(size_t from) const;
    bool AnchorAllows(size_t pos) const;
    Status Attempt(size_t start);
    size_t Scan(UnitKind kind, int32_t operand, size_t pos, size_t limit) const;
    bool UnitMatches(UnitKind kind, int32_t operand, uint16_t unit) const;
    bool IsWordAt(size_t pos) const;
    bool MayStartWith(size_t pc, size_t pos) const;
    RX_ALWAYS_INLINE bool FilterPasses(size_t p) const;
    int32_t RequiredUnit(size_t pc) const;
    // The loop of StartInfo::skipLoop stopped short of its maximum at q.
    void NoteSkip(size_t q) { skipTo_ = q + 1 - prog_.start.skipLead; }
    RX_ALWAYS_INLINE bool Push(Frame f) {
        if (stack_.size() >= maxFrames_) return false;
        stack_.push_back(f);
        return true;
    }
    // Writes that backtracking must be able to undo. With no choice point below, nothing can
    // ever need the old value back, so no record is kept.
    RX_ALWAYS_INLINE void SetSlot(int32_t slot, int32_t value) {
        int32_t& s = slots_[static_cast<size_t>(slot)];
        if (s == value) return;
        if (!stack_.empty()) PushUndo(UndoSlot, slot, s);
        s = value;
    }
    RX_ALWAYS_INLINE void SetRegister(int32_t reg, int32_t value) {
        int32_t& r = registers_[static_cast<size_t>(reg)];
        if (r == value) return;
        if (!stack_.empty()) PushUndo(UndoRegister, reg, r);
        r = value;
    }
    // Undo records count against the stack's cap like choice points (a loop of empty iterations
    // may pile up records without a single choice); Search turns the throw into OutOfMemory.
    void PushUndo(int32_t kind, int32_t index, int32_t old) {
        if (stack_.size() >= maxFrames_) throw std::bad_alloc();
        stack_.push_back(Frame{kind, index, 0, old});
    }
    size_t CloseLookAhead();
    void AbandonLookAhead();

    const Program& prog_;
    const int32_t* code_;
    const Char* text_;
    uint16_t At(size_t i) const { return static_cast<uint16_t>(text_[i]); }
    size_t length_;
    uint64_t budget_;
    // The step countdown runs in grants of at most StopPollSteps; budgetLeft_ is what the search
    // may still spend beyond the current grant, left_ what remains of the grant between attempts.
    int64_t budgetLeft_ = 0;
    int64_t left_ = 0;
    const std::atomic<bool>* stop_;
    bool stopped_ = false;
    size_t maxFrames_;
    std::vector<int32_t> slots_;
    std::vector<int32_t> registers_;
    std::vector<Frame> stack_;
    int32_t markTop_ = -1;
    size_t skipTo_ = 0;  // after a failed attempt: the first start that could still match
    uint16_t firstLanes_[64];  // the filter's first and second unit lists, 8 lanes each
    uint16_t onlyFirstUnit_ = 0;  // StartInfo::onlyFirstUnit as a unit, for CandidateLead
    std::basic_string_view<uint16_t> lead_;  // CandidateLead's answer, found at construction
    // StartInfo::pivot, and the starts it allows that were found last: every place in
    // [pivotRun_, pivotEnd_) is one, so the search's next calls from inside answer at once (the
    // backtracker asks start after start; each unit is looked at once). No pivot at or after
    // pivotNone_.
    const std::bitset<0x10000>* pivotBefore_ = nullptr;
    mutable size_t pivotRun_ = 0, pivotEnd_ = 0, pivotNone_ = SIZE_MAX;
    bool restFollows_ = false;
};

}  // namespace rx
