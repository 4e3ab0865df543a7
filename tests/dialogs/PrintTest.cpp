// The print and page-setup dialogs against the printers of the test's CUPS server (PDF, the
// default, and PDF2; tools/printer.sh), driven from a second thread.
#include "DialogDriver.h"
#include "dialogs/CommonDialog.h"
#include "host/Error.h"

#include <gtest/gtest.h>
#include <winspool.h>


#include <string>
#include <vector>

using dialogs::CommonDialog;
using namespace dlgtest;

namespace {

constexpr int PrinterBox = 0x473, FromBox = 0x480, ToBox = 0x481, CopiesBox = 0x482, PagesButton = 0x422;
constexpr int LandscapeButton = 0x421, PaperBox = 0x471;

std::wstring DefaultPrinter() {
    wchar_t name[256] = {};
    DWORD chars = 256;
    return GetDefaultPrinterW(name, &chars) ? name : L"";
}

// The tests need the CUPS queues; without them every print test says so instead of hanging.
class Printing : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(DefaultPrinter(), L"PDF") << "the test's CUPS server (tools/printer.sh, CUPS_SERVER) is not running";
    }
    void TearDown() override { SetDefaultPrinterW(L"PDF"); }
    ActiveOwner owner_;
};

void ChoosePrinter(HWND dialog, const wchar_t* name) {
    HWND box = Item(dialog, PrinterBox);
    SendMessageW(box, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(name));
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(PrinterBox, CBN_SELCHANGE), reinterpret_cast<LPARAM>(box));
    Sleep(100);
}

void PressOk(DWORD thread) { Press(WaitForDialog(thread), IDOK); }

}  // namespace

TEST_F(Printing, TheDefaultPrinterConfirmedGivesItsSettingsAndThePagesTyped) {
    CommonDialog cd;
    cd.HookEvents(true);
    cd.Copies(3);
    cd.Min(1);
    cd.Max(10);
    cd.FromPage(2);
    cd.ToPage(5);
    cd.Flags(PD_PAGENUMS);
    int initKind = 0;
    cd.InitDialog = [&](int kind, HWND) { initKind = kind; };
    std::wstring printer, copies, from, to;
    bool ok;
    {
        DialogDriver driver([&](DWORD thread) {
            HWND dialog = WaitForDialog(thread);
            printer = TextOf(Item(dialog, PrinterBox));
            copies = TextOf(Item(dialog, CopiesBox));
            from = TextOf(Item(dialog, FromBox));
            to = TextOf(Item(dialog, ToBox));
            SetText(Item(dialog, FromBox), L"3");
            SetText(Item(dialog, ToBox), L"4");
            Press(dialog, IDOK);
        });
        ok = cd.ShowPrinter();
    }
    ASSERT_TRUE(ok);
    EXPECT_EQ(initKind, 5);
    EXPECT_EQ(printer, L"PDF");
    EXPECT_EQ(copies, L"3");
    EXPECT_EQ(from, L"2");
    EXPECT_EQ(to, L"5");
    EXPECT_EQ(cd.FromPage(), 3);
    EXPECT_EQ(cd.ToPage(), 4);
    EXPECT_EQ(cd.Min(), 1);
    EXPECT_EQ(cd.Max(), 10);
    EXPECT_EQ(cd.Copies(), 3);
    EXPECT_NE(cd.Flags() & PD_PAGENUMS, 0);
    EXPECT_EQ(cd.Flags() & (PD_ENABLEPRINTHOOK | PD_ENABLESETUPHOOK), 0);
    EXPECT_EQ(cd.PrinterName(), L"") << "the default printer leaves the names empty";
    EXPECT_EQ(cd.UntouchedDeviceSettings() & DM_PAPERSIZE, 0u) << "the driver's paper came back and is kept";
    EXPECT_EQ(cd.PaperSize(), DMPAPER_A4) << "the PDF queue's paper";
}

TEST_F(Printing, APaperSizeSetBeforeReachesTheDialog) {
    CommonDialog cd;
    cd.PaperSize(DMPAPER_LETTER);
    {
        DialogDriver driver(PressOk);
        ASSERT_TRUE(cd.ShowPrinter());
    }
    EXPECT_EQ(cd.PaperSize(), DMPAPER_LETTER);
}

