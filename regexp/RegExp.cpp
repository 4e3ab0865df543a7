#include "regexp/RegExp.h"

#include <new>

#include "regexp/Searcher.h"
#include "regexp/Parser.h"
#include "regexp/Program.h"

namespace rx {
namespace {

[[noreturn]] void RaiseStatus(Status st) {
    if (st == Status::BudgetExceeded)
        throw base::Error(err::BudgetExceeded, L"Regular expression too complex to match within its step budget");
    if (st == Status::Stopped) throw base::Error(err::Stopped, L"Matching stopped at the caller's request");
    throw base::Error(base::err::OutOfMemory, L"Out of memory");
}

// One piece of a parsed replacement: literal text, or what $-substitution it stands for.
struct Piece {
    enum Kind { Text, Group, Whole, Before, After } kind;
    size_t from = 0, length = 0;  // Text: span of the replacement string
    uint32_t group = 0;
};

// $1..$99 (two digits when that group exists, else one), $&, $`, $', $$; any other $ is literal.
std::vector<Piece> ParseReplacement(StringView r, uint32_t groups) {
    std::vector<Piece> pieces;
    size_t textStart = 0;
    auto flush = [&](size_t end) {
        if (end > textStart) pieces.push_back(Piece{Piece::Text, textStart, end - textStart});
    };
    auto digit = [&](size_t k) { return k < r.size() && r[k] >= '0' && r[k] <= '9' ? int(r[k] - '0') : -1; };
    for (size_t i = 0; i + 1 < r.size(); ++i) {
        if (r[i] != '$') continue;
        Char c = r[i + 1];
        Piece p{Piece::Text};
        size_t len = 2;
        if (c == '&') p.kind = Piece::Whole;
        else if (c == '`') p.kind = Piece::Before;
        else if (c == '\'') p.kind = Piece::After;
        else if (c == '$') { p.kind = Piece::Text; p.from = i + 1; p.length = 1; }
        else if (digit(i + 1) >= 0) {
            int d1 = digit(i + 1), d2 = digit(i + 2);
            if (d2 >= 0 && d1 * 10 + d2 >= 1 && static_cast<uint32_t>(d1 * 10 + d2) <= groups) {
                p.kind = Piece::Group; p.group = static_cast<uint32_t>(d1 * 10 + d2); len = 3;
            } else if (d1 >= 1 && static_cast<uint32_t>(d1) <= groups) {
                p.kind = Piece::Group; p.group = static_cast<uint32_t>(d1);
            } else {
                continue;
            }
        } else {
            continue;
        }
        flush(i);
        pieces.push_back(p);
        i += len - 1;
        textStart = i + 1;
    }
    flush(r.size());
    return pieces;
}

}  // namespace

MatchData::MatchData() = default;
MatchData::~MatchData() = default;

int32_t MatchData::GroupSpan(long index, long k) const {
    std::lock_guard<std::mutex> hold(lock_);
    if (index == foundIndex_) return found_[static_cast<size_t>(k)];
    if (!searcher_) searcher_ = std::make_unique<Searcher>(*program, source->data(), source->size(), stepBudget);
    const auto start = static_cast<size_t>(spans[2 * static_cast<size_t>(index)]);
    const auto end = static_cast<size_t>(spans[2 * static_cast<size_t>(index) + 1]);
    found_.clear();
    foundIndex_ = -1;
    Status st = Status::NoMatch;
    try {
        st = searcher_->MatchAt(start, end, found_);
    } catch (const std::bad_alloc&) {
        st = Status::OutOfMemory;
    }
    if (st == Status::BudgetExceeded || st == Status::OutOfMemory) RaiseStatus(st);
    if (st != Status::Match || found_.size() != 2 * static_cast<size_t>(groupCount + 1) ||
        found_[0] != static_cast<int32_t>(start) || found_[1] != static_cast<int32_t>(end)) {
        // cannot happen (the search is deterministic); the groups then read as not taking part
        found_.assign(2 * static_cast<size_t>(groupCount + 1), -1);
        found_[0] = static_cast<int32_t>(start);
        found_[1] = static_cast<int32_t>(end);
    }
    foundIndex_ = index;
    return found_[static_cast<size_t>(k)];
}

StringView Match::ValueView() const {
    return StringView(*data_->source).substr(static_cast<size_t>(Span(0)), static_cast<size_t>(Length()));
}

long Match::SubMatchIndex(long group) const {
    if (group < 0 || group >= data_->groupCount) throw base::Error(base::err::InvalidProcedureCall, L"Invalid procedure call or argument");
    return Span(2 * (group + 1));
}

std::optional<String> Match::SubMatch(long group) const {
    long s = SubMatchIndex(group);
    long e = Span(2 * (group + 1) + 1);
    if (s < 0 || e < s) return std::nullopt;
    return String(StringView(*data_->source).substr(static_cast<size_t>(s), static_cast<size_t>(e - s)));
}

Match MatchCollection::Item(long index) const {
    if (index < 0 || index >= Count()) throw base::Error(base::err::InvalidProcedureCall, L"Invalid procedure call or argument");
    return Match(data_, index);
}

RegExp::RegExp() = default;
RegExp::~RegExp() = default;

void RegExp::Pattern(StringView pattern) {
    pattern_.assign(pattern);
    program_.reset();
}

void RegExp::IgnoreCase(bool value) {
    if (value != ignoreCase_) program_.reset();
    ignoreCase_ = value;
}

void RegExp::Multiline(bool value) {
    if (value != multiline_) program_.reset();
    multiline_ = value;
}

const Program& RegExp::Compiled() {
    if (!program_) {
        try {
            program_ = Compile(Parse(pattern_), ignoreCase_, multiline_);
        } catch (const std::bad_alloc&) {
            throw base::Error(base::err::OutOfMemory, L"Out of memory");
        }
    }
    return *program_;
}

MatchCollection RegExp::Execute(StringView source) {
    return Run(std::make_shared<const String>(source), !global_);
}

MatchCollection RegExp::Execute(String&& source) {
    return Run(std::make_shared<const String>(std::move(source)), !global_);
}

MatchCollection RegExp::Execute(std::shared_ptr<const String> source) {
    if (!source) source = std::make_shared<const String>();
    return Run(std::move(source), !global_);
}

MatchCollection RegExp::Run(std::shared_ptr<const String> source, bool firstOnly) {
    Compiled();
    const Program& prog = *program_;
    auto data = std::make_shared<MatchData>();
    data->groupCount = static_cast<int>(prog.groupCount);
    data->source = source;
    if (prog.groupCount > 0) {
        data->program = program_;
        data->stepBudget = stepBudget_;
    }
    Searcher searcher(prog, source->data(), source->size(), stepBudget_, stopFlag_);
    // each match's start and end go straight onto the collection's list; its groups are found
    // when first asked for
    std::vector<int32_t>& spans = data->spans;
    try {
        for (size_t from = 0; from <= source->size();) {
            Status st = searcher.Search(from, spans, false, firstOnly ? 1 : SIZE_MAX);
            if (st == Status::NoMatch) break;
            if (st != Status::Match) RaiseStatus(st);
            if (firstOnly) break;
            // after an empty match the search goes on one unit later
            const int32_t* found = spans.data() + (spans.size() - 2);
            from = static_cast<size_t>(found[1]) + (found[1] == found[0] ? 1 : 0);
        }
    } catch (const std::bad_alloc&) {
        throw base::Error(base::err::OutOfMemory, L"Out of memory");
    }
    return MatchCollection(std::move(data));
}

bool RegExp::Test(StringView source) {
    const Program& prog = Compiled();
    Searcher searcher(prog, source.data(), source.size(), stepBudget_, stopFlag_);
    std::vector<int32_t> spans;
    Status st = searcher.Search(0, spans, false);
    if (st != Status::Match && st != Status::NoMatch) RaiseStatus(st);
    return st == Status::Match;
}

long long RegExp::Count(StringView source) { return Count(source, nullptr); }

long long RegExp::Count(StringView source, RunReport* report) {
    const Program& prog = Compiled();
    Searcher searcher(prog, source.data(), source.size(), stepBudget_, stopFlag_);
    if (report && report->restFollows) searcher.RestFollows();
    if (report && (report->wholeLength || report->automata)) searcher.PieceOf(report->wholeLength, report->automata, program_);
    if (report) searcher.FollowedBy(report->followedBy);
    std::vector<int32_t> spans;
    long long count = 0;
    try {
        for (size_t from = 0; from <= source.size();) {
            spans.clear();
            // (a thousand matches a call: the spans stay small, in the processor's caches)
            Status st = searcher.Search(from, spans, false, global_ ? 1024 : 1);
            if (st == Status::NoMatch) break;
            if (st != Status::Match) RaiseStatus(st);
            count += static_cast<long long>(spans.size() / 2);
            if (!global_) break;
            const auto s = static_cast<size_t>(spans[spans.size() - 2]), e = static_cast<size_t>(spans.back());
            from = e + (e == s ? 1 : 0);
        }
    } catch (const std::bad_alloc&) {
        throw base::Error(base::err::OutOfMemory, L"Out of memory");
    }
    if (report) {
        report->steps = searcher.Spent();
        report->backtrackerAlone = searcher.BacktrackerAlone();
        report->automatonAlone = searcher.AutomatonAlone();
        report->waysAtEnd = searcher.WaysAtEnd();
    }
    return count;
}

String RegExp::Replace(StringView source, StringView replacement) {
    const Program& prog = Compiled();
    const std::vector<Piece> pieces = ParseReplacement(replacement, prog.groupCount);
    Searcher searcher(prog, source.data(), source.size(), stepBudget_, stopFlag_);
    bool withGroups = false;
    for (const Piece& p : pieces) withGroups = withGroups || p.kind == Piece::Group;
    std::vector<int32_t> spans;
    String out;
    try {
        out.reserve(source.size());
        size_t copied = 0;
        for (size_t from = 0; from <= source.size();) {
            spans.clear();
            Status st = searcher.Search(from, spans, withGroups);
            if (st == Status::NoMatch) break;
            if (st != Status::Match) RaiseStatus(st);
            const auto s = static_cast<size_t>(spans[0]), e = static_cast<size_t>(spans[1]);
            out.append(source.substr(copied, s - copied));
            for (const Piece& p : pieces) {
                switch (p.kind) {
                case Piece::Text: out.append(replacement.substr(p.from, p.length)); break;
                case Piece::Whole: out.append(source.substr(s, e - s)); break;
                case Piece::Before: out.append(source.substr(0, s)); break;
                case Piece::After: out.append(source.substr(e)); break;
                case Piece::Group: {
                    int32_t gs = spans[2 * p.group], ge = spans[2 * p.group + 1];
                    if (gs >= 0 && ge >= gs) out.append(source.substr(static_cast<size_t>(gs), static_cast<size_t>(ge - gs)));
                    break;
                }
                }
            }
            copied = e;
            if (!global_) break;
            from = e + (e == s ? 1 : 0);
        }
        out.append(source.substr(copied));
    } catch (const std::bad_alloc&) {
        throw base::Error(base::err::OutOfMemory, L"Out of memory");
    } catch (const std::length_error&) {
        throw base::Error(base::err::OutOfMemory, L"Out of memory");
    }
    return out;
}

}  // namespace rx
