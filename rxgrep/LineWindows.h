// Counting matches a window of lines at a time: the text's UTF-8 bytes cut just after line feeds,
// each window decoded into one reused buffer of UTF-16 units and counted by the engine, the
// counts summed. No buffer as large as the whole text is made, so none of its pages has to be
// cleared by the system, and the units being counted stay in the processor's caches.
//
// That is only done where it is sure to give the engine's answer on the whole text (the same
// count, or the same error): for a program that no match can carry across a line feed and that
// asks nothing of the text's own start or end (StaysOnItsLine), and whose run cannot spend its
// step budget on the whole text nor on any window. Either that is known of the program before
// anything is counted (CountableByWindows), or the windows' own runs show it as they go
// (CheckableByWindows): where they cannot, the count says so and the whole text is counted.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace rx {
class Program;
class RegExp;
}  // namespace rx

namespace rxgrep {

// Bytes a window holds at most, unless a line is longer (then it holds that one line, which
// ends just after its line feed or at the text's end). Its units (128 KB at most) stay in a
// 1 MB second-level cache while the engine reads them; windows of 16 KB to 1 MB counted the
// corpus within the load's noise of each other.
constexpr size_t kWindowBytes = size_t{64} << 10;

// Whether no step of this program can take a line feed and none asks for the start or end of
// the whole text: then every match, and every attempt at one, lies within one line.
bool StaysOnItsLine(const rx::Program& program);

// The most steps the backtracking matcher can spend on one start of a match under this
// program, within its run's share of the allowance; 0 where the program takes a way that is
// not bounded so (a choice, an unbounded loop, a back-reference), or may take a line feed, or
// asks for the start or end of the whole text.
uint64_t StepsPerStart(const rx::Program& program);

// Whether counting by windows is sure to be the same as counting on the whole text of
// `utf8Bytes` bytes with this program and step budget.
bool CountableByWindows(const rx::Program& program, uint64_t stepBudget, size_t utf8Bytes);

// Whether counting by windows can be shown to be the same as counting the whole text by the
// windows' own runs (WindowCounting::checked): a program that stays on its line, whether the
// engine gives it to its backtracking matcher or to its automaton (see LineWindows.cpp).
bool CheckableByWindows(const rx::Program& program);

// From this size on (POSIX systems) the windows are decoded and counted by two threads at once,
// each taking the next window: below it, starting and joining the second costs more than the
// share it would take (a few windows at the least).
constexpr size_t kCountInTwoFrom = size_t{256} << 10;

struct WindowCounting {
    size_t windowBytes = kWindowBytes;
    size_t twoThreadsFrom = kCountInTwoFrom;
    bool helperStarts = true;           // false: as if the system could start no thread (tests)
    size_t* countedByHelper = nullptr;  // where given, told how many windows the second thread counted
    // The windows' runs show that their count is the whole text's, or the count ends with -1
    // (CheckableByWindows).
    bool checked = false;
    size_t* windowsCounted = nullptr;  // where given, told how many windows were counted in all
};

// The engine's Count over the text these UTF-8 bytes decode to, for a program every match of
// which starts at the whole text's start (`^` without multiline, no alternative elsewhere):
// taken on the first window of lines alone, its closing line feed included, where the engine's
// automaton answers the program and shows that its run read no further than that window could
// tell (no way under way at the window's end); -1 otherwise (the whole text is to be counted).
// Throws nothing the engine raises: where the window's run fails, -1 too.
long long CountFromTheStart(rx::RegExp& re, std::string_view utf8, size_t windowBytes = kWindowBytes);

// The engine's Count (re's pattern, flags and budget; one match at most when Global is off) over
// the text these UTF-8 bytes decode to, taken window by window. Right only where
// CountableByWindows holds, or where CheckableByWindows does and the count is `checked` (then
// -1 where the windows could not show it: the whole text is to be counted); elsewhere it may
// differ (the tests show where). On one thread or two, the same count, or the same error from
// the same window.
long long CountByWindows(rx::RegExp& re, std::string_view utf8, const WindowCounting& how = {});

}  // namespace rxgrep
