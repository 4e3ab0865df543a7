// The host window of a windowed control: a child window of the container (class "HostWindowW")
// that the control fills with its own child window (Edit, ListBox, Button ...). The control may
// subclass it (InstallSubclass, reference 2 by convention) to see its messages first.
//
// Default handling, after the control's subclass:
//   WM_ERASEBKGND          background picture or BackColor (transparent: nothing)
//   WM_PAINT               Control::Paint, then windowless children (for containers); with a
//                          DC in wParam, background and all into that DC (a transparent child
//                          painting its container under itself)
//   WM_PRINTCLIENT         the same content into the given DC, after the background with
//                          PRF_ERASEBKGND
//   WM_CTLCOLOR*           text colour ForeColor, background BackColor, brush of BackColor
//   WM_SETFOCUS            hands the focus on to the first child window
//   WM_SIZE                Control::Resize
//   WM_CLOSE               passed to the top-level window: a child is never closed alone (a
//                          multi-line edit in a dialog asks its parent to close on Escape)
//   WM_SETCURSOR           over a windowless child: the child's cursor (OnSurfaceSetCursor)
//   WM_TIMER               the site's timers
//   WM_COMMAND, WM_NOTIFY  from intrinsic children of a container: reflected to their controls
//   mouse messages         routed to windowless children by hit test (containers)
#pragma once

#include "host/Surface.h"
#include "host/Timer.h"

namespace host {

class ControlSite;

class HostWindow : public Surface, public TimerTarget {
public:
    static constexpr const wchar_t* ClassName = L"HostWindowW";

    // Creates the window hidden, at the site's rectangle in `parent`.
    HostWindow(ControlSite& site, HWND parent);
    ~HostWindow() override;

    HWND hWnd() const { return hwnd_.Get(); }
    ControlSite& Site() const { return site_; }
    HWND TimerWindow() const override { return hwnd_.Get(); }

    using Surface::Enabled;
    void Enabled(bool on) override;  // also EnableWindow on the host window
    void Refresh() override;         // invalidate with erase, children included

    // The persistent image: a bitmap of the window's size that keeps what the control drew into
    // it and shows as the window's background (unless a background picture is set). Made on first
    // use, filled with BackColor; it follows the window's size, keeping what fits.
    HDC ImageDC();
    bool HasImage() const { return static_cast<bool>(image_.dc); }
    // Fills the image with BackColor (nothing to do while there is none).
    void ClearImage();

    // The window procedure's default handling, for the procedure and for tests.
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);

protected:
    DropHome DropTargetHome() const override;

private:
    // A memory DC with its bitmap selected; the bitmap is put out of the DC before either goes.
    struct Image {
        UniqueMemoryDC dc;
        UniqueBitmap bitmap;
        HGDIOBJ original = nullptr;
        SIZE size{};
        ~Image() { Release(); }
        void Release();
    };
    void PaintHostBackground(HDC dc, const RECT& rc) const;
    void ResizeImage();

    LRESULT OnClose();
    LRESULT OnPaint(HDC given);
    void PaintContent(HDC dc);
    LRESULT Default(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnEraseBackground(HDC dc);
    LRESULT OnPrintClient(HDC dc, LPARAM flags);
    LRESULT OnControlColor(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnChildNotification(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnSetFocus();
    LRESULT OnSize();
    LRESULT OnTimer(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnSetCursor(WPARAM wParam, LPARAM lParam);
    LRESULT OnOtherMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    template <typename T>
    friend LRESULT RouteToObject(HWND, UINT, WPARAM, LPARAM);

    ControlSite& site_;  // borrowed: owns this window
    Image image_;
    UniqueWindow hwnd_;  // declared last: destroyed first
};

}  // namespace host
