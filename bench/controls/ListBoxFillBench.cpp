// How long a ListBoxW takes to list N entries after a Clear, for growing N, in the two ways a
// caller fills it: plain AddItem calls (the control suspends redrawing and grows its storage by
// itself), and the workbench's way (Redraw off, InitStorage for the known count, AddItem, Redraw
// on). Linear fills show a constant time per entry. Usage: listbox_fill_bench [max entries]
#include "controls/listbox/ListBoxW.h"
#include "host/Application.h"
#include "host/ControlRegistry.h"
#include "host/DesignData.h"
#include "host/Form.h"

#include <cstdio>
#include <cwchar>
#include <memory>
#include <string>

namespace {

double Seconds() {
    static LARGE_INTEGER freq = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(freq.QuadPart);
}

// Fills, then pumps until the list has painted again, so deferred work is counted too.
double Fill(controls::ListBoxW& list, long n, bool workbenchWay) {
    double start = Seconds();
    list.Clear();
    if (workbenchWay) {
        list.Redraw(false);
        list.InitStorage(n, 12);
    }
    for (long i = 0; i < n; ++i) list.AddItem(L"match " + std::to_wstring(i));
    if (workbenchWay) list.Redraw(true);
    host::App().PumpUntil([] { return !GetQueueStatus(QS_ALLINPUT); }, 60000);
    UpdateWindow(list.hWnd());
    return Seconds() - start;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    long maxN = argc > 1 ? std::wcstol(argv[1], nullptr, 10) : 1000000;
    host::RegisterControlKind(L"ListBoxW", [] { return std::make_unique<controls::ListBoxW>(); });
    host::Form form(host::ParseDesign(
        L"Begin Form Bench\n ClientWidth = 10800\n ClientHeight = 6000\n"
        L" Begin ListBoxW lstResults\n  Left = 120\n  Top = 240\n  Width = 10275\n  Height = 3825\n  BorderStyle = 0\n End\n"
        L"End\n"));
    form.Show();
    auto& list = form.Ctl<controls::ListBoxW>(L"lstResults");
    std::printf("%10s %14s %14s %14s %14s\n", "entries", "AddItem s", "us/entry", "workbench s", "us/entry");
    for (long n = 62500; n <= maxN; n *= 2) {
        double plain = Fill(list, n, false);
        double quiet = Fill(list, n, true);
        std::printf("%10ld %14.3f %14.3f %14.3f %14.3f\n", n, plain, plain * 1e6 / n, quiet, quiet * 1e6 / n);
        std::fflush(stdout);
    }
    return list.ListCount() > 0 ? 0 : 1;
}
