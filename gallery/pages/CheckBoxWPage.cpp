// Gallery page of CheckBoxW: standard, grayed, push-like, box at the right, with an image list,
// transparent over a coloured frame, graphical (Style 1) and owner-drawn.
#include "controls/checkbox/CheckBoxW.h"
#include "controls/foundation/ComCtlsBase.h"
#include "controls/foundation/Common.h"
#include "controls/frame/FrameW.h"
#include "controls/label/LabelW.h"
#include "gallery/GalleryPage.h"
#include "host/Handles.h"
#include "host/ImageList.h"

namespace gallery {
namespace {

// A round mark of `color` on magenta (the graphical check box's MaskColor) as a picture.
host::Picture RoundMark(COLORREF color, int size) {
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, size, size);
    {
        host::UniqueMemoryDC dc(CreateCompatibleDC(screen));
        host::SelectObjectGuard selectBitmap(dc.Get(), bitmap);
        host::UniqueBrush magenta(CreateSolidBrush(RGB(255, 0, 255)));
        RECT all{0, 0, size, size};
        FillRect(dc.Get(), &all, magenta.Get());
        host::UniqueBrush fill(CreateSolidBrush(color));
        host::SelectObjectGuard selectBrush(dc.Get(), fill.Get());
        host::SelectObjectGuard selectPen(dc.Get(), GetStockObject(NULL_PEN));
        Ellipse(dc.Get(), 1, 1, size, size);
    }
    ReleaseDC(nullptr, screen);
    return foundation::PictureFromBitmap(bitmap, true);
}

class CheckBoxWPage : public GalleryPage {
public:
    CheckBoxWPage() : GalleryPage(L"CheckBoxW") {
        UseControl<controls::CheckBoxW>(L"CheckBoxW");
        UseControl<controls::FrameW>(L"FrameW");
        UseControl<controls::LabelW>(L"LabelW");
    }

protected:
    void Form_Load() override {
        GalleryPage::Form_Load();
        // the image list gets its image now; the check box binds it by name after loading
        host::Picture mark = RoundMark(RGB(230, 120, 0), 16);
        OLE_HANDLE bitmap = 0;
        mark->get_Handle(&bitmap);
        Ctl<host::ImageList>(L"ImageList1").Add(reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(bitmap)));

        controls::CheckBoxW& graphical = Box(L"cbxGraphical");
        graphical.Picture(RoundMark(RGB(40, 110, 220), 32));
        graphical.DownPicture(RoundMark(RGB(30, 170, 60), 32));
        Box(L"cbxOwnerDraw").OwnerDraw = [this](long action, long state, long hdc, long l, long t, long r, long b) {
            DrawOwnerDrawn(state, reinterpret_cast<HDC>(static_cast<INT_PTR>(hdc)), RECT{l, t, r, b});
            Log(L"cbxOwnerDraw", L"OwnerDraw" + FormatArgs(action, state));
        };

