// ListBoxW: the list box window's life — created from the properties, destroyed with its
// subclasses removed first, re-created with its items (text, item data, selection, top index)
// when a creation-time property changes, and kept the size of the host window.
#include "controls/foundation/ComCtlsBase.h"
#include "controls/foundation/Common.h"
#include "controls/foundation/VTableHandle.h"
#include "controls/foundation/ControlServices.h"
#include "controls/foundation/VisualStyles.h"
#include "controls/foundation/WindowUpdateLock.h"
#include "controls/listbox/ListBoxStyles.h"
#include "controls/listbox/ListBoxW.h"
#include "host/ControlSite.h"
#include "host/HostWindow.h"

#include <uxtheme.h>

#include <exception>

namespace controls {

namespace {

// What a re-creation carries from the old window to the new one.
struct SavedItem {
    std::wstring text;
    LPARAM data = 0;
    bool selected = false;
};

}  // namespace

SIZE ListBoxW::HostClientSize() const {
    RECT rc{};
    if (HWND host = HostWindow()) GetClientRect(host, &rc);
    return {rc.right - rc.left, rc.bottom - rc.top};
}

void ListBoxW::CreateListBox() {
    if (list_) return;
    // Rows of their own height rule out columns and whole-row fitting; owner drawing rules out
    // the check column.
    if (drawMode_ == 2) multiColumn_ = integralHeight_ = false;
    if (drawMode_ != 0) style_ = 0;
    ListBoxStyleInputs in;
    in.redraw = redraw_;
    in.multiColumn = multiColumn_;
    in.rightToLeft = rightToLeft_;
    in.sorted = sorted_;
    in.integralHeight = integralHeight_;
    in.allowSelection = allowSelection_;
    in.multiSelect = multiSelect_;
    in.useTabStops = useTabStops_;
    in.disableNoScroll = disableNoScroll_;
    in.style = style_;
    in.drawMode = drawMode_;
    ListBoxStyles s = ListBoxStylesFor(in);
    DWORD style = s.style, exStyle = s.exStyle;
    foundation::ApplyBorderStyle(style, exStyle, borderStyle_);
    SIZE size = HostClientSize();
    list_.Reset(CreateWindowExW(exStyle, L"ListBox", L"", style, 0, 0, size.cx, size.cy, HostWindow(), nullptr,
                                GetModuleHandleW(nullptr), nullptr));
    if (list_) {
        listClassProc_ = reinterpret_cast<WNDPROC>(GetClassLongPtrW(list_.Get(), GCLP_WNDPROC));
        foundation::ShowUIStateCues(list_.Get());
        // A multi-column list takes no right-to-left styles at creation (they would turn its
        // columns round); they are set on the window once it is there.
        if (multiColumn_ && rightToLeft_)
            foundation::ApplyRightToLeftExStyle(list_.Get(), WS_EX_RIGHT | WS_EX_RTLREADING | WS_EX_LEFTSCROLLBAR);
        if (!multiColumn_ && horizontalExtentPixels_ > 0) Box().SetHorizontalExtent(horizontalExtentPixels_);
        newIndex_ = -1;
        lastTopIndex_ = 0;
        reservedItems_ = 0;
        appendedCount_ = -1;
        optionIndex_ = -1;
        insertMarkIndex_ = -1;
        insertMarkAfter_ = false;
    }
    ApplyFont();
    ApplyVisualStyles();
    if (list_) EnableWindow(list_.Get(), Site().HostWin()->Enabled());
    if (!list_) return;
    if (designMode_) {
        Box().Add(Site().AmbientDisplayName());
        Box().SetCurSel(-1);
        // The design view draws the check column too.
        if (style_ != 0) {
            hostSubclass_ = foundation::ScopedSubclass(HostWindow(), this, DesignHostWindowRef);
            Refresh();
        }
        return;
    }
    listSubclass_ = foundation::ScopedSubclass(list_.Get(), this, ListBoxRef);
    hostSubclass_ = foundation::ScopedSubclass(HostWindow(), this, HostWindowRef);
}

void ListBoxW::DestroyListBox() {
    if (!list_) return;
    listSubclass_.Reset();
    hostSubclass_.Reset();
    ShowWindow(list_.Get(), SW_HIDE);
    SetParent(list_.Get(), nullptr);
    list_.Reset();
    listClassProc_ = nullptr;
    hFont_.Reset();
    redrawSuspended_ = false;
}

// A Click handler raised while the selection is put back may fail; the rest of the state is
// restored all the same (the window update lock too), and only then does the failure go on to
// the caller.
void ListBoxW::ReCreateListBox() {
    if (!list_) return;
    if (designMode_) {
        DestroyListBox();
        CreateListBox();
        Resize();
        return;
    }
    long newIndex = newIndex_, optionIndex = optionIndex_, markIndex = insertMarkIndex_;
    bool markAfter = insertMarkAfter_;
    std::exception_ptr handlerFailure;
    {
        foundation::WindowUpdateLock lock(HostWindow());
        long itemHeight = Box().ItemHeight(0);
        long count = Box().Count();
        std::vector<SavedItem> items(static_cast<size_t>(count));
        for (long i = 0; i < count; ++i) {
            SavedItem& it = items[static_cast<size_t>(i)];
            Box().Text(i, it.text);
            it.data = Box().ItemData(i);
            if (multiSelect_ != 0) it.selected = Box().Selected(i);
        }
        long listIndex = ListIndex();
        long topIndex = TopIndex();

        DestroyListBox();
        CreateListBox();
        Resize();

        if (list_ && itemHeight > 0) Box().SetItemHeight(0, itemHeight);
        if (list_ && count > 0) {
            Box().SetRedraw(false);
            for (long i = 0; i < count; ++i) {
                const SavedItem& it = items[static_cast<size_t>(i)];
                ReserveForAppend(it.text.size());
                Box().Insert(i, it.text);
                Box().SetItemData(i, it.data);
                if (multiSelect_ != 0) Box().SetSelected(i, it.selected);
            }
            Box().SetRedraw(true);
            newIndex_ = newIndex;
            try {
                // Through the property, so Click tells the form when the restored index is news.
                if (listIndex >= 0 || multiSelect_ == 0) ListIndex(listIndex);
            } catch (...) {
                handlerFailure = std::current_exception();
            }
            if (list_ && topIndex >= 0 && topIndex < Box().Count()) Box().SetTopIndex(topIndex);
        }
    }
    newIndex_ = newIndex;
    optionIndex_ = optionIndex;
    insertMarkIndex_ = markIndex;
    insertMarkAfter_ = markAfter;
    Refresh();
    if (!redraw_ && list_) Box().SetRedraw(false);
    if (handlerFailure) std::rethrow_exception(handlerFailure);
}

// With IntegralHeight the list box rounds itself to whole items; the control then takes the
// list box's real height, so no half item shows at the bottom.
void ListBoxW::Resize() {
    if (inResize_ || !list_) return;
    inResize_ = true;
    if (foundation::TwipsPerPixelCorrection() != 1.0) foundation::ReapplySiteRects(*this);
    SIZE size = HostClientSize();
    MoveWindow(list_.Get(), 0, 0, size.cx, size.cy, TRUE);
    if (integralHeight_) {
        RECT rc{};
        GetWindowRect(list_.Get(), &rc);
        double height = Site().ScaleY(rc.bottom - rc.top, host::ScaleUnit::Pixels, host::ScaleUnit::Container);
        if (rc.bottom - rc.top != size.cy) Site().Height(height);
    }
    inResize_ = false;
}

void ListBoxW::ApplyFont() {
    if (!list_) return;
    host::UniqueFont font = foundation::CreateControlFont(font_);
    SendMessageW(list_.Get(), WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), TRUE);
    hFont_ = std::move(font);  // the previous font goes only now that the window no longer uses it
    ApplyCheckItemHeight();
}

void ListBoxW::ApplyVisualStyles() {
    if (!list_ || !foundation::VisualStylesActive()) return;
    if (visualStyles_)
        SetWindowTheme(list_.Get(), nullptr, nullptr);
    else
        SetWindowTheme(list_.Get(), L" ", L" ");
    Refresh();
}

}  // namespace controls
