#include "regexp/LazyDfa.h"

#include <algorithm>
#include <climits>
#include <map>
#include <new>

#include "regexp/CaseFold.h"
#include "regexp/UnitScan.h"

namespace rx {
namespace {

uint64_t HashWords(const int32_t* key, size_t width) {
    uint64_t h = width;
    for (size_t k = 0; k < width; ++k) h = (h ^ static_cast<uint32_t>(key[k])) * 0x9E3779B97F4A7C15ull + 0x632BE59BD9B4E019ull;
    h ^= h >> 33;
    h *= 0xFF51AFD7ED558CCDull;
    return h ^ (h >> 33);
}

using Ranges = std::vector<std::pair<uint32_t, uint32_t>>;

}  // namespace

// The keys met while one transition is built (the states visited, the ways kept): flat storage
// and a table whose entries carry a stamp, so that starting over costs nothing.
class LazyDfa::KeySet {
public:
    void Reset(size_t width) {
        width_ = width;
        pool_.clear();
        count_ = 0;
        if (table_.empty()) table_.assign(64, 0);
        if (++stamp_ == 0) {
            std::fill(table_.begin(), table_.end(), 0);
            stamp_ = 1;
        }
    }
    size_t Bytes() const { return pool_.capacity() * sizeof(int32_t) + table_.capacity() * sizeof(uint64_t); }
    // True when the key was not there yet (and now is).
    bool Insert(const int32_t* key) {
        if (2 * (count_ + 1) > table_.size()) Grow();
        const uint64_t stamp = static_cast<uint64_t>(stamp_) << 32;
        const size_t mask = table_.size() - 1;
        for (size_t i = HashWords(key, width_) & mask;; i = (i + 1) & mask) {
            const uint64_t e = table_[i];
            if ((e & ~0xFFFFFFFFull) != stamp) {
                pool_.insert(pool_.end(), key, key + width_);
                table_[i] = stamp | ++count_;
                return true;
            }
            const int32_t* other = pool_.data() + ((e & 0xFFFFFFFFull) - 1) * width_;
            if (std::equal(key, key + width_, other)) return false;
        }
    }

private:
    void Grow() {
        table_.assign(table_.size() * 2, 0);
        const uint64_t stamp = static_cast<uint64_t>(stamp_) << 32;
        const size_t mask = table_.size() - 1;
        for (size_t k = 0; k < count_; ++k) {
            size_t i = HashWords(pool_.data() + k * width_, width_) & mask;
            while ((table_[i] & ~0xFFFFFFFFull) == stamp) i = (i + 1) & mask;
            table_[i] = stamp | (k + 1);
        }
    }

