#include "host/DragDrop.h"

#include "host/ComObject.h"
#include "host/ContainerRouting.h"
#include "host/ControlSite.h"
#include "host/DataObject.h"
#include "host/Error.h"
#include "host/Form.h"
#include "host/HostWindow.h"
#include "host/WindowlessSurface.h"

#include <ole2.h>

#include <algorithm>
#include <map>
#include <optional>

namespace host::dragdrop {

namespace {

constexpr DWORD DropEffects = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;

bool dragging = false;
ControlSite* dragSource = nullptr;  // the control whose drag is under way, until it goes away

// The drag loop's questions, answered for the control that started the drag.
class DropSource final : public ComObject<IDropSource> {
public:
    explicit DropSource(DWORD button) : button_(button) {}

    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escapePressed, DWORD keyState) override {
        if (escapePressed) return DRAGDROP_S_CANCEL;
        // the other main button pressed as well: the user gives up
        if (keyState & (MK_LBUTTON | MK_RBUTTON) & ~button_) return DRAGDROP_S_CANCEL;
        return (keyState & button_) ? S_OK : DRAGDROP_S_DROP;
    }

    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD effect) override {
        long e = static_cast<long>(effect);
        bool defaultCursors = true;
        try {
            if (dragSource) dragSource->GetControl().OnOLEGiveFeedback(e, defaultCursors);
        } catch (const Error&) {
            defaultCursors = true;
        }
        return defaultCursors ? DRAGDROP_S_USEDEFAULTCURSORS : S_OK;
    }

private:
    DWORD button_;  // MK_LBUTTON or MK_RBUTTON: releasing it drops
};

// The button whose release ends the drag: the one held now (left when none is, so that a drag
// started from code without a button drops where the pointer is).
DWORD StartButton() {
    if (GetKeyState(VK_LBUTTON) < 0) return MK_LBUTTON;
    if (GetKeyState(VK_RBUTTON) < 0) return MK_RBUTTON;
    return MK_LBUTTON;
}

// The drop target registered on one window: finds the control under the point and hands the
// drag to it.
class DropTarget final : public ComObject<IDropTarget> {
public:
    DropTarget(HWND window, Form& form, ControlSite* owner) : window_(window), form_(&form), owner_(owner) {}

