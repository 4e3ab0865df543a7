#include <algorithm>
#include <new>
#include <optional>
#include <set>
#include <tuple>

#include "base/Error.h"
#include "regexp/CaseFold.h"
#include "regexp/Program.h"

namespace rx {
namespace {

using Ranges = std::vector<std::pair<uint16_t, uint16_t>>;

// The lanes of the vector scans for a set of a few ranges; none for more.
std::vector<uint16_t> Lanes(const Ranges& ranges) {
    std::vector<uint16_t> lanes;
    if (ranges.size() > Program::kLaneRanges) return lanes;
    lanes.resize(16 * ranges.size());
    for (size_t k = 0; k < ranges.size(); ++k) PutLaneRange(lanes.data(), k, ranges[k].first, ranges[k].second);
    return lanes;
}

// Emits code for the tree with an explicit work list: each task is a node and how far its code
// has got, so nesting depth costs heap, not stack.
class Compiler {
public:
    Compiler(Ast&& ast, bool ignoreCase, bool multiline, bool backwards)
        : ast_(std::move(ast)), ignoreCase_(ignoreCase), multiline_(multiline), backwards_(backwards),
          prog_(std::make_unique<Program>()) {}

    std::unique_ptr<Program> Run() {
        prog_->groupCount = ast_.groupCount;
        if (backwards_) {
            for (Node& n : ast_.nodes)
                if (n.kind == NodeKind::Concat) std::reverse(n.kids.begin(), n.kids.end());
        }
        ComputeNullable();
        // the whole match's start and end are set by the matcher itself (at the attempt's start
        // and at Match), which spares every attempt two instructions
        EmitTree(ast_.root);
        Emit(Op::Match);
        if (backwards_) return std::move(prog_);
        MakeStarsAtomic();
        AnalyseStart();
        AnalyseFilter();
        AnalyseSkip();
        FindRequiredUnit();
        FindPivot();
        for (const CharSet& set : prog_->sets) prog_->setLanes.push_back(Lanes(set.Ranges()));
        return std::move(prog_);
    }

private:
    struct Task {
        int32_t node;
        uint32_t step = 0;
        int32_t a = 0;         // a code position the task patches or jumps back to
        int32_t b = 0;         // a second one
        int32_t counter = -1;  // Repeat: its counter register
        int32_t mark = -1;     // Repeat: its empty-iteration mark register
    };

    // Children always stand before their parents in the arena, so one forward pass will do.
    void ComputeNullable() {
        nullable_.assign(ast_.nodes.size(), false);
        for (size_t i = 0; i < ast_.nodes.size(); ++i) {
            const Node& n = ast_.nodes[i];
            bool v = false;
            switch (n.kind) {
            case NodeKind::Char: case NodeKind::Set: case NodeKind::Any: v = false; break;
            case NodeKind::Group: v = nullable_[n.kids[0]]; break;
            case NodeKind::Repeat: v = n.min == 0 || nullable_[n.kids[0]]; break;
            case NodeKind::Concat:
                v = true;
                for (int32_t k : n.kids) v = v && nullable_[k];
                break;
            case NodeKind::Alternation:
                for (int32_t k : n.kids) v = v || nullable_[k];
                break;
            default: v = true; break;  // assertions, look-aheads, back-references, empty
            }
            nullable_[i] = v;
        }
    }

    int32_t Here() const { return static_cast<int32_t>(prog_->code.size()); }

    template <typename... Operands>
    int32_t Emit(Op op, Operands... operands) {
        int32_t at = Here();
        if (prog_->code.size() > 0x3FFFFFFF) throw base::Error(base::err::OutOfMemory, L"Out of memory");
        prog_->code.push_back(static_cast<int32_t>(op));
        (prog_->code.push_back(static_cast<int32_t>(operands)), ...);
        return at;
    }

    void Patch(int32_t at, int32_t value) { prog_->code[static_cast<size_t>(at)] = value; }

    int32_t NewRegister() { return static_cast<int32_t>(prog_->registerCount++); }

    int32_t AddSet(const Node& n) {
        CharSet set = ast_.sets[n.value];
        if (ignoreCase_) set.CloseOverCase();
        if (n.negate) set.Negate();
        prog_->sets.push_back(std::move(set));
        return static_cast<int32_t>(prog_->sets.size() - 1);
    }

    bool IsSingleUnit(const Node& n) const {
        return n.kind == NodeKind::Char || n.kind == NodeKind::Set || n.kind == NodeKind::Any;
    }

    void EmitUnit(const Node& n) {
        switch (n.kind) {
        case NodeKind::Char:
            if (ignoreCase_) Emit(Op::CharFold, FoldCase(static_cast<uint16_t>(n.value)));
            else Emit(Op::Char, n.value);
            break;
        case NodeKind::Set: Emit(Op::Set, AddSet(n)); break;
        default: Emit(Op::Any); break;
        }
    }

    void EmitStar(const Node& rep, const Node& unit) {
        UnitKind kind = UnitKind::Any;
        int32_t operand = 0;
        if (unit.kind == NodeKind::Char) {
            kind = ignoreCase_ ? UnitKind::CharFold : UnitKind::Char;
            operand = ignoreCase_ ? FoldCase(static_cast<uint16_t>(unit.value)) : static_cast<int32_t>(unit.value);
        } else if (unit.kind == NodeKind::Set) {
            kind = UnitKind::Set;
            operand = AddSet(unit);
        }
        Emit(rep.greedy ? Op::Star : Op::StarLazy, static_cast<int32_t>(kind), operand,
             static_cast<int32_t>(rep.min), static_cast<int32_t>(rep.max));
    }

