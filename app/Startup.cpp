#include "app/Startup.h"

#include "app/Texts.h"
#include "controls/foundation/VisualStyles.h"
#include "controls/frame/FrameW.h"
#include "controls/label/LabelW.h"
#include "controls/listbox/ListBoxW.h"
#include "controls/textbox/TextBoxW.h"
#include "host/Application.h"
#include "host/ControlRegistry.h"

#include <commctrl.h>

namespace workbench {

std::unique_ptr<FrmMain> Main() {
    InitCommonControls();
    if (host::App().PrevInstance()) {
        ActivateRunningInstance();
        return nullptr;
    }
    foundation::StartVisualStyles();
    RegisterWorkbenchControls();
    auto form = std::make_unique<FrmMain>();
    form->Show();
    return form;
}

void RegisterWorkbenchControls() {
    host::RegisterControlKind(L"TextBoxW", [] { return std::make_unique<controls::TextBoxW>(); });
    host::RegisterControlKind(L"ListBoxW", [] { return std::make_unique<controls::ListBoxW>(); });
    host::RegisterControlKind(L"FrameW", [] { return std::make_unique<controls::FrameW>(); });
    host::RegisterControlKind(L"LabelW", [] { return std::make_unique<controls::LabelW>(); });
}

bool ActivateRunningInstance() {
    HWND running = FindWindowW(host::Form::ClassName, MainCaption);
    if (!running) return false;
    ShowWindow(running, SW_RESTORE);
    SetForegroundWindow(running);
    // Activation by caption: whatever top-level window now carries the caption is raised.
    if (HWND byCaption = FindWindowW(nullptr, MainCaption)) {
        BringWindowToTop(byCaption);
        SetForegroundWindow(byCaption);
    }
    return true;
}

}  // namespace workbench