    size_t width_ = 0;
    std::vector<int32_t> pool_;
    std::vector<uint64_t> table_;
    uint32_t stamp_ = 0;
    size_t count_ = 0;
};

LazyDfa::LazyDfa(const Program& program, Mode mode, const std::atomic<bool>* stop, size_t memoryCap)
    : mode_(mode), cap_(memoryCap), closure_(program),
      counters_(closure_.Counters()), visited_(std::make_unique<KeySet>()), emitted_(std::make_unique<KeySet>()),
      steps_(stop) {
    const auto& code = program.code;
    BuildClasses(program);
    // which sides the state must remember: those its anchors and boundaries tell apart, on the
    // side the automaton has read (before the place forwards, after it backwards)
    const bool forward = mode == Mode::LeftmostFirst;
    for (size_t pc = 0; pc < code.size(); pc += static_cast<size_t>(InstrSize(code.data(), pc))) {
        switch (static_cast<Op>(code[pc])) {
        case Op::LineStart: if (forward) keepEdge_ = true; break;
        case Op::LineStartM: if (forward) keepEdge_ = keepBreak_ = true; break;
        case Op::LineEnd: if (!forward) keepEdge_ = true; break;
        case Op::LineEndM: if (!forward) keepEdge_ = keepBreak_ = true; break;
        case Op::WordBoundary: case Op::NotWordBoundary: keepWord_ = true; break;
        default: break;
        }
    }
    table_.assign(64, -1);
    for (auto& s : starts_) s[0] = s[1] = -1;
    // a row's entries hold the target row shifted left by four: the cap keeps that within 31 bits
    usable_ = usable_ && cap_ < (size_t{1} << 28) && (size_t{1} << rowShift_) * sizeof(int32_t) * 16 < cap_;
}

LazyDfa::~LazyDfa() = default;

bool LazyDfa::Handles(const Program& program) { return Closure::Follows(program); }

// Units fall in the same class when every unit test of the program, the word class and the two
// line breaks say the same of them: one transition then stands for all of them. The tests' ranges
// cut the code space into intervals; intervals with the same answers are merged.
void LazyDfa::BuildClasses(const Program& program) {
    std::vector<Ranges> tests;
    auto unit = [&](uint32_t u) { tests.push_back(Ranges{{u, u}}); };
    auto folded = [&](uint16_t f) {
        Ranges r;
        ForEachUnitFoldingTo(f, [&](uint16_t u) { r.emplace_back(u, u); });
        if (r.empty()) r.emplace_back(f, f);
        tests.push_back(std::move(r));
    };
    auto set = [&](int32_t index) {
        Ranges r;
        for (auto [lo, hi] : program.sets[static_cast<size_t>(index)].Ranges()) r.emplace_back(lo, hi);
        tests.push_back(std::move(r));
    };
    auto ofKind = [&](int32_t kind, int32_t operand) {
        switch (static_cast<UnitKind>(kind)) {
        case UnitKind::Char: unit(static_cast<uint16_t>(operand)); break;
        case UnitKind::CharFold: folded(static_cast<uint16_t>(operand)); break;
        case UnitKind::Set: set(operand); break;
        case UnitKind::Any: break;  // line feed is a class of its own anyway
        }
    };
    const auto& code = program.code;
    for (size_t pc = 0; pc < code.size(); pc += static_cast<size_t>(InstrSize(code.data(), pc))) {
        const int32_t* arg = code.data() + pc + 1;
        switch (static_cast<Op>(code[pc])) {
        case Op::Char: unit(static_cast<uint16_t>(arg[0])); break;
        case Op::CharFold: folded(static_cast<uint16_t>(arg[0])); break;
        case Op::String:
            for (int32_t k = 0; k < arg[0]; ++k) unit(static_cast<uint16_t>(arg[1 + k]));
            break;
        case Op::StringFold:
            for (int32_t k = 0; k < arg[0]; ++k) folded(static_cast<uint16_t>(arg[1 + k]));
            break;
        case Op::Set: set(arg[0]); break;
        case Op::Star: case Op::StarLazy: case Op::StarAtomic: ofKind(arg[0], arg[1]); break;
        default: break;
        }
    }
    const CharSet wordSet = CharSet::Word();
    {
        Ranges word;
        for (auto [lo, hi] : wordSet.Ranges()) word.emplace_back(lo, hi);
        tests.push_back(std::move(word));
    }
    unit('\r');
    unit('\n');

    std::vector<uint32_t> cuts{0, 0x10000};
    for (const Ranges& t : tests)
        for (auto [lo, hi] : t) {
            cuts.push_back(lo);
            cuts.push_back(hi + 1);
        }
    std::sort(cuts.begin(), cuts.end());
    cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());
    const size_t intervals = cuts.size() - 1, words = (tests.size() + 63) / 64;
    std::vector<uint64_t> answers(intervals * words, 0);
    for (size_t t = 0; t < tests.size(); ++t)
        for (auto [lo, hi] : tests[t])
            for (auto i = static_cast<size_t>(std::lower_bound(cuts.begin(), cuts.end(), lo) - cuts.begin());
                 i < intervals && cuts[i] <= hi; ++i)
                answers[i * words + t / 64] |= uint64_t{1} << (t % 64);
    std::map<std::vector<uint64_t>, uint32_t> seen;
    classOf_.assign(0x10000, 0);
    for (size_t i = 0; i < intervals; ++i) {
        std::vector<uint64_t> key(answers.begin() + static_cast<ptrdiff_t>(i * words),
                                  answers.begin() + static_cast<ptrdiff_t>((i + 1) * words));
        auto [it, fresh] = seen.emplace(std::move(key), static_cast<uint32_t>(represent_.size()));
        if (fresh) {
            represent_.push_back(static_cast<uint16_t>(cuts[i]));
            classRanges_.emplace_back();
        }
        classRanges_[it->second].emplace_back(static_cast<uint16_t>(cuts[i]), static_cast<uint16_t>(cuts[i + 1] - 1));
        std::fill(classOf_.begin() + cuts[i], classOf_.begin() + cuts[i + 1], static_cast<uint16_t>(it->second));
    }
    classes_ = static_cast<uint32_t>(represent_.size());
    if (classes_ > 0xFFFF) usable_ = false;  // (cannot happen: the edge's class number must fit too)
    stride_ = classes_ + 1;
    while ((size_t{1} << rowShift_) < stride_) ++rowShift_;
    sideOf_.resize(stride_);
    for (uint32_t c = 0; c < classes_; ++c) {
        sideOf_[c] = static_cast<uint8_t>(SideOfUnit(represent_[c]));
    }
    sideOf_[classes_] = Edge;
}