    // A run of plain characters in a sequence becomes one String instruction.
    size_t EmitCharRun(const Node& concat, size_t from) {
        size_t end = from;
        while (end < concat.kids.size() && ast_.nodes[concat.kids[end]].kind == NodeKind::Char) ++end;
        if (end - from < 2) return from;
        Emit(ignoreCase_ ? Op::StringFold : Op::String, static_cast<int32_t>(end - from));
        for (size_t k = from; k < end; ++k) {
            auto c = static_cast<uint16_t>(ast_.nodes[concat.kids[k]].value);
            prog_->code.push_back(ignoreCase_ ? FoldCase(c) : c);
        }
        return end;
    }

    void EmitTree(int32_t root) {
        std::vector<Task> work;
        work.push_back(Task{root});
        while (!work.empty()) {
            Task& t = work.back();
            const Node& n = ast_.nodes[t.node];
            int32_t next = -1;
            bool done = false;
            switch (n.kind) {
            case NodeKind::Empty: done = true; break;
            case NodeKind::Char: case NodeKind::Set: case NodeKind::Any: EmitUnit(n); done = true; break;
            case NodeKind::LineStart: Emit(multiline_ ? Op::LineStartM : Op::LineStart); done = true; break;
            case NodeKind::LineEnd: Emit(multiline_ ? Op::LineEndM : Op::LineEnd); done = true; break;
            case NodeKind::WordBoundary: Emit(Op::WordBoundary); done = true; break;
            case NodeKind::NotWordBoundary: Emit(Op::NotWordBoundary); done = true; break;
            case NodeKind::BackRef:
                Emit(ignoreCase_ ? Op::BackRefFold : Op::BackRef, n.value);
                done = true;
                break;
            case NodeKind::Concat:
                if (t.step < n.kids.size()) {
                    size_t after = EmitCharRun(n, t.step);
                    if (after != t.step) {
                        t.step = static_cast<uint32_t>(after);
                    } else {
                        next = n.kids[t.step++];
                    }
                } else {
                    done = true;
                }
                break;
            case NodeKind::Alternation: next = StepAlternation(t, n, done); break;
            case NodeKind::Group:
                if (t.step++ == 0) {
                    Emit(Op::Save, 2 * n.value);
                    next = n.kids[0];
                } else {
                    Emit(Op::Save, 2 * n.value + 1);
                    done = true;
                }
                break;
            case NodeKind::LookAhead:
                if (t.step++ == 0) {
                    t.a = Emit(n.negate ? Op::NegLookAhead : Op::LookAhead, 0);
                    next = n.kids[0];
                } else {
                    Emit(n.negate ? Op::NegLookEnd : Op::LookEnd);
                    Patch(t.a + 1, Here());
                    done = true;
                }
                break;
            case NodeKind::Repeat: next = StepRepeat(t, n, done); break;
            }
            if (done) {
                work.pop_back();
            } else if (next >= 0) {
                work.push_back(Task{next});
            }
        }
    }

    // alt1|alt2|alt3:  Split L2; alt1; Jump End; L2: Split L3; alt2; Jump End; L3: alt3; End:
    // The pending Jumps are chained through their own operand until the end is known.
    int32_t StepAlternation(Task& t, const Node& n, bool& done) {
        size_t i = t.step / 2;
        bool before = t.step % 2 == 0;
        size_t last = n.kids.size() - 1;
        ++t.step;
        if (before) {
            if (i < last) t.b = Emit(Op::Split, 0);
            return n.kids[i];
        }
        if (i < last) {
            int32_t jump = Emit(Op::Jump, t.a ? t.a : -1);
            t.a = jump + 1;  // chain: the operand holds the previous pending operand's position
            Patch(t.b + 1, Here());
            return -1;
        }
        for (int32_t at = t.a; at > 0;) {
            int32_t prev = prog_->code[static_cast<size_t>(at)];
            Patch(at, Here());
            at = prev;
        }
        done = true;
        return -1;
    }

    int32_t StepRepeat(Task& t, const Node& n, bool& done) {
        const Node& atom = ast_.nodes[n.kids[0]];
        if (n.max == 0) {
            done = true;
            return -1;
        }
        if (IsSingleUnit(atom)) {
            if (n.min == 1 && n.max == 1) EmitUnit(atom);
            else EmitStar(n, atom);
            done = true;
            return -1;
        }
        bool mayBeEmpty = nullable_[n.kids[0]];
        bool counted = !(n.min == 0 && (n.max == 1 || n.max == kInfinite));
        if (t.step++ == 0) {
            if (counted) {
                t.counter = NewRegister();
                Emit(Op::CounterInit, t.counter);
                t.a = Emit(Op::Loop, t.counter, static_cast<int32_t>(n.min), static_cast<int32_t>(n.max),
                           n.greedy ? 1 : 0, 0);
                t.b = t.a + 5;
            } else {
                t.a = Emit(n.greedy ? Op::Split : Op::SplitLazy, 0);
                t.b = t.a + 1;
            }
            if (n.capFirst < n.capEnd)
                Emit(Op::ResetGroups, static_cast<int32_t>(2 * n.capFirst), static_cast<int32_t>(2 * n.capEnd));
            if (mayBeEmpty) {
                t.mark = NewRegister();
                Emit(Op::SetMark, t.mark);
            }
            return n.kids[0];
        }
        if (counted) {
            Emit(Op::CounterNext, t.counter, t.mark, static_cast<int32_t>(n.min), static_cast<int32_t>(n.max));
            Emit(Op::Jump, t.a);
        } else {
            if (t.mark >= 0) Emit(Op::CheckProgress, t.mark);
            if (n.max == kInfinite) Emit(Op::Jump, t.a);
        }
        Patch(t.b, Here());
        done = true;
        return -1;
    }

