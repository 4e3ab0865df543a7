// The designer's property sheet: the system's property-sheet window (comctl32, with OK, Cancel
// and Apply) whose pages are property pages of ours (PropertyPage.h), opened on controls of a
// form in design mode.
//
//   pages        the ones every selected control names (Control::PropertyPages), in the first
//                control's order; a page is made when the sheet first shows it: Initialize,
//                then SelectionChanged
//   one property opened for a property name, the page that edits it (Control::PropertyPageOf)
//                comes first and gets EditProperty once the sheet is up
//   Apply, OK    ApplyChanges on every page marked Changed, which then is not; a page whose
//                ApplyChanges fails shows the error and keeps the sheet open
//   Cancel       nothing is applied
//
// The sheet is modeless underneath: the host's loop routes its messages (keys to the focused
// control of a page first, as on a form, then the sheet's dialog keys). ShowModal (what
// Form::ShowPropertyPages calls) runs that loop with the owner disabled until OK or Cancel;
// Open leaves the loop to the caller (a test pumps it while it types).
#pragma once

#include "host/Application.h"
#include "host/Handles.h"
#include "host/PropertyPage.h"

#include <windows.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace host {

class ControlSite;

class PropertySheetDialog : public MessageFilter {
public:
    // Raises 5 when nothing is selected or the selected controls have no page in common.
    explicit PropertySheetDialog(std::vector<ControlSite*> selection, std::wstring propertyName = {});
    ~PropertySheetDialog();  // an open sheet is destroyed without applying anything
    PropertySheetDialog(const PropertySheetDialog&) = delete;
    PropertySheetDialog& operator=(const PropertySheetDialog&) = delete;

    // Creates and shows the sheet, owned by `owner`, and returns.
    void Open(HWND owner);
    // Open, then the loop with `owner` disabled until the sheet ends. True when changes were
    // applied (by OK or by Apply before Cancel).
    bool ShowModal(HWND owner);
    // Whether the sheet is up. A sheet that OK, Cancel or its close box ended is destroyed here.
    bool IsOpen();
    // Ends an open sheet as Cancel does.
    void Close();

    HWND hWnd() const { return hwnd_.Get(); }
    bool Applied() const { return applied_; }
    // OK ended the sheet.
    bool Accepted() const { return accepted_; }
    size_t PageCount() const { return slots_.size(); }
    const std::wstring& PageName(size_t index) const;
    // The page object (its window exists once the sheet has shown it).
    PropertyPage& Page(size_t index) const;

    bool PreTranslateMessage(MSG& msg) override;

private:
    struct Slot;
    static INT_PTR CALLBACK PageProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam);
    static Slot* SlotOf(HWND dlg);
    INT_PTR OnPageInit(Slot& slot, HWND dlg);
    INT_PTR OnPageNotify(Slot& slot, HWND dlg, const NMHDR& hdr, LPARAM lParam);
    LRESULT ApplyPage(Slot& slot, bool ok);
    void RouteSheetMessage(MSG& msg);
    PropertyPage* PageOfWindow(HWND hwnd) const;
    void Finish();

    std::vector<ControlSite*> selection_;  // borrowed from the designed form
    std::wstring propertyName_;
    size_t startPage_ = 0;
    std::vector<std::unique_ptr<Slot>> slots_;
    UniqueWindow hwnd_;
    HWND disabledOwner_ = nullptr;  // borrowed: enabled again when the sheet ends
    bool applied_ = false;
    bool accepted_ = false;
    // The latest PSN_APPLY came from OK and no page refused it: read when the sheet has ended.
    bool okRound_ = false;
};

}  // namespace host
