// The class without a dialog: defaults, the setters' rules and errors, the Action dispatcher's
// refusals, the filter and file-buffer conversions, and the device blocks the print dialogs get.
#include "dialogs/CommonDialog.h"
#include "dialogs/DeviceSettings.h"
#include "dialogs/FileChoice.h"
#include "host/Error.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

using dialogs::CommonDialog;

namespace {

// The error number and text a call raised (0 when it raised none).
std::pair<long, std::wstring> Raised(const std::function<void()>& call) {
    try {
        call();
    } catch (const host::Error& e) {
        return {e.Number(), e.Description()};
    }
    return {0, L""};
}

}  // namespace

TEST(CommonDialogProperties, DefaultsOfANewInstance) {
    CommonDialog cd;
    EXPECT_EQ(&cd.Object(), &cd);
    EXPECT_FALSE(cd.CancelError());
    EXPECT_FALSE(cd.HookEvents());
    EXPECT_EQ(cd.hDC(), nullptr);
    EXPECT_EQ(cd.MaxFileSize(), 260);
    EXPECT_EQ(cd.FontSize(), 8.0f);
    EXPECT_EQ(cd.Orientation(), 1);
    wchar_t measure[4] = {};
    GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_IMEASURE, measure, 4);
    EXPECT_EQ(cd.PaperSize(), measure[0] == L'0' ? 9 : 1) << "A4 where the user measures in metric, else Letter";
    EXPECT_EQ(cd.Copies(), 1);
    EXPECT_EQ(cd.PaperBin(), 7);
    EXPECT_EQ(cd.PrintQuality(), -4);
    EXPECT_EQ(cd.ColorMode(), 2);
    EXPECT_EQ(cd.Duplex(), 1);
    EXPECT_TRUE(cd.PrinterDefault());
    EXPECT_TRUE(cd.PrinterDefaultInit());
    EXPECT_TRUE(cd.RootFolder().IsEmpty());
    EXPECT_EQ(cd.UntouchedDeviceSettings(), 0x1E03u);
    for (int i = 0; i < 16; ++i) {
        int grey = 255 - 16 * i;
        EXPECT_EQ(cd.CustomColors()[i], RGB(grey, grey, grey)) << i;
    }
}

TEST(CommonDialogProperties, InvalidValuesRaise380AndKeepTheOldValue) {
    CommonDialog cd;
    struct Case {
        const char* what;
        std::function<void()> set;
        std::function<long()> get;
        long kept;
    };
    const Case cases[] = {
        {"MaxFileSize 0", [&] { cd.MaxFileSize(0); }, [&] { return cd.MaxFileSize(); }, 260},
        {"FilterIndex -1", [&] { cd.FilterIndex(-1); }, [&] { return cd.FilterIndex(); }, 0},
        {"Copies 0", [&] { cd.Copies(0); }, [&] { return long(cd.Copies()); }, 1},
        {"Min -1", [&] { cd.Min(-1); }, [&] { return cd.Min(); }, 0},
        {"ToPage -5", [&] { cd.ToPage(-5); }, [&] { return cd.ToPage(); }, 0},
        {"Orientation 3", [&] { cd.Orientation(3); }, [&] { return cd.Orientation(); }, 1},
        {"PaperSize 0", [&] { cd.PaperSize(0); }, [&] { return cd.PaperSize(); }, cd.PaperSize()},
        {"PaperBin 32768", [&] { cd.PaperBin(32768); }, [&] { return cd.PaperBin(); }, 7},
        {"PrintQuality -5", [&] { cd.PrintQuality(-5); }, [&] { return cd.PrintQuality(); }, -4},
        {"ColorMode 0", [&] { cd.ColorMode(0); }, [&] { return cd.ColorMode(); }, 2},
        {"Duplex 4", [&] { cd.Duplex(4); }, [&] { return cd.Duplex(); }, 1},
        {"HelpCommand 6", [&] { cd.HelpCommand(6); }, [&] { return cd.HelpCommand(); }, 0},
        {"HelpCommand 260", [&] { cd.HelpCommand(260); }, [&] { return cd.HelpCommand(); }, 0},
        {"PageLeftMargin -1", [&] { cd.PageLeftMargin(-1); }, [&] { return cd.PageLeftMargin(); }, 0},
        {"PageBottomMinMargin -1", [&] { cd.PageBottomMinMargin(-1); }, [&] { return cd.PageBottomMinMargin(); }, 0},
    };
    for (const Case& c : cases) {
        auto [number, text] = Raised(c.set);
        EXPECT_EQ(number, 380) << c.what;
        EXPECT_EQ(text, L"Invalid property value") << c.what;
        EXPECT_EQ(c.get(), c.kept) << c.what;
    }
    // The edges that are allowed.
    cd.PrintQuality(-1);
    cd.PrintQuality(0);
    cd.PaperBin(32767);
    for (long command : {0L, 1L, 5L, 8L, 9L, 257L, 258L, 261L}) cd.HelpCommand(command);
    EXPECT_EQ(cd.HelpCommand(), 261);
}

