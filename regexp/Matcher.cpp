#include "regexp/Matcher.h"

#include <algorithm>
#include <climits>
#include <new>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "regexp/CaseFold.h"
#include "regexp/UnitScan.h"

namespace rx {
namespace {

bool IsWordUnit(uint16_t c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

bool IsLineBreak(uint16_t c) { return c == '\n' || c == '\r'; }

}  // namespace

Matcher::Matcher(const Program& program, const Char* text, size_t length, uint64_t stepBudget,
                 const std::atomic<bool>* stop)
    : prog_(program), code_(program.code.data()), text_(text), length_(length), budget_(stepBudget), stop_(stop),
      // a bound on the backtrack stack that 32-bit address space can still afford
      maxFrames_(sizeof(void*) == 4 ? (size_t{8} << 20) : (size_t{64} << 20)),
      slots_(2 * (program.groupCount + 1), -1), registers_(program.registerCount, 0),
      pivotBefore_(program.start.pivot.unit >= 0 ? program.start.pivot.before.get() : nullptr) {
    stack_.reserve(256);
    onlyFirstUnit_ = static_cast<uint16_t>(program.start.onlyFirstUnit);
    lead_ = FindLead();
    // the filter's unit lists, each spread over eight lanes (unused entries repeat the first)
    const StartInfo::Filter& f = program.start.filter;
    for (int k = 0; k < 4; ++k) {
        for (int lane = 0; lane < 8; ++lane) {
            firstLanes_[k * 8 + lane] = f.firstList[k < f.firstCount ? k : 0];
            firstLanes_[(4 + k) * 8 + lane] = f.secondList[k < f.secondCount ? k : 0];
        }
    }
}

bool Matcher::AnchorAllows(size_t pos) const {
    switch (prog_.start.anchor) {
    case StartInfo::Anchor::InputStart: return pos == 0;
    case StartInfo::Anchor::LineStart: return pos == 0 || IsLineBreak(At(pos - 1));
    default: return false;
    }
}

// The filter's tests past the first unit (which the caller has checked) for a start at p, with
// p + filter length <= length_.
bool Matcher::FilterPasses(size_t p) const {
    const StartInfo::Filter& f = prog_.start.filter;
    for (size_t k = 1; k < f.length; ++k)
        if (!f.units[k][At(p + k)]) return false;
    for (const auto& [b, a] : f.same)
        if (At(p + b) != At(p + a)) return false;
    for (const auto& [at, boundary] : f.edges) {
        const size_t q = p + at;
        if ((IsWordAt(q) != (q > 0 && IsWordUnit(At(q - 1)))) != boundary) return false;
    }
    return true;
}

// The next position at or after `from` where a match could start, or length_ + 1: where both
// the pivot and the filters on the first units allow it, each asked from where the other one
// points until they agree.
size_t Matcher::NextCandidate(size_t from) const {
    if (!pivotBefore_) return FilteredCandidate(from);
    for (size_t p = from;;) {
        p = PivotCandidate(p);
        if (p > length_) return p;
        const size_t q = FilteredCandidate(p);
        if (q == p || q > length_) return q;
        p = q;
    }
}

// The first start at or after `from` in the run of StartInfo::Pivot::before units that ends at
// a place of the pivot (or at that place, when a match may begin with it), or length_ + 1.
size_t Matcher::PivotCandidate(size_t from) const {
    if (from >= pivotRun_ && from < pivotEnd_) return from;
    const StartInfo::Pivot& pivot = prog_.start.pivot;
    const size_t lead = pivot.mayLead ? 1 : 0;
    const auto& before = *pivotBefore_;
    for (size_t p = from;;) {
        if (p >= pivotNone_ || p >= length_) return PivotTail(p);
        const size_t at = pivot.literal.size() == 1
                              ? FindUnit(text_, p, length_, pivot.literal[0])
                              : std::min(FindLiteral(text_, p, length_, pivot.literal.data(), pivot.literal.size()), length_);
        if (at == length_) {
            pivotNone_ = p;
            return PivotTail(p);
        }
        size_t run = at;
        while (run > p && before[At(run - 1)]) --run;
        if (run < at + lead) {
            pivotRun_ = run;
            pivotEnd_ = at + lead;
            return run;
        }
        p = at + 1;
    }
}

// Under RestFollows, with no place of the pivot from `from` on: the starts of the run of units
// allowed before it that reaches the piece's end, or a place from which the pivot's first units
// do (the rest of the pivot may follow the end).
size_t Matcher::PivotTail(size_t from) const {
    if (!restFollows_) return length_ + 1;
    const StartInfo::Pivot& pivot = prog_.start.pivot;
    const auto& before = *pivotBefore_;
    size_t tail = length_;
    for (size_t j = 0; j < pivot.literal.size() && j <= length_; ++j) {
        size_t run = length_ - j;
        while (run > 0 && before[At(run - 1)]) --run;
        tail = std::min(tail, run);
    }
    return Tail(tail, from);
}

// The same, after the anchors and the filters on the first units alone.
size_t Matcher::FilteredCandidate(size_t from) const {
    const StartInfo& s = prog_.start;
    size_t p = from;
    if (!s.prefix.empty()) {
        const size_t q = FindLiteral(text_, p, length_, s.prefix.data(), s.prefix.size());
        return q <= length_ ? q : Tail(length_ - std::min(length_, s.prefix.size() - 1), from);
    }
    if (s.anchor == StartInfo::Anchor::None && s.filter.length) {
        const StartInfo::Filter& f = s.filter;
        // candidates lie before end; under RestFollows, also after it where the first unit may
        // begin a match
        const size_t end = length_ >= f.length ? length_ - f.length + 1 : 0;
        const auto tail = [&] {
            for (size_t q = Tail(end, from); q < length_; q = Tail(q + 1, from))
                if (f.units[0][At(q)]) return q;
            return length_ + 1;
        };
        if (length_ < f.length) return tail();
        const auto& first = f.units[0];
#ifdef __SSE2__
        if (f.firstCount && f.secondCount) {
            // eight starts at a time: the first unit one of a few and the second one of a few
            // (loaded unaligned: a 32-bit Windows stack is not always 16-byte aligned)
            __m128i lists[8];
            for (int k = 0; k < 8; ++k) lists[k] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(firstLanes_ + 8 * k));
            for (; p + 8 <= end; p += 8) {
                const __m128i v0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text_ + p));
                const __m128i v1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text_ + p + 1));
                __m128i h0 = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi16(v0, lists[0]), _mm_cmpeq_epi16(v0, lists[1])),
                                          _mm_or_si128(_mm_cmpeq_epi16(v0, lists[2]), _mm_cmpeq_epi16(v0, lists[3])));
                __m128i h1 = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi16(v1, lists[4]), _mm_cmpeq_epi16(v1, lists[5])),
                                          _mm_or_si128(_mm_cmpeq_epi16(v1, lists[6]), _mm_cmpeq_epi16(v1, lists[7])));
                auto mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_and_si128(h0, h1)));
                while (mask) {
                    const size_t q = p + (static_cast<size_t>(__builtin_ctz(mask)) >> 1);
                    if (FilterPasses(q)) return q;
                    mask &= mask - 1;  // each lane sets two bits
                    mask &= mask - 1;
                }
            }
        } else if (!f.same.empty()) {
            // eight starts at a time: the two units a back-reference ties together are equal
            const size_t a = f.same[0].second, b = f.same[0].first;
            for (; p + 8 <= end; p += 8) {
                const __m128i va = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text_ + p + a));
                const __m128i vb = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text_ + p + b));
                auto mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi16(va, vb)));
                while (mask) {
                    const size_t q = p + (static_cast<size_t>(__builtin_ctz(mask)) >> 1);
                    if (first[At(q)] && FilterPasses(q)) return q;
                    mask &= mask - 1;
                    mask &= mask - 1;
                }
            }
        }
