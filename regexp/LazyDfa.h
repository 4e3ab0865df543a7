// The lazy DFA: a deterministic automaton over the program, built one state at a time as the text
// asks for it and kept in a cache of bounded size. A state is the ORDERED list of the ways under
// way (instruction, units taken by a loop or a string, loop counters), in the backtracker's order
// of priority, and what the unit before it was (text edge, word unit, line break or other), which
// is all an anchor or a word boundary needs to look back at; what they look ahead at is the unit
// a transition reads, so they are settled when the state is left. A transition is computed once
// per state and class of units and then costs one table look-up per unit of text.
//
// Two modes. LeftmostFirst, over the program itself: ways are followed in priority order and
// those below one that reaches the end of the pattern are cut, and a new start is added after
// every way begun earlier until a match is found; the last end it reports is where the
// backtracker's match ends. Longest, over the program compiled backwards and run from that end
// towards the text's start: it reports the furthest place the reversed pattern can end, which is
// where the leftmost match starts.
//
// When the cache passes its cap it is emptied and filled again from the state in hand; a search
// that has to do so too often gives up (OutOfMemory) and its caller falls back to the other
// matchers. Patterns with back-references or look-aheads are not for this automaton (Handles).
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "regexp/Closure.h"
#include "regexp/Matcher.h"
#include "regexp/Program.h"
#include "regexp/StepCounter.h"
#include "regexp/UnitScan.h"

namespace rx {

class LazyDfa {
public:
    enum class Mode { LeftmostFirst, Longest };
    static constexpr size_t kDefaultCap = size_t{4} << 20;  // bytes of states and transitions
    static constexpr int kMaxFlushes = 4;                    // per search, before it gives up

    // `program`: the program itself (LeftmostFirst) or the one compiled backwards (Longest).
    LazyDfa(const Program& program, Mode mode, const std::atomic<bool>* stop = nullptr,
            size_t memoryCap = kDefaultCap);
    ~LazyDfa();

    // True when the automaton can follow every instruction of the program.
    static bool Handles(const Program& program);
    // False when the program's classes of units would make even a few states pass the cap.
    bool Usable() const { return usable_; }

    // LeftmostFirst: where the leftmost match starting at or after `from` ends (the text before
    // `from` is still looked at by anchors and word boundaries). `starts`, when given, tells
    // where a match may start, so that stretches where none can are skipped. On Match, `floor`
    // is a place at or before the match's start, and `atFloor` tells that the match starts
    // there: the first way to reach the pattern's end began there (the ways carry a mark of
    // whether they began at the first start after the last place where no way was under way).
    // With a batch, a match found to start at its floor joins it and the next search begins
    // where it ends (see Batch); what is returned is the first match not appended (or NoMatch,
    // or what ended the search in hand, which began at batch->from).
    Status Forward(const Char* text, size_t length, size_t from, const Matcher* starts, size_t& end, size_t& floor,
                   bool& atFloor, Batch* batch = nullptr);
    // Longest, over the reversed program: reading backwards from `end`, down to `limit` at the
    // least, the smallest place where a match of the pattern ending at `end` starts.
    Status Backward(const Char* text, size_t length, size_t end, size_t limit, size_t& start);
    // Whether the last Forward search came to the text's end with a way under way that more
    // text would have let read on: that would take the unit `FollowedBy` tells, or any unit.
    bool WaysAtEnd() const { return waysAtEnd_; }
    // The unit that follows the text, for WaysAtEnd (-1: not known).
    void FollowedBy(int32_t unit) { followedBy_ = unit; }
    // LeftmostFirst: whether a way begun just before this unit may take it (whatever came
    // before): a match, or an attempt at one, may then begin with it. Builds the states that
    // tells it, spending no search's budget; true where the cache cannot hold them.
    bool TakesFirst(Char unit);

    // Steps: one per unit read, and the work of each state built. The budget holds for each
    // search; Steps tells what the last one spent.
    void Budget(uint64_t steps) { budget_ = steps; }
    uint64_t Steps() const { return steps_.Spent(); }
    size_t StateCount() const { return keys_.size(); }
    uint32_t Stride() const { return stride_; }  // transitions per state: a class of units each, and the edge
    size_t Flushes() const { return totalFlushes_; }  // since construction
    // Whether one automaton that had built the states of all of these (automata of one program
    // in one mode, none of which has emptied its cache), and `bare` more states with no way
    // under way but one at the program's start, would hold them all within the cap without
    // emptying its cache.
    static bool HoldTogether(const LazyDfa* const* automata, size_t count, size_t bare);

private:
    // Bits of a transition entry below the target row: the pattern ended before the unit read,
    // the target has no ways left or only waits for a new start, the way that ended the
    // pattern began at the floor, and the target has no ways and no new start to come.
    static constexpr int32_t kMatchBit = 1, kSpecialBit = 2, kFloorBit = 4, kDeadBit = 8, kEntryShift = 4;
    // A way's instruction in a state's key, with the mark of a way begun at the floor above it.
    static constexpr int32_t kPcMask = 0x3FFFFFFF, kFloorTag = 0x40000000;
    struct GiveUp {};   // too many flushes
    class KeySet;
    // Per state, once it has stayed as it is, for a vector scan: the few units that end the stay
    // (`[^>]*`), or else the few ranges of units that keep it (`[\w-]*`).
    static constexpr int32_t kRangesUnknown = -1, kNoRanges = -2, kMaxStops = 4, kMaxRangeClasses = 64;
    // units a stay reads through the table before it scans for its end
    static constexpr size_t kTableStay = 16;
    struct StayRanges {
        int32_t count = kRangesUnknown;  // ranges; 0 with stops
        int32_t stops = 0;
        bool longRuns = false;  // the last stay here went past kTableStay units: scan at once
        uint16_t stop[kMaxStops] = {};
        uint16_t lanes[16 * kMaxLaneRanges] = {};  // the ranges, as SkipLaneRanges reads them
    };
    void FindStayRanges(StayRanges& ranges, size_t row, int32_t self);