TEST_F(Printing, ReturnedDeviceContextsBelongToTheInstance) {
    CommonDialog cd;
    cd.Flags(PD_RETURNDC);
    {
        DialogDriver driver(PressOk);
        ASSERT_TRUE(cd.ShowPrinter());
    }
    HDC first = cd.hDC();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(GetDeviceCaps(first, TECHNOLOGY), DT_RASPRINTER);
    EXPECT_GT(GetDeviceCaps(first, HORZRES), 0);
    {
        DialogDriver driver(PressOk);
        ASSERT_TRUE(cd.ShowPrinter());
    }
    EXPECT_NE(cd.hDC(), nullptr);
    EXPECT_EQ(GetObjectType(first), 0u) << "the replaced context was deleted";
}

TEST_F(Printing, AnotherPrinterChosenBecomesTheDefaultOrIsNamed) {
    CommonDialog cd;
    {
        DialogDriver driver([&](DWORD thread) {
            HWND dialog = WaitForDialog(thread);
            ChoosePrinter(dialog, L"PDF2");
            Press(dialog, IDOK);
        });
        ASSERT_TRUE(cd.ShowPrinter());
    }
    EXPECT_EQ(DefaultPrinter(), L"PDF2") << "PrinterDefault makes the choice the system's default";
    EXPECT_EQ(cd.PrinterName(), L"");
    SetDefaultPrinterW(L"PDF");

    cd.PrinterDefault(false);
    {
        DialogDriver driver([&](DWORD thread) {
            HWND dialog = WaitForDialog(thread);
            ChoosePrinter(dialog, L"PDF2");
            Press(dialog, IDOK);
        });
        ASSERT_TRUE(cd.ShowPrinter());
    }
    EXPECT_EQ(DefaultPrinter(), L"PDF");
    EXPECT_EQ(cd.PrinterName(), L"PDF2");
    EXPECT_FALSE(cd.PrinterDriver().empty());
    EXPECT_FALSE(cd.PrinterPort().empty());

    // With PrinterDefaultInit off, the named printer is where the next dialog starts.
    cd.PrinterDefaultInit(false);
    std::wstring shown;
    {
        DialogDriver driver([&](DWORD thread) {
            HWND dialog = WaitForDialog(thread);
            shown = TextOf(Item(dialog, PrinterBox));
            Press(dialog, IDCANCEL);
        });
        EXPECT_FALSE(cd.ShowPrinter());
    }
    EXPECT_EQ(shown, L"PDF2");
}

TEST_F(Printing, PageSetupOrientationIsWhereThePrintDialogStarts) {
    CommonDialog cd;
    cd.HookEvents(true);
    int initKind = 0;
    cd.InitDialog = [&](int kind, HWND) { initKind = kind; };
    std::wstring paper;
    {
        DialogDriver driver([&](DWORD thread) {
            HWND dialog = WaitForDialog(thread);
            paper = TextOf(Item(dialog, PaperBox));
            Check(dialog, LandscapeButton);
            Press(dialog, IDOK);
        });
        ASSERT_TRUE(cd.ShowPageSetup());
    }
    EXPECT_EQ(initKind, 7);
    EXPECT_EQ(paper, L"A4");
    EXPECT_EQ(cd.Orientation(), DMORIENT_LANDSCAPE);
    EXPECT_EQ(cd.UntouchedDeviceSettings() & DM_ORIENTATION, 0u);
    EXPECT_EQ(cd.Flags() & PSD_ENABLEPAGESETUPHOOK, 0);
    EXPECT_GT(cd.PageLeftMargin(), 0) << "the dialog's margins come back";

    cd.HookEvents(false);
    {
        DialogDriver driver(PressOk);
        ASSERT_TRUE(cd.ShowPrinter());
    }
    EXPECT_EQ(cd.Orientation(), DMORIENT_LANDSCAPE) << "the print dialog was handed the page setup's orientation";
}