        for (const wchar_t* name : kBoxes) {
            controls::CheckBoxW& box = Box(name);
            LogStandardEvents(box, name);
            LogEvent(box.HotChanged, name, L"HotChanged");
        }
        Switch(L"chkEnabled", [this](bool on) { ForEachBox([on](controls::CheckBoxW& c) { c.Enabled(on); }); });
        Switch(L"chkVisualStyles",
               [this](bool on) { ForEachBox([on](controls::CheckBoxW& c) { c.VisualStyles(on); }); });
        Switch(L"chkRightToLeft", [this](bool on) { ForEachBox([on](controls::CheckBoxW& c) { c.RightToLeft(on); }); });
        Switch(L"chkWordWrap", [this](bool on) { ForEachBox([on](controls::CheckBoxW& c) { c.WordWrap(on); }); });
        Switch(L"chkMouseTrack", [this](bool on) { ForEachBox([on](controls::CheckBoxW& c) { c.MouseTrack(on); }); });
        Switch(L"chkTransparent",
               [this](bool on) { ForEachBox([on](controls::CheckBoxW& c) { c.Transparent(on); }); });
        Choice(L"cmdTextAlignment", L"TextAlignment", {0, 1, 2},
               [this](long v) { ForEachBox([v](controls::CheckBoxW& c) { c.TextAlignment(v); }); });
        Choice(L"cmdVerticalAlignment", L"VerticalAlignment", {1, 2, 0},
               [this](long v) { ForEachBox([v](controls::CheckBoxW& c) { c.VerticalAlignment(v); }); });
        Choice(L"cmdAppearance", L"Appearance", {1, 0},
               [this](long v) { ForEachBox([v](controls::CheckBoxW& c) { c.Appearance(static_cast<int>(v)); }); });
        // Wine's comctl32 6 reports 5.81: the level chooser lets a person see what 6.0 turns on
        // (image lists on the button, the themed drawing of the graphical style).
        long level = foundation::ComCtlVersionLevel();
        Choice(L"cmdComCtlLevel", L"comctl32 级别", {level, (level + 1) % 3, (level + 2) % 3}, [this](long v) {
            foundation::OverrideComCtlVersionLevel(static_cast<int>(v));
            ForEachBox([](controls::CheckBoxW& c) { c.VisualStyles(c.VisualStyles()); });
            Box(L"cbxImageList").ImageList(L"ImageList1");
        });
        Ctl<host::CommandButton>(L"cmdGrayed").Click = [this] {
            ForEachBox([](controls::CheckBoxW& c) { c.Value(2); });
        };
    }

    // The level is the process's: the next page sees the computed one again.
    void Form_Unload(int& cancel) override {
        foundation::OverrideComCtlVersionLevel(std::nullopt);
        GalleryPage::Form_Unload(cancel);
    }

private:
    static constexpr const wchar_t* kBoxes[] = {L"cbxStandard", L"cbxGrayed",      L"cbxPushLike",
                                                L"cbxRight",    L"cbxImageList",   L"cbxTransparent",
                                                L"cbxOpaque",   L"cbxGraphical",   L"cbxOwnerDraw"};
    controls::CheckBoxW& Box(const wchar_t* name) const { return Ctl<controls::CheckBoxW>(name); }
    template <class F>
    void ForEachBox(F f) const {
        for (const wchar_t* name : kBoxes) f(Box(name));
    }

    // What a program draws for DrawMode 1: a face that says its value.
    void DrawOwnerDrawn(long state, HDC dc, RECT rc) {
        controls::CheckBoxW& box = Box(L"cbxOwnerDraw");
        static const COLORREF faces[] = {RGB(235, 235, 235), RGB(190, 230, 190), RGB(200, 200, 200)};
        host::UniqueBrush face(CreateSolidBrush(faces[box.Value()]));
        FillRect(dc, &rc, face.Get());
        FrameRect(dc, &rc, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
        static const wchar_t* names[] = {L"未选中", L"已选中", L"灰色"};
        std::wstring text = box.Caption() + L"\n" + names[box.Value()];
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, (state & ODS_DISABLED) ? GetSysColor(COLOR_GRAYTEXT) : RGB(0, 0, 0));
        RECT measure = rc;
        DrawTextW(dc, text.c_str(), -1, &measure, DT_CENTER | DT_WORDBREAK | DT_CALCRECT);
        OffsetRect(&measure, 0, (rc.bottom - measure.bottom) / 2);
        measure.left = rc.left;
        measure.right = rc.right;
        DrawTextW(dc, text.c_str(), -1, &measure, DT_CENTER | DT_WORDBREAK);
        if (state & ODS_FOCUS) {
            RECT focus = rc;
            InflateRect(&focus, -3, -3);
            DrawFocusRect(dc, &focus);
        }
    }
};

}  // namespace

GALLERY_PAGE(CheckBoxWPage, L"CheckBoxW",
             L"Unicode 复选框：三态、按钮外观、图像列表、透明背景、程序绘制的图形样式与自绘。");

}  // namespace gallery
