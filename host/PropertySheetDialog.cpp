#include "host/PropertySheetDialog.h"

#include "host/ControlSite.h"
#include "host/Error.h"
#include "host/Form.h"
#include "host/Scale.h"

#include <commctrl.h>
#include <prsht.h>

#include <algorithm>

namespace host {

namespace {

// An in-memory dialog template with no controls, in the font the sheet lays its pages out in
// (the sizes are in that font's dialog units).
std::vector<WORD> EmptyDialogTemplate(DWORD style, short cx, short cy) {
    std::vector<WORD> t;
    auto dword = [&t](DWORD v) {
        t.push_back(LOWORD(v));
        t.push_back(HIWORD(v));
    };
    dword(style | DS_SETFONT);
    dword(0);                       // extended style
    t.push_back(0);                 // no controls
    t.push_back(0);                 // x
    t.push_back(0);                 // y
    t.push_back(static_cast<WORD>(cx));
    t.push_back(static_cast<WORD>(cy));
    t.push_back(0);                 // no menu
    t.push_back(0);                 // the dialog class
    t.push_back(0);                 // no title
    t.push_back(8);                 // point size
    for (const wchar_t* face = L"MS Shell Dlg"; *face; ++face) t.push_back(*face);
    t.push_back(0);
    return t;
}

INT_PTR CALLBACK ProbeProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// Pixels per 4 horizontal and 8 vertical dialog units of the page font, measured once on a
// hidden dialog of that font.
SIZE DialogBaseUnits() {
    static SIZE units{};
    if (units.cx) return units;
    std::vector<WORD> t = EmptyDialogTemplate(WS_POPUP, 4, 8);
    UniqueWindow probe(CreateDialogIndirectParamW(App().hInstance(), reinterpret_cast<LPCDLGTEMPLATEW>(t.data()),
                                                  nullptr, &ProbeProc, 0));
    RECT r{0, 0, 4, 8};
    if (probe) MapDialogRect(probe.Get(), &r);
    units = {r.right > 0 ? r.right : 6, r.bottom > 0 ? r.bottom : 13};
    return units;
}

bool IsKeyMessage(UINT msg) { return msg >= WM_KEYFIRST && msg <= WM_KEYLAST; }

}  // namespace

struct PropertySheetDialog::Slot {
    PropertySheetDialog* sheet;  // borrowed: the sheet owns the slot
    std::wstring name;
    std::unique_ptr<PropertyPage> page;
    std::vector<WORD> dialogTemplate;
    std::wstring title;
};

PropertySheetDialog::PropertySheetDialog(std::vector<ControlSite*> selection, std::wstring propertyName)
    : selection_(std::move(selection)), propertyName_(std::move(propertyName)) {
    if (selection_.empty()) Raise(err::InvalidProcedureCall, L"No control is selected");
    // The pages every selected control has, in the first one's order.
    std::vector<std::wstring> names = selection_.front()->GetControl().PropertyPages();
    for (ControlSite* site : selection_) {
        std::vector<std::wstring> own = site->GetControl().PropertyPages();
        std::erase_if(names, [&own](const std::wstring& n) {
            return std::none_of(own.begin(), own.end(), [&n](const std::wstring& o) { return _wcsicmp(o.c_str(), n.c_str()) == 0; });
        });
    }
    if (names.empty()) Raise(err::InvalidProcedureCall, L"The selected controls have no property page in common");
    std::wstring editing = propertyName_.empty() ? std::wstring() : selection_.front()->GetControl().PropertyPageOf(propertyName_);
    for (const std::wstring& name : names) {
        auto slot = std::make_unique<Slot>();
        slot->sheet = this;
        slot->name = name;
        slot->page = CreatePropertyPage(name);
        if (!editing.empty() && _wcsicmp(editing.c_str(), name.c_str()) == 0) startPage_ = slots_.size();
        slots_.push_back(std::move(slot));
    }
}

PropertySheetDialog::~PropertySheetDialog() { Finish(); }

const std::wstring& PropertySheetDialog::PageName(size_t index) const { return slots_.at(index)->name; }

PropertyPage& PropertySheetDialog::Page(size_t index) const { return *slots_.at(index)->page; }

// --- opening and ending ----------------------------------------------------------------------

void PropertySheetDialog::Open(HWND owner) {
    if (hwnd_) return;
    applied_ = accepted_ = okRound_ = false;
    SIZE units = DialogBaseUnits();
    ScaleConverter screen = ScaleConverter::Screen();
    std::vector<PROPSHEETPAGEW> pages;
    for (auto& slot : slots_) {
        const PropertyBag& design = slot->page->Design().properties;
        int cx = screen.TwipsToPixelsX(design.Read(L"ClientWidth", 4800L).AsDouble());
        int cy = screen.TwipsToPixelsY(design.Read(L"ClientHeight", 3600L).AsDouble());
        slot->dialogTemplate = EmptyDialogTemplate(WS_CHILD | DS_CONTROL | DS_3DLOOK,
                                                   static_cast<short>((cx * 4 + units.cx - 1) / units.cx),
                                                   static_cast<short>((cy * 8 + units.cy - 1) / units.cy));
        slot->title = design.Read(L"Caption", slot->name).AsString();
        PROPSHEETPAGEW p{};
        p.dwSize = sizeof(p);
        p.dwFlags = PSP_DLGINDIRECT | PSP_USETITLE;
        p.hInstance = App().hInstance();
        p.pResource = reinterpret_cast<LPCDLGTEMPLATEW>(slot->dialogTemplate.data());
        p.pszTitle = slot->title.c_str();
        p.pfnDlgProc = &PropertySheetDialog::PageProc;
        p.lParam = reinterpret_cast<LPARAM>(slot.get());
        pages.push_back(p);
    }
    std::wstring caption = selection_.front()->DisplayName();
    PROPSHEETHEADERW h{};
    h.dwSize = sizeof(h);
    h.dwFlags = PSH_PROPSHEETPAGE | PSH_MODELESS | PSH_NOCONTEXTHELP | PSH_PROPTITLE;
    h.hwndParent = owner;
    h.hInstance = App().hInstance();
    h.pszCaption = caption.c_str();
    h.nPages = static_cast<UINT>(pages.size());
    h.nStartPage = static_cast<UINT>(startPage_);
    h.ppsp = pages.data();
    hwnd_.Reset(reinterpret_cast<HWND>(PropertySheetW(&h)));
    if (!hwnd_ || hwnd_.Get() == reinterpret_cast<HWND>(-1)) {
        hwnd_.Release();
        Raise(err::OutOfMemory);
    }
    App().AddMessageFilter(*this);
    // Told once the sheet is up, so that a page that takes the focus keeps it.
    PropertyPage& start = *slots_[startPage_]->page;
    if (!propertyName_.empty() && start.IsLoaded()) {
        try {
            start.PropertyPage_EditProperty(propertyName_);
        } catch (const std::exception&) {
            // The page could not take the property; the sheet is still usable.
        }
    }
}

bool PropertySheetDialog::ShowModal(HWND owner) {
    // Disabled before the sheet shows, so that nothing reaches the owner meanwhile.
    if (owner && IsWindowEnabled(owner)) {
        EnableWindow(owner, FALSE);
        disabledOwner_ = owner;
    }
    try {
        Open(owner);
    } catch (...) {
        Finish();
        throw;
    }
    while (IsOpen())
        if (!App().PumpOne(true)) {
            // WM_QUIT: the program is ending; the loop that called us sees it too.
            Finish();
            break;
        }
    return applied_;
}

bool PropertySheetDialog::IsOpen() {
    if (!hwnd_) return false;
    if (PropSheet_GetCurrentPageHwnd(hwnd_.Get())) return true;
    accepted_ = okRound_;
    Finish();
    return false;
}

void PropertySheetDialog::Close() {
    if (hwnd_) PropSheet_PressButton(hwnd_.Get(), PSBTN_CANCEL);
    Finish();
}

void PropertySheetDialog::Finish() {
    App().RemoveMessageFilter(*this);
    // The owner first, so that the activation goes back to it rather than to another program.
    if (disabledOwner_) {
        EnableWindow(disabledOwner_, TRUE);
        if (hwnd_ && GetActiveWindow() == hwnd_.Get()) SetActiveWindow(disabledOwner_);
        disabledOwner_ = nullptr;
    }
    hwnd_.Reset();  // the pages' windows go with it (WM_DESTROY unloads their forms)
}

// --- message routing -------------------------------------------------------------------------

bool PropertySheetDialog::PreTranslateMessage(MSG& msg) {
    if (!hwnd_ || (msg.hwnd != hwnd_.Get() && !IsChild(hwnd_.Get(), msg.hwnd))) return false;
    RouteSheetMessage(msg);
    IsOpen();  // a sheet this message ended goes now
    return true;
}

void PropertySheetDialog::RouteSheetMessage(MSG& msg) {
    if (IsKeyMessage(msg.message))
        if (PropertyPage* page = PageOfWindow(msg.hwnd)) {
            KeyAnswer answer = App().OfferKeyToControl(*page, msg);
            if (answer == KeyAnswer::Consumed) return;
            if (answer == KeyAnswer::Claimed) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
                return;
            }
        }
    if (PropSheet_IsDialogMessage(hwnd_.Get(), &msg)) return;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

PropertyPage* PropertySheetDialog::PageOfWindow(HWND hwnd) const {
    for (const auto& slot : slots_) {
        HWND form = slot->page->hWnd();
        if (form && (form == hwnd || IsChild(form, hwnd))) return slot->page.get();
    }
    return nullptr;
}

// --- the pages ---------------------------------------------------------------------------------

PropertySheetDialog::Slot* PropertySheetDialog::SlotOf(HWND dlg) { return reinterpret_cast<Slot*>(GetWindowLongPtrW(dlg, DWLP_USER)); }

INT_PTR CALLBACK PropertySheetDialog::PageProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_INITDIALOG: {
        auto* slot = reinterpret_cast<Slot*>(reinterpret_cast<const PROPSHEETPAGEW*>(lParam)->lParam);
        SetWindowLongPtrW(dlg, DWLP_USER, reinterpret_cast<LONG_PTR>(slot));
        return slot->sheet->OnPageInit(*slot, dlg);
    }
    case WM_NOTIFY:
        if (Slot* slot = SlotOf(dlg)) return slot->sheet->OnPageNotify(*slot, dlg, *reinterpret_cast<const NMHDR*>(lParam), lParam);
        return FALSE;
    case WM_SIZE:
        if (Slot* slot = SlotOf(dlg); slot && slot->page->hWnd())
            MoveWindow(slot->page->hWnd(), 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        return FALSE;
    case WM_DESTROY:
        if (Slot* slot = SlotOf(dlg)) {
            slot->page->Unload();
            slot->page->pageWindow_ = nullptr;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

// The page's form inside the sheet's page, then its first two events. Nothing may escape into
// the system's dialog code: a page that fails to load stays empty.
INT_PTR PropertySheetDialog::OnPageInit(Slot& slot, HWND dlg) {
    PropertyPage& page = *slot.page;
    try {
        page.Attach(dlg, selection_);
        page.Load();
        page.PropertyPage_Initialize();
        page.PropertyPage_SelectionChanged();
    } catch (const std::exception&) {
    }
    return TRUE;
}

INT_PTR PropertySheetDialog::OnPageNotify(Slot& slot, HWND dlg, const NMHDR& hdr, LPARAM lParam) {
    switch (hdr.code) {
    case PSN_APPLY:
        SetWindowLongPtrW(dlg, DWLP_MSGRESULT, ApplyPage(slot, reinterpret_cast<const PSHNOTIFY*>(lParam)->lParam != 0));
        return TRUE;
    case PSN_RESET:
        okRound_ = false;
        return TRUE;
    case PSN_KILLACTIVE:
        SetWindowLongPtrW(dlg, DWLP_MSGRESULT, FALSE);
        return TRUE;
    default:
        return FALSE;
    }
}

LRESULT PropertySheetDialog::ApplyPage(Slot& slot, bool ok) {
    PropertyPage& page = *slot.page;
    if (page.Changed()) {
        try {
            page.PropertyPage_ApplyChanges();
        } catch (const Error& e) {
            okRound_ = false;
            MessageBoxW(hwnd_.Get(), e.Description().c_str(), App().Title().c_str(), MB_OK | MB_ICONSTOP);
            return PSNRET_INVALID_NOCHANGEPAGE;
        }
        applied_ = true;
        page.Changed(false);
    }
    okRound_ = ok;
    return PSNRET_NOERROR;
}

// --- the form's entry ------------------------------------------------------------------------

bool Form::ShowPropertyPages(const std::vector<ControlSite*>& selection, const std::wstring& propertyName) {
    for (ControlSite* site : selection)
        if (!site || &site->Parent() != this) Raise(err::InvalidProcedureCall, L"A selected control is not on this form");
    PropertySheetDialog sheet(selection, propertyName);
    return sheet.ShowModal(hwnd_.Get());
}

}  // namespace host