#endif
        for (;; ++p) {
            if (f.firstCount) p = FindAnyOf(text_, p, end, f.firstList, f.firstCount);
            else while (p < end && !first[At(p)]) ++p;
            if (p >= end) return tail();
            if (f.firstOnly || FilterPasses(p)) return p;
        }
    }
    if (s.filtered) {
        const auto& bits = *s.firstUnits;
        if (s.anchor == StartInfo::Anchor::None) {
            if (s.onlyFirstUnit >= 0) p = FindUnit(text_, p, length_, static_cast<uint16_t>(s.onlyFirstUnit));
            else while (p < length_ && !bits[At(p)]) ++p;
            return p < length_ ? p : length_ + 1;
        }
        while (p <= length_ && !(p < length_ && bits[At(p)]) && !AnchorAllows(p)) ++p;
        return p;
    }
    if (s.anchor == StartInfo::Anchor::InputStart) return p == 0 ? 0 : length_ + 1;  // (no place after it to look at)
    if (s.anchor != StartInfo::Anchor::None) {
        while (p <= length_ && !AnchorAllows(p)) ++p;
    }
    return p;
}

// The countdown of the current grant has run out (left < 0, what it overdrew included): the
// search ends at its budget or at the caller's request, or goes on with a new grant.
bool Matcher::Renew(int64_t& left) {
    const int64_t remaining = budgetLeft_ + left;
    if (remaining < 0) return false;
    if (stop_ && stop_->load(std::memory_order_relaxed)) {
        stopped_ = true;
        return false;
    }
    left = std::min(remaining, StopPollSteps);
    budgetLeft_ = remaining - left;
    return true;
}