    // A greedy single-unit loop gives back units only for the sake of what follows it. When
    // nothing that follows could start with one of its units (\w+@, [^>]*>), giving back can
    // never help, and the loop keeps no backtrack record at all.
    void MakeStarsAtomic() {
        auto& code = prog_->code;
        for (size_t pc = 0; pc < code.size(); pc += static_cast<size_t>(InstrSize(code.data(), pc))) {
            if (static_cast<Op>(code[pc]) != Op::Star) continue;
            auto kind = static_cast<UnitKind>(code[pc + 1]);
            if (FollowersAvoid(static_cast<int32_t>(pc) + 5, kind, code[pc + 2]))
                code[pc] = static_cast<int32_t>(Op::StarAtomic);
        }
    }

    // True when every way on from `from` consumes, as its first unit, one the loop cannot take,
    // or ends the match; false where it cannot tell (an assertion looks at the units around).
    bool FollowersAvoid(int32_t from, UnitKind kind, int32_t operand) {
        const auto& code = prog_->code;
        std::vector<int32_t> todo{from};
        std::vector<int32_t> seen;
        while (!todo.empty()) {
            int32_t pc = todo.back();
            todo.pop_back();
            if (std::find(seen.begin(), seen.end(), pc) != seen.end()) continue;
            if (seen.size() >= 64) return false;  // too far to look: keep the loop as it is
            seen.push_back(pc);
            auto op = static_cast<Op>(code[static_cast<size_t>(pc)]);
            const int32_t* arg = code.data() + static_cast<size_t>(pc) + 1;
            int32_t after = pc + InstrSize(code.data(), static_cast<size_t>(pc));
            switch (op) {
            case Op::Match: case Op::LookEnd: case Op::NegLookEnd: break;
            case Op::Char: if (Overlap(kind, operand, UnitKind::Char, arg[0])) return false; break;
            case Op::CharFold: if (Overlap(kind, operand, UnitKind::CharFold, arg[0])) return false; break;
            case Op::String: if (Overlap(kind, operand, UnitKind::Char, arg[1])) return false; break;
            case Op::StringFold: if (Overlap(kind, operand, UnitKind::CharFold, arg[1])) return false; break;
            case Op::Any: if (Overlap(kind, operand, UnitKind::Any, 0)) return false; break;
            case Op::Set: if (Overlap(kind, operand, UnitKind::Set, arg[0])) return false; break;
            case Op::Star: case Op::StarLazy: case Op::StarAtomic:
                if (Overlap(kind, operand, static_cast<UnitKind>(arg[0]), arg[1])) return false;
                if (arg[2] == 0) todo.push_back(after);
                break;
            case Op::Jump: todo.push_back(arg[0]); break;
            case Op::Split: case Op::SplitLazy: todo.push_back(after); todo.push_back(arg[0]); break;
            case Op::Loop: todo.push_back(after); todo.push_back(arg[4]); break;
            case Op::Save: case Op::ResetGroups: case Op::SetMark: case Op::CheckProgress:
            case Op::CounterInit: case Op::CounterNext:
                todo.push_back(after);
                break;
            default: return false;  // anchors, word boundaries, look-aheads, back-references
            }
        }
        return true;
    }

    bool Overlap(UnitKind ka, int32_t a, UnitKind kb, int32_t b) const {
        if (kb == UnitKind::Any || ka == UnitKind::Any) {
            UnitKind other = ka == UnitKind::Any ? kb : ka;
            int32_t v = ka == UnitKind::Any ? b : a;
            return !(other == UnitKind::Char && v == '\n');
        }
        if (ka == UnitKind::Set && kb == UnitKind::Set) {
            const auto& x = prog_->sets[static_cast<size_t>(a)].Ranges();
            const auto& y = prog_->sets[static_cast<size_t>(b)].Ranges();
            for (size_t i = 0, j = 0; i < x.size() && j < y.size();) {
                if (x[i].second < y[j].first) ++i;
                else if (y[j].second < x[i].first) ++j;
                else return true;
            }
            return false;
        }
        if (ka == UnitKind::Set || kb == UnitKind::Set) {
            const CharSet& set = prog_->sets[static_cast<size_t>(ka == UnitKind::Set ? a : b)];
            int32_t v = ka == UnitKind::Set ? b : a;
            // a folded unit stands for its whole case class, which an IgnoreCase set holds whole
            return set.Contains(static_cast<uint16_t>(v));
        }
        if (ka == kb) return a == b;
        // one plain unit, one folded
        int32_t plain = ka == UnitKind::Char ? a : b, folded = ka == UnitKind::Char ? b : a;
        return FoldCase(static_cast<uint16_t>(plain)) == static_cast<uint16_t>(folded);
    }