Side LazyDfa::SideOf(const Char* text, size_t length, size_t pos, bool before) const {
    if (before ? pos == 0 : pos >= length) return Edge;
    return static_cast<Side>(sideOf_[classOf_[static_cast<uint16_t>(text[before ? pos - 1 : pos])]]);
}

void LazyDfa::Flush() {
    keys_.clear();
    hashes_.clear();
    stays_.clear();
    trans_.clear();
    std::fill(table_.begin(), table_.end(), -1);
    bytes_ = 0;
    for (auto& s : starts_) s[0] = s[1] = -1;
    leadCount_ = 0;
    ++totalFlushes_;
}

size_t LazyDfa::StateCost(size_t keyWords) const {
    return keyWords * sizeof(int32_t) + (size_t{1} << rowShift_) * sizeof(int32_t) + 3 * sizeof(void*) +
           2 * sizeof(uint64_t) + sizeof(StayRanges);
}

// The cache of the one automaton holds at most the bytes of the states of all, and the bare ones
// (no way under way, or one at the program's start); its table of state numbers doubles once it
// is half full, so it never has more than 64 entries or four per state, and a state is made
// without emptying the cache while those and the table stay within the cap.
bool LazyDfa::HoldTogether(const LazyDfa* const* automata, size_t count, size_t bare) {
    if (count == 0) return true;
    const LazyDfa& first = *automata[0];
    // (a bare state's key: its side and new starts, and a way at the program's start at most)
    size_t states = bare, bytes = bare * first.StateCost(4 + first.counters_);
    for (size_t i = 0; i < count; ++i) {
        const LazyDfa& a = *automata[i];
        if (a.totalFlushes_ > 0 || !a.usable_) return false;
        states += a.keys_.size();
        bytes += a.bytes_;
    }
    const size_t table = std::max<size_t>(64, 4 * states) * sizeof(int32_t);
    return bytes <= first.cap_ && table <= first.cap_ - bytes;
}

// The state of `key`, made when new. Making one past the cap empties the cache first (`flushed`:
// every state number held before is void).
int32_t LazyDfa::Intern(const std::vector<int32_t>& key, bool& flushed) {
    const uint64_t hash = HashWords(key.data(), key.size());
    size_t mask = table_.size() - 1;
    for (size_t i = hash & mask; table_[i] >= 0; i = (i + 1) & mask) {
        const auto id = static_cast<size_t>(table_[i]);
        if (hashes_[id] == hash && keys_[id] == key) return table_[i];
    }
    const size_t cost = StateCost(key.size());
    if (bytes_ + cost + table_.size() * sizeof(int32_t) > cap_) {
        if (++flushes_ > kMaxFlushes || 2 * cost > cap_) throw GiveUp{};
        Flush();
        flushed = true;
    }
    steps_.Charge(static_cast<int64_t>(stride_ / 16));  // the new row
    const auto id = static_cast<int32_t>(keys_.size());
    keys_.push_back(key);
    hashes_.push_back(hash);
    stays_.emplace_back();
    trans_.resize(trans_.size() + (size_t{1} << rowShift_), -1);
    bytes_ += cost;
    if (2 * keys_.size() > table_.size()) {
        table_.assign(table_.size() * 2, -1);
        mask = table_.size() - 1;
        for (size_t k = 0; k < keys_.size(); ++k) {
            size_t i = hashes_[k] & mask;
            while (table_[i] >= 0) i = (i + 1) & mask;
            table_[i] = static_cast<int32_t>(k);
        }
        return id;
    }
    size_t i = hash & mask;
    while (table_[i] >= 0) i = (i + 1) & mask;
    table_[i] = id;
    return id;
}

