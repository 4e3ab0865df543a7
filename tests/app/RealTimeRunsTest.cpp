// Real-time runs off the window's thread: keys typed fast end with the list and caption a run on
// the window's thread gives, what a superseded run found never shows, and Return, replace and
// closing the window end a run in flight.
#include "Input.h"
#include "MessageBoxAnswer.h"
#include "Workbench.h"
#include "app/ResultList.h"
#include "app/SourceCopy.h"
#include "controls/textbox/TextBoxW.h"
#include "controls/listbox/ListBoxW.h"
#include "regexp/RegExp.h"

#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <optional>

namespace wbtest {
namespace {

using Entries = std::vector<std::wstring>;
using Clock = std::chrono::steady_clock;

std::wstring CountCaption(long n) { return L"结果 （共" + std::to_wstring(n) + L"个匹配项）"; }

std::wstring Repeat(const std::wstring& unit, int times) {
    std::wstring s;
    for (int i = 0; i < times; ++i) s += unit;
    return s;
}

// Short lines of words: a pattern's first keys match every word character, so each run is still
// being listed when the next key comes.
std::wstring Words() { return Repeat(L"the cat ate a tall banana at tea time\r\n", 1700); }

// `(x+x+)+y\1|q` tries every split of each run of x's before the q after it matches (the
// back-reference keeps the engine on its backtracking matcher): long work. A block of 18 x's
// costs some 5 million steps, so 30 of them stay within the step budget of the whole run, and
// 120 blocks of 20 x's go far past it (the run then ends at the budget).
constexpr wchar_t kSlowPattern[] = L"(x+x+)+y\\1|q";
std::wstring SlowSource(int xs, int blocks) { return Repeat(std::wstring(static_cast<size_t>(xs), L'x') + L"\r\nq\r\n", blocks); }

// The engine's matches with the workbench's settings; nothing for a rejected pattern.
std::optional<rx::MatchCollection> EngineRun(const std::wstring& pattern, const std::wstring& source) {
    rx::RegExp re;
    re.Global(true);
    re.Multiline(true);
    re.Pattern(pattern);
    try {
        return re.Execute(source);
    } catch (const base::Error&) {
        return std::nullopt;
    }
}

Entries Values(const rx::MatchCollection& matches) {
    Entries out;
    for (const rx::Match& m : matches) out.push_back(m.Value());
    return out;
}

// The source pasted, real-time on, the focus in the pattern box.
void RealTimeOver(Workbench& wb, const std::wstring& source) {
    wb.PasteSource(source);
    Click(wb.Handle(L"Check2"));
    Click(wb.Handle(L"txtMatch"));
}

// Lines of 30 x's and a last y: `(x+)+\1y` makes every line a catastrophe that ends at the step
// budget (the y keeps the engine from seeing at once that no line can match).
std::wstring XLines() { return Repeat(std::wstring(30, L'x') + L"\r\n", 200) + L"y"; }

// The result area and the source selection, as a person reads them.
struct ResultArea {
    Entries entries;
    std::wstring caption;
    long current = -1;
    Selection selection;
    bool operator==(const ResultArea&) const = default;
};

ResultArea Read(const Workbench& wb) {
    return {wb.Entries(L"lstResults"), wb.ResultsCaption(), wb.CurrentEntry(L"lstResults"), wb.SourceSelection()};
}

struct Observation {
    std::wstring pattern;
    std::wstring caption;
    long entries = 0;
};

// Sends the keys as one burst to the focused pattern box and looks at the pattern, the caption and
// the list between every two messages, until the box holds `finalPattern` and no run is left.
std::vector<Observation> TypeAndWatch(Workbench& wb, std::wstring_view keys, const std::wstring& finalPattern) {
    std::vector<Observation> seen;
    HWND list = wb.Handle(L"lstResults");
    SendKeys(keys);
    bool settled = PumpUntil(
        [&] {
            Observation o{wb.Text(L"txtMatch"), wb.ResultsCaption(), static_cast<long>(SendMessageW(list, LB_GETCOUNT, 0, 0))};
            if (seen.empty() || o.pattern != seen.back().pattern || o.caption != seen.back().caption ||
                o.entries != seen.back().entries)
                seen.push_back(o);
            return KeysRead() && o.pattern == finalPattern && !wb.Form().RealTimeRunPending();
        },
        120000);
    EXPECT_TRUE(settled) << "the keys were not all read, or the last run never ended";
    return seen;
}

// A count in the caption is always that of the pattern in the box at that moment, over a complete
// list: the count of a run that a newer key superseded never shows.
void ExpectOnlyCurrentCounts(const std::vector<Observation>& seen, const std::wstring& source) {
    std::map<std::wstring, long> counts;
    for (const Observation& o : seen) {
        if (o.caption == L"结果") continue;
        if (!counts.count(o.pattern)) {
            auto run = EngineRun(o.pattern, source);
            counts[o.pattern] = run ? run->Count() : -1;
        }
        const long count = counts[o.pattern];
        if (o.caption != CountCaption(count) || o.entries != count) {
            ADD_FAILURE() << "with the pattern " << rx::ToUtf8(o.pattern) << " in the box the window showed "
                          << rx::ToUtf8(o.caption) << " over " << o.entries << " entries; its own run finds " << count;
            return;
        }
    }
}

TEST(RealTimeRuns, FastTypingEndsAsARunOnTheWindowThreadWouldAndNoSupersededRunShows) {
    Workbench wb;
    const std::wstring source = Words();
    RealTimeOver(wb, source);

    const std::wstring pattern = L"\\w\\w?(a|ta)*$";
    ExpectOnlyCurrentCounts(TypeAndWatch(wb, pattern, pattern), source);
    const rx::MatchCollection expected = *EngineRun(pattern, source);
    ResultArea typed = Read(wb);
    EXPECT_EQ(typed.entries, Values(expected));
    EXPECT_EQ(typed.caption, CountCaption(expected.Count()));
    EXPECT_EQ(typed.current, 0);
    EXPECT_EQ(typed.selection, (Selection{expected.Item(0).FirstIndex(), expected.Item(0).Length()}));
    Press(VK_RETURN);
    EXPECT_EQ(Read(wb), typed) << "a run on the window's thread shows something else";

    // Ending on a rejected pattern: the last good run is listed in full, the caption says 结果,
    // and the highlight its run set is gone again.
    const std::wstring good = L"\\w\\w?(a|ta)*";
    ExpectOnlyCurrentCounts(TypeAndWatch(wb, L"\b(", good + L"("), source);
    const rx::MatchCollection lastGood = *EngineRun(good, source);
    typed = Read(wb);
    EXPECT_EQ(typed.entries, Values(lastGood));
    EXPECT_EQ(typed.caption, L"结果");
    EXPECT_EQ(typed.current, 0);
    EXPECT_EQ(typed.selection, (Selection{lastGood.Item(0).FirstIndex(), 0}));
    Press(VK_RETURN);
    EXPECT_EQ(Read(wb), typed) << "a run on the window's thread shows something else";

    // Emptied key by key while the runs of the shorter patterns are in flight: nothing is left.
    ExpectOnlyCurrentCounts(TypeAndWatch(wb, std::wstring(good.size() + 1, L'\b'), L""), source);
    EXPECT_EQ(wb.Entries(L"lstResults"), Entries{});
    EXPECT_EQ(wb.ResultsCaption(), L"结果");
    EXPECT_EQ(wb.SourceSelection().length, 0);
}

// How long one clear of the result list may hold the window, for one test (the list box's speed
// decides otherwise, which an idle machine and a loaded one do not share).
class OneClearBudget {
public:
    explicit OneClearBudget(std::chrono::nanoseconds budget) { workbench::ResultFill::OneClearBudget(budget); }
    ~OneClearBudget() { workbench::ResultFill::OneClearBudget(workbench::ResultFill::kOneClearBudget); }
    OneClearBudget(const OneClearBudget&) = delete;
    OneClearBudget& operator=(const OneClearBudget&) = delete;
};

// 100,000 entries, with no call allowed to empty that many: the keys below come while the list
// is emptied in slices (and then filled).
TEST(RealTimeRuns, KeysTypedWhileALongListIsEmptiedEndAsARunByReturn) {
    constexpr long kMatches = 100000;
    const OneClearBudget inSlices(std::chrono::nanoseconds(0));
    Workbench wb;
    const std::wstring source = Repeat(L"ab ab ab ab ab ab ab ab ab ab\r\n", kMatches / 10);
    RealTimeOver(wb, source);
    ExpectOnlyCurrentCounts(TypeAndWatch(wb, L"ab", L"ab"), source);
    ASSERT_EQ(wb.ResultsCaption(), CountCaption(kMatches));

    // taken back to nothing and typed anew in one burst
    const std::vector<Observation> seen = TypeAndWatch(wb, L"\b\ba", L"a");
    ExpectOnlyCurrentCounts(seen, source);
    bool partlyEmptied = false;
    for (const Observation& o : seen) partlyEmptied |= o.entries > 0 && o.entries < kMatches && o.caption == L"结果";
    EXPECT_TRUE(partlyEmptied) << "the long list was emptied in one call: no key could come in between";
    ResultArea typed = Read(wb);
    EXPECT_EQ(typed.entries, Entries(kMatches, L"a"));
    EXPECT_EQ(typed.caption, CountCaption(kMatches));
    EXPECT_EQ(typed.current, 0);
    EXPECT_EQ(typed.selection, (Selection{0, 1}));
    Press(VK_RETURN);
    EXPECT_EQ(Read(wb), typed) << "a run on the window's thread shows something else";

    // the emptied pattern empties the long list, in slices as well
    ExpectOnlyCurrentCounts(TypeAndWatch(wb, L"\b", L""), source);
    EXPECT_EQ(wb.Entries(L"lstResults"), Entries{});
    EXPECT_EQ(wb.ResultsCaption(), L"结果");
    EXPECT_EQ(wb.SourceSelection().length, 0);
}

TEST(RealTimeRuns, ALongListIsDroppedInSlicesAndAKeyIsReadBeforeItIsEmpty) {
    constexpr long kEntries = 200000;
    std::optional<OneClearBudget> budget(std::in_place, std::chrono::nanoseconds(0));
    Workbench wb;
    controls::ListBoxW& list = wb.Form().Ctl<controls::ListBoxW>(L"lstResults");
    bool listed = false;
    workbench::ResultFill fill(list, [&](bool) { listed = true; });
    fill.Begin(*EngineRun(L"ab", Repeat(L"ab ", kEntries)));
    ASSERT_TRUE(PumpUntil([&] { return !fill.Active(); }, 120000));
    ASSERT_TRUE(listed);
    ASSERT_EQ(list.ListCount(), kEntries);

    Click(wb.Handle(L"txtMatch"));
    listed = false;
    fill.Drop();
    EXPECT_TRUE(fill.Active());
    Type(L"x");  // returns once the window has read the key
    EXPECT_EQ(wb.Text(L"txtMatch"), L"x");
    EXPECT_GT(list.ListCount(), 0) << "the key waited until the whole list was emptied";
    ASSERT_TRUE(PumpUntil([&] { return !fill.Active(); }, 120000));
    EXPECT_EQ(list.ListCount(), 0);
    EXPECT_FALSE(listed) << "a dropped fill reported a listing";
    EXPECT_TRUE(list.Redraw()) << "the list stays frozen after it was emptied";

    // where one call may take the whole list, the drop empties it at once
    fill.Begin(*EngineRun(L"ab", Repeat(L"ab ", kEntries)));
    ASSERT_TRUE(PumpUntil([&] { return !fill.Active(); }, 120000));
    ASSERT_EQ(list.ListCount(), kEntries);
    budget.emplace(std::chrono::seconds(10));
    fill.Drop();
    EXPECT_FALSE(fill.Active()) << "a list one call may empty was emptied in slices";
    EXPECT_EQ(list.ListCount(), 0);
    EXPECT_TRUE(list.Redraw());
}

TEST(RealTimeRuns, ALongSourceIsCopiedInSlicesAndAKeyIsReadBeforeTheCopyIsDone) {
    workbench::EditBuffers buffers;  // outlives the window whose buffer it may free
    Workbench wb;
    const std::wstring source = Repeat(L"源文本 with 中文 and CR LF\r\n", 200000);  // 5 slices
    wb.TextBox(L"txtSource").Text(source);
    Click(wb.Handle(L"txtMatch"));
    int copied = 0;
    workbench::SourceCopy copy(wb.TextBox(L"txtSource"), buffers, [&] { ++copied; });
    copy.Start();
    EXPECT_EQ(copy.Current(), nullptr);
    Type(L"x");  // returns once the window has read the key
    EXPECT_EQ(wb.Text(L"txtMatch"), L"x");
    EXPECT_EQ(copy.Current(), nullptr) << "the key waited for the whole copy";
    ASSERT_TRUE(PumpUntil([&] { return copy.Current() != nullptr; }, 60000));
    EXPECT_EQ(copied, 1);
    EXPECT_TRUE(*copy.Current() == source) << "the copy is not the box's text";

    // the text changed in the middle of a copy, with nobody telling the copy: it still ends as
    // the box's new text, not a mix of the two
    copy.Invalidate();
    copy.Start();
    Type(L"y");
    ASSERT_EQ(copy.Current(), nullptr);
    const std::wstring edited = L"首" + source.substr(0, source.size() / 2);
    SendMessageW(wb.Handle(L"txtSource"), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(edited.c_str()));
    ASSERT_TRUE(PumpUntil([&] { return copy.Current() != nullptr; }, 60000));
    EXPECT_TRUE(*copy.Current() == edited) << "the copy mixes the old text and the new";
}

// The run searches a copy of the source taken from the edit window's own buffer, a slice at a
// time: a text of several slices, with Chinese and CR LF, and the same text after edits at both
// ends.
TEST(RealTimeRuns, TheRunSearchesTheSourceBoxAsItIsAfterEdits) {
    Workbench wb;
    const std::wstring source = Repeat(L"源文本 with 中文 and CR LF\r\n", 60000);
    wb.PasteSource(source);
    ASSERT_EQ(wb.Text(L"txtSource"), source);
    Click(wb.Handle(L"Check2"));
    Click(wb.Handle(L"txtMatch"));
    Paste(L"[\\s\\S]+$");
    ASSERT_TRUE(wb.WaitForRealTimeRun(120000));
    EXPECT_EQ(wb.Entries(L"lstResults"), Entries{source});
    EXPECT_EQ(wb.ResultsCaption(), CountCaption(1));

    Click(wb.Handle(L"txtSource"));
    Press(VK_END, kCtrl);
    Paste(L"末\r\n尾");
    Press(VK_HOME, kCtrl);
    Type(L"首");
    const std::wstring edited = L"首" + source + L"末\r\n尾";
    ASSERT_EQ(wb.Text(L"txtSource"), edited);
    Click(wb.Handle(L"txtMatch"));
    Press(VK_END);
    Press(VK_BACK);
    ASSERT_TRUE(wb.WaitForRealTimeRun(120000));
    EXPECT_EQ(wb.Entries(L"lstResults"), Entries{edited});
    EXPECT_EQ(wb.ResultsCaption(), CountCaption(1));
    Press(VK_RETURN);
    EXPECT_EQ(wb.Entries(L"lstResults"), Entries{edited}) << "a run on the window's thread shows something else";
}

TEST(RealTimeRuns, ALastKeyBeyondTheStepBudgetLeavesTheListOfTheKeyBefore) {
    Workbench wb;
    const std::wstring source = XLines();
    RealTimeOver(wb, source);
    // the y makes every line a catastrophe that ends at the step budget; the run of the pattern
    // before it is stopped by that key before it is listed
    ExpectOnlyCurrentCounts(TypeAndWatch(wb, L"(x+)+\\1y", L"(x+)+\\1y"), source);
    ASSERT_FALSE(EngineRun(L"(x+)+\\1y", source).has_value());
    const rx::MatchCollection before = *EngineRun(L"(x+)+\\1", source);
    ResultArea typed = Read(wb);
    EXPECT_EQ(typed.entries, Values(before));
    EXPECT_EQ(typed.caption, L"结果");
    EXPECT_EQ(typed.selection, (Selection{0, 0}));
}

// What the screen shows of a window (not what the window would paint now: with its redraw off,
// the list keeps on screen what it showed before).
std::vector<uint32_t> OnScreen(HWND hwnd) {
    RECT rc{};
    GetWindowRect(hwnd, &rc);
    const int w = rc.right - rc.left, h = rc.bottom - rc.top;
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, dib);
    BitBlt(mem, 0, 0, w, h, screen, rc.left, rc.top, SRCCOPY);
    GdiFlush();
    const auto* px = static_cast<const uint32_t*>(bits);
    std::vector<uint32_t> out(px, px + static_cast<size_t>(w) * static_cast<size_t>(h));
    SelectObject(mem, old);
    DeleteObject(dib);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return out;
}

// A key's run empties the list while it is in flight, behind the list's picture; when the run
// fails at the step budget, the list of the key before comes back as it was: the entries, the
// chosen one, the scroll place, the caption 结果 — what a run by Return of the failing pattern
// leaves as well.
TEST(RealTimeRuns, AListEmptiedForARunThatFailsComesBackAsItWas) {
    Workbench wb;
    const std::wstring source = XLines();
    RealTimeOver(wb, source);
    Paste(L"(x+)+\\1");
    ASSERT_TRUE(wb.WaitForRealTimeRun(120000));
    const rx::MatchCollection good = *EngineRun(L"(x+)+\\1", source);
    ASSERT_EQ(wb.Entries(L"lstResults"), Values(good));
    HWND list = wb.Handle(L"lstResults");
    SendMessageW(list, LB_SETTOPINDEX, 40, 0);
    const long top = static_cast<long>(SendMessageW(list, LB_GETTOPINDEX, 0, 0));
    ASSERT_GT(top, 0);
    RECT item{};
    SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(top + 2), reinterpret_cast<LPARAM>(&item));
    ClickAt(list, POINT{(item.left + item.right) / 2, (item.top + item.bottom) / 2});
    ASSERT_EQ(wb.CurrentEntry(L"lstResults"), top + 2);
    Click(wb.Handle(L"txtMatch"));
    Press(VK_END);
    const ResultArea before = Read(wb);
    const std::vector<uint32_t> picture = OnScreen(list);