TEST(CommonDialogProperties, ReadOnlyWriteOnlyAndTheActionDispatcher) {
    CommonDialog cd;
    EXPECT_EQ(Raised([&] { cd.FileTitle(L"x"); }), std::make_pair(383L, std::wstring(L"Property is read-only")));
    EXPECT_EQ(Raised([&] { cd.FileOffset(3); }), std::make_pair(383L, std::wstring(L"Property is read-only")));
    EXPECT_EQ(Raised([&] { cd.hDC(reinterpret_cast<HDC>(1)); }), std::make_pair(383L, std::wstring(L"Property is read-only")));
    EXPECT_EQ(Raised([&] { (void)cd.Action(); }), std::make_pair(394L, std::wstring(L"Property is write-only")));
    EXPECT_EQ(Raised([&] { cd.Action(11); }).first, 380);
    EXPECT_EQ(Raised([&] { cd.Action(0); }).first, 380);
    // Action 6 runs ShowHelp, which with HelpCommand 0 does nothing at all.
    EXPECT_EQ(Raised([&] { cd.Action(6); }).first, 0);
}

TEST(CommonDialogProperties, RootFolderTakesNothingANumberOrAPath) {
    CommonDialog cd;
    cd.RootFolder(17L);
    EXPECT_EQ(cd.RootFolder().AsLong(), 17);
    cd.RootFolder(5.0);
    cd.RootFolder(std::wstring(L"C:\\windows"));
    EXPECT_EQ(cd.RootFolder().AsString(), L"C:\\windows");
    EXPECT_EQ(Raised([&] { cd.RootFolder(true); }).first, 380);
    EXPECT_EQ(Raised([&] { cd.RootFolder(host::Bytes{1, 2}); }).first, 380);
    EXPECT_EQ(cd.RootFolder().AsString(), L"C:\\windows") << "a refused value leaves the old one";
    cd.RootFolder(host::Value());
    EXPECT_TRUE(cd.RootFolder().IsEmpty());
}

TEST(CommonDialogProperties, SettingADeviceSettingHandsItToTheDialogs) {
    CommonDialog cd;
    cd.Orientation(2);
    cd.Duplex(3);
    EXPECT_EQ(cd.UntouchedDeviceSettings(), 0x1E03u & ~DWORD(DM_ORIENTATION | DM_DUPLEX));
    cd.PaperSize(5);
    cd.PaperBin(2);
    cd.PrintQuality(300);
    cd.ColorMode(1);
    EXPECT_EQ(cd.UntouchedDeviceSettings(), 0u);
}

TEST(FileChoice, FilterBecomesNulSeparatedWithTwoNulsAtTheEnd) {
    using namespace std::string_literals;
    EXPECT_EQ(dialogs::DialogFilter(L"Text (*.txt)|*.txt|All|*.*"), L"Text (*.txt)\0*.txt\0All\0*.*\0\0"s);
    EXPECT_EQ(dialogs::DialogFilter(L"All|*.*|"), L"All\0*.*\0\0"s) << "a trailing | gets one NUL added";
    EXPECT_EQ(dialogs::DialogFilter(L""), L"\0\0"s);
}

TEST(FileChoice, OneFileOrAFolderWithSeveralNames) {
    using namespace std::string_literals;
    dialogs::FileChoice one;
    std::wstring single = L"C:\\dir\\name.txt\0\0"s;
    ASSERT_TRUE(dialogs::ReadFileChoice(single.c_str(), single.size(), 7, one));
    EXPECT_EQ(one.fileName, L"C:\\dir\\name.txt");
    EXPECT_EQ(one.fileTitle, L"name.txt");

    dialogs::FileChoice many;
    std::wstring multi = L"C:\\dir\0a.txt\0b.txt\0c.txt\0\0junk"s;
    ASSERT_TRUE(dialogs::ReadFileChoice(multi.c_str(), multi.size(), 7, many));
    EXPECT_EQ(many.fileName, L"C:\\dir\0a.txt\0b.txt\0c.txt"s);
    EXPECT_EQ(many.fileTitle, L"");

    // A full buffer without its double NUL stays inside the buffer.
    std::wstring full = L"C:\\d\0aaaa"s;
    ASSERT_TRUE(dialogs::ReadFileChoice(full.c_str(), full.size(), 5, many));
    EXPECT_EQ(many.fileName, L"C:\\d\0aaaa"s);
    EXPECT_FALSE(dialogs::ReadFileChoice(single.c_str(), single.size(), 0, one));
}

