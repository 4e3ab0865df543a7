// What every library control keeps the same way: the design-mode flag, the property-changed
// report, the stored OLEDropMode and MouseTrack, and the OLE drag-and-drop members — the OLEDrag
// method and the six events that pass the host's drag-and-drop notifications on to the form
// (host/DragDrop.h).
//
// The events have consecutive dispatch ids from FirstDispId, in this order: OLECompleteDrag,
// OLEDragDrop, OLEDragOver, OLEGiveFeedback, OLESetData, OLEStartDrag. x and y reach the form in
// the container's units. A control that adds automatic behaviour (text drag, item drag)
// overrides a notification and calls this class's version where its event is raised.
#pragma once

#include "controls/foundation/PropertyRanges.h"
#include "host/Control.h"
#include "host/ControlSite.h"
#include "host/DataObject.h"
#include "host/Event.h"

namespace foundation {

// A point of a host notification (control pixels) in the container's units.
float OLEContainerX(const host::ControlSite& site, float x);
float OLEContainerY(const host::ControlSite& site, float y);
// Sets the drop mode of the control's surface (host window or windowless): 0 none, 1 manual.
void ApplyOLEDropMode(host::ControlSite& site, long mode);

// FirstDispId: the dispatch id of OLECompleteDrag. MaxDropMode: the highest OLEDropMode; a
// control's own automatic modes above 1 give the host's manual mode.
template <long FirstDispId, long MaxDropMode = 1>
class LibraryControl : public host::Control {
public:
    long OLEDropMode() const { return oleDropMode_; }
    // Outside 0..MaxDropMode: 380 (a message box at design time).
    void OLEDropMode(long mode) {
        if (RejectOutOfRange(mode, 0, MaxDropMode, designMode_)) return;
        HostDropMode(mode);
        oleDropMode_ = mode;
        Changed(L"OLEDropMode");
    }
    bool MouseTrack() const { return mouseTrack_; }
    void MouseTrack(bool on) {
        mouseTrack_ = on;
        Changed(L"MouseTrack");
    }

    struct OLEDispId {
        static constexpr long OLECompleteDrag = FirstDispId;
        static constexpr long OLEDragDrop = FirstDispId + 1;
        static constexpr long OLEDragOver = FirstDispId + 2;
        static constexpr long OLEGiveFeedback = FirstDispId + 3;
        static constexpr long OLESetData = FirstDispId + 4;
        static constexpr long OLEStartDrag = FirstDispId + 5;
    };

    host::Event<long& /*Effect*/> OLECompleteDrag;
    host::Event<host::DataObject& /*Data*/, long& /*Effect*/, int /*Button*/, int /*Shift*/, float /*x*/, float /*y*/>
        OLEDragDrop;
    host::Event<host::DataObject& /*Data*/, long& /*Effect*/, int /*Button*/, int /*Shift*/, float /*x*/, float /*y*/,
                int /*State*/>
        OLEDragOver;
    host::Event<long& /*Effect*/, bool& /*DefaultCursors*/> OLEGiveFeedback;
    host::Event<host::DataObject& /*Data*/, int& /*DataFormat*/> OLESetData;
    host::Event<host::DataObject& /*Data*/, long& /*AllowedEffects*/> OLEStartDrag;

    // Starts an OLE drag from the control: OLEStartDrag fills the data and allows effects.
    void OLEDrag() { Site().OLEDrag(); }

    void OnOLEStartDrag(host::DataObject& data, long& allowedEffects) override {
        Site().RaiseEvent(OLEDispId::OLEStartDrag, OLEStartDrag, data, allowedEffects);
    }
    void OnOLEGiveFeedback(long& effect, bool& defaultCursors) override {
        Site().RaiseEvent(OLEDispId::OLEGiveFeedback, OLEGiveFeedback, effect, defaultCursors);
    }
    void OnOLESetData(host::DataObject& data, int& dataFormat) override {
        Site().RaiseEvent(OLEDispId::OLESetData, OLESetData, data, dataFormat);
    }
    void OnOLECompleteDrag(long& effect) override {
        Site().RaiseEvent(OLEDispId::OLECompleteDrag, OLECompleteDrag, effect);
    }
    void OnOLEDragOver(host::DataObject& data, long& effect, int button, int shift, float x, float y,
                       int state) override {
        Site().RaiseEvent(OLEDispId::OLEDragOver, OLEDragOver, data, effect, button, shift,
                          OLEContainerX(Site(), x), OLEContainerY(Site(), y), state);
    }
    void OnOLEDragDrop(host::DataObject& data, long& effect, int button, int shift, float x, float y) override {
        Site().RaiseEvent(OLEDispId::OLEDragDrop, OLEDragDrop, data, effect, button, shift, OLEContainerX(Site(), x),
                          OLEContainerY(Site(), y));
    }

protected:
    // Tells the host a stored property changed (the form is marked dirty).
    void Changed(const wchar_t* property) { Site().PropertyChanged(property); }
    // OLEDropMode from the design data, applied to the host.
    void ReadOLEDropMode(const host::PropertyBag& bag) {
        oleDropMode_ = bag.Read(L"OLEDropMode", 0L).AsLong();
        HostDropMode(oleDropMode_);
    }

    bool designMode_ = false;  // set from the host's user mode when the control is initialised
    long oleDropMode_ = 0;
    bool mouseTrack_ = false;

private:
    // The drop mode the host applies to the surface (a control without a site keeps its value).
    void HostDropMode(long mode) {
        if (HasSite()) ApplyOLEDropMode(Site(), mode == 0 ? 0 : 1);
    }
};

}  // namespace foundation