    Type(L"y");  // every line a catastrophe: the run ends at the step budget
    ASSERT_TRUE(wb.Form().RealTimeRunPending());
    ASSERT_TRUE(PumpUntil([&] { return SendMessageW(list, LB_GETCOUNT, 0, 0) == 0; }, 10000))
        << "the list waits for the run to be emptied";
    EXPECT_TRUE(wb.Form().RealTimeRunPending()) << "the run ended before it could be watched";
    EXPECT_EQ(wb.ResultsCaption(), L"结果");
    EXPECT_TRUE(OnScreen(list) == picture) << "the emptied list shows while the run is in flight";

    ASSERT_TRUE(wb.WaitForRealTimeRun(120000));
    ResultArea after = Read(wb);
    EXPECT_EQ(after.entries, before.entries);
    EXPECT_EQ(after.current, top + 2);
    EXPECT_EQ(after.caption, L"结果");
    EXPECT_EQ(after.selection.length, 0);
    EXPECT_EQ(SendMessageW(list, LB_GETTOPINDEX, 0, 0), top);
    EXPECT_TRUE(wb.Form().Ctl<controls::ListBoxW>(L"lstResults").Redraw());
    Press(VK_RETURN);
    EXPECT_EQ(Read(wb), after) << "a run on the window's thread leaves something else";
}