    // What a state with a key of `keyWords` words takes of the cap.
    size_t StateCost(size_t keyWords) const;
    void BuildClasses(const Program& program);
    int32_t StartState(Side before, bool newStarts, bool withStartThread);
    void Target(int32_t state, uint32_t cls);
    int32_t Transition(int32_t state, uint32_t cls);
    int32_t Intern(const std::vector<int32_t>& key, bool& flushed);
    void Flush();
    template <class Scan>
    Status Run(Scan scan);
    Status ScanForward(const Char* text, size_t length, size_t from, const Matcher* starts, size_t& end, size_t& floor,
                       bool& atFloor, Batch* batch);
    Status ScanBackward(const Char* text, size_t length, size_t end, size_t limit, size_t& start);

    class Ways;  // what a way does in the closure walk at a unit to take and at the pattern's end
    bool Visit(int32_t pc, int32_t count);
    void Emit(int32_t pc, int32_t count);

    // The row a start state goes to on the units every candidate begins with, when none of them
    // ends the pattern or every way (kNoLead then); found once per start state.
    static constexpr size_t kNoLead = SIZE_MAX;
    size_t AfterLead(size_t row, std::basic_string_view<uint16_t> lead);
    size_t Stay(const Char* text, size_t pos, size_t end, size_t row, int32_t self);
    size_t StayBack(const Char* text, size_t pos, size_t limit, size_t row, int32_t self);
    // The side as the state keeps it: the distinctions nothing in the program makes are dropped,
    // so that a loop over words and other units stays in one state.
    Side Kept(Side side) const {
        if ((side == WordUnit && !keepWord_) || (side == Break && !keepBreak_) || (side == Edge && !keepEdge_)) return Other;
        return side;
    }
    Side SideOf(const Char* text, size_t length, size_t pos, bool before) const;

    Mode mode_;
    size_t cap_;
    bool usable_ = true;

    // units -> classes
    std::vector<uint16_t> classOf_;    // 65,536 entries
    std::vector<uint16_t> represent_;  // per class: one of its units
    std::vector<uint8_t> sideOf_;      // per class, and the text's edge as the last one
    // per class: the intervals of units it is made of
    std::vector<std::vector<std::pair<uint16_t, uint16_t>>> classRanges_;
    uint32_t classes_ = 0;             // unit classes; the text's edge is class number classes_
    uint32_t stride_ = 0;              // classes_ + 1
    uint32_t rowShift_ = 0;            // a state's row: its number << rowShift_ (room for stride_)
    bool keepEdge_ = false, keepBreak_ = false, keepWord_ = false;

    // the cache: per state its key ([side, new starts, then per way pc, count, counters]) and
    // its row of transitions (-1: not yet computed)
    std::vector<std::vector<int32_t>> keys_;
    std::vector<uint64_t> hashes_;
    std::vector<StayRanges> stays_;
    std::vector<int32_t> table_;       // open addressing: state number or -1
    std::vector<int32_t> trans_;
    size_t bytes_ = 0;
    int32_t starts_[4][2];             // start state per side before and new starts; -1: none yet
    struct Lead {
        size_t from, to;               // rows: a start state, and where AfterLead takes it
    };
    Lead leads_[4];                    // one per start state with new starts at most
    int leadCount_ = 0;
    int flushes_ = 0;                  // in the current search
    size_t totalFlushes_ = 0;

    // building a transition
    Closure closure_;                  // the counters and marks of the way being followed
    uint32_t counters_ = 0;            // its counters per way in a key
    std::vector<int32_t> next_;        // the key being built
    std::unique_ptr<KeySet> visited_, emitted_;
    std::vector<int32_t> scratch_;     // the state being left
    std::vector<int32_t> probe_;       // a key being looked up
    bool matched_ = false;
    bool matchedAtFloor_ = false;      // the first way to reach the end began at the floor
    int32_t tag_ = 0;                  // the floor mark of the way being followed

    uint64_t budget_ = UINT64_MAX;     // of each search
    StepCounter steps_;
    bool waysAtEnd_ = false;           // of the last Forward search
    int32_t followedBy_ = -1;
};

}  // namespace rx
