// Gallery page of CommonDialog: a button per dialog; what the dialog leaves in the properties is
// logged when it closes, and with HookEvents on so are the events raised while it is open.
#include "controls/label/LabelW.h"
#include "dialogs/CommonDialog.h"
#include "gallery/GalleryPage.h"

#include <shlobj.h>

#include <cstdio>
#include <functional>
#include <string>

namespace gallery {
namespace {

std::wstring Hex(long v) {
    wchar_t text[16];
    std::swprintf(text, 16, L"&H%lX", static_cast<unsigned long>(v));
    return text;
}

std::wstring YesNo(bool v) { return v ? L"True" : L"False"; }

// Several files come back as the folder and the names separated by NULs; shown with " | ".
std::wstring Shown(const std::wstring& text) {
    std::wstring out;
    for (wchar_t c : text) out += c == L'\0' ? std::wstring(L" | ") : std::wstring(1, c);
    return L"\"" + out + L"\"";
}

class CommonDialogPage : public GalleryPage {
public:
    CommonDialogPage() : GalleryPage(L"CommonDialog") { UseControl<controls::LabelW>(L"LabelW"); }

protected:
    void Form_Load() override {
        GalleryPage::Form_Load();
        Switch(L"chkCancelError", [this](bool on) { cd_.CancelError(on); });
        Switch(L"chkHookEvents", [this](bool on) { cd_.HookEvents(on); });
        Switch(L"chkMultiSelect", [this](bool on) { multiSelect_ = on; });
        Button(L"cmdShowOpen", L"ShowOpen", [this] { ShowOpen(); });
        Button(L"cmdShowSave", L"ShowSave", [this] { ShowSave(); });
        Button(L"cmdShowFolderBrowser", L"ShowFolderBrowser", [this] { ShowFolderBrowser(); });
        Button(L"cmdShowColor", L"ShowColor", [this] { ShowColor(); });
        Button(L"cmdShowFont", L"ShowFont", [this] { ShowFont(); });
        Button(L"cmdShowPrinter", L"ShowPrinter", [this] { ShowPrinter(false); });
        Button(L"cmdShowPrinterEx", L"ShowPrinterEx", [this] { ShowPrinter(true); });
        Button(L"cmdShowPageSetup", L"ShowPageSetup", [this] { ShowPageSetup(); });
        Button(L"cmdShowFind", L"ShowFind", [this] { ShowFindReplace(false); });
        Button(L"cmdShowReplace", L"ShowReplace", [this] { ShowFindReplace(true); });
        LogDialogEvents();
    }

private:
    void Button(const wchar_t* name, std::wstring source, std::function<void()> show) {
        Ctl<host::CommandButton>(name).Click = [this, source = std::move(source), show = std::move(show)] {
            Try(source, show);
        };
    }

    void ShowOpen() {
        cd_.Filter(L"文本文件 (*.txt)|*.txt|所有文件 (*.*)|*.*");
        cd_.FilterIndex(1);
        cd_.DialogTitle(L"");
        cd_.Flags(OFN_EXPLORER | OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | (multiSelect_ ? OFN_ALLOWMULTISELECT : 0));
        bool ok = cd_.ShowOpen();
        LogFile(L"ShowOpen", ok);
    }
    void ShowSave() {
        cd_.Filter(L"文本文件 (*.txt)|*.txt|所有文件 (*.*)|*.*");
        cd_.DefaultExt(L"txt");
        cd_.Flags(OFN_EXPLORER | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT);
        bool ok = cd_.ShowSave();
        LogFile(L"ShowSave", ok);
    }
    void ShowFolderBrowser() {
        cd_.DialogTitle(L"选择一个文件夹");
        cd_.Flags(BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT);
        bool ok = cd_.ShowFolderBrowser();
        Log(L"ShowFolderBrowser", YesNo(ok));
        Log(L"ShowFolderBrowser", L"FileName = " + Shown(cd_.FileName()) + L", FileTitle = " + Shown(cd_.FileTitle()) +
                                      L", FileOffset = " + std::to_wstring(cd_.FileOffset()));
    }
    void ShowColor() {
        cd_.Flags(CC_RGBINIT | CC_FULLOPEN);
        bool ok = cd_.ShowColor();
        Log(L"ShowColor", YesNo(ok));
        Log(L"ShowColor", L"Color = " + Hex(cd_.Color()) + L", Flags = " + Hex(cd_.Flags()));
    }
    void ShowFont() {
        cd_.Flags(CF_SCREENFONTS | CF_EFFECTS | CF_APPLY);
        bool ok = cd_.ShowFont();
        Log(L"ShowFont", YesNo(ok));
        Log(L"ShowFont", L"FontName = " + Shown(cd_.FontName()) + L", FontSize = " +
                             std::to_wstring(static_cast<int>(cd_.FontSize())) + L", FontBold = " + YesNo(cd_.FontBold()) +
                             L", FontItalic = " + YesNo(cd_.FontItalic()) + L", FontUnderline = " +
                             YesNo(cd_.FontUnderline()) + L", FontStrikethru = " + YesNo(cd_.FontStrikethru()) +
                             L", FontCharset = " + std::to_wstring(cd_.FontCharset()) + L", Color = " + Hex(cd_.Color()));
    }
    void ShowPrinter(bool propertySheet) {
        const wchar_t* source = propertySheet ? L"ShowPrinterEx" : L"ShowPrinter";
        cd_.Flags(0);
        cd_.Min(1);
        cd_.Max(9);
        if (propertySheet)
            Log(source, L"结果 " + std::to_wstring(cd_.ShowPrinterEx()));
        else
            Log(source, YesNo(cd_.ShowPrinter()));
        LogDevice(source);
        Log(source, L"FromPage = " + std::to_wstring(cd_.FromPage()) + L", ToPage = " + std::to_wstring(cd_.ToPage()) +
                        L", Copies = " + std::to_wstring(cd_.Copies()) + L", Flags = " + Hex(cd_.Flags()));
    }
    void ShowPageSetup() {
        cd_.Flags(0);
        bool ok = cd_.ShowPageSetup();
        Log(L"ShowPageSetup", YesNo(ok));
        LogDevice(L"ShowPageSetup");
        Log(L"ShowPageSetup", L"边距 " + std::to_wstring(cd_.PageLeftMargin()) + L", " + std::to_wstring(cd_.PageTopMargin()) +
                                  L", " + std::to_wstring(cd_.PageRightMargin()) + L", " +
                                  std::to_wstring(cd_.PageBottomMargin()) + L", Flags = " + Hex(cd_.Flags()));
    }
    void ShowFindReplace(bool replace) {
        cd_.Flags(FR_DOWN);
        HWND dialog = replace ? cd_.ShowReplace() : cd_.ShowFind();
        Log(replace ? L"ShowReplace" : L"ShowFind",
            dialog ? L"窗口 " + Hex(static_cast<long>(reinterpret_cast<LONG_PTR>(dialog))) : std::wstring(L"0（已有一个打开）"));
    }

