// Drives the real FrmMain and prints how long a person waits:
//   - from Return in the pattern box until the result list is filled and the caption shows the
//     count, for 1,000 to 1,000,000 matches;
//   - for one keystroke in the pattern box in real-time mode on a 1 MB source.
// Run it on the test display (tools/xvfb.sh) through tools/wine-run.sh.
#include "app/ResultList.h"
#include "app/Startup.h"
#include "controls/frame/FrameW.h"
#include "controls/listbox/ListBoxW.h"
#include "controls/textbox/TextBoxW.h"
#include "host/Application.h"
#include "host/Intrinsics.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

double Seconds() {
    static LARGE_INTEGER freq = [] { LARGE_INTEGER f; QueryPerformanceFrequency(&f); return f; }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(freq.QuadPart);
}

std::wstring WindowText(HWND hwnd) {
    std::wstring s(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    s.resize(static_cast<size_t>(GetWindowTextW(hwnd, s.data(), static_cast<int>(s.size()))));
    return s;
}

void SendKey(WORD vk, wchar_t unicode = 0) {
    INPUT in[2] = {};
    for (INPUT& i : in) {
        i.type = INPUT_KEYBOARD;
        i.ki.wVk = unicode ? 0 : vk;
        i.ki.wScan = unicode;
        i.ki.dwFlags = unicode ? KEYEVENTF_UNICODE : 0;
    }
    in[1].ki.dwFlags |= KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof(INPUT));
}

std::wstring CountCaption(long n) { return L"结果 （共" + std::to_wstring(n) + L"个匹配项）"; }

std::wstring Repeat(const std::wstring& unit, size_t totalChars) {
    std::wstring s;
    s.reserve(totalChars + unit.size());
    while (s.size() < totalChars) s += unit;
    s.resize(totalChars);
    return s;
}

}  // namespace

int wmain() {
    workbench::RegisterWorkbenchControls();
    workbench::FrmMain form;
    form.Show();
    auto& source = form.Ctl<controls::TextBoxW>(L"txtSource");
    auto& pattern = form.Ctl<controls::TextBoxW>(L"txtMatch");
    HWND results = form.Ctl<controls::ListBoxW>(L"lstResults").hWnd();
    HWND caption = form.Ctl<controls::FrameW>(L"FrameW1").hWnd();
    if (!host::App().PumpUntil([&] { return GetForegroundWindow() == form.hWnd(); }, 10000))
        std::printf("warning: the window is not in front; keystrokes may not reach it\n");

    std::printf("match run: Return -> list filled and caption set (and, apart, its two big shares:\n"
                "the engine's Execute and the list fill)\n");
    std::printf("%10s %12s %10s %10s %10s %12s\n", "matches", "source", "engine ms", "fill ms", "run ms", "run us/match");
    pattern.Text(L"ab");
    // Ten matches per line: the edit window lays out a text of short lines in linear time
    // (one line of megabytes it lays out in quadratic time, which is not what is measured here).
    const std::wstring line = L"ab ab ab ab ab ab ab ab ab ab\r\n";
    for (long n : {1000L, 10000L, 100000L, 1000000L}) {
        std::wstring text = Repeat(line, static_cast<size_t>(n / 10) * line.size());
        rx::RegExp engine;
        engine.Global(true);
        engine.Multiline(true);
        engine.Pattern(L"ab");
        double e0 = Seconds();
        rx::MatchCollection matches = engine.Execute(text);
        double engineMs = (Seconds() - e0) * 1000;
        auto& list = form.Ctl<controls::ListBoxW>(L"lstResults");
        double f0 = Seconds();
        list.Clear();
        workbench::AppendMatchValues(list, matches);
        double fillMs = (Seconds() - f0) * 1000;
        double c0 = Seconds();
        list.Clear();
        double clearMs = (Seconds() - c0) * 1000;
        double s0 = Seconds();
        source.Text(text);
        std::fprintf(stderr, "  [setup: clear %.1f ms, source text %.1f ms]\n", clearMs, (Seconds() - s0) * 1000);
        pattern.SetFocus();
        double t0 = Seconds();
        SendKey(VK_RETURN);
        bool done = host::App().PumpUntil(
            [&] { return WindowText(caption) == CountCaption(n) && SendMessageW(results, LB_GETCOUNT, 0, 0) == n; },
            600000);
        double ms = (Seconds() - t0) * 1000;
        std::printf("%10ld %12zu %10.1f %10.1f %10.1f %12.3f%s\n", n, text.size(), engineMs, fillMs, ms, ms * 1000 / n,
                    done ? "" : "  (did not finish)");
        std::fflush(stdout);
    }

    std::printf("\nreal-time keystroke on a 1 MB source: \"an\" + 'a' -> list refilled and caption set\n");
    const size_t kSource = 1 << 20;
    std::wstring text = Repeat(L"banana banana banana banana banana banana banana banana banana\r\n", kSource);
    source.Text(text);
    form.Ctl<host::CheckBox>(L"Check2").Value(1);
    pattern.Text(L"an");  // runs once: real-time is on
    pattern.SetFocus();
    SendMessageW(pattern.hWnd(), EM_SETSEL, 2, 2);
    rx::RegExp engine;  // "ana" once per "banana"
    engine.Pattern(L"ana");
    engine.Global(true);
    long words = engine.Execute(text).Count();
    std::wstring expected = CountCaption(words);
    double t0 = Seconds();
    SendKey(0, L'a');
    bool done = host::App().PumpUntil([&] { return WindowText(caption) == expected; }, 600000);
    double ms = (Seconds() - t0) * 1000;
    std::printf("%10ld matches %10.1f ms%s\n", words, ms, done ? "" : "  (did not finish)");
    // Raw share of the system list box: LB_ADDSTRING of one-character entries into an empty list
    // box with redraw off, no control of ours in between.
    std::printf("\nthe system list box alone (LB_INITSTORAGE, then LB_ADDSTRING):\n");
    for (long n : {100000L, 1000000L}) {
        HWND raw = CreateWindowExW(0, L"ListBox", L"", WS_POPUP | LBS_NOTIFY | LBS_HASSTRINGS, 0, 0, 100, 100,
                                   nullptr, nullptr, nullptr, nullptr);
        SendMessageW(raw, WM_SETREDRAW, FALSE, 0);
        double r0 = Seconds();
        SendMessageW(raw, LB_INITSTORAGE, static_cast<WPARAM>(n), n * 6);
        for (long i = 0; i < n; ++i) SendMessageW(raw, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"ab"));
        std::printf("%10ld entries %10.1f ms\n", n, (Seconds() - r0) * 1000);
        DestroyWindow(raw);
    }
    return 0;
}