    // Explores the code from its start, without consuming input, to learn where a match can
    // start: which units can come first, and whether every path is anchored to a line start.
    void AnalyseStart() {
        const auto& code = prog_->code;
        auto first = std::make_unique<std::bitset<0x10000>>();
        std::vector<bool> seen(code.size(), false);
        std::vector<int32_t> todo{0};
        bool nullable = false, inputAnchored = false, lineAnchored = false, anyUnits = false;
        while (!todo.empty() && !nullable) {
            int32_t pc = todo.back();
            todo.pop_back();
            if (seen[static_cast<size_t>(pc)]) continue;
            seen[static_cast<size_t>(pc)] = true;
            auto op = static_cast<Op>(code[static_cast<size_t>(pc)]);
            const int32_t* arg = code.data() + static_cast<size_t>(pc) + 1;
            int32_t after = pc + OpSize(op);
            switch (op) {
            case Op::Match: case Op::BackRef: case Op::BackRefFold: nullable = true; break;
            case Op::Char: first->set(static_cast<uint16_t>(arg[0])); anyUnits = true; break;
            case Op::String: first->set(static_cast<uint16_t>(arg[1])); anyUnits = true; break;
            case Op::CharFold: AddFolded(*first, static_cast<uint16_t>(arg[0])); anyUnits = true; break;
            case Op::StringFold: AddFolded(*first, static_cast<uint16_t>(arg[1])); anyUnits = true; break;
            case Op::Any: AddUnits(*first, UnitKind::Any, 0); anyUnits = true; break;
            case Op::Set: AddUnits(*first, UnitKind::Set, arg[0]); anyUnits = true; break;
            case Op::Star: case Op::StarLazy: case Op::StarAtomic:
                AddUnits(*first, static_cast<UnitKind>(arg[0]), arg[1]);
                anyUnits = true;
                if (arg[2] == 0) todo.push_back(after);
                break;
            case Op::LineStart: inputAnchored = true; break;
            case Op::LineStartM: lineAnchored = true; break;
            case Op::Jump: todo.push_back(arg[0]); break;
            case Op::Split: case Op::SplitLazy: todo.push_back(after); todo.push_back(arg[0]); break;
            case Op::Loop: todo.push_back(after); todo.push_back(arg[4]); break;
            case Op::LookAhead: case Op::NegLookAhead: todo.push_back(arg[0]); break;
            default: todo.push_back(after); break;  // bookkeeping and zero-width assertions
            }
        }
        StartInfo& s = prog_->start;
        if (nullable) return;
        s.anchor = lineAnchored ? StartInfo::Anchor::LineStart
                 : inputAnchored ? StartInfo::Anchor::InputStart
                                 : StartInfo::Anchor::None;
        s.filtered = anyUnits;
        if (anyUnits && first->count() == 1) s.onlyFirstUnit = static_cast<int32_t>(first->_Find_first());
        if (anyUnits) s.firstUnits = std::move(first);
        if (s.anchor == StartInfo::Anchor::None) FindPrefix();
    }

    void AddFolded(std::bitset<0x10000>& bits, uint16_t folded) {
        ForEachUnitFoldingTo(folded, [&](uint16_t u) { bits.set(u); });
    }

    // Wide ranges ([^a], a negated class closed over case) go in a word at a time, so the cost
    // of a step does not grow with the size of its class.
    static void AddRange(std::bitset<0x10000>& bits, uint32_t lo, uint32_t hi) {
        if (hi - lo < 512) {
            for (uint32_t u = lo; u <= hi; ++u) bits.set(u);
            return;
        }
        std::bitset<0x10000> span;
        span.set();
        span >>= 0xFFFF - (hi - lo);
        span <<= lo;
        bits |= span;
    }

    void AddUnits(std::bitset<0x10000>& bits, UnitKind kind, int32_t operand) {
        switch (kind) {
        case UnitKind::Char: bits.set(static_cast<uint16_t>(operand)); break;
        case UnitKind::CharFold: AddFolded(bits, static_cast<uint16_t>(operand)); break;
        case UnitKind::Any:
            AddRange(bits, 0, '\n' - 1);
            AddRange(bits, '\n' + 1, 0xFFFF);
            break;
        case UnitKind::Set:
            for (auto [lo, hi] : prog_->sets[static_cast<size_t>(operand)].Ranges()) AddRange(bits, lo, hi);
            break;
        }
    }

    // The literal that every match starts with: the plain characters met before any choice.
    void FindPrefix() {
        const auto& code = prog_->code;
        auto& prefix = prog_->start.prefix;
        size_t pc = 0;
        while (pc < code.size()) {
            auto op = static_cast<Op>(code[pc]);
            if (op == Op::Save) {
                pc += 2;
            } else if (op == Op::Char) {
                prefix.push_back(static_cast<uint16_t>(code[pc + 1]));
                pc += 2;
            } else if (op == Op::String) {
                size_t n = static_cast<size_t>(code[pc + 1]);
                for (size_t k = 0; k < n; ++k) prefix.push_back(static_cast<uint16_t>(code[pc + 2 + k]));
                pc += 2 + n;
            } else {
                break;
            }
        }
    }

