// How long a ListBoxW takes to list N entries after a Clear, for growing N, in three ways a
// caller fills it: plain AddItem calls (the control suspends redrawing and grows its storage by
// itself), Redraw off around the AddItem calls, and Redraw off with InitStorage for the known
// count first. Linear fills show a constant time per entry. Usage: listbox_fill_bench [max]
#include "bench/WallClock.h"
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


enum class Way { Plain, RedrawOff, RedrawOffInitStorage };

// Fills, then pumps until the list has painted again, so deferred work is counted too.
double Fill(controls::ListBoxW& list, long n, Way way) {
    double start = Seconds();
    list.Clear();
    if (way != Way::Plain) list.Redraw(false);
    if (way == Way::RedrawOffInitStorage) list.InitStorage(n, 12);
    for (long i = 0; i < n; ++i) list.AddItem(L"match " + std::to_wstring(i));
    if (way != Way::Plain) list.Redraw(true);
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
    std::printf("%10s %22s %22s %22s\n", "entries", "AddItem s (us/entry)", "Redraw off", "+ InitStorage");
    for (long n = 62500; n <= maxN; n *= 2) {
        double t[3];
        for (Way way : {Way::Plain, Way::RedrawOff, Way::RedrawOffInitStorage}) t[static_cast<int>(way)] = Fill(list, n, way);
        std::printf("%10ld", n);
        for (double s : t) std::printf(" %12.3f (%6.3f)  ", s, s * 1e6 / n);
        std::printf("\n");
        std::fflush(stdout);
    }
    return list.ListCount() > 0 ? 0 : 1;
}
