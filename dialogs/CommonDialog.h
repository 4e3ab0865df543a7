// CommonDialog: the Windows common dialogs behind one property set. The caller fills the
// properties, calls a Show operation and reads the properties back; with HookEvents on, the
// dialogs' hook procedures (foundation::DialogHookForwarder) deliver their messages to
// ISubclass_Message with negative reference numbers and the class raises its events while the
// dialog is open. Find and replace are modeless, everything else returns when its dialog closes.
//
//   CommonDialog.cpp          life cycle, the Action dispatcher, the owner window, message routing
//   CommonDialogProperties.cpp  setters with their validation and errors
//   FileDialogs.cpp           open and save; FileDialogHook.cpp their hook events
//   FolderBrowser.cpp         SHBrowseForFolderW and its callback
//   ColorDialog.cpp, FontDialog.cpp
//   DeviceSettings.cpp        the device mode and names the print and page-setup dialogs share
//   PrintDialogs.cpp          PrintDlgW and PrintDlgExW; PageSetupDialog.cpp
//   FindReplace.cpp           the modeless find and replace dialogs
//   HelpPlumbing.cpp          the Help button through the owner window, WinHelpW; HelpRoute.cpp
//                             the subclasses that hear it; DialogWatch.cpp finds a dialog window
//   DialogErrors.cpp          the error table of each dialog
#pragma once

#include "controls/foundation/ISubclass.h"
#include "controls/foundation/Subclass.h"
#include "dialogs/DeviceSettings.h"
#include "host/Event.h"
#include "host/Handles.h"
#include "host/Value.h"

#include <windows.h>
#include <commdlg.h>

#include <array>
#include <string>

namespace dialogs {

// The dialog kinds: the values of Action and the Action argument of the events.
namespace kind {
constexpr int Open = 1, Save = 2, Color = 3, Font = 4, Print = 5, Help = 6, PageSetup = 7, FolderBrowser = 8,
              Find = 9, Replace = 10;
}

// Dispatch identifiers of the events, in declaration order.
namespace dispid {
constexpr long InitDialog = 1, Help = 2, FileShareViolation = 3, FileValidate = 4, ColorValidate = 5, FontApply = 6,
               FolderBrowserValidateFailed = 7, FindNext = 8, Replace = 9, ReplaceAll = 10;
}

class CommonDialog : public foundation::ISubclass {
public:
    CommonDialog();
    // Deletes the device context it holds and closes an open find or replace dialog.
    ~CommonDialog() override;

    // --- events ----------------------------------------------------------------------------
    // "Occurs when a dialog box has finished initializing."
    host::Event<int /*Action*/, HWND /*hDlg*/> InitDialog;
    // "Occurs when the user clicks the help button in a dialog box." Unhandled, ShowHelp runs.
    host::Event<bool& /*Handled*/, int /*Action*/, HWND /*hDlg*/> Help;
    // Result: OFN_SHAREWARN 0, OFN_SHARENOWARN 1, OFN_SHAREFALLTHROUGH 2.
    host::Event<const std::wstring& /*FileName*/, long& /*Result*/, HWND /*hDlg*/> FileShareViolation;
    host::Event<const std::wstring& /*FileName*/, const std::wstring& /*FileTitle*/, int /*FileOffset*/,
                bool& /*Cancel*/, HWND /*hDlg*/>
        FileValidate;
    host::Event<long& /*RGBColor*/, bool& /*Cancel*/, HWND /*hDlg*/> ColorValidate;
    host::Event<long /*Flags*/, const std::wstring& /*FontName*/, float /*FontSize*/, bool /*FontBold*/,
                bool /*FontItalic*/, bool /*FontStrikethru*/, bool /*FontUnderline*/, int /*FontCharset*/,
                long /*Color*/, HWND /*hDlg*/>
        FontApply;
    host::Event<const std::wstring& /*Text*/, bool& /*Cancel*/, HWND /*hDlg*/> FolderBrowserValidateFailed;
    host::Event<> FindNext;
    host::Event<> Replace;
    host::Event<> ReplaceAll;

    // --- operations ------------------------------------------------------------------------
    bool ShowOpen();
    bool ShowSave();
    bool ShowColor();
    bool ShowFont();
    bool ShowPrinter();
    long ShowPrinterEx();  // the result action: 0 cancel, 1 print, 2 apply
    void ShowHelp();
    bool ShowPageSetup();
    bool ShowFolderBrowser();
    HWND ShowFind();  // the modeless dialog, or 0 when none was opened
    HWND ShowReplace();

    // --- properties ------------------------------------------------------------------------
    // "Returns the own instance."
    CommonDialog& Object() { return *this; }
    // Write-only: reading raises 394; writing runs the dialog of that kind.
    int Action() const;
    void Action(int value);