    // The filter on a match's first units (StartInfo::Filter). First the straight stretch of code
    // from the start, where every match passes each instruction at a known offset: there a group
    // of one unit followed by a back-reference to it gives "the unit at b equals the unit at a",
    // and \b, \B give a word-boundary test. From the first choice on, every path is followed
    // (instruction, offset) by (instruction, offset) up to kFilterUnits units, gathering which
    // units each offset may hold; a path that may end the match, or that reaches what the walk
    // cannot follow (a back-reference of unknown length), limits how many offsets count.
    static constexpr size_t kFilterUnits = 4;

    void AnalyseFilter() {
        const auto& code = prog_->code;
        StartInfo::Filter f;
        std::vector<std::bitset<0x10000>> units(kFilterUnits);
        std::vector<int32_t> opened(prog_->groupCount + 1, -1), single(prog_->groupCount + 1, -1);
        size_t minLength = kFilterUnits;
        size_t pc = 0, off = 0;
        bool straight = true;
        while (straight && off < kFilterUnits) {
            auto op = static_cast<Op>(code[pc]);
            const int32_t* arg = code.data() + pc + 1;
            switch (op) {
            case Op::Save: {
                const auto g = static_cast<size_t>(arg[0] / 2);
                if (arg[0] % 2 == 0) opened[g] = static_cast<int32_t>(off);
                else if (opened[g] >= 0 && off == static_cast<size_t>(opened[g]) + 1) single[g] = opened[g];
                break;
            }
            case Op::Char: case Op::CharFold: case Op::Set: case Op::Any:
                AddStep(units[off++], op, arg[0]);
                break;
            case Op::String: case Op::StringFold:
                for (int32_t k = 0; k < arg[0] && off < kFilterUnits; ++k)
                    AddStep(units[off++], op == Op::String ? Op::Char : Op::CharFold, arg[1 + k]);
                break;
            case Op::WordBoundary: case Op::NotWordBoundary:
                f.edges.emplace_back(static_cast<uint32_t>(off), op == Op::WordBoundary);
                break;
            case Op::LineStart: case Op::LineStartM: case Op::LineEnd: case Op::LineEndM:
                break;  // zero-width: no unit to check
            case Op::BackRef:
                if (static_cast<uint32_t>(arg[0]) > prog_->groupCount || single[static_cast<size_t>(arg[0])] < 0) {
                    minLength = off;  // an unset group matches empty; a longer one is not followed
                    straight = false;
                    continue;
                }
                f.same.emplace_back(static_cast<uint32_t>(off), static_cast<uint32_t>(single[static_cast<size_t>(arg[0])]));
                units[off] = units[static_cast<size_t>(single[static_cast<size_t>(arg[0])])];
                ++off;
                break;
            case Op::Match: case Op::BackRefFold:
                minLength = off;
                straight = false;
                continue;
            default:
                minLength = std::min(minLength, ExploreUnits(pc, off, units));
                straight = false;
                continue;
            }
            pc += static_cast<size_t>(InstrSize(code.data(), pc));
        }
        if (minLength == 0) return;
        f.length = minLength;
        units.resize(minLength);
        f.units = std::move(units);
        std::erase_if(f.same, [&](const auto& s) { return s.first >= minLength; });
        std::erase_if(f.edges, [&](const auto& e) { return e.first > minLength; });
        f.firstOnly = f.length == 1 && f.same.empty() && f.edges.empty();
        if (f.units[0].count() <= 4) {
            ListUnits(f.units[0], f.firstList, f.firstCount);
            if (f.length > 1 && f.units[1].count() <= 4) ListUnits(f.units[1], f.secondList, f.secondCount);
        }
        prog_->start.filter = std::move(f);
    }

    // The units of a set of at most four (libstdc++'s word-wise search for the next set bit: a
    // test of every unit cost a fifth of compiling a literal).
    static void ListUnits(const std::bitset<0x10000>& bits, uint16_t* list, int& count) {
        for (size_t u = bits._Find_first(); u < bits.size(); u = bits._Find_next(u)) list[count++] = static_cast<uint16_t>(u);
    }

    void AddStep(std::bitset<0x10000>& bits, Op op, int32_t operand) {
        switch (op) {
        case Op::Char: AddUnits(bits, UnitKind::Char, operand); break;
        case Op::CharFold: AddUnits(bits, UnitKind::CharFold, operand); break;
        case Op::Set: AddUnits(bits, UnitKind::Set, operand); break;
        default: AddUnits(bits, UnitKind::Any, 0); break;
        }
    }

    // Every path from (pc, off): adds to units[k] each unit a path may consume at offset k and
    // returns the fewest units (up to kFilterUnits) after which a path may end the match or
    // leave the walk's knowledge. The loop counters and empty-iteration marks go along with
    // each path, so a counted loop is left only after its minimum of iterations; where that
    // would make too many paths, they are dropped and every loop may be left at any time.
    size_t ExploreUnits(size_t startPc, size_t startOff, std::vector<std::bitset<0x10000>>& units) {
        if (prog_->registerCount <= 64) {
            if (auto counted = ExplorePaths(startPc, startOff, units, true)) return *counted;
        }
        return *ExplorePaths(startPc, startOff, units, false);
    }