// A state with no ways under way yet: the search's start, or where every way has died. With
// `withStartThread`, one way waits at the program's start (an anchored search).
int32_t LazyDfa::StartState(Side before, bool newStarts, bool withStartThread) {
    before = Kept(before);
    int32_t& cached = starts_[before][newStarts ? 1 : 0];
    if (!withStartThread && cached >= 0) return cached;
    std::vector<int32_t> key{before, newStarts ? 1 : 0};
    if (withStartThread) {
        key.push_back(0);
        key.push_back(0);
        key.insert(key.end(), counters_, 0);
    }
    bool flushed = false;
    const int32_t id = Intern(key, flushed);
    if (!withStartThread) starts_[before][newStarts ? 1 : 0] = id;
    return id;
}

// The closure walk of one transition: the ways that take the unit join the target state; the end
// of the pattern is a match, which cuts the ways after it when leftmost-first.
class LazyDfa::Ways {
public:
    Ways(LazyDfa& dfa, Side before, Side after) : dfa_(dfa), before_(before), after_(after) {}
    void Step() { dfa_.steps_.Step(); }
    bool Visit(int32_t pc, int32_t count) { return dfa_.Visit(pc, count); }
    bool Match() {
        if (!dfa_.matched_) dfa_.matchedAtFloor_ = dfa_.tag_ != 0;
        dfa_.matched_ = true;
        return dfa_.mode_ == Mode::LeftmostFirst;
    }
    void Take(int32_t pc, int32_t count) { dfa_.Emit(pc, count); }
    bool Holds(Op assertion) const { return AssertionHolds(assertion, before_, after_); }
    // the groups are the other matchers' to find
    void Save(int32_t) {}
    void ResetGroups(int32_t, int32_t) {}

private:
    LazyDfa& dfa_;
    Side before_, after_;
};

// The transition of `state` on a unit of class `cls` (or, for the last class, on the text's
// edge): every way follows what consumes nothing, with the anchors and word boundaries settled
// between the unit before and this one, then takes this unit. Returns the entry for the table.
// The key of the state that `state` goes to on a unit of class `cls`, in next_ (and whether a
// way ended the pattern before the unit, in matched_ and matchedAtFloor_); the cache is not
// touched.
void LazyDfa::Target(int32_t state, uint32_t cls) {
    scratch_ = keys_[static_cast<size_t>(state)];  // a copy: making the target may empty the cache
    const auto side = static_cast<Side>(scratch_[0]);
    const bool newStarts = scratch_[1] != 0;
    const auto unitSide = static_cast<Side>(sideOf_[cls]);
    const int32_t unit = cls < classes_ ? represent_[cls] : -1;
    const bool forward = mode_ == Mode::LeftmostFirst;
    const Side before = forward ? side : unitSide, after = forward ? unitSide : side;
    closure_.ClearMarks();
    visited_->Reset(2 + counters_ + closure_.MarkWords());
    emitted_->Reset(2 + counters_);
    next_.assign({Kept(unitSide), 0});
    matched_ = matchedAtFloor_ = false;
    const size_t width = 2 + counters_;
    std::vector<int32_t>& regs = closure_.Regs();
    Ways ways(*this, before, after);
    for (size_t k = 2; k + width <= scratch_.size(); k += width) {
        std::copy_n(scratch_.begin() + static_cast<ptrdiff_t>(k + 2), counters_, regs.begin());
        tag_ = scratch_[k] & kFloorTag;
        if (closure_.Walk(ways, scratch_[k] & kPcMask, scratch_[k + 1], unit) && forward) break;
    }
    if (newStarts && !matched_) {
        // a new start, after every way begun earlier; the floor's own when no way is under way
        std::fill(regs.begin(), regs.end(), 0);
        tag_ = forward && scratch_.size() == 2 ? kFloorTag : 0;
        closure_.Walk(ways, 0, 0, unit);
    }
    next_[1] = newStarts && !matched_ ? 1 : 0;
}

