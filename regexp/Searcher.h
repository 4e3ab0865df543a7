// Which matcher answers a search. A pattern without back-references and look-aheads, and with a
// choice somewhere (an alternative, a loop that may give back), is searched by the lazy DFA
// (LazyDfa), on a text of kDfaFromLength units or more: forwards for where the leftmost match ends, backwards from there for where it starts;
// the groups, when read, come from the matchers below run on that match alone. When the DFA's
// cache cannot hold the states a text needs, the searches of that text go on as follows. The backtracking matcher (Matcher) is the fastest on the
// patterns people write, and the only one that can follow back-references and look-aheads; the
// linear matcher (PikeVm) gives the same answers in time linear in the text, whatever the
// pattern's nesting. A pattern without back-references and look-aheads starts on the
// backtracker with an allowance of steps in proportion to the text; once a search has spent it,
// the linear matcher answers that search again from its start, and every later one. A pattern
// with either construct stays on the backtracker, bounded by the step budget alone.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "regexp/LazyDfa.h"
#include "regexp/Matcher.h"
#include "regexp/PikeVm.h"

namespace rx {

// The automata a searcher builds for a program, which a caller may keep from one text to the next
// (the pieces of one text), so that their classes and states are built once.
class Automata {
public:
    // Whether an automaton gave up on a text (its cache too small) since these were made:
    // it was dropped then, and is made anew for the next text.
    bool GaveUp() const { return gaveUp_; }
    const LazyDfa* Forward() const { return forward_.get(); }
    // Whether a way begun just before this unit may take it (LazyDfa::TakesFirst); true where
    // no automaton has been made.
    bool TakesFirst(Char unit) { return !forward_ || forward_->TakesFirst(unit); }
    const LazyDfa* Backward() const { return backward_.get(); }

private:
    friend class Searcher;
    std::shared_ptr<const Program> program_;  // kept alive: the automata read it
    std::unique_ptr<LazyDfa> forward_, backward_;
    bool gaveUp_ = false;
};

class Searcher {
public:
    // `stop`: as for Matcher; both matchers look at it.
    Searcher(const Program& program, const Char* text, size_t length, uint64_t stepBudget,
             const std::atomic<bool>* stop = nullptr);

    // The leftmost match at or after `from`, as Matcher::Search; without groups only the match's
    // own start and end are appended to `spans`. With `many` (and no groups) up to that many
    // matches may be appended, each the leftmost from where the one before ends (a unit further
    // on after an empty match), as the calls that would follow find them.
    Status Search(size_t from, std::vector<int32_t>& spans, bool withGroups, size_t many = 1);
    // The steps the searches of this text have spent so far, whichever matcher spent them.
    uint64_t Spent() const { return runBudget_ - runLeft_; }
    // The text is a piece of a longer one: the searches are made as if a unit every match needs,
    // or the rest of a literal or of a filter's units, might follow its end (no start is passed
    // over for want of it).
    void RestFollows() {
        lastRequired_ = SIZE_MAX;
        requiredKnown_ = true;
        matcher_.RestFollows();
    }
    // The text is a piece of one of `wholeLength` units: the matchers are chosen as they are for
    // that text. With `kept`, the automata are those kept there (made there when none are, or
    // when they were made for another program) and stay there after this searcher; `program`
    // owns the searcher's program.
    void PieceOf(size_t wholeLength, Automata* kept, const std::shared_ptr<const Program>& program);
    // Whether the backtracking matcher alone has answered the searches so far.
    bool BacktrackerAlone() const { return !pike_ && !dfas_->forward_; }
    // Whether the automaton has answered every search so far (it gave up on none).
    bool AutomatonAlone() const { return dfa_; }
    // Whether a search of the automaton's came to the text's end with a way under way that
    // would take the unit FollowedBy tells, or any unit when it tells none (the other matchers
    // do not tell).
    bool WaysAtEnd() const { return waysAtEnd_; }
    void FollowedBy(int32_t unit) { followedBy_ = unit; }
    // A match that a search found from `start` to `end`, found again with its groups.
    Status MatchAt(size_t start, size_t end, std::vector<int32_t>& spans);

    // Backtracking steps a search may spend per unit of text before the linear matcher takes
    // over, and the steps every text gets whatever its length.
    static constexpr uint64_t kStepsPerUnit = 16;
    static constexpr uint64_t kBaseSteps = 1u << 16;
    // The steps a whole run (every search of one text) may spend: the budget, and this much more
    // per unit, so that a long text of many cheap matches is not cut short while a run of many
    // costly ones ends near the budget's time however many matches it finds.
    static constexpr uint64_t kRunStepsPerUnit = 256;

    // Whether searches may go through the lazy DFA (on by default); off, they take the other
    // matchers' path, which the tests compare it with.
    // Whether the DFA may answer this program's searches (on a text long enough, while it is in
    // use): a pattern without back-references and look-aheads that has a choice to make.
    static bool MayUseDfa(const Program& program);
    static void UseDfa(bool on);
    static bool DfaInUse();
    // The DFA answers texts of at least this many units: on a shorter one, building its classes
    // and states (a few hundred microseconds for an IPv4 pattern) costs more than the other
    // matchers' whole run, and they stay linear there through the allowance.
    static constexpr size_t kDfaFromLength = 8192;
    static void DfaFromLength(size_t units);
    static size_t DfaFromLength();

private:
    static bool DfaFor(const Program& program, size_t length);
    // The groups of the match from start to end, within `budget` steps (`used`: those spent).
    Status Groups(size_t start, size_t end, uint64_t budget, std::vector<int32_t>& spans, uint64_t& used);
    // `began`: where the search that ended it began (a later one than `from` after a batch).
    Status Automaton(size_t from, std::vector<int32_t>& spans, bool withGroups, size_t many, uint64_t budget,
                     size_t& began);
    bool MayMatchFrom(size_t from);
    size_t Before();
    static size_t Room(const std::vector<int32_t>& spans, size_t many);
    void Spend(uint64_t steps) { runLeft_ -= steps < runLeft_ ? steps : runLeft_; }
    Status Linear(size_t from, bool anchored, size_t slots, uint64_t budget, std::vector<int32_t>& spans);

    const Program& prog_;
    Matcher matcher_;
    std::unique_ptr<PikeVm> pike_;  // made when first needed
    Automata own_;                  // the same
    Automata* dfas_ = &own_;        // own_, or the caller's (PieceOf)
    const Char* text_;
    size_t length_;
    uint64_t budget_;
    bool linear_;          // the linear matcher can answer this program
    bool dfa_;             // the DFA answers the searches
    uint64_t allowance_;   // backtracking steps left to the searches of this text
    uint64_t runLeft_;     // steps left to the searches of this text, whichever matcher spends them
    uint64_t runBudget_;   // what runLeft_ began with
    // one past the last place of the program's required unit (0: nowhere), once looked for
    size_t lastRequired_ = 0;
    bool requiredKnown_ = false;
    size_t exhausted_ = SIZE_MAX;  // no match starts at or after this place
    bool waysAtEnd_ = false;
    int32_t followedBy_ = -1;  // the unit after the text, where it is a piece of a longer one
};

}  // namespace rx