    std::optional<size_t> ExplorePaths(size_t startPc, size_t startOff, std::vector<std::bitset<0x10000>>& units,
                                       bool withRegisters) {
        constexpr size_t kMaxPaths = 20000;
        const auto& code = prog_->code;
        size_t minLength = kFilterUnits;
        struct Path {
            size_t pc, off;
            std::vector<int32_t> regs;  // counters and marks (offsets); empty without registers
            bool operator<(const Path& o) const { return std::tie(pc, off, regs) < std::tie(o.pc, o.off, o.regs); }
        };
        std::set<Path> seen;                 // with registers: at most kMaxPaths
        std::vector<bool> reached(withRegisters ? 0 : code.size() * kFilterUnits, false);  // without
        auto firstVisit = [&](const Path& path) {
            if (withRegisters) return seen.insert(path).second;
            const size_t at = path.pc * kFilterUnits + path.off;
            if (reached[at]) return false;
            reached[at] = true;
            return true;
        };
        // a step's units go in once per (instruction, offset), however many paths pass there
        std::vector<bool> added(code.size() * kFilterUnits, false);
        auto addStep = [&](size_t pc, size_t off, Op op, int32_t operand) {
            if (off >= kFilterUnits || added[pc * kFilterUnits + off]) return;
            added[pc * kFilterUnits + off] = true;
            AddStep(units[off], op, operand);
        };
        std::vector<Path> todo{{startPc, startOff, std::vector<int32_t>(withRegisters ? prog_->registerCount : 0, 0)}};
        auto go = [&](size_t pc, size_t off, const std::vector<int32_t>& regs) {
            if (off < kFilterUnits) todo.push_back(Path{pc, off, regs});
        };
        while (!todo.empty()) {
            Path path = std::move(todo.back());
            todo.pop_back();
            if (!firstVisit(path)) continue;
            if (seen.size() > kMaxPaths) return std::nullopt;
            const size_t pc = path.pc, off = path.off;
            std::vector<int32_t>& regs = path.regs;
            auto op = static_cast<Op>(code[pc]);
            const int32_t* arg = code.data() + pc + 1;
            const size_t after = pc + static_cast<size_t>(InstrSize(code.data(), pc));
            switch (op) {
            case Op::Char: case Op::CharFold: case Op::Set: case Op::Any:
                addStep(pc, off, op, arg[0]);
                go(after, off + 1, regs);
                break;
            case Op::String: case Op::StringFold: {
                const auto n = static_cast<size_t>(arg[0]);
                if (!added[pc * kFilterUnits + off]) {
                    added[pc * kFilterUnits + off] = true;
                    for (size_t k = 0; k < n && off + k < kFilterUnits; ++k)
                        AddStep(units[off + k], op == Op::String ? Op::Char : Op::CharFold, arg[1 + k]);
                }
                go(after, off + n, regs);
                break;
            }
            case Op::Star: case Op::StarLazy: case Op::StarAtomic: {
                const auto kind = static_cast<UnitKind>(arg[0]);
                const auto min = static_cast<uint32_t>(arg[2]), max = static_cast<uint32_t>(arg[3]);
                if (!added[pc * kFilterUnits + off]) {
                    added[pc * kFilterUnits + off] = true;
                    for (uint32_t i = 0; i < max && off + i < kFilterUnits; ++i) AddUnits(units[off + i], kind, arg[1]);
                }
                for (uint32_t c = min; c <= max && off + c < kFilterUnits; ++c) go(after, off + c, regs);
                break;
            }
            case Op::Jump: go(static_cast<size_t>(arg[0]), off, regs); break;
            case Op::Split: case Op::SplitLazy: go(after, off, regs); go(static_cast<size_t>(arg[0]), off, regs); break;
            case Op::Loop: {
                const auto exit = static_cast<size_t>(arg[4]);
                if (!withRegisters) {
                    go(after, off, regs);
                    go(exit, off, regs);
                    break;
                }
                const auto count = static_cast<uint32_t>(regs[static_cast<size_t>(arg[0])]);
                if (count < static_cast<uint32_t>(arg[2])) go(after, off, regs);
                if (count >= static_cast<uint32_t>(arg[1])) go(exit, off, regs);
                break;
            }
            case Op::CounterInit: case Op::SetMark:
                if (withRegisters) regs[static_cast<size_t>(arg[0])] = op == Op::SetMark ? static_cast<int32_t>(off) : 0;
                go(after, off, regs);
                break;
            case Op::CheckProgress:
                if (!withRegisters || regs[static_cast<size_t>(arg[0])] != static_cast<int32_t>(off)) go(after, off, regs);
                break;
            case Op::CounterNext: {
                if (!withRegisters) {
                    go(after, off, regs);
                    break;
                }
                const int32_t count = regs[static_cast<size_t>(arg[0])];
                const auto min = static_cast<uint32_t>(arg[2]), max = static_cast<uint32_t>(arg[3]);
                if (arg[1] >= 0 && static_cast<uint32_t>(count) >= min && regs[static_cast<size_t>(arg[1])] == static_cast<int32_t>(off))
                    break;  // an empty iteration past the minimum fails
                if (max != kInfinite || static_cast<uint32_t>(count) < min) regs[static_cast<size_t>(arg[0])] = count + 1;
                go(after, off, regs);
                break;
            }
            // a look-ahead consumes nothing: the path goes on after it (its body only narrows)
            case Op::LookAhead: case Op::NegLookAhead: go(static_cast<size_t>(arg[0]), off, regs); break;
            case Op::Save: case Op::ResetGroups: case Op::LineStart: case Op::LineStartM: case Op::LineEnd:
            case Op::LineEndM: case Op::WordBoundary: case Op::NotWordBoundary:
                go(after, off, regs);
                break;
            default:  // the match's end, a back-reference, a look-ahead's end
                minLength = std::min(minLength, off);
                break;
            }
        }
        return minLength;
    }

