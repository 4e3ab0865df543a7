#include "dialogs/HelpRoute.h"

#include "dialogs/RegisteredMessages.h"

#include <string>

namespace dialogs {

HelpRoute::HelpRoute(foundation::ISubclass* client, HWND owner, int dialogKind, bool showHelp, bool listenOwner) {
    if (!owner || !(showHelp || listenOwner)) return;
    if (showHelp) msg::Help();
    owner_ = foundation::ScopedSubclass(owner, client, dialogKind, L"commdlg_help_" + std::to_wstring(dialogKind));
    if (!showHelp) return;
    dialog_ = std::make_unique<foundation::ScopedSubclass>();
    watch_ = std::make_unique<DialogWatch>([client, dialogKind, slot = dialog_.get()](HWND dialog) {
        *slot = foundation::ScopedSubclass(dialog, client, HelpButtonRef + dialogKind,
                                           L"commdlg_helpbutton_" + std::to_wstring(dialogKind));
    });
}

}  // namespace dialogs