// The time the engine takes for the slow pattern on this source, so a test knows how long a run
// that nobody stopped would still take.
Clock::duration SlowRunTime(const std::wstring& source) {
    Clock::time_point t0 = Clock::now();
    EXPECT_TRUE(EngineRun(kSlowPattern, source).has_value());
    return Clock::now() - t0;
}

// Starts the slow real-time run and switches real-time off while it is in flight, so the pattern
// can then be changed without a run.
void StartSlowRunThenSwitchOff(Workbench& wb) {
    Click(wb.Handle(L"Check2"));
    Click(wb.Handle(L"txtMatch"));
    Paste(kSlowPattern);
    ASSERT_TRUE(wb.Form().RealTimeRunPending());
    Click(wb.Handle(L"Check2"));
}

void PumpFor(Clock::duration d) {
    Clock::time_point end = Clock::now() + d;
    PumpUntil([&] { return Clock::now() >= end; }, 600000);
}

TEST(RealTimeRuns, ReturnAndReplaceEndTheRunInFlight) {
    constexpr int kBlocks = 30;
    const std::wstring source = SlowSource(18, kBlocks);
    const Clock::duration slow = SlowRunTime(source);
    {
        Workbench wb;
        wb.PasteSource(source);
        StartSlowRunThenSwitchOff(wb);
        wb.SetPattern(L"x+");
        Press(VK_RETURN);
        EXPECT_FALSE(wb.Form().RealTimeRunPending());
        const Entries xs(kBlocks, std::wstring(18, L'x'));
        EXPECT_EQ(wb.Entries(L"lstResults"), xs);
        // long enough for the stopped run to have ended had it gone on: its q's never come
        PumpFor(slow * 3 / 2);
        EXPECT_EQ(wb.Entries(L"lstResults"), xs);
        EXPECT_EQ(wb.ResultsCaption(), CountCaption(kBlocks));
    }
    {
        Workbench wb;
        wb.PasteSource(source);
        Click(wb.Handle(L"Check1"));
        wb.TypeInto(L"txtReplace", L"Q");
        StartSlowRunThenSwitchOff(wb);
        wb.SetPattern(L"q");
        MessageBoxAnswer answer{IDYES, IDOK};
        Click(wb.Handle(L"Command3"));
        ASSERT_EQ(answer.Shown().size(), 2u);
        EXPECT_EQ(answer.Shown()[1].text, L"已完成30处替换。");
        EXPECT_FALSE(wb.Form().RealTimeRunPending());
        PumpFor(slow * 3 / 2);
        // the run after the replace found no q; the stopped run's 30 never show
        EXPECT_EQ(wb.Entries(L"lstResults"), Entries{});
        EXPECT_EQ(wb.ResultsCaption(), CountCaption(0));
    }
}

TEST(RealTimeRuns, ClosingTheWindowStopsTheRunInFlight) {
    // the engine's whole step budget of work
    const std::wstring source = SlowSource(20, 120);
    Clock::time_point e0 = Clock::now();
    EXPECT_FALSE(EngineRun(kSlowPattern, source).has_value()) << "the run ends at the budget";
    const Clock::duration budgetTime = Clock::now() - e0;
    auto wb = std::make_unique<Workbench>();
    wb->PasteSource(source);
    Click(wb->Handle(L"Check2"));
    Click(wb->Handle(L"txtMatch"));
    Paste(kSlowPattern);
    ASSERT_TRUE(wb->Form().RealTimeRunPending());
    Clock::time_point t0 = Clock::now();
    wb.reset();
    EXPECT_LT(Clock::now() - t0, budgetTime / 2) << "closing waited for the run instead of stopping it";
    PumpUntil([] { return false; }, 200);  // whatever the run had posted finds no window and no harm
}

}  // namespace
}  // namespace wbtest
