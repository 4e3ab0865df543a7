// The way a modal dialog's Help button reaches the class: the dialog sends "commdlg_help" to its
// owner, so the owner is subclassed ("commdlg_help_<kind>", reference number = the kind) while
// the dialog is open. Where the platform's dialog sends nothing (Wine's file dialogs), the
// dialog itself is subclassed as well ("commdlg_helpbutton_<kind>", reference HelpButtonRef +
// kind), and a Help click the owner did not hear of is reported from there.
#pragma once

#include "controls/foundation/Subclass.h"
#include "dialogs/DialogWatch.h"

#include <memory>

namespace dialogs {

inline constexpr LONG_PTR HelpButtonRef = 100;
// The folder browser's own window, when the class checks the names typed into it.
inline constexpr LONG_PTR BrowseDialogRef = 208;

class HelpRoute {
public:
    HelpRoute() = default;
    // listenOwner: subclass the owner even without a Help button (the colour dialog's OK check).
    HelpRoute(foundation::ISubclass* client, HWND owner, int dialogKind, bool showHelp, bool listenOwner = false);
    HelpRoute(const HelpRoute&) = delete;
    HelpRoute& operator=(const HelpRoute&) = delete;

private:
    foundation::ScopedSubclass owner_;
    // The dialog's subclass lives in its own block so the watch's callback can fill it in place.
    std::unique_ptr<foundation::ScopedSubclass> dialog_;
    std::unique_ptr<DialogWatch> watch_;
};

}  // namespace dialogs