    bool CancelError() const { return cancelError_; }
    void CancelError(bool v) { cancelError_ = v; }
    bool HookEvents() const { return hookEvents_; }
    void HookEvents(bool v) { hookEvents_ = v; }
    const std::wstring& Tag() const { return tag_; }
    void Tag(std::wstring v) { tag_ = std::move(v); }
    HDC hDC() const { return hdc_.Get(); }
    void hDC(HDC);  // read-only: raises 383
    long Flags() const { return flags_; }
    void Flags(long v) { flags_ = v; }
    const std::wstring& DialogTitle() const { return dialogTitle_; }
    void DialogTitle(std::wstring v) { dialogTitle_ = std::move(v); }

    long MaxFileSize() const { return maxFileSize_; }
    void MaxFileSize(long v);
    // With several files chosen: the folder, then each name, separated by NUL characters.
    const std::wstring& FileName() const { return fileName_; }
    void FileName(std::wstring v) { fileName_ = std::move(v); }
    const std::wstring& FileTitle() const { return fileTitle_; }
    void FileTitle(const std::wstring&);  // read-only: raises 383
    int FileOffset() const { return fileOffset_; }
    void FileOffset(int);  // read-only: raises 383
    const std::wstring& Filter() const { return filter_; }
    void Filter(std::wstring v) { filter_ = std::move(v); }
    long FilterIndex() const { return filterIndex_; }
    void FilterIndex(long v);
    const std::wstring& InitDir() const { return initDir_; }
    void InitDir(std::wstring v) { initDir_ = std::move(v); }
    const std::wstring& DefaultExt() const { return defaultExt_; }
    void DefaultExt(std::wstring v) { defaultExt_ = std::move(v); }

    long Color() const { return color_; }
    void Color(long v) { color_ = v; }
    const std::wstring& FontName() const { return fontName_; }
    void FontName(std::wstring v) { fontName_ = std::move(v); }
    float FontSize() const { return fontSize_; }
    void FontSize(float v) { fontSize_ = v; }
    bool FontBold() const { return fontBold_; }
    void FontBold(bool v) { fontBold_ = v; }
    bool FontItalic() const { return fontItalic_; }
    void FontItalic(bool v) { fontItalic_ = v; }
    bool FontStrikethru() const { return fontStrikethru_; }
    void FontStrikethru(bool v) { fontStrikethru_ = v; }
    bool FontUnderline() const { return fontUnderline_; }
    void FontUnderline(bool v) { fontUnderline_ = v; }
    int FontCharset() const { return fontCharset_; }
    void FontCharset(int v) { fontCharset_ = static_cast<short>(v); }

    long Min() const { return min_; }
    void Min(long v);
    long Max() const { return max_; }
    void Max(long v);
    long FromPage() const { return fromPage_; }
    void FromPage(long v);
    long ToPage() const { return toPage_; }
    void ToPage(long v);

    // The device settings the print and page-setup dialogs share. Setting one hands it to the
    // dialog; untouched ones are left to the printer driver.
    long Orientation() const { return device_.orientation; }
    void Orientation(long v);
    long PaperSize() const { return device_.paperSize; }
    void PaperSize(long v);
    int Copies() const { return device_.copies; }
    void Copies(int v);
    long PaperBin() const { return device_.paperBin; }
    void PaperBin(long v);
    long PrintQuality() const { return device_.printQuality; }
    void PrintQuality(long v);
    long ColorMode() const { return device_.colorMode; }
    void ColorMode(long v);
    long Duplex() const { return device_.duplex; }
    void Duplex(long v);
    bool PrinterDefault() const { return printerDefault_; }
    void PrinterDefault(bool v) { printerDefault_ = v; }
    bool PrinterDefaultInit() const { return device_.defaultInit; }
    void PrinterDefaultInit(bool v) { device_.defaultInit = v; }
    const std::wstring& PrinterDriver() const { return device_.driver; }
    void PrinterDriver(std::wstring v) { device_.driver = std::move(v); }
    const std::wstring& PrinterName() const { return device_.name; }
    void PrinterName(std::wstring v) { device_.name = std::move(v); }
    const std::wstring& PrinterPort() const { return device_.port; }
    void PrinterPort(std::wstring v) { device_.port = std::move(v); }
    // The bits of the device settings still left to the driver (DM_ORIENTATION, ...).
    DWORD UntouchedDeviceSettings() const { return device_.untouched; }

    const std::wstring& HelpFile() const { return helpFile_; }
    void HelpFile(std::wstring v) { helpFile_ = std::move(v); }
    long HelpCommand() const { return helpCommand_; }
    void HelpCommand(long v);
    long HelpContext() const { return helpContext_; }
    void HelpContext(long v) { helpContext_ = v; }
    const std::wstring& HelpKey() const { return helpKey_; }
    void HelpKey(std::wstring v) { helpKey_ = std::move(v); }

    long PageLeftMargin() const { return margin_.left; }
    void PageLeftMargin(long v);
    long PageTopMargin() const { return margin_.top; }
    void PageTopMargin(long v);
    long PageRightMargin() const { return margin_.right; }
    void PageRightMargin(long v);
    long PageBottomMargin() const { return margin_.bottom; }
    void PageBottomMargin(long v);
    long PageLeftMinMargin() const { return minMargin_.left; }
    void PageLeftMinMargin(long v);
    long PageTopMinMargin() const { return minMargin_.top; }
    void PageTopMinMargin(long v);
    long PageRightMinMargin() const { return minMargin_.right; }
    void PageRightMinMargin(long v);
    long PageBottomMinMargin() const { return minMargin_.bottom; }
    void PageBottomMinMargin(long v);