int32_t LazyDfa::Transition(int32_t state, uint32_t cls) {
    Target(state, cls);
    bool flushed = false;
    const int32_t target = Intern(next_, flushed);
    const int32_t entry = (target << rowShift_) << kEntryShift | (matched_ ? kMatchBit : 0) |
                          (next_.size() == 2 ? kSpecialBit : 0) | (matchedAtFloor_ ? kFloorBit : 0) |
                          (next_.size() == 2 && next_[1] == 0 ? kDeadBit : 0);
    if (!flushed) trans_[(static_cast<size_t>(state) << rowShift_) + cls] = entry;
    return entry;
}

bool LazyDfa::Visit(int32_t pc, int32_t count) {
    probe_.clear();
    probe_.push_back(pc);
    probe_.push_back(count);
    const std::vector<int32_t>& regs = closure_.Regs();
    probe_.insert(probe_.end(), regs.begin(), regs.end());
    for (uint32_t w : closure_.Marks()) probe_.push_back(static_cast<int32_t>(w));
    if (!visited_->Insert(probe_.data())) return false;
    // the ways of one transition may be many (a counted loop of empty iterations): they count
    // against the cache's memory too
    if (visited_->Bytes() > cap_) throw GiveUp{};
    return true;
}

// The way at the consuming instruction pc (count units into it) takes the unit: where it goes
// next joins the target state, unless an earlier way already went there.
void LazyDfa::Emit(int32_t pc, int32_t count) {
    int32_t next = pc, nextCount = 0;
    if (!closure_.After(pc, count, next, nextCount)) return;
    // (a way met again from a later start is the same way: the mark is not part of the key)
    probe_.clear();
    probe_.push_back(next);
    probe_.push_back(nextCount);
    const std::vector<int32_t>& regs = closure_.Regs();
    probe_.insert(probe_.end(), regs.begin(), regs.end());
    if (!emitted_->Insert(probe_.data())) return;
    probe_[0] |= tag_;
    next_.insert(next_.end(), probe_.begin(), probe_.end());
}

// Where the units every candidate begins with take the start state at `row` (kNoLead where they
// end its ways or make a match on the way), found once per start state.
size_t LazyDfa::AfterLead(size_t row, std::basic_string_view<uint16_t> lead) {
    for (int k = 0; k < leadCount_; ++k)
        if (leads_[k].from == row) return leads_[k].to;
    const size_t flushes = totalFlushes_;
    size_t to = row;
    for (const uint16_t unit : lead) {
        const uint32_t cls = classOf_[unit];
        int32_t e = trans_[to + cls];
        if (e < 0) e = Transition(static_cast<int32_t>(to >> rowShift_), cls);
        if (e & (kMatchBit | kSpecialBit)) {
            to = kNoLead;
            break;
        }
        to = static_cast<size_t>(e >> kEntryShift);
    }
    // (a walk that emptied the cache is not kept: `row` no longer names that start)
    if (flushes == totalFlushes_ && leadCount_ < 4) leads_[leadCount_++] = Lead{row, to};
    return to;
}

