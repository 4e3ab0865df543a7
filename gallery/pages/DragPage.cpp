// Gallery page of the classic drag: labels with DragMode 1 (one with a DragIcon) and a text box
// dragged from code; dropped on a frame or on the form they move into it (Container) where they
// were let go. Every DragOver and DragDrop is logged.
#include "controls/frame/FrameW.h"
#include "controls/label/LabelW.h"
#include "controls/textbox/TextBoxW.h"
#include "gallery/GalleryPage.h"
#include "host/ControlSite.h"

#include <olectl.h>

#include <map>

namespace gallery {
namespace {

host::Picture SystemIcon(LPCWSTR id) {
    PICTDESC pd{};
    pd.cbSizeofstruct = sizeof(pd);
    pd.picType = PICTYPE_ICON;
    pd.icon.hicon = CopyIcon(LoadIconW(nullptr, id));
    host::Picture icon;
    if (FAILED(OleCreatePictureIndirect(&pd, IID_IPicture, TRUE, reinterpret_cast<void**>(&icon))))
        DestroyIcon(pd.icon.hicon);
    return icon;
}

const wchar_t* StateName(int state) {
    switch (state) {
    case 0: return L"进入";
    case 1: return L"离开";
    default: return L"经过";
    }
}

class DragPage : public GalleryPage {
public:
    DragPage() : GalleryPage(L"Drag") {
        UseControl<controls::FrameW>(L"FrameW");
        UseControl<controls::LabelW>(L"LabelW");
        UseControl<controls::TextBoxW>(L"TextBoxW");
    }

protected:
    void Form_Load() override {
        GalleryPage::Form_Load();
        for (const wchar_t* name : kDragged) {
            host::ControlSite& s = Site(name);
            home_[&s] = {s.Left(), s.Top()};
        }
        Site(L"lblIcon").DragIcon(SystemIcon(IDI_INFORMATION));
        for (const wchar_t* name : {L"fraLeft", L"fraRight", L"lblDrag", L"lblIcon", L"txtDrag"}) {
            host::ControlSite& target = Site(name);
            LogDrag(target.DragOver, target.DragDrop, name);
        }
        LogDrag(DragOver, DragDrop, L"Form");
        // Dropped on a frame or on the form, the control moves in where the mouse let it go.
        for (const wchar_t* frame : {L"fraLeft", L"fraRight"}) {
            host::ControlSite& f = Site(frame);
            f.DragDrop.Connect([this, &f, frame](host::ControlSite& source, float x, float y) {
                Log(frame, L"DragDrop " + source.Name() + FormatArgs(x, y));
                Try(frame, [&] { MoveInto(source, &f, x, y); });
            });
        }
        DragDrop.Connect([this](host::ControlSite& source, float x, float y) {
            Log(L"Form", L"DragDrop " + source.Name() + FormatArgs(x, y));
            Try(L"Form", [&] { MoveInto(source, nullptr, x, y); });
        });
        Switch(L"chkDragMode", [this](bool on) {
            for (const wchar_t* name : {L"lblDrag", L"lblIcon"}) Site(name).DragMode(on ? 1 : 0);
        });
        Switch(L"chkDragIcon", [this](bool on) { Site(L"lblIcon").DragIcon(on ? SystemIcon(IDI_INFORMATION) : host::Picture{}); });
        Ctl<host::CommandButton>(L"cmdBeginDrag").Click = [this] { Site(L"txtDrag").Drag(1); };
        Ctl<host::CommandButton>(L"cmdHome").Click = [this] {
            for (auto& [site, place] : home_) {
                site->Container(*this);
                site->Move(place.first, place.second);
            }
        };
    }

private:
    static constexpr const wchar_t* kDragged[] = {L"lblDrag", L"lblIcon", L"txtDrag"};

    void LogDrag(host::Event<host::ControlSite&, float, float, int>& over, host::Event<host::ControlSite&, float, float>& drop,
                 const std::wstring& name) {
        over = [this, name](host::ControlSite& source, float x, float y, int state) {
            // Moves over the same target repeat one line (counted), not one line per pixel.
            std::wstring where = state == 2 ? std::wstring() : FormatArgs(x, y);
            Log(name, std::wstring(L"DragOver ") + source.Name() + L" " + StateName(state) + where);
        };
        drop = [this, name](host::ControlSite& source, float x, float y) {
            Log(name, L"DragDrop " + source.Name() + FormatArgs(x, y));
        };
    }

    // The control's top-left goes where the mouse let it go, in its new container.
    void MoveInto(host::ControlSite& source, host::ControlSite* container, float x, float y) {
        if (container) source.Container(container);
        else source.Container(*this);
        source.Move(x, y);
    }

    std::map<host::ControlSite*, std::pair<double, double>> home_;
};

}  // namespace

GALLERY_PAGE(DragPage, L"Drag", L"经典拖放：DragMode、DragIcon、Drag 方法，DragOver/DragDrop 事件；放到框架上的控件移进框架（Container）。");

}  // namespace gallery