    // Empty (no root), a number (a CSIDL) or a folder path.
    const host::Value& RootFolder() const { return rootFolder_; }
    void RootFolder(host::Value v);

    const std::wstring& FindWhat() const { return findWhat_; }
    void FindWhat(std::wstring v) { findWhat_ = std::move(v); }
    const std::wstring& ReplaceWith() const { return replaceWith_; }
    void ReplaceWith(std::wstring v) { replaceWith_ = std::move(v); }

    // The custom colours the colour dialog shows, kept across calls.
    const std::array<COLORREF, 16>& CustomColors() const { return customColors_; }

protected:
    LRESULT ISubclass_Message(HWND hwnd, UINT wMsg, WPARAM wParam, LPARAM lParam, LONG_PTR dwRefData) override;

private:
    // CommonDialog.cpp
    static HWND OwnerWindow();
    bool Cancelled();  // the cancel rule shared by every dialog: 32755 or false

    // FileDialogs.cpp, FileDialogHook.cpp
    bool ShowFileDialog(int dialogKind);
    LRESULT FileHookMessage(int dialogKind, bool explorer, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT FileOk(int dialogKind, HWND hDlg, HWND answerTo, const OPENFILENAMEW& ofn);
    LRESULT FileShare(HWND hDlg, HWND answerTo, const std::wstring& file);

    // FolderBrowser.cpp
    LRESULT BrowseCallbackMessage(HWND hwnd, UINT msg, LPARAM lParam);
    LRESULT BrowseDialogMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    // ColorDialog.cpp, FontDialog.cpp
    LRESULT ColorHookMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT ColorOk(HWND hDlg, const CHOOSECOLORW* cc);
    LRESULT FontHookMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void RaiseFontApply(HWND hDlg);

    // PrintDialogs.cpp, PageSetupDialog.cpp
    DeviceBlocks PrintDeviceBlocks() const;
    void TakePrintResult(const DeviceBlocks& blocks, DWORD returnedFlags, HDC returnedDC);
    void TakePrinterNames(const ReturnedDevice& returned);

    // FindReplace.cpp
    HWND ShowFindReplace(int dialogKind);
    LRESULT FindReplaceOwnerMessage(int dialogKind, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void EndFindReplace();
    void CloseFindReplace();

    // HelpPlumbing.cpp (the routes themselves: HelpRoute.h)
    LRESULT HelpButtonMessage(int dialogKind, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OwnerMessage(int dialogKind, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void RaiseHelp(int dialogKind, HWND hDlg);

    bool cancelError_ = false;
    bool hookEvents_ = false;
    std::wstring tag_;
    host::UniqueMemoryDC hdc_;  // the device context a print dialog returned
    long flags_ = 0;
    std::wstring dialogTitle_;
    long maxFileSize_ = 260;
    std::wstring fileName_, fileTitle_;
    int fileOffset_ = 0;
    std::wstring filter_;
    long filterIndex_ = 0;
    std::wstring initDir_, defaultExt_;
    long color_ = 0;
    std::wstring fontName_;
    float fontSize_ = 8;
    bool fontBold_ = false, fontItalic_ = false, fontStrikethru_ = false, fontUnderline_ = false;
    short fontCharset_ = 0;
    long min_ = 0, max_ = 0, fromPage_ = 0, toPage_ = 0;
    DeviceSettings device_;
    bool printerDefault_ = true;
    std::wstring helpFile_;
    long helpCommand_ = 0, helpContext_ = 0;
    std::wstring helpKey_;
    RECT margin_{}, minMargin_{};
    host::Value rootFolder_;
    std::wstring findWhat_, replaceWith_;

    std::array<COLORREF, 16> customColors_{};
    HWND colorDialog_ = nullptr;  // borrowed: the open hooked colour dialog
    bool printInitReported_ = false;  // the print dialog's InitDialog was raised
    bool helpHeard_ = false;          // the owner heard "commdlg_help"
    foundation::ScopedSubclass browseRoute_;  // the open folder browser, when it checks typed names
    std::wstring browseSelection_;            // its selection's path
    bool typedNameChecked_ = false;           // this OK's typed name was reported already

    // The open find or replace dialog: its record and buffers live here while it is open.
    // The dialogs differ on whether the buffer length counts bytes or characters; buffers of
    // that many characters are safe either way.
    static constexpr int FindBufferChars = 256;
    FINDREPLACEW findRecord_{};
    std::array<wchar_t, FindBufferChars> findBuffer_{}, replaceBuffer_{};
    HWND findDialog_ = nullptr;          // destroys itself when closed; CloseFindReplace makes sure
    foundation::ScopedSubclass findRoute_;  // on the owner: the dialog's messages arrive there
};

}  // namespace dialogs
