// ListBoxW: the library's Unicode list box. One "ListBox" child window fills the control's host
// window; both are subclassed (1 = the list box, 2 = the host window). Items (text, item data,
// selection) live only in the list box; re-creating it for a creation-time property keeps them.
//
//   ListBoxW.cpp          life cycle, persistence, the properties
//   ListBoxWWindow.cpp    creating, destroying and re-creating the list box, resizing, the font
//   ListBoxWItems.cpp     items; bulk appends
//   ListBoxWSelection.cpp the selection
//   ListBoxWLayout.cpp    hit testing, item height, columns, ideal extent
//   ListBoxWChecks.cpp    check-box and option styles: states and toggling
//   ListBoxWDrawing.cpp   drawing the items of those styles and owner-drawn rows
//   ListBoxWInsertMark.cpp the insertion mark
//   ListBoxWDrag.cpp      the left button on an item, the automatic item drag, drop scrolling
//   ListBoxWMessages.cpp  the window procedures, scroll detection and the key-routing answers
#pragma once

#include "controls/foundation/ISubclass.h"
#include "controls/foundation/LibraryControl.h"
#include "controls/foundation/Subclass.h"
#include "controls/listbox/ListBoxWindow.h"
#include "host/Control.h"
#include "host/Event.h"
#include "host/Handles.h"
#include "host/Value.h"

#include <string>
#include <vector>

namespace controls {

class ListBoxW : public foundation::LibraryControl<11>, public foundation::ISubclass {
public:
    struct DispId {
        static constexpr long Scroll = 1;
        static constexpr long ContextMenu = 2;
        static constexpr long ItemBeforeCheck = 3;
        static constexpr long ItemCheck = 4;
        static constexpr long ItemMeasure = 5;
        static constexpr long ItemDraw = 6;
        static constexpr long PreviewKeyDown = 7;
        static constexpr long PreviewKeyUp = 8;
        static constexpr long MouseEnter = 9;
        static constexpr long MouseLeave = 10;
    };
    static constexpr LONG_PTR ListBoxRef = 1;
    static constexpr LONG_PTR HostWindowRef = 2;
    static constexpr LONG_PTR DesignHostWindowRef = 3;  // design time, check-box or option style

    ListBoxW();
    ~ListBoxW() override;

    // --- what the host calls ------------------------------------------------------------
    std::wstring TypeName() const override { return L"ListBoxW"; }
    void Initialize(host::ControlSite& site) override;
    void InitProperties() override;
    void ReadProperties(const host::PropertyBag& bag) override;
    void Resize() override;
    void AmbientChanged(const std::wstring& name) override;
    void Terminate() override;
    void IOleInPlaceActiveObjectVB_TranslateAccelerator(bool& handled, long& retVal, UINT wMsg, WPARAM wParam,
                                                        LPARAM lParam, int shift) override;

    // --- windows --------------------------------------------------------------------------
    HWND hWnd() const { return list_.Get(); }
    HWND hWndUserControl() const;
    void Refresh();

    // --- properties -----------------------------------------------------------------------
    // The table of every persisted property (names, defaults, ranges, browsing texts).
    const foundation::PropertyTable& Properties() const override;
    using LibraryControlBase::Font;
    using LibraryControlBase::VisualStyles;
    using LibraryControlBase::BackColor;
    using LibraryControlBase::ForeColor;
    using LibraryControlBase::Enabled;
    using LibraryControlBase::OLEDragMode;
    using LibraryControlBase::OLEDragDropScroll;
    using LibraryControlBase::OLEDropMode;
    using LibraryControlBase::MousePointer;
    using LibraryControlBase::MouseIcon;
    using LibraryControlBase::MouseTrack;
    using LibraryControlBase::RightToLeft;
    using LibraryControlBase::RightToLeftMode;
    using LibraryControlBase::BorderStyle;
    bool Redraw() const { return redraw_; }
    void Redraw(bool on);
    bool MultiColumn() const { return multiColumn_; }
    void MultiColumn(bool on);
    bool Sorted() const { return sorted_; }
    void Sorted(bool on);
    bool IntegralHeight() const { return integralHeight_; }
    void IntegralHeight(bool on);
    bool AllowSelection() const { return allowSelection_; }
    void AllowSelection(bool on);
    long MultiSelect() const { return multiSelect_; }
    void MultiSelect(long mode);
    double HorizontalExtent() const;
    void HorizontalExtent(double extent);
    bool UseTabStops() const { return useTabStops_; }
    void UseTabStops(bool on);
    // 0 standard, 1 check boxes, 2 option buttons; set at design time only.
    long Style() const { return style_; }
    void Style(long style);
    // 0 normal, 1 owner-drawn fixed, 2 owner-drawn variable (ItemDraw, ItemMeasure); design time only.
    long DrawMode() const { return drawMode_; }
    void DrawMode(long mode);
    bool DisableNoScroll() const { return disableNoScroll_; }
    void DisableNoScroll(bool on);
    bool ScrollTrack() const { return scrollTrack_; }
    void ScrollTrack(bool on);