    void LogFile(const wchar_t* source, bool ok) {
        Log(source, YesNo(ok));
        Log(source, L"FileName = " + Shown(cd_.FileName()) + L", FileTitle = " + Shown(cd_.FileTitle()) +
                        L", FileOffset = " + std::to_wstring(cd_.FileOffset()) + L", FilterIndex = " +
                        std::to_wstring(cd_.FilterIndex()) + L", Flags = " + Hex(cd_.Flags()));
    }
    void LogDevice(const wchar_t* source) {
        Log(source, L"PrinterName = " + Shown(cd_.PrinterName()) + L", Orientation = " + std::to_wstring(cd_.Orientation()) +
                        L", PaperSize = " + std::to_wstring(cd_.PaperSize()) + L", PaperBin = " +
                        std::to_wstring(cd_.PaperBin()));
    }

    void LogDialogEvents() {
        cd_.InitDialog = [this](int kind, HWND) { Log(L"CommonDialog", L"InitDialog " + std::to_wstring(kind)); };
        cd_.Help = [this](bool&, int kind, HWND) { Log(L"CommonDialog", L"Help " + std::to_wstring(kind)); };
        cd_.FileValidate = [this](const std::wstring& name, const std::wstring& title, int offset, bool&, HWND) {
            Log(L"CommonDialog", L"FileValidate " + Shown(name) + L", " + Shown(title) + L", " + std::to_wstring(offset));
        };
        cd_.FileShareViolation = [this](const std::wstring& name, long&, HWND) {
            Log(L"CommonDialog", L"FileShareViolation " + Shown(name));
        };
        cd_.ColorValidate = [this](long& rgb, bool&, HWND) { Log(L"CommonDialog", L"ColorValidate " + Hex(rgb)); };
        cd_.FontApply = [this](long, const std::wstring& name, float size, bool bold, bool italic, bool, bool, int, long,
                               HWND) {
            Log(L"CommonDialog", L"FontApply " + Shown(name) + L", " + std::to_wstring(static_cast<int>(size)) + L", " +
                                     YesNo(bold) + L", " + YesNo(italic));
        };
        cd_.FolderBrowserValidateFailed = [this](const std::wstring& text, bool&, HWND) {
            Log(L"CommonDialog", L"FolderBrowserValidateFailed " + Shown(text));
        };
        cd_.FindNext = [this] { Log(L"CommonDialog", L"FindNext " + Shown(cd_.FindWhat())); };
        cd_.Replace = [this] { Log(L"CommonDialog", L"Replace " + Shown(cd_.FindWhat()) + L" → " + Shown(cd_.ReplaceWith())); };
        cd_.ReplaceAll = [this] {
            Log(L"CommonDialog", L"ReplaceAll " + Shown(cd_.FindWhat()) + L" → " + Shown(cd_.ReplaceWith()));
        };
    }

    dialogs::CommonDialog cd_;
    bool multiSelect_ = false;
};

}  // namespace

GALLERY_PAGE(CommonDialogPage, L"CommonDialog",
             L"通用对话框：打开、保存、文件夹、颜色、字体、打印、页面设置、查找与替换，关闭后读回属性。");

}  // namespace gallery