size_t Matcher::NextStart(size_t from) const { return NextCandidate(from); }

bool Batch::Next(size_t start, size_t end, uint64_t steps, size_t length) {
    const size_t next = end + (end == start ? 1 : 0);
    const uint64_t used = spent + steps;
    if (next > length || next >= before || spans->size() + 2 > room || runLeft - std::min(runLeft, used) < runNeed ||
        used >= allowance)
        return false;
    spans->push_back(static_cast<int32_t>(start));
    spans->push_back(static_cast<int32_t>(end));
    spent = used;
    from = next;
    return true;
}

// FilteredCandidate has the last word on every candidate: it returns a place of the prefix, or
// one whose unit the filter's first list holds, or of the only first unit.
std::basic_string_view<uint16_t> Matcher::FindLead() const {
    const StartInfo& s = prog_.start;
    if (!s.prefix.empty()) return s.prefix;
    if (s.anchor != StartInfo::Anchor::None) return {};
    if (s.filter.length) return {s.filter.firstList, s.filter.firstCount == 1 ? size_t{1} : size_t{0}};
    if (s.filtered && s.onlyFirstUnit >= 0) return {&onlyFirstUnit_, 1};
    return {};
}

Status Matcher::Search(size_t from, std::vector<int32_t>& spans, Batch* batch) {
    if (batch) batch->from = from;
    stopped_ = false;
    auto begin = [&] {
        const int64_t budget = static_cast<int64_t>(std::min<uint64_t>(budget_, INT64_MAX));
        left_ = std::min(budget, StopPollSteps);
        budgetLeft_ = budget - left_;
        return !(stop_ && stop_->load(std::memory_order_relaxed));
    };
    if (!begin()) return Status::Stopped;
    // positions are kept in 32 bits, as the platform's indexes are
    if (length_ > static_cast<size_t>(INT32_MAX) - 1) return Status::OutOfMemory;
    try {
        for (size_t p = NextCandidate(from); p <= length_;) {
            Status st = Attempt(p);
            if (st == Status::Match && batch &&
                batch->Next(static_cast<size_t>(slots_[0]), static_cast<size_t>(slots_[1]), Steps(), length_)) {
                // the next search, from where this match ends
                budget_ = batch->Budget();
                if (!begin()) return Status::Stopped;
                p = NextCandidate(batch->from);
                continue;
            }
            if (st == Status::Match) {
                // (no groups, the common case: two plain appends rather than a range insert)
                if (slots_.size() == 2) {
                    spans.push_back(slots_[0]);
                    spans.push_back(slots_[1]);
                } else {
                    spans.insert(spans.end(), slots_.begin(), slots_.end());
                }
                return st;
            }
            if (st != Status::NoMatch) return st;
            if (--left_ < 0 && !Renew(left_)) return Ended();
            p = NextCandidate(std::max(p + 1, skipTo_));
        }
    } catch (const std::bad_alloc&) {
        stack_.clear();
        return Status::OutOfMemory;
    }
    return Status::NoMatch;
}

