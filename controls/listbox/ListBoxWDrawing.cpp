// ListBoxW: drawing the items of the check-box and option styles — the check column, themed
// or classic, then the text — and the item height those styles need.
#include "controls/foundation/Common.h"
#include "controls/foundation/VisualStyles.h"
#include "controls/listbox/ListBoxW.h"
#include "host/ControlSite.h"
#include "host/Handles.h"
#include "host/HostWindow.h"

#include <algorithm>

#include <uxtheme.h>
#include <vssym32.h>

#include <cmath>

namespace controls {

namespace {

int ThemedState(bool optionStyle, bool checked, bool disabled) {
    if (optionStyle) return checked ? (disabled ? RBS_CHECKEDDISABLED : RBS_CHECKEDNORMAL) : (disabled ? RBS_UNCHECKEDDISABLED : RBS_UNCHECKEDNORMAL);
    return checked ? (disabled ? CBS_CHECKEDDISABLED : CBS_CHECKEDNORMAL) : (disabled ? CBS_UNCHECKEDDISABLED : CBS_UNCHECKEDNORMAL);
}

}  // namespace

LRESULT ListBoxW::OnHostDrawItem(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (!item || item->CtlType != ODT_LISTBOX || item->hwndItem != list_.Get() || item->itemID == static_cast<UINT>(-1))
        return foundation::CallDefaultProc(hwnd, WM_DRAWITEM, wParam, lParam);
    if (style_ != 0)
        DrawCheckItem(*item);
    else if (drawMode_ != 0)
        RaiseItemDraw(*item);
    else
        return foundation::CallDefaultProc(hwnd, WM_DRAWITEM, wParam, lParam);
    return TRUE;
}

// Owner-drawn rows: the form's handler does all the drawing (reading the text through List).
void ListBoxW::RaiseItemDraw(const DRAWITEMSTRUCT& item) {
    const RECT& r = item.rcItem;
    Site().RaiseEvent(DispId::ItemDraw, ItemDraw, static_cast<long>(item.itemID), static_cast<long>(item.itemAction),
                      static_cast<long>(item.itemState), static_cast<long>(reinterpret_cast<LONG_PTR>(item.hDC)), r.left,
                      r.top, r.right, r.bottom);
}

// Variable rows: the handler may change the height the system proposes.
LRESULT ListBoxW::OnHostMeasureItem(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
    if (drawMode_ != 2 || !item || item->CtlType != ODT_LISTBOX || item->itemID == static_cast<UINT>(-1))
        return foundation::CallDefaultProc(hwnd, WM_MEASUREITEM, wParam, lParam);
    long height = static_cast<long>(item->itemHeight);
    Site().RaiseEvent(DispId::ItemMeasure, ItemMeasure, static_cast<long>(item->itemID), height);
    item->itemHeight = static_cast<UINT>(std::max(height, 0L));
    return TRUE;
}

void ListBoxW::DrawCheckItem(const DRAWITEMSTRUCT& item) {
    const host::HostWindow& host = *Site().HostWin();
    HDC dc = item.hDC;
    long index = static_cast<long>(item.itemID);
    bool disabled = (item.itemState & ODS_DISABLED) != 0;
    bool highlighted = (item.itemState & ODS_SELECTED) && allowSelection_;
    RECT check = item.rcItem, text = item.rcItem;
    if (rightToLeft_) {
        check = {item.rcItem.right - checkBoxWidth_ + 1, item.rcItem.top + 1, item.rcItem.right - 1, item.rcItem.bottom - 1};
        text.right -= checkBoxWidth_;
    } else {
        check = {item.rcItem.left + 1, item.rcItem.top + 1, item.rcItem.left + checkBoxWidth_ - 1, item.rcItem.bottom - 1};
        text.left += checkBoxWidth_;
    }
    host::UniqueBrush back(CreateSolidBrush(host.BackRgb()));
    if (highlighted) {
        host::UniqueBrush highlight(CreateSolidBrush(GetSysColor(COLOR_HIGHLIGHT)));
        FillRect(dc, &text, highlight.Get());
    } else {
        FillRect(dc, &text, back.Get());
    }
    FillRect(dc, &check, back.Get());

    bool checked = IsChecked(index);
    HTHEME theme = visualStyles_ && foundation::VisualStylesActive() ? OpenThemeData(list_.Get(), L"Button") : nullptr;
    if (theme) {
        int part = style_ == 2 ? BP_RADIOBUTTON : BP_CHECKBOX;
        int state = ThemedState(style_ == 2, checked, disabled);
        if (IsThemeBackgroundPartiallyTransparent(theme, part, state)) DrawThemeParentBackground(list_.Get(), dc, &check);
        DrawThemeBackground(theme, dc, part, state, &check, &check);
        CloseThemeData(theme);
    } else {
        UINT state = DFCS_BUTTONCHECK | DFCS_FLAT;
        if (disabled) state |= DFCS_INACTIVE;
        if (style_ == 2) state |= DFCS_BUTTONRADIO;
        if (checked) state |= DFCS_CHECKED;
        DrawFrameControl(dc, &check, DFC_BUTTON, state);
    }

    std::wstring caption;
    if (Box().Text(index, caption)) {
        UINT oldAlign = rightToLeft_ ? SetTextAlign(dc, TA_RIGHT | TA_RTLREADING) : GetTextAlign(dc);
        int oldMode = SetBkMode(dc, TRANSPARENT);
        COLORREF color = disabled ? GetSysColor(COLOR_GRAYTEXT) : highlighted ? GetSysColor(COLOR_HIGHLIGHTTEXT) : host.ForeRgb();
        COLORREF oldColor = SetTextColor(dc, color);
        int step = static_cast<int>(std::nearbyint(foundation::DpiScaleX()));
        int x = rightToLeft_ ? text.right - step : text.left + step;
        TextOutW(dc, x, text.top, caption.c_str(), static_cast<int>(caption.size()));
        SetTextColor(dc, oldColor);
        SetBkMode(dc, oldMode);
        SetTextAlign(dc, oldAlign);
    }
    if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &text);
}

// The rows must be tall enough for the check box as well as the text.
void ListBoxW::ApplyCheckItemHeight() {
    if (style_ == 0 || !list_) return;
    host::WindowDC screen(nullptr);
    host::SelectObjectGuard font(screen.Get(), hFont_.Get());
    TEXTMETRICW tm{};
    GetTextMetricsW(screen.Get(), &tm);
    Box().SetItemHeight(0, std::max<long>(tm.tmHeight, checkBoxWidth_));
    if (integralHeight_) {
        SIZE size = HostClientSize();
        MoveWindow(list_.Get(), 0, 0, size.cx, size.cy + 1, FALSE);
        MoveWindow(list_.Get(), 0, 0, size.cx, size.cy, FALSE);
    }
}

}  // namespace controls