// A state that reads a unit and stays as it is (a loop's body, `.*`, `[^>]*`): the units after it
// are read while they keep it there, each look-up's address known without waiting for the last
// one's result. Counts a step a unit, within what the current grant has left.
size_t LazyDfa::Stay(const Char* text, size_t pos, size_t end, size_t row, int32_t self) {
    const size_t room = steps_.left > 0 ? static_cast<size_t>(steps_.left) : 0;
    const size_t limit = pos + std::min(end - pos, room);
    const int32_t* r = trans_.data() + row;
    const uint16_t* classOf = classOf_.data();
    // (many stays end at once: a tag's name of two letters, a word of one)
    if (pos >= limit || r[classOf[static_cast<uint16_t>(text[pos])]] != self) return pos;
    StayRanges& stay = stays_[row >> rowShift_];
    // and most of the others soon, a tag's attribute, a label of a host name: those are read
    // through the table, the vector scan kept for a state whose stays have been going on longer
    size_t p = pos + 1;
    if (!stay.longRuns) {
        const size_t quick = pos + std::min<size_t>(limit - pos, kTableStay);
        while (p < quick && r[classOf[static_cast<uint16_t>(text[p])]] == self) ++p;
        if (p < quick || p == limit) {
            steps_.left -= static_cast<int64_t>(p - pos);
            return p;
        }
    }
    if (stay.count == kRangesUnknown) FindStayRanges(stay, row, self);
    if (stay.count >= 0) {
        // the units that keep the state make a few ranges: a vector scan over them
        p = stay.stops ? FindAnyOf(text, p, limit, stay.stop, stay.stops)
                       : SkipLaneRanges(text, p, limit, stay.lanes, static_cast<size_t>(stay.count));
        stay.longRuns = p - pos > kTableStay;
        steps_.left -= static_cast<int64_t>(p - pos);
        return p;
    }
    while (p < limit && r[classOf[static_cast<uint16_t>(text[p])]] == self) ++p;
    steps_.left -= static_cast<int64_t>(p - pos);
    return p;
}

// The units that keep the state at `row` as it is, as ranges, when they make few. A class the
// state has not met yet is asked of the state's ways without building its target (which might
// empty the cache under the scan's feet): a state inside `.*` on CR LF lines meets CR each time
// and LF never, and would otherwise never be known whole.
void LazyDfa::FindStayRanges(StayRanges& stay, size_t row, int32_t self) {
    if (classes_ > kMaxRangeClasses) {
        stay.count = kNoRanges;
        return;
    }
    const auto state = static_cast<int32_t>(row >> rowShift_);
    std::vector<std::pair<uint16_t, uint16_t>> in;
    for (uint32_t c = 0; c < classes_; ++c) {
        const int32_t e = trans_[row + c];
        bool stays = e == self;
        if (e < 0) {
            Target(state, c);
            stays = matched_ == ((self & kMatchBit) != 0) && matchedAtFloor_ == ((self & kFloorBit) != 0) &&
                    next_ == keys_[static_cast<size_t>(state)];
        }
        if (stays) in.insert(in.end(), classRanges_[c].begin(), classRanges_[c].end());
    }
    std::sort(in.begin(), in.end());
    std::vector<std::pair<uint32_t, uint32_t>> merged;
    for (size_t i = 0; i < in.size();) {
        uint32_t hi = in[i].second;
        size_t j = i + 1;
        while (j < in.size() && in[j].first <= hi + 1) hi = std::max<uint32_t>(hi, in[j++].second);
        merged.emplace_back(in[i].first, hi);
        i = j;
    }
    // the units outside, when they are few: the stay ends at the first of them
    std::vector<uint16_t> out;
    uint32_t next = 0;
    merged.emplace_back(0x10000, 0x10000);
    for (const auto& [lo, hi] : merged) {
        for (; next < lo && out.size() <= kMaxStops; ++next) out.push_back(static_cast<uint16_t>(next));
        next = hi + 1;
    }
    merged.pop_back();
    if (!out.empty() && out.size() <= kMaxStops) {
        stay.stops = static_cast<int32_t>(out.size());
        std::copy(out.begin(), out.end(), stay.stop);
        stay.count = 0;
        return;
    }
    if (merged.size() > kMaxLaneRanges) {
        stay.count = kNoRanges;
        return;
    }
    for (size_t k = 0; k < merged.size(); ++k)
        PutLaneRange(stay.lanes, k, static_cast<uint16_t>(merged[k].first), static_cast<uint16_t>(merged[k].second));
    stay.count = static_cast<int32_t>(merged.size());
}

