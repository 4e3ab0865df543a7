// CheckBoxW: what it shows besides its caption — the picture of a standard button, comctl32 6
// image lists bound by control or by name, the transparent background taken from the container,
// and the drawing of the graphical style and of owner draw.
#include "controls/checkbox/ButtonStyles.h"
#include "controls/checkbox/CheckBoxW.h"
#include "controls/foundation/ComCtlsBase.h"
#include "controls/foundation/Common.h"
#include "host/ControlSite.h"
#include "host/Form.h"
#include "host/HostWindow.h"
#include "host/ImageList.h"

#include <commctrl.h>

#include <cmath>

namespace controls {

namespace {

OLE_HANDLE HandleOf(const host::Picture& p) {
    OLE_HANDLE h = 0;
    if (p) p->get_Handle(&h);
    return h;
}

SHORT TypeOf(const host::Picture& p) {
    SHORT type = PICTYPE_NONE;
    if (p) p->get_Type(&type);
    return type;
}

bool SameName(const std::wstring& a, const std::wstring& b) { return _wcsicmp(a.c_str(), b.c_str()) == 0; }

}  // namespace

// --- pictures -------------------------------------------------------------------------------

void CheckBoxW::ClearButtonImages(DWORD& style) {
    style &= ~static_cast<DWORD>(BS_ICON | BS_BITMAP);
    SendMessageW(button_.Get(), BM_SETIMAGE, IMAGE_ICON, 0);
    SendMessageW(button_.Get(), BM_SETIMAGE, IMAGE_BITMAP, 0);
}

// The picture of a standard button (BS_ICON / BS_BITMAP); an image list, once bound, wins.
void CheckBoxW::ApplyPicture() {
    if (!button_ || imageListHandle_) return;
    if (IsOwnerDrawn()) return Refresh();
    DWORD style = static_cast<DWORD>(GetWindowLongW(button_.Get(), GWL_STYLE));
    OLE_HANDLE handle = HandleOf(picture_);
    if (!handle) {
        ClearButtonImages(style);
        SetWindowLongW(button_.Get(), GWL_STYLE, static_cast<LONG>(style));
    } else if (TypeOf(picture_) == PICTYPE_ICON) {
        style = (style | BS_ICON) & ~static_cast<DWORD>(BS_BITMAP);
        SetWindowLongW(button_.Get(), GWL_STYLE, static_cast<LONG>(style));
        SendMessageW(button_.Get(), BM_SETIMAGE, IMAGE_BITMAP, 0);
        SendMessageW(button_.Get(), BM_SETIMAGE, IMAGE_ICON, static_cast<LPARAM>(handle));
    } else {
        style = (style | BS_BITMAP) & ~static_cast<DWORD>(BS_ICON);
        SetWindowLongW(button_.Get(), GWL_STYLE, static_cast<LONG>(style));
        SendMessageW(button_.Get(), BM_SETIMAGE, IMAGE_ICON, 0);
        SendMessageW(button_.Get(), BM_SETIMAGE, IMAGE_BITMAP, static_cast<LPARAM>(handle));
    }
    Refresh();
}

// --- image lists ----------------------------------------------------------------------------

host::ImageList* CheckBoxW::BoundImageList() const {
    if (!imageListBound_ || !HasSite()) return nullptr;
    host::ControlSite* site = Site().Parent().FindSite(imageListSite_, imageListSiteIndex_);
    return site ? site->As<host::ImageList>() : nullptr;
}

host::ImageList* CheckBoxW::ImageList() {
    if (!designMode_ && imageListName_ != NoImageList && !imageListBound_ && !imageListResolved_) {
        imageListResolved_ = true;
        BindImageListByName(imageListName_);
    }
    return BoundImageList();
}

void CheckBoxW::ImageList(host::ImageList* list) {
    if (button_) {
        HIMAGELIST handle = list && list->TypeName() == L"ImageList" ? list->hImageList() : nullptr;
        if (handle) {
            BindImageListHandle(handle);
            imageListSite_ = list->Site().Name();
            imageListSiteIndex_ = list->Site().Index();
            imageListBound_ = true;
            imageListName_ = imageListSite_;
        } else {
            BindImageListHandle(nullptr);
            imageListBound_ = false;
            imageListName_ = NoImageList;
        }
    }
    Changed(L"ImageList");
}

void CheckBoxW::ImageList(const std::wstring& name) {
    if (button_) BindImageListByName(name);
    Changed(L"ImageList");
}

// The first image list control of the form with that name. At design time a name is kept even
// while its list has no images yet.
void CheckBoxW::BindImageListByName(const std::wstring& name) {
    for (const auto& site : Site().Parent().Controls()) {
        auto* list = site->As<host::ImageList>();
        if (!list || site->Name().empty() || !SameName(site->Name(), name)) continue;
        if (HIMAGELIST handle = list->hImageList()) {
            BindImageListHandle(handle);
            imageListBound_ = !designMode_;
            imageListSite_ = site->Name();
            imageListSiteIndex_ = site->Index();
            imageListName_ = site->Name();
            return;
        }
        if (designMode_) {
            BindImageListHandle(nullptr);
            imageListBound_ = false;
            imageListName_ = site->Name();
            return;
        }
    }
    BindImageListHandle(nullptr);
    imageListBound_ = false;
    imageListName_ = NoImageList;
}

// BCM_SETIMAGELIST with the margin on the side the alignment names; none (BCCL_NOGLYPH) gives
// the standard picture back.
void CheckBoxW::BindImageListHandle(HIMAGELIST list) {
    if (!button_ || foundation::ComCtlVersionLevel() < 1) return;
    imageListHandle_ = list;
    if (list && !IsOwnerDrawn()) {
        DWORD style = static_cast<DWORD>(GetWindowLongW(button_.Get(), GWL_STYLE));
        ClearButtonImages(style);
        SetWindowLongW(button_.Get(), GWL_STYLE, static_cast<LONG>(style));
    }
    BUTTON_IMAGELIST bound{};
    bound.himl = list ? list : reinterpret_cast<HIMAGELIST>(BCCL_NOGLYPH);
    LONG margin = static_cast<LONG>(imageListMargin_);
    switch (imageListAlignment_) {
    case BUTTON_IMAGELIST_ALIGN_LEFT: bound.margin.left = margin; break;
    case BUTTON_IMAGELIST_ALIGN_RIGHT: bound.margin.right = margin; break;
    case BUTTON_IMAGELIST_ALIGN_TOP: bound.margin.top = margin; break;
    case BUTTON_IMAGELIST_ALIGN_BOTTOM: bound.margin.bottom = margin; break;
    default: break;
    }
    bound.uAlign = static_cast<UINT>(imageListAlignment_);
    SendMessageW(button_.Get(), BCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(&bound));
    if (!list) ApplyPicture();
    Refresh();
}

void CheckBoxW::RebindImageList() {
    if (!button_ || foundation::ComCtlVersionLevel() < 1) return;
    if (host::ImageList* list = BoundImageList())
        ImageList(list);
    else if (imageListName_ != NoImageList)
        BindImageListByName(imageListName_);
}

void CheckBoxW::OnImageListTimer() {
    imageListTimer_.Enabled(false);
    if (imageListResolved_) return;
    imageListResolved_ = true;
    ImageList(imageListName_);
}

double CheckBoxW::ImageListMargin() const {
    return Site().ScaleX(static_cast<double>(imageListMargin_), host::ScaleUnit::Pixels, host::ScaleUnit::Container);
}

void CheckBoxW::ImageListMargin(double margin) {
    if (margin < 0) return foundation::InvalidPropertyValue(designMode_);
    imageListMargin_ = static_cast<long>(
        std::nearbyint(Site().ScaleX(margin, host::ScaleUnit::Container, host::ScaleUnit::Pixels)));
    RebindImageList();
    Changed(L"ImageListMargin");
}

// --- backgrounds ----------------------------------------------------------------------------

// With Transparent the button's background is the container's image behind it.
LRESULT CheckBoxW::OnControlColor(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT r = foundation::CallDefaultProc(hwnd, msg, wParam, lParam);
    if (!transparent_) return r;
    SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
    if (HBRUSH brush = TransparentBrush()) return reinterpret_cast<LRESULT>(brush);
    return r;
}

HBRUSH CheckBoxW::TransparentBrush() {
    if (transparentBrush_) return transparentBrush_.Get();
    HWND container = Site().ContainerWindow();
    SIZE size = HostClientSize();
    if (!container || size.cx <= 0 || size.cy <= 0) return nullptr;
    HDC screen = GetDC(container);
    host::UniqueMemoryDC mem(CreateCompatibleDC(screen));
    host::UniqueBitmap bitmap(CreateCompatibleBitmap(screen, size.cx, size.cy));
    ReleaseDC(container, screen);
    if (!mem || !bitmap) return nullptr;
    {
        host::SelectObjectGuard select(mem.Get(), bitmap.Get());
        RECT rc;
        GetWindowRect(HostWindow(), &rc);
        MapWindowPoints(nullptr, container, reinterpret_cast<POINT*>(&rc), 2);
        POINT old;
        SetViewportOrgEx(mem.Get(), -rc.left, -rc.top, &old);
        SendMessageW(container, WM_PAINT, reinterpret_cast<WPARAM>(mem.Get()), 0);
        SetViewportOrgEx(mem.Get(), old.x, old.y, nullptr);
    }
    transparentBrush_.Reset(CreatePatternBrush(bitmap.Get()));
    return transparentBrush_.Get();
}

HBRUSH CheckBoxW::CheckedBrush() {
    if (!checkedBrush_) checkedBrush_.Reset(CreateCheckedPatternBrush(static_cast<COLORREF>(foundation::TranslateColorValue(BackColor()))));
    return checkedBrush_.Get();
}

// --- drawing --------------------------------------------------------------------------------

GraphicalLook CheckBoxW::LookFor(const DRAWITEMSTRUCT& item) {
    GraphicalLook look;
    look.caption = Caption();
    look.backColor = static_cast<COLORREF>(foundation::TranslateColorValue(BackColor()));
    look.foreColor = static_cast<COLORREF>(foundation::TranslateColorValue(ForeColor()));
    look.appearance = Appearance();
    look.checked = Value() == 1;
    look.hot = hot_;
    look.themed = themesActive_ && visualStyles_;
    look.comCtlLevel = foundation::ComCtlVersionLevel();
    look.scale = foundation::DpiScaleX();
    look.picture = picture_;
    look.disabledPicture = disabledPicture_;
    look.downPicture = downPicture_;
    look.useMaskColor = useMaskColor_;
    look.maskColor = static_cast<COLORREF>(foundation::TranslateColorValue(maskColor_));
    look.checkedBrush = look.checked ? CheckedBrush() : nullptr;
    return look;
}

// The graphical style draws itself; owner draw hands the drawing to the program.
LRESULT CheckBoxW::OnDrawItem(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (!item || item->CtlType != ODT_BUTTON || !button_ || item->hwndItem != button_.Get())
        return foundation::CallDefaultProc(hwnd, WM_DRAWITEM, wParam, lParam);
    if (drawMode_ == 1) {
        Site().RaiseEvent(DispId::OwnerDraw, OwnerDraw, static_cast<long>(item->itemAction),
                          static_cast<long>(item->itemState), static_cast<long>(reinterpret_cast<INT_PTR>(item->hDC)),
                          item->rcItem.left, item->rcItem.top, item->rcItem.right, item->rcItem.bottom);
        return TRUE;
    }
    if (!IsGraphical()) return foundation::CallDefaultProc(hwnd, WM_DRAWITEM, wParam, lParam);
    DrawGraphicalButton(*item, LookFor(*item));
    return TRUE;
}

}  // namespace controls