bool Matcher::UnitMatches(UnitKind kind, int32_t operand, uint16_t unit) const {
    switch (kind) {
    case UnitKind::Char: return unit == static_cast<uint16_t>(operand);
    case UnitKind::CharFold: return FoldCase(unit) == static_cast<uint16_t>(operand);
    case UnitKind::Set: return prog_.sets[static_cast<size_t>(operand)].Contains(unit);
    case UnitKind::Any: return unit != '\n';
    }
    return false;
}

// How many units from pos on (at most limit) the single-unit loop takes: the tight loops.
size_t Matcher::Scan(UnitKind kind, int32_t operand, size_t pos, size_t limit) const {
    size_t k = 0;
    switch (kind) {
    case UnitKind::Char: {
        const auto c = static_cast<uint16_t>(operand);
        while (k < limit && At(pos + k) == c) ++k;
        break;
    }
    case UnitKind::CharFold: {
        const auto c = static_cast<uint16_t>(operand);
        while (k < limit && FoldCase(At(pos + k)) == c) ++k;
        break;
    }
    case UnitKind::Set: {
        const std::vector<uint16_t>& lanes = prog_.setLanes[static_cast<size_t>(operand)];
        if (!lanes.empty()) return SkipLaneRanges(text_, pos, pos + limit, lanes.data(), lanes.size() / 16) - pos;
        const CharSet& set = prog_.sets[static_cast<size_t>(operand)];
        while (k < limit && set.Contains(At(pos + k))) ++k;
        break;
    }
    case UnitKind::Any:
        while (k < limit && At(pos + k) != '\n') ++k;
        break;
    }
    return k;
}

// The unit the code at pc needs at the position it starts at, looking through group marks and
// into a look-ahead's body; -1 when it needs no single known unit.
int32_t Matcher::RequiredUnit(size_t pc) const {
    for (;;) {
        switch (static_cast<Op>(code_[pc])) {
        case Op::Save: pc += 2; continue;
        case Op::LookAhead: pc += 2; continue;
        case Op::Char: return static_cast<uint16_t>(code_[pc + 1]);
        case Op::String: return static_cast<uint16_t>(code_[pc + 2]);
        default: return -1;
        }
    }
}

// False when the instruction at pc needs a literal unit that the text at pos does not have.
bool Matcher::MayStartWith(size_t pc, size_t pos) const {
    switch (static_cast<Op>(code_[pc])) {
    case Op::Char: return pos < length_ && At(pos) == static_cast<uint16_t>(code_[pc + 1]);
    case Op::String: return pos < length_ && At(pos) == static_cast<uint16_t>(code_[pc + 2]);
    default: return true;
    }
}

bool Matcher::IsWordAt(size_t pos) const { return pos < length_ && IsWordUnit(At(pos)); }

// A positive look-ahead's body matched: its choice points go (it is atomic), its undo records
// stay so that backtracking past it still restores the groups it set. The records kept stay
// where they are, headed by the former mark as a LookDone record that tells where they end, so
// an enclosing look-ahead steps over them at once instead of looking at each again: closing
// nested look-aheads costs what their bodies pushed, not that times the depth. Returns how many
// records it looked at, for the step budget.
size_t Matcher::CloseLookAhead() {
    const size_t m = static_cast<size_t>(markTop_);
    markTop_ = stack_[m].a;
    size_t w = m + 1, i = m + 1, looked = 0;
    while (i < stack_.size()) {
        ++looked;
        const Frame f = stack_[i];
        if (f.kind == LookDone) {
            // an inner look-ahead's records: left in place; the gap before them becomes inert
            for (; w < i; ++w) stack_[w].kind = Inert;
            i = w = static_cast<size_t>(f.a);
            continue;
        }
        if (f.kind == UndoSlot || f.kind == UndoRegister) stack_[w++] = f;
        ++i;
    }
    stack_.resize(w);
    if (w == m + 1) {
        stack_.pop_back();  // nothing kept: the mark goes too
    } else {
        stack_[m].kind = LookDone;
        stack_[m].a = static_cast<int32_t>(w);
    }
    return looked;
}

// A negative look-ahead's body matched: undo everything back to its mark and drop the mark.
void Matcher::AbandonLookAhead() {
    size_t m = static_cast<size_t>(markTop_);
    while (stack_.size() > m + 1) {
        const Frame& f = stack_.back();
        if (f.kind == UndoSlot) slots_[static_cast<size_t>(f.pc)] = f.a;
        else if (f.kind == UndoRegister) registers_[static_cast<size_t>(f.pc)] = f.a;
        stack_.pop_back();
    }
    markTop_ = stack_.back().a;
    stack_.pop_back();
}

