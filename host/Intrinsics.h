// The intrinsic controls a form can place: real windows of the system classes carrying their
// captions as window text, so tools and accessibility software find them as usual.
//
//   CommandButton   "Button" BS_PUSHBUTTON      Caption, Enabled, Default, Cancel; Click
//   CheckBox        "Button" BS_AUTOCHECKBOX    Caption, Value (0 unchecked, 1 checked, 2 grey),
//                                               Enabled; Click
//   Label           "Static" SS_NOTIFY          Caption, Alignment, Enabled, BackStyle; Click,
//                                               DblClick
//   Line            windowless                  X1, Y1, X2, Y2 (twips), BorderColor, BorderWidth
//
// The three window-backed ones also raise MouseDown and MouseMove after the window's own handling
// (a button is then pressed and holds the capture), MouseUp before it (so Click follows MouseUp),
// and KeyDown, KeyPress, KeyUp before it (a key code set to 0 swallows the key).
//
// Captions and Tag come from design data as stored (UTF-16LE bytes or plain strings). An "&"
// in a caption marks the access key, as in the system's own controls.
#pragma once

#include "host/Control.h"
#include "host/Event.h"
#include "host/Handles.h"

namespace host {

// Shared by the three window-backed intrinsics.
class IntrinsicWindowControl : public Control {
public:
    SurfaceKind Surface() const override { return SurfaceKind::OwnWindow; }
    void InitProperties() override;
    void ReadProperties(const PropertyBag& bag) override;
    void WriteProperties(PropertyBag& bag) override;
    void Terminate() override;
    // Without a font of its own the control follows the form's.
    void AmbientChanged(const std::wstring& name) override;

    std::wstring Caption() const;
    void Caption(const std::wstring& caption);
    bool Enabled() const;
    void Enabled(bool on);
    unsigned long BackColor() const { return backColor_; }
    void BackColor(unsigned long oleColor);
    unsigned long ForeColor() const { return foreColor_; }
    void ForeColor(unsigned long oleColor);
    HWND hWnd() const;

    Event<> Click;
    Event<int /*Button*/, int /*Shift*/, float /*X*/, float /*Y*/> MouseDown, MouseMove, MouseUp;
    Event<int& /*KeyCode*/, int /*Shift*/> KeyDown, KeyUp;
    Event<int& /*KeyAscii*/> KeyPress;

protected:
    // WM_CTLCOLOR* answer: the control's colours (transparent background when asked).
    LRESULT AnswerColor(HDC dc, bool transparent);
    // Class, styles and the caption read from the bag; then the window is made and adopted.
    virtual const wchar_t* WindowClass() const = 0;
    virtual DWORD WindowStyle(const PropertyBag& bag) const = 0;
    virtual void ReadExtra(const PropertyBag& bag) {}
    virtual void WriteExtra(PropertyBag& bag) {}
    // The window exists: apply what the design data said that needs it.
    virtual void AfterCreate() {}
    void CreateWindowFrom(const PropertyBag& bag);

private:
    static LRESULT CALLBACK WindowEvents(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR ref);
    LRESULT OnWindowMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnKey(const Event<int&, int>& event, long dispId, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnChar(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseUp(int button, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseDown(int button, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseMove(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void RaiseMouse(const Event<int, int, float, float>& event, long dispId, int button, WPARAM wParam, LPARAM lParam);
    bool subclassed_ = false;
    unsigned long backColor_ = 0x8000000F;
    unsigned long foreColor_ = 0x80000012;
    UniqueFont font_;  // only when the design data give the control a font of its own
    UniqueBrush brush_;
};

class CommandButton : public IntrinsicWindowControl {
public:
    std::wstring TypeName() const override { return L"CommandButton"; }
    bool Default() const { return default_; }
    void Default(bool on);
    bool Cancel() const { return cancel_; }
    void Cancel(bool on) { cancel_ = on; }
    bool OnReflectedMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    // Presses the button as Return on a default button does: Click through the button's own
    // notification, the focus unchanged.
    void Press();

protected:
    const wchar_t* WindowClass() const override { return L"Button"; }
    DWORD WindowStyle(const PropertyBag& bag) const override;
    void ReadExtra(const PropertyBag& bag) override;
    void WriteExtra(PropertyBag& bag) override;

private:
    bool default_ = false, cancel_ = false;
};

class CheckBox : public IntrinsicWindowControl {
public:
    std::wstring TypeName() const override { return L"CheckBox"; }
    int Value() const;  // read from the live window
    void Value(int value);  // 0..2, else 380
    bool OnReflectedMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

protected:
    const wchar_t* WindowClass() const override { return L"Button"; }
    DWORD WindowStyle(const PropertyBag& bag) const override;
    void ReadExtra(const PropertyBag& bag) override;
    void WriteExtra(PropertyBag& bag) override;

    void AfterCreate() override;

private:
    int pendingValue_ = 0;  // the value read before the window exists
};

class Label : public IntrinsicWindowControl {
public:
    std::wstring TypeName() const override { return L"Label"; }
    bool CanGetFocus() const override { return false; }
    Event<> DblClick;
    bool OnReflectedMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

protected:
    const wchar_t* WindowClass() const override { return L"Static"; }
    DWORD WindowStyle(const PropertyBag& bag) const override;
    void ReadExtra(const PropertyBag& bag) override;
    void WriteExtra(PropertyBag& bag) override;

private:
    int alignment_ = 0;
    int backStyle_ = 1;
};

class Line : public Control {
public:
    std::wstring TypeName() const override { return L"Line"; }
    SurfaceKind Surface() const override { return SurfaceKind::Windowless; }
    void ReadProperties(const PropertyBag& bag) override;
    void WriteProperties(PropertyBag& bag) override;
    void Paint(HDC dc) override;
    HitResult HitTest(POINT, HitResult) override { return HitResult::Outside; }

    double X1() const { return x1_; }
    double Y1() const { return y1_; }
    double X2() const { return x2_; }
    double Y2() const { return y2_; }
    void X1(double v) { x1_ = v; Place(); }
    void Y1(double v) { y1_ = v; Place(); }
    void X2(double v) { x2_ = v; Place(); }
    void Y2(double v) { y2_ = v; Place(); }
    unsigned long BorderColor() const { return borderColor_; }
    void BorderColor(unsigned long oleColor);
    int BorderWidth() const { return borderWidth_; }
    void BorderWidth(int px);

private:
    // The site's rectangle follows the end points (padded by the pen width), so the container
    // repaints the right area.
    void Place();
    double x1_ = 0, y1_ = 0, x2_ = 0, y2_ = 0;
    unsigned long borderColor_ = 0x80000008;
    int borderWidth_ = 1;
};

// Registers the intrinsic kinds; the registry calls it itself before the first lookup.
void RegisterIntrinsicControls();

}  // namespace host