size_t LazyDfa::StayBack(const Char* text, size_t pos, size_t limit, size_t row, int32_t self) {
    const size_t room = steps_.left > 0 ? static_cast<size_t>(steps_.left) : 0;
    const size_t stop = pos - std::min(pos - limit, room);
    const int32_t* r = trans_.data() + row;
    const uint16_t* classOf = classOf_.data();
    size_t p = pos;
    while (p > stop && r[classOf[static_cast<uint16_t>(text[p - 1])]] == self) --p;
    steps_.left -= static_cast<int64_t>(pos - p);
    return p;
}

// A search's frame: its budget, and the ways it may end early.
template <class Scan>
Status LazyDfa::Run(Scan scan) {
    flushes_ = 0;
    if (!steps_.Begin(budget_)) return steps_.Ended();
    if (!usable_) return Status::OutOfMemory;
    try {
        return scan();
    } catch (const StepCounter::Out&) {
        return steps_.Ended();
    } catch (const GiveUp&) {
        return Status::OutOfMemory;
    } catch (const std::bad_alloc&) {
        Flush();
        return Status::OutOfMemory;
    }
}

Status LazyDfa::Forward(const Char* text, size_t length, size_t from, const Matcher* starts, size_t& end, size_t& floor,
                        bool& atFloor, Batch* batch) {
    if (batch) batch->from = from;
    waysAtEnd_ = false;
    return Run([&] { return ScanForward(text, length, from, starts, end, floor, atFloor, batch); });
}

bool LazyDfa::TakesFirst(Char unit) {
    const uint64_t budget = budget_;
    budget_ = UINT64_MAX;
    bool takes = true;  // (what cannot be shown is taken as taken)
    Run([&] {
        bool any = false;
        for (const Side before : {Edge, WordUnit, Break, Other}) {
            const int32_t start = StartState(before, true, false);
            const int32_t e = Transition(start, classOf_[static_cast<uint16_t>(unit)]);
            any = any || (e & kSpecialBit) == 0;
        }
        takes = any;
        return Status::NoMatch;
    });
    budget_ = budget;
    return takes;
}

Status LazyDfa::Backward(const Char* text, size_t length, size_t end, size_t limit, size_t& start) {
    return Run([&] { return ScanBackward(text, length, end, limit, start); });
}