Status Matcher::Attempt(size_t start) {
    // the match's own end is written at Match; only groups need clearing, charged below as a
    // step per eight groups (about what clearing them costs against a step), so a pattern of
    // thousands of groups cannot retry at every unit outside the budget
    slots_[0] = static_cast<int32_t>(start);
    if (slots_.size() > 2) std::fill(slots_.begin() + 2, slots_.end(), -1);
    skipTo_ = 0;
    stack_.clear();
    markTop_ = -1;
    // the grant counts down in a register; what is left goes back to left_ on every way out
    int64_t left = left_;
    struct WriteBack {
        int64_t& kept;
        const int64_t& left;
        ~WriteBack() { kept = left; }
    } writeBack{left_, left};
    left -= static_cast<int64_t>(slots_.size() / 16);
    size_t pc = 0;
    size_t pos = start;
    const int32_t* code = code_;

    for (;;) {
        if (--left < 0 && !Renew(left)) return Ended();
        const int32_t* arg = code + pc + 1;
        switch (static_cast<Op>(code[pc])) {
        case Op::Match:
            slots_[1] = static_cast<int32_t>(pos);
            return Status::Match;
        case Op::Char:
            if (pos < length_ && At(pos) == static_cast<uint16_t>(arg[0])) { ++pos; pc += 2; continue; }
            goto fail;
        case Op::CharFold:
            if (pos < length_ && FoldCase(At(pos)) == static_cast<uint16_t>(arg[0])) { ++pos; pc += 2; continue; }
            goto fail;
        case Op::String: {
            const size_t n = static_cast<size_t>(arg[0]);
            if (length_ - pos < n) goto fail;
            for (size_t k = 0; k < n; ++k)
                if (At(pos + k) != static_cast<uint16_t>(arg[1 + k])) goto fail;
            pos += n;
            pc += 2 + n;
            continue;
        }
        case Op::StringFold: {
            const size_t n = static_cast<size_t>(arg[0]);
            if (length_ - pos < n) goto fail;
            for (size_t k = 0; k < n; ++k)
                if (FoldCase(At(pos + k)) != static_cast<uint16_t>(arg[1 + k])) goto fail;
            pos += n;
            pc += 2 + n;
            continue;
        }
        case Op::Any:
            if (pos < length_ && At(pos) != '\n') { ++pos; pc += 1; continue; }
            goto fail;
        case Op::Set:
            if (pos < length_ && prog_.sets[static_cast<size_t>(arg[0])].Contains(At(pos))) { ++pos; pc += 2; continue; }
            goto fail;
        case Op::LineStart:
            if (pos == 0) { pc += 1; continue; }
            goto fail;
        case Op::LineStartM:
            if (pos == 0 || IsLineBreak(At(pos - 1))) { pc += 1; continue; }
            goto fail;
        case Op::LineEnd:
            if (pos == length_) { pc += 1; continue; }
            goto fail;
        case Op::LineEndM:
            if (pos == length_ || IsLineBreak(At(pos))) { pc += 1; continue; }
            goto fail;
        case Op::WordBoundary:
        case Op::NotWordBoundary: {
            bool edge = IsWordAt(pos) != (pos > 0 && IsWordUnit(At(pos - 1)));
            if (edge == (static_cast<Op>(code[pc]) == Op::WordBoundary)) { pc += 1; continue; }
            goto fail;
        }
        case Op::Jump:
            pc = static_cast<size_t>(arg[0]);
            continue;
        case Op::Split: {
            // an alternative that begins with a unit other than the one here fails at once:
            // neither go there nor keep a record of it (lazy|greedy|capture tries one of three)
            const auto alt = static_cast<size_t>(arg[0]);
            if (!MayStartWith(pc + 2, pos)) { pc = alt; continue; }
            if (MayStartWith(alt, pos) && !Push(Frame{Branch, arg[0], static_cast<int32_t>(pos), 0}))
                return Status::OutOfMemory;
            pc += 2;
            continue;
        }
        case Op::SplitLazy:
            if (!Push(Frame{Branch, static_cast<int32_t>(pc + 2), static_cast<int32_t>(pos), 0})) return Status::OutOfMemory;
            pc = static_cast<size_t>(arg[0]);
            continue;
        case Op::Save:
            SetSlot(arg[0], static_cast<int32_t>(pos));
            pc += 2;
            continue;
        case Op::ResetGroups:
            for (int32_t s = arg[0]; s < arg[1]; ++s) SetSlot(s, -1);
            left -= static_cast<int64_t>(static_cast<uint64_t>(arg[1] - arg[0]) / 2);
            pc += 3;
            continue;
        case Op::SetMark:
            SetRegister(arg[0], static_cast<int32_t>(pos));
            pc += 2;
            continue;
        case Op::CheckProgress:
            // an optional iteration that matched nothing ends the loop as a failure
            if (static_cast<int32_t>(pos) == registers_[static_cast<size_t>(arg[0])]) goto fail;
            pc += 2;
            continue;
        case Op::CounterInit:
            SetRegister(arg[0], 0);
            pc += 2;
            continue;
        case Op::Loop: {
            const auto count = static_cast<uint32_t>(registers_[static_cast<size_t>(arg[0])]);
            const auto min = static_cast<uint32_t>(arg[1]), max = static_cast<uint32_t>(arg[2]);
            const auto exit = static_cast<size_t>(arg[4]);
            if (count < min) {
                pc += 6;
            } else if (count >= max) {
                pc = exit;
            } else if (arg[3]) {
                if (!Push(Frame{Branch, static_cast<int32_t>(exit), static_cast<int32_t>(pos), 0})) return Status::OutOfMemory;
                pc += 6;
            } else {
                if (!Push(Frame{Branch, static_cast<int32_t>(pc + 6), static_cast<int32_t>(pos), 0})) return Status::OutOfMemory;
                pc = exit;
            }
            continue;
        }
        case Op::CounterNext: {
            const int32_t count = registers_[static_cast<size_t>(arg[0])];
            if (arg[1] >= 0 && static_cast<uint32_t>(count) >= static_cast<uint32_t>(arg[2]) &&
                static_cast<int32_t>(pos) == registers_[static_cast<size_t>(arg[1])])
                goto fail;
            // past its minimum an unbounded loop needs no count, and an unchanged register
            // costs no undo record: long loops then keep one frame per iteration
            if (static_cast<uint32_t>(arg[3]) != kInfinite || static_cast<uint32_t>(count) < static_cast<uint32_t>(arg[2]))
                SetRegister(arg[0], count + 1);
            pc += 5;
            continue;
        }
        case Op::BackRef:
        case Op::BackRefFold: {
            const int32_t s = slots_[2 * static_cast<size_t>(arg[0])];
            const int32_t e = slots_[2 * static_cast<size_t>(arg[0]) + 1];
            if (s >= 0 && e >= s) {
                const size_t n = static_cast<size_t>(e - s);
                if (length_ - pos < n) goto fail;
                const bool fold = static_cast<Op>(code[pc]) == Op::BackRefFold;
                for (size_t k = 0; k < n; ++k) {
                    uint16_t a = At(static_cast<size_t>(s) + k), b = At(pos + k);
                    if (a != b && !(fold && FoldCase(a) == FoldCase(b))) goto fail;
                }
                pos += n;
                left -= static_cast<int64_t>(n);
            }
            pc += 2;
            continue;
        }
        case Op::LookAhead:
        case Op::NegLookAhead: {
            const int32_t kind = static_cast<Op>(code[pc]) == Op::LookAhead ? LookMark : NegLookMark;
            if (!Push(Frame{kind, arg[0], static_cast<int32_t>(pos), markTop_})) return Status::OutOfMemory;
            markTop_ = static_cast<int32_t>(stack_.size() - 1);
            pc += 2;
            continue;
        }
        case Op::LookEnd:
            pos = static_cast<size_t>(stack_[static_cast<size_t>(markTop_)].pos);
            left -= static_cast<int64_t>(CloseLookAhead());
            pc += 1;
            continue;
        case Op::NegLookEnd:
            AbandonLookAhead();
            goto fail;
        case Op::Star: {
            const auto kind = static_cast<UnitKind>(arg[0]);
            const auto min = static_cast<uint32_t>(arg[2]), max = static_cast<uint32_t>(arg[3]);
            const size_t limit = std::min<size_t>(max, length_ - pos);
            const size_t count = Scan(kind, arg[1], pos, limit);
            left -= static_cast<int64_t>(count);
            if (static_cast<int32_t>(pc) == prog_.start.skipLoop && count < max) NoteSkip(pos + count);
            if (count < min) goto fail;
            if (count > min &&
                !Push(Frame{StarGreedy, static_cast<int32_t>(pc + 5), static_cast<int32_t>(pos + count),
                            static_cast<int32_t>(pos + min)}))
                return Status::OutOfMemory;
            pos += count;
            pc += 5;
            continue;
        }
        case Op::StarAtomic: {
            const auto min = static_cast<uint32_t>(arg[2]), max = static_cast<uint32_t>(arg[3]);
            const size_t count = Scan(static_cast<UnitKind>(arg[0]), arg[1], pos, std::min<size_t>(max, length_ - pos));
            left -= static_cast<int64_t>(count);
            if (static_cast<int32_t>(pc) == prog_.start.skipLoop && count < max) NoteSkip(pos + count);
            if (count < min) goto fail;
            pos += count;
            pc += 5;
            continue;
        }
        case Op::StarLazy: {
            const auto kind = static_cast<UnitKind>(arg[0]);
            const auto min = static_cast<uint32_t>(arg[2]), max = static_cast<uint32_t>(arg[3]);
            if (length_ - pos < min || Scan(kind, arg[1], pos, min) < min) goto fail;
            left -= static_cast<int64_t>(min);
            pos += min;
            if (min < max && !Push(Frame{StarLazy, static_cast<int32_t>(pc), static_cast<int32_t>(pos),
                                         static_cast<int32_t>(min)}))
                return Status::OutOfMemory;
            pc += 5;
            continue;
        }
        }

    fail:
        for (;;) {
            if (stack_.empty()) return Status::NoMatch;
            if (--left < 0 && !Renew(left)) return Ended();
            Frame& f = stack_.back();
            switch (f.kind) {
            case Branch:
                pc = static_cast<size_t>(f.pc);
                pos = static_cast<size_t>(f.pos);
                stack_.pop_back();
                break;
            case UndoSlot:
                slots_[static_cast<size_t>(f.pc)] = f.a;
                stack_.pop_back();
                continue;
            case UndoRegister:
                registers_[static_cast<size_t>(f.pc)] = f.a;
                stack_.pop_back();
                continue;
            case LookDone:
            case Inert:
                stack_.pop_back();
                continue;
            case LookMark:  // the body of a positive look-ahead failed
                markTop_ = f.a;
                stack_.pop_back();
                continue;
            case NegLookMark:  // the body of a negative look-ahead failed: the assertion holds
                markTop_ = f.a;
                pc = static_cast<size_t>(f.pc);
                pos = static_cast<size_t>(f.pos);
                stack_.pop_back();
                break;
            case StarGreedy: {
                // give back one unit; when a literal follows, straight to where it could match
                size_t p = static_cast<size_t>(f.pos) - 1;
                const size_t floor = static_cast<size_t>(f.a);
                const int32_t need = RequiredUnit(static_cast<size_t>(f.pc));
                if (need >= 0) {
                    const auto c = static_cast<uint16_t>(need);
                    while (p > floor && At(p) != c) --p;
                    left -= static_cast<int64_t>(static_cast<size_t>(f.pos) - 1 - p);
                }
                pc = static_cast<size_t>(f.pc);
                pos = p;
                if (p == floor) stack_.pop_back();
                else f.pos = static_cast<int32_t>(p);
                break;
            }
            case StarLazy: {
                // take one more unit, if the loop may and the unit fits
                const int32_t* la = code + f.pc + 1;
                const auto p = static_cast<size_t>(f.pos);
                if (static_cast<uint32_t>(f.a) < static_cast<uint32_t>(la[3]) && p < length_ &&
                    UnitMatches(static_cast<UnitKind>(la[0]), la[1], At(p))) {
                    f.pos = static_cast<int32_t>(p + 1);
                    ++f.a;
                    pos = p + 1;
                    pc = static_cast<size_t>(f.pc) + 5;
                    break;
                }
                stack_.pop_back();
                continue;
            }
            }
            break;
        }
    }
}

}  // namespace rx