    // The window is going away: answer nothing from now on. The data stay until the drag
    // leaves or drops: a handler that unloaded the form may still hold them.
    void Disconnect() {
        form_ = nullptr;
        owner_ = nullptr;
        current_ = nullptr;
    }

    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* object, DWORD keyState, POINTL pt, DWORD* effect) override {
        if (!effect) return E_INVALIDARG;
        data_ = DataObject::Wrap(object);
        current_ = nullptr;
        Track(keyState, pt, *effect);
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE DragOver(DWORD keyState, POINTL pt, DWORD* effect) override {
        if (!effect) return E_INVALIDARG;
        Track(keyState, pt, *effect);
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE DragLeave() override {
        if (ControlSite* site = Current()) {
            long effect = 0;
            Notify(*site, effect, lastKeys_, lastPoint_, 1);
        }
        current_ = nullptr;
        data_.reset();
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE Drop(IDataObject* object, DWORD keyState, POINTL pt, DWORD* effect) override {
        if (!effect) return E_INVALIDARG;
        if (!data_) data_ = DataObject::Wrap(object);
        DWORD allowed = *effect;
        // the buttons are up by now; report the one that carried the drag
        DWORD keys = (keyState & ~(MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) | (lastKeys_ & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON));
        Hit hit = Resolve(pt);
        ControlSite* previous = Current();
        if (previous && previous != hit.site) {
            long none = 0;
            Notify(*previous, none, keys, lastPoint_, 1);
        }
        long e = static_cast<long>(allowed);
        if (hit.site) {
            try {
                hit.site->GetControl().OnOLEDragDrop(*data_, e, ButtonOfKeyState(keys), ShiftOfKeyState(keys),
                                                     static_cast<float>(hit.point.x), static_cast<float>(hit.point.y));
            } catch (const Error&) {
                e = 0;
            }
        } else {
            e = 0;
        }
        *effect = Answer(e, allowed);
        current_ = nullptr;
        data_.reset();
        return S_OK;
    }

private:
    struct Hit {
        ControlSite* site = nullptr;
        POINT point{};  // control pixels
    };

    const std::vector<ControlSite*>* Children() const {
        if (!form_) return nullptr;
        return owner_ ? &owner_->Children() : &form_->TopLevelSites();
    }

    // The control the drag is over: a windowless control with a drop mode under the point, else
    // the owner when it has one. Over another control's window nothing answers: that control
    // has no drop target of its own, and the system came here looking for its container's.
    Hit Resolve(POINTL screen) const {
        const std::vector<ControlSite*>* children = Children();
        if (!children) return {};
        POINT p{screen.x, screen.y};
        ScreenToClient(window_, &p);
        for (auto it = children->rbegin(); it != children->rend(); ++it) {
            HWND placed = (*it)->IsCreated() ? (*it)->PlacedWindow() : nullptr;
            if (!placed || !IsWindowVisible(placed)) continue;
            RECT r = (*it)->PixelRect();
            if (PtInRect(&r, p)) return {};
        }
        if (ControlSite* s = ContainerRouting::WindowlessAt(*children, p)) {
            if (s->Windowless()->OLEDropMode() != 0 && s->Windowless()->Enabled()) {
                RECT r = s->PixelRect();
                return {s, POINT{p.x - r.left, p.y - r.top}};
            }
        }
        if (owner_ && owner_->HostWin() && owner_->HostWin()->OLEDropMode() != 0) return {owner_, p};
        return {};
    }

    // The site entered last, when it is still on this window.
    ControlSite* Current() const {
        if (!current_) return nullptr;
        if (current_ == owner_) return current_;
        const std::vector<ControlSite*>* children = Children();
        if (!children || std::find(children->begin(), children->end(), current_) == children->end()) return nullptr;
        return current_;
    }

    void Track(DWORD keyState, POINTL pt, DWORD& effect) {
        DWORD allowed = effect;
        Hit hit = Resolve(pt);
        ControlSite* previous = Current();
        int state = 2;
        if (hit.site != previous) {
            if (previous) {
                long none = 0;
                Notify(*previous, none, lastKeys_, lastPoint_, 1);
            }
            state = 0;
        }
        current_ = hit.site;
        lastKeys_ = keyState;
        lastPoint_ = hit.point;
        if (!hit.site) {
            effect = DROPEFFECT_NONE;
            return;
        }
        long e = static_cast<long>(allowed);
        Notify(*hit.site, e, keyState, hit.point, state);
        effect = Answer(e, allowed);
    }

    void Notify(ControlSite& site, long& effect, DWORD keyState, POINT pt, int state) {
        if (!data_) return;
        try {
            site.GetControl().OnOLEDragOver(*data_, effect, ButtonOfKeyState(keyState), ShiftOfKeyState(keyState),
                                            static_cast<float>(pt.x), static_cast<float>(pt.y), state);
        } catch (const Error&) {
            effect = 0;
        }
    }

    // What the control chose, within what the source allows; the scroll flag passes as it is.
    static DWORD Answer(long chosen, DWORD allowed) {
        DWORD e = static_cast<DWORD>(chosen);
        return (e & allowed & DropEffects) | (e & DROPEFFECT_SCROLL);
    }

    HWND window_;
    Form* form_;          // borrowed; null once disconnected
    ControlSite* owner_;  // borrowed; null for the form itself
    ControlSite* current_ = nullptr;
    std::optional<DataObject> data_;
    DWORD lastKeys_ = 0;
    POINT lastPoint_{};
};

struct Registration {
    DropTarget* target;  // one reference held here
    int count;
};

std::map<HWND, Registration>& Registrations() {
    static std::map<HWND, Registration> registrations;
    return registrations;
}

void Revoke(std::map<HWND, Registration>::iterator it) {
    RevokeDragDrop(it->first);
    it->second.target->Disconnect();
    it->second.target->Release();
    Registrations().erase(it);
}

}  // namespace

bool EnsureOle() {
    static thread_local bool started = false;
    if (!started) started = SUCCEEDED(OleInitialize(nullptr));
    return started;
}

bool DragInProgress() { return dragging; }

void SiteGone(const ControlSite& site) {
    if (dragSource == &site) dragSource = nullptr;
}

void StartDrag(ControlSite& site) {
    if (dragging) Raise(674);
    if (!EnsureOle()) Raise(5, L"Drag and drop is not available on this thread");
    dragging = true;
    dragSource = &site;
    struct Ended {
        ~Ended() {
            dragging = false;
            dragSource = nullptr;
        }
    } ended;

    DataObject data = DataObject::CreateForDrag([](DataObject& d, int format) {
        int f = format;
        if (dragSource) dragSource->GetControl().OnOLESetData(d, f);
    });
    struct Detach {
        DataObject& data;
        ~Detach() { data.Detach(); }
    } detach{data};

    long allowed = 0;
    site.GetControl().OnOLEStartDrag(data, allowed);
    data.CloseFormats();
    DWORD ok = static_cast<DWORD>(allowed) & DropEffects;
    if (ok == 0 || !dragSource) return;

    ComPtr<IDropSource> source = ComPtr<IDropSource>::Attach(new DropSource(StartButton()));
    DWORD effect = DROPEFFECT_NONE;
    HRESULT hr = DoDragDrop(data.Interface(), source.Get(), ok, &effect);
    long result = hr == DRAGDROP_S_DROP ? static_cast<long>(effect & ok) : 0;
    if (dragSource) dragSource->GetControl().OnOLECompleteDrag(result);  // unless it went away meanwhile
    if (FAILED(hr)) Raise(5, L"The drag could not be carried out");
}

void Acquire(HWND window, Form& form, ControlSite* owner) {
    auto& regs = Registrations();
    if (auto it = regs.find(window); it != regs.end()) {
        ++it->second.count;
        return;
    }
    if (!EnsureOle()) Raise(5, L"Drag and drop is not available on this thread");
    auto* target = new DropTarget(window, form, owner);
    HRESULT hr = RegisterDragDrop(window, target);
    if (FAILED(hr)) {
        target->Release();
        Raise(5, L"The window cannot accept dropped data");
    }
    regs.emplace(window, Registration{target, 1});
}

void Release(HWND window) {
    auto& regs = Registrations();
    auto it = regs.find(window);
    if (it == regs.end()) return;
    if (--it->second.count == 0) Revoke(it);
}

void Forget(HWND window) {
    auto& regs = Registrations();
    if (auto it = regs.find(window); it != regs.end()) Revoke(it);
}

int ButtonOfKeyState(DWORD keyState) {
    return (keyState & MK_LBUTTON ? 1 : 0) | (keyState & MK_RBUTTON ? 2 : 0) | (keyState & MK_MBUTTON ? 4 : 0);
}

int ShiftOfKeyState(DWORD keyState) {
    return (keyState & MK_SHIFT ? 1 : 0) | (keyState & MK_CONTROL ? 2 : 0) | (keyState & MK_ALT ? 4 : 0);
}

}  // namespace host::dragdrop