TEST_F(Printing, PageSetupMarginsGoInAndComeBack) {
    CommonDialog cd;
    cd.Flags(PSD_MARGINS | PSD_INTHOUSANDTHSOFINCHES);
    cd.PageLeftMargin(500);
    cd.PageTopMargin(750);
    cd.PageRightMargin(1000);
    cd.PageBottomMargin(1250);
    std::wstring left, top;
    {
        DialogDriver driver([&](DWORD thread) {
            HWND dialog = WaitForDialog(thread);
            left = TextOf(Item(dialog, 0x483));
            top = TextOf(Item(dialog, 0x484));
            SetText(Item(dialog, 0x485), L"2");
            Press(dialog, IDOK);
        });
        ASSERT_TRUE(cd.ShowPageSetup());
    }
    EXPECT_DOUBLE_EQ(std::stod(left), 0.5) << "inches, as the flags ask";
    EXPECT_DOUBLE_EQ(std::stod(top), 0.75);
    EXPECT_EQ(cd.PageLeftMargin(), 500);
    EXPECT_EQ(cd.PageRightMargin(), 2000);
    EXPECT_EQ(cd.PageBottomMargin(), 1250);
}

TEST_F(Printing, CancelWithCancelErrorRaises) {
    CommonDialog cd;
    cd.CancelError(true);
    long number = 0;
    {
        DialogDriver driver([](DWORD thread) { Press(WaitForDialog(thread), IDCANCEL); });
        try {
            cd.ShowPageSetup();
        } catch (const host::Error& e) {
            number = e.Number();
        }
    }
    EXPECT_EQ(number, 32755);

}

TEST_F(Printing, PropertySheetStyleReturnsItsResultAction) {
    CommonDialog cd;
    cd.HookEvents(true);
    cd.Min(1);
    cd.Max(9);
    cd.FromPage(1);
    cd.ToPage(9);
    std::vector<HWND> inits;
    cd.InitDialog = [&](int kind, HWND hDlg) {
        if (kind == 5) inits.push_back(hDlg);
    };
    long action = -1;
    long number = 0;
    {
        DialogDriver driver([](DWORD thread) {
            if (HWND dialog = WaitForDialog(thread, 5000)) Press(dialog, IDOK);
        });
        try {
            action = cd.ShowPrinterEx();
        } catch (const host::Error& e) {
            number = e.Number();
        }
    }
    EXPECT_EQ(number, 0);
    EXPECT_EQ(action, PD_RESULT_PRINT);
    ASSERT_EQ(inits.size(), 1u) << "InitDialog once, from the callback or, where it is never called, the watch";
    EXPECT_NE(inits[0], nullptr);
    EXPECT_EQ(cd.FromPage(), 1);
    EXPECT_EQ(cd.ToPage(), 9);
    EXPECT_EQ(cd.PaperSize(), DMPAPER_A4);
    EXPECT_EQ(cd.UntouchedDeviceSettings() & DM_PAPERSIZE, 0u) << "the settings are read back after Print";
}

TEST_F(Printing, ReturnDefaultOpensNothingAndGivesTheDefaultPrinter) {
    CommonDialog cd;
    cd.Flags(PD_RETURNDEFAULT);
    cd.PrinterDefaultInit(false);
    cd.PrinterName(L"stale");
    cd.PrinterDriver(L"stale");
    cd.PrinterPort(L"stale");
    HWND seen = nullptr;
    {
        DialogDriver driver([&](DWORD thread) {
            seen = WaitForDialog(thread, 1500);
            if (seen) Press(seen, IDCANCEL);
        });
        EXPECT_TRUE(cd.ShowPrinter());
    }
    EXPECT_EQ(seen, nullptr) << "no dialog";
    EXPECT_EQ(cd.PaperSize(), DMPAPER_A4);
    EXPECT_EQ(cd.PrinterName(), L"") << "the default printer's names stay empty";
}

TEST_F(Printing, TheHelpButtonRaisesHelpOnce) {
    CommonDialog cd;
    cd.Flags(PD_SHOWHELP);
    std::vector<int> helps;
    cd.Help = [&](bool& handled, int kind, HWND) {
        helps.push_back(kind);
        handled = true;
    };
    {
        DialogDriver driver([&](DWORD thread) {
            HWND dialog = WaitForDialog(thread);
            Press(dialog, 0x40e);  // pshHelp
            WaitFor([&] { return !helps.empty(); }, 3000);
            Sleep(200);
            Press(dialog, IDCANCEL);
        });
        EXPECT_FALSE(cd.ShowPrinter());
    }
    ASSERT_EQ(helps.size(), 1u);
    EXPECT_EQ(helps[0], 5);
}