// (Inlined into Run's frame, the scan keeps its text, length and last end in registers.)
RX_ALWAYS_INLINE Status LazyDfa::ScanForward(const Char* text, size_t length, size_t from, const Matcher* starts, size_t& end,
                            size_t& floor, bool& atFloor, Batch* batch) {
    const std::basic_string_view<uint16_t> lead = starts ? starts->CandidateLead() : std::basic_string_view<uint16_t>();
    size_t pos = from;
    auto startRow = [&] { return static_cast<size_t>(StartState(SideOf(text, length, pos, true), true, false)) << rowShift_; };
    for (;;) {
        size_t lastEnd = SIZE_MAX;
        atFloor = false;
        size_t row = SIZE_MAX;  // the start state at pos, once the first start is known
        bool idle = true;  // no way under way: the next start may be further on
        floor = pos;
        for (;;) {
            if (idle) {
                if (starts) {
                    const size_t p = starts->NextStart(pos);
                    if (p > length) break;
                    if (p != pos || row == SIZE_MAX) {
                        pos = p;
                        row = startRow();
                    }
                } else if (row == SIZE_MAX) {
                    row = startRow();
                }
                floor = pos;
                idle = false;
                if (!lead.empty() && lead.size() <= length - pos) {
                    // (row is a start state here: the units every candidate begins with lead it
                    // to the same place each time)
                    const size_t flushes = totalFlushes_;
                    const size_t to = AfterLead(row, lead);
                    if (to != kNoLead) {
                        row = to;
                        pos += lead.size();
                        steps_.Charge(static_cast<int64_t>(lead.size()));
                    } else if (flushes != totalFlushes_) {
                        row = startRow();
                    }
                }
            }
            bool special = false, dead = false;
            while (pos < length) {
                const uint32_t cls = classOf_[static_cast<uint16_t>(text[pos])];
                const size_t was = row;
                int32_t e = trans_[row + cls];
                if (e < 0) e = Transition(static_cast<int32_t>(row >> rowShift_), cls);
                if (e & kMatchBit) {
                    if (lastEnd == SIZE_MAX) atFloor = (e & kFloorBit) != 0;
                    lastEnd = pos;
                }
                row = static_cast<size_t>(e >> kEntryShift);
                ++pos;
                steps_.Step();
                if (e & kSpecialBit) {
                    special = true;
                    dead = (e & kDeadBit) != 0;
                    break;
                }
                if (row == was) {
                    // a state that stays as it is, a match at each unit or none
                    const size_t p = Stay(text, pos, length, row, e);
                    if (p != pos && (e & kMatchBit)) lastEnd = p - 1;
                    pos = p;
                }
            }
            if (special) {
                if (dead) break;  // no ways and no new start to come
                idle = true;
                continue;
            }
            // a way under way here would have read on, were there more text; with the unit that
            // follows known, one that takes it (the transition the longer text takes here)
            const bool ways = keys_[row >> rowShift_].size() > 2;
            const size_t flushes = totalFlushes_;
            int32_t e = trans_[row + classes_];
            if (e < 0) e = Transition(static_cast<int32_t>(row >> rowShift_), classes_);
            if (e & kMatchBit) {
                if (lastEnd == SIZE_MAX) atFloor = (e & kFloorBit) != 0;
                lastEnd = length;
            }
            if (ways) {
                // (an emptied cache has lost the state: taken as taking it)
                if (followedBy_ < 0 || flushes != totalFlushes_) {
                    waysAtEnd_ = true;
                } else {
                    const uint32_t cls = classOf_[static_cast<uint16_t>(followedBy_)];
                    int32_t next = trans_[row + cls];
                    if (next < 0) next = Transition(static_cast<int32_t>(row >> rowShift_), cls);
                    if ((next & kSpecialBit) == 0) waysAtEnd_ = true;
                }
            }
            break;
        }
        if (lastEnd == SIZE_MAX) return Status::NoMatch;
        end = lastEnd;
        if (!batch || !atFloor || !batch->Next(floor, end, steps_.Spent(), length)) return Status::Match;
        // the next search, from where this match ends
        pos = batch->from;
        flushes_ = 0;
        if (!steps_.Begin(batch->Budget())) return steps_.Ended();
    }
}

RX_ALWAYS_INLINE Status LazyDfa::ScanBackward(const Char* text, size_t length, size_t end, size_t limit, size_t& start) {
    size_t best = SIZE_MAX;
    size_t pos = end;
    size_t row = static_cast<size_t>(StartState(SideOf(text, length, pos, false), false, true)) << rowShift_;
    bool dead = false;
    while (pos > limit) {
        const uint32_t cls = classOf_[static_cast<uint16_t>(text[pos - 1])];
        const size_t was = row;
        int32_t e = trans_[row + cls];
        if (e < 0) e = Transition(static_cast<int32_t>(row >> rowShift_), cls);
        if (e & kMatchBit) best = pos;
        row = static_cast<size_t>(e >> kEntryShift);
        --pos;
        steps_.Step();
        if (e & kSpecialBit) {
            dead = true;
            break;
        }
        if (row == was) {
            const size_t p = StayBack(text, pos, limit, row, e);
            if (p != pos && (e & kMatchBit)) best = p + 1;
            pos = p;
        }
    }
    if (!dead) {
        // at the limit: whether the reversed pattern may end here, the unit before it seen; the
        // state that unit would lead to is not made (the scan goes no further), so that a text
        // read in pieces builds no state there that the whole text would not
        const uint32_t cls = limit == 0 ? classes_ : classOf_[static_cast<uint16_t>(text[limit - 1])];
        const int32_t e = trans_[row + cls];
        bool matched;
        if (e >= 0) {
            matched = (e & kMatchBit) != 0;
        } else {
            Target(static_cast<int32_t>(row >> rowShift_), cls);
            matched = matched_;
        }
        if (matched) best = limit;
    }
    if (best == SIZE_MAX) return Status::NoMatch;
    start = best;
    return Status::Match;
}

}  // namespace rx
