#include "host/Surface.h"

#include "host/DragDrop.h"
#include "host/Font.h"

#include <olectl.h>

#include <utility>

namespace host {

namespace {
COLORREF ToRgb(unsigned long oleColor) {
    COLORREF rgb = 0;
    if (FAILED(OleTranslateColor(oleColor, nullptr, &rgb))) rgb = 0;
    return rgb;
}
}  // namespace

void Surface::BackColor(unsigned long oleColor) {
    if (oleColor == backColor_) return;
    backColor_ = oleColor;
    Refresh();
    OnAmbientPropertyChanged(L"BackColor");
}

void Surface::ForeColor(unsigned long oleColor) {
    if (oleColor == foreColor_) return;
    foreColor_ = oleColor;
    Refresh();
    OnAmbientPropertyChanged(L"ForeColor");
}

void Surface::RightToLeft(bool on) {
    if (on == rightToLeft_) return;
    rightToLeft_ = on;
    OnAmbientPropertyChanged(L"RightToLeft");
}

COLORREF Surface::BackRgb() const { return ToRgb(backColor_); }
COLORREF Surface::ForeRgb() const { return ToRgb(foreColor_); }

void Surface::Font(const FontDesc& font) {
    font_ = font;
    gdiFont_ = CreateGdiFont(font_);
    OnFontChanged();
    OnAmbientPropertyChanged(L"Font");
}

void Surface::Enabled(bool on) { enabled_ = on; }

void Surface::Appearance(int value) {
    appearance_ = value;
    Refresh();
}

void Surface::BackStyle(int value) {
    backStyle_ = value;
    Refresh();
}

void Surface::BackgroundPicture(Picture picture) {
    picture_ = std::move(picture);
    Refresh();
}

HBRUSH Surface::BackBrush() const {
    COLORREF rgb = BackRgb();
    if (!brush_ || brushColor_ != rgb) {
        brush_.Reset(CreateSolidBrush(rgb));
        brushColor_ = rgb;
    }
    return brush_.Get();
}

void Surface::PaintBackground(HDC dc, const RECT& rc) const {
    if (picture_) {
        OLE_XSIZE_HIMETRIC w = 0;
        OLE_YSIZE_HIMETRIC h = 0;
        picture_->get_Width(&w);
        picture_->get_Height(&h);
        // Render takes the source from the bottom (HIMETRIC runs upwards).
        picture_->Render(dc, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, 0, h, w, -h, nullptr);
        return;
    }
    if (backStyle_ == 1) FillRect(dc, &rc, BackBrush());
}

void Surface::OLEDropMode(int mode) {
    if (mode != 0 && !dropWindow_) {
        DropHome home = DropTargetHome();
        if (home.window && home.form) {
            dragdrop::Acquire(home.window, *home.form, home.owner);
            dropWindow_ = home.window;
        }
    } else if (mode == 0) {
        ReleaseDropTarget();
    }
    dropMode_ = mode;
}

void Surface::ReleaseDropTarget() {
    if (dropWindow_) dragdrop::Release(std::exchange(dropWindow_, nullptr));
}

}  // namespace host
