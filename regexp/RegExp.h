// RegExp, MatchCollection, Match: the engine's public surface, shaped like the platform's
// RegExp 5.5 object (Pattern, IgnoreCase, Global, Multiline, Execute, Test, Replace; a match
// collection with Count, Item and iteration; matches with Value, FirstIndex, Length, SubMatches).
//
// Failures are raised as base::Error:
//   5017 "Syntax error in regular expression"    5018 "Unexpected quantifier"
//   5019 "Expected ']' in regular expression"     5020 "Expected ')' in regular expression"
//   5021 "Invalid range in character set"
//   5099 "Regular expression too complex to match within its step budget"   (our own)
//   5098 "Matching stopped at the caller's request"                       (our own; see StopFlag)
//   7    "Out of memory"                          5 "Invalid procedure call or argument"
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "base/Error.h"
#include "regexp/Text.h"

namespace rx {

namespace err {
constexpr long Syntax = 5017;
constexpr long UnexpectedQuantifier = 5018;
constexpr long ExpectedBracket = 5019;
constexpr long ExpectedParen = 5020;
constexpr long InvalidRange = 5021;
constexpr long BudgetExceeded = 5099;
constexpr long Stopped = 5098;
}  // namespace err

class Program;   // the compiled pattern (regexp/Program.h)
class Searcher;  // the search over one text (regexp/Searcher.h)
class Automata;  // what the search of one text builds and another may reuse (regexp/Searcher.h)

// What one Execute found: the searched text (shared, not copied per match) and, per match, its
// start and end. A match's groups are found when first asked for, by matching again at its
// start (the same answer: the search is deterministic), so that a collection costs what is read
// of it rather than every group of every match.
struct MatchData {
    MatchData();
    ~MatchData();

    std::shared_ptr<const String> source;
    int groupCount = 0;              // capturing groups of the pattern
    std::vector<int32_t> spans;      // per match: its start and end

    std::shared_ptr<const Program> program;  // set when there are groups to find
    uint64_t stepBudget = 0;

    // Offset k of match `index`'s spans: its start and end, then those of each group (-1 for a
    // group that did not take part). Raises 5099 or 7 when finding them again runs out of steps
    // or memory.
    int32_t GroupSpan(long index, long k) const;

private:
    mutable std::mutex lock_;
    mutable std::unique_ptr<Searcher> searcher_;
    mutable long foundIndex_ = -1;
    mutable std::vector<int32_t> found_;   // the groups of match foundIndex_
};

class Match {
public:
    Match(std::shared_ptr<const MatchData> data, long index) : data_(std::move(data)), index_(index) {}

    String Value() const { return String(ValueView()); }
    StringView ValueView() const;
    long FirstIndex() const { return Span(0); }
    long Length() const { return Span(1) - Span(0); }

    // SubMatches: one entry per capturing group; an empty optional for a group that did not
    // take part in the match (the platform gives Empty there).
    long SubMatchCount() const { return data_->groupCount; }
    std::optional<String> SubMatch(long group) const;   // group 0 .. SubMatchCount()-1
    long SubMatchIndex(long group) const;               // -1 when it did not take part

private:
    long Span(long k) const { return k < 2 ? data_->spans[2 * index_ + k] : data_->GroupSpan(index_, k); }
    std::shared_ptr<const MatchData> data_;
    long index_;
};

class MatchCollection {
public:
    MatchCollection() : data_(std::make_shared<MatchData>()) {}
    explicit MatchCollection(std::shared_ptr<const MatchData> data) : data_(std::move(data)) {}

    long Count() const {
        return static_cast<long>(data_->spans.size() / 2);
    }
    Match Item(long index) const;  // raises 5 when index is outside 0 .. Count()-1

