// The real workbench window for a test: FrmMain built from its design resource and shown, with
// read-back of what a person sees (texts, list entries, selections, focus, layout).
#pragma once

#include "app/FrmMain.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace controls {
class TextBoxW;
class ListBoxW;
}  // namespace controls

namespace wbtest {

struct Selection {
    long start = 0;
    long length = 0;
    bool operator==(const Selection&) const = default;
};

class Workbench {
public:
    Workbench();   // shown, with the focus where the form puts it
    ~Workbench();  // unloaded

    workbench::FrmMain& Form() const { return *form_; }
    HWND Window() const { return form_->hWnd(); }

    // The window a person types into or clicks: the edit, list box, button or label itself.
    HWND Handle(const wchar_t* name, int index = -1) const;
    controls::TextBoxW& TextBox(const wchar_t* name) const;

    std::wstring Text(const wchar_t* name, int index = -1) const;  // window text of that control
    std::vector<std::wstring> Entries(const wchar_t* list) const;
    long CurrentEntry(const wchar_t* list) const;           // LB_GETCURSEL
    Selection SourceSelection() const;                      // EM_GETSEL of txtSource
    std::wstring ResultsCaption() const { return Text(L"FrameW1"); }
    bool IsShown(const wchar_t* name) const;                // visible on the screen
    bool HasFocus(const wchar_t* name) const;
    int CheckState(const wchar_t* name) const;              // BM_GETCHECK
    RECT ScreenRect(const wchar_t* name) const;

    // Gestures used by many tests.
    void TypeInto(const wchar_t* box, std::wstring_view text);   // click into the box, type
    void PasteSource(const std::wstring& text);                  // click into the source, paste
    void SetPattern(std::wstring_view pattern);                  // click, select all, type
    void RunByReturn();                                          // Return in the pattern box
    void ClickEntry(long index);                                 // click a result entry
    // Pumps until no real-time run has anything left to show; false after `timeoutMs`.
    bool WaitForRealTimeRun(DWORD timeoutMs = 60000);

private:
    std::unique_ptr<workbench::FrmMain> form_;
};

// Twips of the form at the screen's DPI.
double TwipsPerPixelX();

}  // namespace wbtest