TEST(DeviceSettings, BlocksCarryOnlyTheTouchedSettingsAndTheNamedPrinter) {
    dialogs::DeviceSettings s;
    s.orientation = 2;
    s.untouched &= ~DWORD(DM_ORIENTATION);
    s.copies = 4;
    s.defaultInit = false;
    s.driver = L"drv";
    s.name = std::wstring(40, L'P');
    s.port = L"port:";
    dialogs::DeviceBlocks b = dialogs::BuildDeviceBlocks(s, 0x9F03, true);
    ASSERT_TRUE(b.devMode);
    ASSERT_TRUE(b.devNames);
    auto* dm = static_cast<DEVMODEW*>(GlobalLock(b.devMode.Get()));
    EXPECT_EQ(dm->dmSize, 220);
    EXPECT_EQ(dm->dmFields, DWORD(DM_ORIENTATION | DM_COPIES | DM_COLLATE)) << "untouched settings are left to the driver";
    EXPECT_EQ(dm->dmOrientation, 2);
    EXPECT_EQ(dm->dmCopies, 4);
    EXPECT_EQ(dm->dmCollate, DMCOLLATE_TRUE);
    EXPECT_EQ(std::wstring(dm->dmDeviceName), std::wstring(31, L'P')) << "cut to the field";
    dm->dmPaperSize = 8;  // as a dialog would answer
    dm->dmFields |= DM_PAPERSIZE;
    GlobalUnlock(b.devMode.Get());

    s.orientation = 1;
    dialogs::ReturnedDevice r = dialogs::ReadDeviceBlocks(b, s, 0x9F03);
    EXPECT_EQ(s.orientation, 2);
    EXPECT_EQ(s.paperSize, 8);
    EXPECT_EQ(s.untouched & (DM_ORIENTATION | DM_PAPERSIZE), 0u);
    EXPECT_TRUE(r.hasNames);
    EXPECT_FALSE(r.defaultPrinter);
    EXPECT_EQ(r.driver, L"drv");
    EXPECT_EQ(r.name, std::wstring(40, L'P'));
    EXPECT_EQ(r.port, L"port:");

    // Names of a hundred characters each still fit the block.
    s.driver = std::wstring(150, L'd');
    s.name = std::wstring(100, L'n');
    s.port = std::wstring(100, L'p');
    dialogs::DeviceBlocks big = dialogs::BuildDeviceBlocks(s, 0x9F03, false);
    dialogs::ReturnedDevice rb = dialogs::ReadDeviceBlocks(big, s, 0);
    EXPECT_EQ(rb.driver, std::wstring(100, L'd'));
    EXPECT_EQ(rb.port, std::wstring(100, L'p'));

    s.defaultInit = true;
    EXPECT_FALSE(dialogs::BuildDeviceBlocks(s, 0x9F03, false).devNames) << "PrinterDefaultInit: no names";
}

TEST(CommonDialogHelp, AKeywordSearchOpensWinHelpAndCommandZeroDoesNothing) {
    CommonDialog cd;
    auto helpWindow = [] { return FindWindowW(L"MS_WINHELP", nullptr); };
    ASSERT_EQ(helpWindow(), nullptr);
    cd.HelpFile(L"C:\\windows\\help\\nothing.hlp");
    cd.HelpKey(L"pattern");
    cd.ShowHelp();  // HelpCommand 0
    Sleep(500);
    EXPECT_EQ(helpWindow(), nullptr) << "HelpCommand 0 opens nothing";
    cd.HelpCommand(HELP_PARTIALKEY);
    long number = 0;
    try {
        cd.ShowHelp();
    } catch (const host::Error& e) {
        number = e.Number();
    }
    DWORD start = GetTickCount();
    while (!helpWindow() && GetTickCount() - start < 5000) Sleep(50);
    EXPECT_EQ(number, 0);
    EXPECT_NE(helpWindow(), nullptr) << "the help viewer is running";
    WinHelpW(nullptr, L"C:\\windows\\help\\nothing.hlp", HELP_QUIT, 0);
}