    class iterator {
    public:
        using value_type = Match;
        using difference_type = long;
        iterator(const MatchCollection* c, long i) : c_(c), i_(i) {}
        Match operator*() const { return Match(c_->data_, i_); }
        iterator& operator++() { ++i_; return *this; }
        bool operator==(const iterator& o) const { return i_ == o.i_; }
        bool operator!=(const iterator& o) const { return i_ != o.i_; }
    private:
        const MatchCollection* c_;
        long i_;
    };
    iterator begin() const { return iterator(this, 0); }
    iterator end() const { return iterator(this, Count()); }

private:
    std::shared_ptr<const MatchData> data_;
};

class RegExp {
public:
    // Steps the matcher may spend in the search for one match before it gives up with 5099.
    // The default stops a catastrophic pattern within about a second on a 2020s desktop.
    static constexpr uint64_t DefaultStepBudget = 200'000'000;

    RegExp();
    ~RegExp();
    RegExp(const RegExp&) = delete;
    RegExp& operator=(const RegExp&) = delete;

    const String& Pattern() const { return pattern_; }
    void Pattern(StringView pattern);
    bool IgnoreCase() const { return ignoreCase_; }
    void IgnoreCase(bool value);
    bool Global() const { return global_; }
    void Global(bool value) { global_ = value; }
    bool Multiline() const { return multiline_; }
    void Multiline(bool value);
    uint64_t StepBudget() const { return stepBudget_; }
    void StepBudget(uint64_t steps) { stepBudget_ = steps ? steps : 1; }
    // A flag another thread may set to end a run in flight: Execute, Test and Replace look at it
    // as often as at the step budget and raise 5098 once it is set. The flag must outlive the
    // runs; null (the default) for none.
    const std::atomic<bool>* StopFlag() const { return stopFlag_; }
    void StopFlag(const std::atomic<bool>* flag) { stopFlag_ = flag; }

    // The pattern is compiled on first use after a change of Pattern, IgnoreCase or Multiline;
    // a rejected pattern raises its error from every call until the pattern changes.
    // The collection keeps the searched text for its matches' values. Execute(StringView) takes
    // one copy of it; the other two share or take over the caller's text, copying nothing.
    MatchCollection Execute(StringView source);
    MatchCollection Execute(String&& source);
    MatchCollection Execute(std::shared_ptr<const String> source);
    bool Test(StringView source);
    // How many matches Execute would list (one when Global is off and there is a match),
    // found one at a time and not kept: counting costs no memory per match.
    long long Count(StringView source);
    // What a Count spent: its steps, whichever matcher spent them; whether the backtracking
    // matcher answered every search alone (no automaton, no linear matcher); whether the
    // automaton answered every search (it gave up on none). rxgrep's counting by windows of lines
    // rests on it. With `restFollows` set by the caller, the text is taken as a piece of a longer
    // one: the run does not pass over what a unit every match needs, missing from the piece's
    // end, would have let it pass over (the rest may hold that unit), so that it spends at least
    // what the longer text's run spends on the piece. With `wholeLength`, the matchers are chosen
    // as for a text of that length; with `automata`, the automaton's classes and states are kept
    // there for the next piece (see Automata). `waysAtEnd`: a search of the automaton's came to
    // the text's end with a way under way that more text would have let read on (one that takes
    // `followedBy`, the unit after the piece, where the caller knows it).
    struct RunReport {
        bool restFollows = false;
        size_t wholeLength = 0;
        Automata* automata = nullptr;
        int32_t followedBy = -1;
        uint64_t steps = 0;
        bool backtrackerAlone = true;
        bool automatonAlone = false;
        bool waysAtEnd = false;
    };
    long long Count(StringView source, RunReport* report);
    String Replace(StringView source, StringView replacement);

    // The compiled program of the current pattern, for tests and the disassembler.
    const Program& Compiled();

private:
    MatchCollection Run(std::shared_ptr<const String> source, bool firstOnly);

    String pattern_;
    bool ignoreCase_ = false;
    bool global_ = false;
    bool multiline_ = false;
    uint64_t stepBudget_ = DefaultStepBudget;
    const std::atomic<bool>* stopFlag_ = nullptr;
    std::shared_ptr<const Program> program_;  // null until compiled, reset by a change
};

}  // namespace rx