    // AnalyseSkip: the code from the start is a straight stretch of zero-width instructions and
    // single-unit steps (skipLead units in all), then a greedy single-unit loop Y{min,max}, and
    // the pattern has no back-reference. An attempt from p reaches the loop at p + skipLead,
    // which takes units up to q. Suppose it stopped short of max (the unit at q is not in Y, or
    // the text ends there) and the attempt failed. Take a start p' with p < p' <= q - skipLead:
    // its fixed steps either fail or take units inside the loop's run, so its loop starts inside
    // the run, takes fewer than max units and stops at q too. What follows the loop then sees
    // the same position and the same state (nothing reads where the match started: no
    // back-reference; the groups opened before hold other starts, but only the result reads
    // them), and the positions a greedy loop gives back are a subset of the first attempt's:
    // every such start fails as the first did, and the search may go on from q - skipLead + 1.
    void AnalyseSkip() {
        const auto& code = prog_->code;
        for (size_t pc = 0; pc < code.size(); pc += static_cast<size_t>(InstrSize(code.data(), pc))) {
            auto op = static_cast<Op>(code[pc]);
            if (op == Op::BackRef || op == Op::BackRefFold) return;
        }
        uint32_t lead = 0;
        for (size_t pc = 0; pc < code.size(); pc += static_cast<size_t>(InstrSize(code.data(), pc))) {
            switch (static_cast<Op>(code[pc])) {
            case Op::Save: case Op::LineStart: case Op::LineStartM: case Op::LineEnd: case Op::LineEndM:
            case Op::WordBoundary: case Op::NotWordBoundary:
                break;
            case Op::Char: case Op::CharFold: case Op::Set: case Op::Any: ++lead; break;
            case Op::String: case Op::StringFold: lead += static_cast<uint32_t>(code[pc + 1]); break;
            case Op::Star: case Op::StarAtomic:
                prog_->start.skipLoop = static_cast<int32_t>(pc);
                prog_->start.skipLead = lead;
                return;
            default: return;
            }
        }
    }

    // StartInfo::requiredUnit: the last plain character of the top-level sequence, looking into
    // groups and loops that run at least once. Children stand before their parents in the arena.
    void FindRequiredUnit() {
        if (ignoreCase_ || ast_.root < 0) return;
        std::vector<int32_t> required(ast_.nodes.size(), -1);
        for (size_t i = 0; i < ast_.nodes.size(); ++i) {
            const Node& n = ast_.nodes[i];
            switch (n.kind) {
            case NodeKind::Char: required[i] = static_cast<int32_t>(n.value); break;
            case NodeKind::Group: required[i] = required[static_cast<size_t>(n.kids[0])]; break;
            case NodeKind::Repeat:
                if (n.min >= 1 && n.max >= 1) required[i] = required[static_cast<size_t>(n.kids[0])];
                break;
            case NodeKind::Concat:
                for (int32_t k : n.kids)
                    if (required[static_cast<size_t>(k)] >= 0) required[i] = required[static_cast<size_t>(k)];
                break;
            default: break;
            }
        }
        prog_->start.requiredUnit = required[static_cast<size_t>(ast_.root)];
    }

    // StartInfo::pivot. The spine of the tree is the top-level sequence and, within it, the
    // groups, the loops that run at least once and the sequences inside them: every match passes
    // each node of the spine, in order, and a loop on it in its first iteration. So a plain
    // character on the spine is consumed by every match, and before it a match consumes only
    // what the spine's nodes before it can consume (inside a loop: what comes before it in the
    // iteration). Those nodes count whole, whatever they hold: an alternative, an optional part,
    // a back-reference (which may consume any unit: no pivot after it). Look-aheads and
    // assertions consume nothing; a character inside a look-ahead, an alternative or an
    // optional part is not on the spine, as not every match consumes it. The pivot is the
    // first character of the spine that nothing before it can consume: then that character's
    // first place at or after a match's start is where the match consumes it. One that nothing
    // at all can come before is passed over: every match starts with it, which the filters on
    // the first units already know. Under IgnoreCase only a character alone in its case class
    // will do (a digit, a punctuation mark), the units before it taken with their folds.
    // A positive look-ahead on the spine that begins with characters serves as well, its
    // literal read where the match has come to (see StartInfo::Pivot): the units before may
    // include its first one, as its first place at or after a start is no further than the one
    // the look-ahead reads.
    void FindPivot() {
        // a literal of two units or more that every match starts with is found faster by itself
        if (ast_.root < 0 || prog_->start.prefix.size() >= 2) return;
        auto before = std::make_unique<std::bitset<0x10000>>();
        bool mayLead = true;  // every node passed so far may consume nothing
        struct Step {
            int32_t node;
            size_t next;  // the next child to pass
        };
        std::vector<Step> spine;
        auto choose = [&](std::basic_string<uint16_t> literal, bool lead) {
            StartInfo::Pivot& pivot = prog_->start.pivot;
            pivot.unit = literal[0];
            pivot.literal = std::move(literal);
            pivot.before = std::move(before);
            pivot.mayLead = lead;
            return true;
        };
        // a node met on the spine: the pivot, a node to walk into, or one passed whole
        auto meet = [&](int32_t id) {
            // Runs of units that take in the space reach across words, often back to the
            // unit's last place: walking back over them costs what the match's own reading
            // does, and they rule out next to no start (`<[^>]*>`, `a[^x]*x` ran two to three
            // times as long with a pivot). So none past such units.
            if (before->test(u' ')) return true;
            const Node& n = ast_.nodes[static_cast<size_t>(id)];
            if (n.kind == NodeKind::Char && AloneInCase(static_cast<uint16_t>(n.value)) && !before->test(n.value) &&
                before->any())
                return choose(std::basic_string<uint16_t>(1, static_cast<uint16_t>(n.value)), mayLead);
            if (n.kind == NodeKind::LookAhead && !n.negate) {
                std::basic_string<uint16_t> literal = LeadingLiteral(n.kids[0]);
                if (!literal.empty()) return choose(std::move(literal), true);
            }
            if (n.kind == NodeKind::Concat || n.kind == NodeKind::Group || (n.kind == NodeKind::Repeat && n.min >= 1)) {
                spine.push_back(Step{id, 0});
                return false;
            }
            AddConsumable(id, *before);
            mayLead = mayLead && nullable_[static_cast<size_t>(id)];
            return false;
        };
        if (meet(ast_.root)) return;
        while (!spine.empty()) {
            Step& s = spine.back();
            const Node& n = ast_.nodes[static_cast<size_t>(s.node)];
            const size_t count = n.kind == NodeKind::Concat ? n.kids.size() : 1;  // a body, an atom
            if (s.next == count) {
                spine.pop_back();
                continue;
            }
            if (meet(n.kids[s.next++])) return;
        }
    }