    // --- items and selection (ListBoxWItems.cpp) -------------------------------------------
    // Without `index` (Empty) the item is appended (at its sorted place when Sorted); an index
    // may be a number or a numeric text. Negative: 5; not a number: 13; refused: 5.
    void AddItem(const std::wstring& item, const host::Value& index = {});
    void RemoveItem(long index);
    void Clear();
    long ListCount() const;
    std::wstring List(long index) const;
    void List(long index, const std::wstring& text);
    long ListIndex() const;
    void ListIndex(long index);
    long ItemData(long index) const;
    void ItemData(long index, long data);
    std::wstring Text() const;
    void Text(const std::wstring& text);
    long SelCount() const;
    bool Selected(long index) const;
    void Selected(long index, bool on);
    long NewIndex() const { return newIndex_; }
    long TopIndex() const;
    void TopIndex(long index);
    long AnchorIndex() const;
    void AnchorIndex(long index);
    void SetSelRange(long startIndex, long endIndex);
    // Selected items in ascending order (the one current item of a single-selection list).
    std::vector<long> SelectedIndices() const;
    // Selects the first item after `index` (-1: from the start) beginning with `text`.
    long SelectItem(const std::wstring& text, long index = -1);
    long FindItem(const std::wstring& text, long index = -1, bool partial = false) const;
    // --- check boxes and option buttons (ListBoxWChecks.cpp) -------------------------------
    bool ItemChecked(long index) const;
    void ItemChecked(long index, bool checked);
    long OptionIndex() const { return optionIndex_; }
    void OptionIndex(long index);
    std::vector<long> CheckedIndices() const;

    // --- insertion mark (ListBoxWInsertMark.cpp): a bar above or below an item ----------
    long InsertMark(bool* after = nullptr) const;
    void InsertMark(long index, bool after = false);
    unsigned long InsertMarkColor() const { return insertMarkColor_; }
    void InsertMarkColor(unsigned long oleColor);
    // The item at the point and whether the mark belongs below it (the lower half); -1 and
    // `after` untouched when the point is over no item.
    long HitTestInsertMark(float x, float y, bool* after = nullptr) const;

    // --- geometry (ListBoxWLayout.cpp); sizes and points in the container's units ---------
    long HitTest(float x, float y) const;
    double ItemHeight(long index = 0) const;
    void ItemHeight(long index, double height);
    void SetColumnWidth(double width);
    long ItemsPerColumn() const;
    double GetIdealHorizontalExtent() const;

    // --- OLE drag of items (ListBoxWDrag.cpp) ---------------------------------------------
    // With OLEDragMode 1 a press on a selected item that moves beyond the drag distance drags
    // the selected texts (CR LF between them) as a copy; from code, the item under the pointer
    // is the dragged one.
    void OLEDrag();
    // The item being dragged; -1 outside a drag.
    long OLEDraggedItem() const { return draggedItem_ - 1; }
    void OnOLEStartDrag(host::DataObject& data, long& allowedEffects) override;
    void OnOLECompleteDrag(long& effect) override;
    // Also scrolls the list by a line while the pointer is near one of its edges.
    void OnOLEDragOver(host::DataObject& data, long& effect, int button, int shift, float x, float y,
                       int state) override;

    // Reserves room for `itemCount` more items averaging `averageChars` characters ahead of a
    // large fill (in doubling steps, see ListBoxWItems.cpp).
    void InitStorage(long itemCount, long averageChars = 16);

    // --- events -----------------------------------------------------------------------------
    host::Event<> Click;
    host::Event<> DblClick;
    host::Event<> Scroll;
    host::Event<float /*x*/, float /*y*/> ContextMenu;
    host::Event<long /*Item*/, bool& /*Cancel*/> ItemBeforeCheck;
    host::Event<long /*Item*/> ItemCheck;
    host::Event<long /*Item*/, long& /*ItemHeight*/> ItemMeasure;
    host::Event<long /*Item*/, long /*ItemAction*/, long /*ItemState*/, long /*hDC*/, long /*Left*/, long /*Top*/,
                long /*Right*/, long /*Bottom*/>
        ItemDraw;
    host::Event<int /*KeyCode*/, bool& /*IsInputKey*/> PreviewKeyDown;
    host::Event<int /*KeyCode*/, bool& /*IsInputKey*/> PreviewKeyUp;
    host::Event<int& /*KeyCode*/, int /*Shift*/> KeyDown;
    host::Event<int& /*KeyCode*/, int /*Shift*/> KeyUp;
    host::Event<int& /*KeyChar*/> KeyPress;
    host::Event<int /*Button*/, int /*Shift*/, float /*x*/, float /*y*/> MouseDown;
    host::Event<int /*Button*/, int /*Shift*/, float /*x*/, float /*y*/> MouseMove;
    host::Event<int /*Button*/, int /*Shift*/, float /*x*/, float /*y*/> MouseUp;
    host::Event<> MouseEnter;
    host::Event<> MouseLeave;

protected:
    void OnFontChanged() override;
    void OnVisualStylesChanged() override { ApplyVisualStyles(); }
    void OnColorsChanged() override { Refresh(); }
    void OnEnabledChanged() override;
    void OnRightToLeftChanged() override;
    void OnBorderStyleChanged() override;
    LRESULT ISubclass_Message(HWND hwnd, UINT wMsg, WPARAM wParam, LPARAM lParam, LONG_PTR dwRefData) override;

private:
    // --- the list box window (ListBoxWWindow.cpp)
    void CreateListBox();
    void DestroyListBox();
    void ReCreateListBox();
    void ApplyFont();
    void ApplyVisualStyles();
    HWND HostWindow() const;
    SIZE HostClientSize() const;
    ListBoxWindow Box() const { return ListBoxWindow(list_.Get(), listClassProc_); }

