// A windowed control built from foundation calls only: an "Edit" child in its host window, with
// MousePointer, MouseTrack, focus on mouse activation, in-place key routing and property
// browsing done the way every library control does them. If a foundation routine needs more than
// one line at its call site here, the routine has the wrong shape.
#pragma once

#include "controls/foundation/ISubclass.h"
#include "host/Control.h"
#include "host/Event.h"
#include "host/Value.h"

#include <windows.h>
#include <imm.h>

#include <string>
#include <vector>

namespace foundationtest {

class ProbeControl : public host::Control, public foundation::ISubclass {
public:
    static constexpr long DispIdMousePointer = 0x68030001;

    // Whether Initialize hooks in-place routing (kind 2); clear it before the form loads to get a
    // control the host answers for.
    static inline bool hookInPlace = true;

    std::wstring TypeName() const override { return L"ProbeControl"; }
    void Initialize(host::ControlSite& site) override;
    void InitProperties() override;
    void ReadProperties(const host::PropertyBag& bag) override;
    void Resize() override;
    void Terminate() override;
    long GetIDOfName(std::wstring_view name) const override;

    void IOleInPlaceActiveObjectVB_TranslateAccelerator(bool& handled, long& retVal, UINT wMsg, WPARAM wParam,
                                                        LPARAM lParam, int shift) override;
    void IOleControlVB_GetControlInfo(bool& handled, long& accelCount, HACCEL& accelTable, long& flags) override;
    void IPerPropertyBrowsingVB_GetDisplayString(bool& handled, long dispId, std::wstring& displayName) override;
    void IPerPropertyBrowsingVB_GetPredefinedStrings(bool& handled, long dispId, std::vector<std::wstring>& stringsOut,
                                                     std::vector<long>& cookiesOut) override;
    void IPerPropertyBrowsingVB_GetPredefinedValue(bool& handled, long dispId, long cookie, long& value) override;

    long MousePointer() const { return mousePointer_; }
    void MousePointer(long value);
    const host::Picture& MouseIcon() const { return mouseIcon_; }
    void MouseIcon(host::Picture icon) { mouseIcon_ = std::move(icon); }
    // Shown only where comctl32 6.0 or later runs (level 1).
    std::wstring CueBanner() const;
    void CueBanner(const std::wstring& text);
    bool MouseTrack() const { return mouseTrack_; }
    void MouseTrack(bool on) { mouseTrack_ = on; }
    HWND hWnd() const { return edit_; }
    HWND HostWindow() const;
    bool DesignMode() const { return designMode_; }
    long MousePointerDispId() const { return mousePointerDispId_; }

    host::Event<> MouseEnter, MouseLeave;
    host::Event<int /*KeyCode*/, int /*Shift*/> KeyDown;
    wchar_t pendingAtKeyDown = 0;
    int acceleratorCalls = 0;      // keys the form offered this control first  // the character waiting behind the last key-down
    // What a control that reports accelerators without a table would answer.
    bool claimsAcceleratorsWithoutTable = false;

protected:
    LRESULT ISubclass_Message(HWND hwnd, UINT wMsg, WPARAM wParam, LPARAM lParam, LONG_PTR dwRefData) override;

private:
    LRESULT EditProc(HWND hwnd, UINT wMsg, WPARAM wParam, LPARAM lParam);
    LRESULT HostProc(HWND hwnd, UINT wMsg, WPARAM wParam, LPARAM lParam);
    LRESULT OnSetCursor(HWND hwnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseMove(HWND hwnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseLeave(HWND hwnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseActivate(HWND hwnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnSetFocus(HWND hwnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnKillFocus(HWND hwnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnKeyDown(HWND hwnd, WPARAM wParam, LPARAM lParam);
    void CreateEdit();

    HWND edit_ = nullptr;  // owned: destroyed in Terminate after its subclass is removed
    HIMC ime_ = nullptr;   // owned through Attach/DetachIMEContext
    bool designMode_ = false;
    bool mouseOver_ = false;
    bool validating_ = false;
    long mousePointer_ = 0;
    long mousePointerDispId_ = -1;
    bool mouseTrack_ = false;
    host::Picture mouseIcon_;
};

void RegisterProbeControl();

}  // namespace foundationtest