    bool AloneInCase(uint16_t c) const {
        if (!ignoreCase_) return true;
        int units = 0;
        ForEachUnitFoldingTo(FoldCase(c), [&](uint16_t) { ++units; });
        return units == 1;
    }

    // The characters a node's every match begins with, in a row, looking into groups and the
    // first parts of sequences; under IgnoreCase only characters alone in their case class.
    std::basic_string<uint16_t> LeadingLiteral(int32_t id) const {
        std::basic_string<uint16_t> literal;
        auto take = [&](auto& self, int32_t at) -> bool {  // false: the row ends inside `at`
            const Node& n = ast_.nodes[static_cast<size_t>(at)];
            switch (n.kind) {
            case NodeKind::Char:
                if (!AloneInCase(static_cast<uint16_t>(n.value))) return false;
                literal.push_back(static_cast<uint16_t>(n.value));
                return true;
            case NodeKind::Group: return self(self, n.kids[0]);
            case NodeKind::Concat:
                for (int32_t k : n.kids)
                    if (!self(self, k)) return false;
                return true;
            default: return false;
            }
        };
        take(take, id);
        return literal;
    }

    // Every unit the subtree may consume; a look-ahead's body consumes none.
    void AddConsumable(int32_t root, std::bitset<0x10000>& bits) {
        std::vector<int32_t> todo{root};
        while (!todo.empty()) {
            const Node& n = ast_.nodes[static_cast<size_t>(todo.back())];
            todo.pop_back();
            switch (n.kind) {
            case NodeKind::Char:
                if (ignoreCase_) AddFolded(bits, FoldCase(static_cast<uint16_t>(n.value)));
                else bits.set(n.value);
                break;
            case NodeKind::Set: {
                CharSet set = ast_.sets[n.value];
                if (ignoreCase_) set.CloseOverCase();
                if (n.negate) set.Negate();
                for (auto [lo, hi] : set.Ranges()) AddRange(bits, lo, hi);
                break;
            }
            case NodeKind::Any: AddUnits(bits, UnitKind::Any, 0); break;
            case NodeKind::BackRef: bits.set(); break;
            case NodeKind::Group: case NodeKind::Concat: case NodeKind::Alternation:
                todo.insert(todo.end(), n.kids.begin(), n.kids.end());
                break;
            case NodeKind::Repeat:
                if (n.max > 0) todo.push_back(n.kids[0]);
                break;
            default: break;  // assertions and look-aheads
            }
        }
    }

    Ast ast_;
    bool ignoreCase_;
    bool multiline_;
    bool backwards_;  // the anchors keep their meaning: the automaton reading backwards swaps sides
    std::unique_ptr<Program> prog_;
    std::vector<bool> nullable_;
};

}  // namespace

// Back-references and look-aheads have no backwards reading the automaton could use.
static bool Reversible(const Ast& ast) {
    for (const Node& n : ast.nodes)
        if (n.kind == NodeKind::BackRef || n.kind == NodeKind::LookAhead) return false;
    return true;
}

std::unique_ptr<Program> Compile(Ast&& ast, bool ignoreCase, bool multiline) {
    try {
        std::optional<Ast> backwards;
        if (Reversible(ast)) backwards = ast;
        auto prog = Compiler(std::move(ast), ignoreCase, multiline, false).Run();
        if (backwards) prog->reversed = Compiler(std::move(*backwards), ignoreCase, multiline, true).Run();
        return prog;
    } catch (const std::bad_alloc&) {
        throw base::Error(base::err::OutOfMemory, L"Out of memory");
    } catch (const std::length_error&) {
        throw base::Error(base::err::OutOfMemory, L"Out of memory");
    }
}

}  // namespace rx
