// The drawing properties a host lends every control, windowed or windowless: colours (OLE
// colours: 0x80000000 + index names a system colour), font, enabled flag, appearance, back style,
// right-to-left, a persistent picture drawn as background, and Refresh. HostWindow and
// WindowlessSurface add what is particular to each.
#pragma once

#include "host/Handles.h"
#include "host/Value.h"

#include <windows.h>

namespace host {

class ControlSite;
class Form;

class Surface {
public:
    virtual ~Surface() = default;

    unsigned long BackColor() const { return backColor_; }
    void BackColor(unsigned long oleColor);
    unsigned long ForeColor() const { return foreColor_; }
    void ForeColor(unsigned long oleColor);
    // The colours as RGB (system colours translated now).
    COLORREF BackRgb() const;
    COLORREF ForeRgb() const;

    const FontDesc& Font() const { return font_; }
    void Font(const FontDesc& font);
    // The GDI font made from Font(); owned by the surface, valid until the font changes.
    HFONT FontHandle() const { return gdiFont_.Get(); }

    bool Enabled() const { return enabled_; }
    virtual void Enabled(bool on);
    int Appearance() const { return appearance_; }  // 0 flat, 1 3D
    void Appearance(int value);
    int BackStyle() const { return backStyle_; }    // 0 transparent, 1 opaque
    void BackStyle(int value);
    bool RightToLeft() const { return rightToLeft_; }
    void RightToLeft(bool on);

    // A picture drawn stretched over the background, kept until replaced (none by default).
    const Picture& BackgroundPicture() const { return picture_; }
    void BackgroundPicture(Picture picture);

    // Fills `rc` of `dc` as the surface's background: the picture if any, else BackColor when
    // opaque; a transparent surface leaves the DC untouched.
    void PaintBackground(HDC dc, const RECT& rc) const;
    // The brush for BackColor, owned by the surface (WM_CTLCOLOR* answers).
    HBRUSH BackBrush() const;

    // Invalidates the surface so it repaints soon.
    virtual void Refresh() = 0;

    // OLE drop mode: 0 none, 1 manual (the control gets the drag-over and drop notifications;
    // see DragDrop.h). Raises 5 when the system refuses the drop target.
    int OLEDropMode() const { return dropMode_; }
    void OLEDropMode(int mode);

protected:
    // Where the surface's drop target is registered: the window, its form, and the control
    // whose host window it is (null for the form). No window: the surface takes no drops.
    struct DropHome {
        HWND window = nullptr;
        Form* form = nullptr;
        ControlSite* owner = nullptr;
    };
    virtual DropHome DropTargetHome() const { return {}; }
    // Gives up the drop-target registration (the surface is going away).
    void ReleaseDropTarget();

    virtual void OnFontChanged() {}
    // A property that the controls on this surface see as an ambient value changed:
    // "BackColor", "ForeColor", "Font", "RightToLeft".
    virtual void OnAmbientPropertyChanged(const wchar_t* name) {}

private:
    unsigned long backColor_ = 0x8000000F;  // button face
    unsigned long foreColor_ = 0x80000012;  // button text
    FontDesc font_;
    UniqueFont gdiFont_;
    mutable UniqueBrush brush_;
    mutable COLORREF brushColor_ = CLR_INVALID;
    bool enabled_ = true;
    int appearance_ = 1;
    int backStyle_ = 1;
    bool rightToLeft_ = false;
    Picture picture_;
    int dropMode_ = 0;
    HWND dropWindow_ = nullptr;  // where this surface holds a drop-target registration
};

}  // namespace host