    // --- bulk appends (ListBoxWItems.cpp)
    void ReserveForAppend(size_t textLength);
    void Reserve(long itemCount, long averageChars);
    void SuspendRedrawUntilIdle();
    void ResumeRedrawAfterBurst();
    void RaiseClick();
    long RequireItem(long index, long error) const;

    // --- check bookkeeping and drawing (ListBoxWChecks.cpp, ListBoxWDrawing.cpp)
    void NoteItemAdded(long pos);
    void NoteItemRemoved(long index);
    void ResetChecks();
    long CountedItemsBefore(long pos) const;
    void ToggleItemCheck(long index);
    bool IsChecked(long index) const;
    void SetCheckState(long index, bool checked);
    void InvalidateItem(long index);
    LRESULT OnHostDrawItem(HWND hwnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnHostMeasureItem(HWND hwnd, WPARAM wParam, LPARAM lParam);
    void RaiseItemDraw(const DRAWITEMSTRUCT& item);
    void DrawCheckItem(const DRAWITEMSTRUCT& item);
    void ApplyCheckItemHeight();
    bool InsertMarkShown() const;
    void InvalidateInsertMark();
    void DrawInsertMark();

    // --- window procedures (ListBoxWMessages.cpp)
    LRESULT DesignHostWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT ListBoxProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT HostWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnListSetFocus(HWND hwnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnListKillFocus(HWND hwnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnListSetCursor(HWND hwnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnListMouseActivate(HWND hwnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnListContextMenu(HWND hwnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnListKey(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnListChar(HWND hwnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnListScroll(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnListAfterDefault(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnHostCommand(HWND hwnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnHostResumeRedraw(HWND hwnd, WPARAM wParam, LPARAM lParam);
    bool ThumbScroll(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    bool CheckTopIndexChange();
    void RaiseMouseEvent(UINT msg, WPARAM wParam, LPARAM lParam);

    // --- the left button and OLE drag (ListBoxWDrag.cpp)
    long ItemAtClientPoint(HWND hwnd, POINT pt) const;
    bool InCheckColumn(long item, POINT pt) const;
    LRESULT OnListLeftButtonDown(HWND hwnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnListPressOnSelected(HWND hwnd, long item, POINT pt, WPARAM wParam, LPARAM lParam);
    void RaisePressMouseDown(WPARAM wParam, LPARAM lParam);
    void ScrollNearEdge(float x, float y);
    long dragStartItem_ = 0;  // item + 1 of an automatic drag being started; 0 none
    long draggedItem_ = 0;    // item + 1 of the item being dragged; 0 none


    // --- state
    host::UniqueWindow list_;
    foundation::ScopedSubclass listSubclass_;  // declared after list_: removed before it is destroyed
    foundation::ScopedSubclass hostSubclass_;
    host::UniqueFont hFont_;
    WNDPROC listClassProc_ = nullptr;  // the list box class's own procedure, for item messages
    long newIndex_ = -1;
    long lastTopIndex_ = 0;
    bool mouseOver_ = false;
    wchar_t pendingChar_ = 0;
    bool inResize_ = false;
    bool validating_ = false;
    long reservedItems_ = 0;      // items the list box has room for without growing
    long appendedCount_ = -1;     // the item count this control last caused by an append or removal (-1: unknown)
    bool redrawSuspended_ = false;  // by a burst of AddItem, until the message loop is idle again
    UINT resumeRedrawMessage_ = 0;

    // --- stored properties (the common ones are LibraryControlBase's)
    bool redraw_ = true;
    bool multiColumn_ = false;
    bool sorted_ = false;
    bool integralHeight_ = true;
    bool allowSelection_ = true;
    long multiSelect_ = 0;
    long horizontalExtentPixels_ = 0;
    bool useTabStops_ = true;
    bool disableNoScroll_ = false;
    bool scrollTrack_ = true;
    long style_ = 0;
    long drawMode_ = 0;
    unsigned long insertMarkColor_ = 0;
    long insertMarkIndex_ = -1;
    bool insertMarkAfter_ = false;

    // --- check boxes and option buttons: kept by the control, not by the list box
    long checkItemCount_ = 0;
    std::vector<unsigned char> checkStates_ = std::vector<unsigned char>(1);  // [i + 1] for item i
    long optionIndex_ = -1;
    int checkBoxWidth_ = 15;
};

}  // namespace controls
